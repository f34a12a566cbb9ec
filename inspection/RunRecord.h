/*
 * The record a run leaves in the window's book when it ends, however it ends: made from what
 * the run learnt on its way (its start, the board and model bring-up found, an NG's pairs, the
 * last status) and from the failures the trace gave meanwhile, which say why a run that did not
 * pass ended as it did.
 */
#pragma once

#include "base/Trace.h"

#include <windows.h>

#include <optional>
#include <string>

class TFormMain;

class TRunRecord {
public:
    // The run has begun: its start on the PC's clock, and from now on the trace's failures.
    void Begin();
    // The run's line, handed to the window's book. Nothing of it may change how the run ends,
    // so it never throws.
    void Write(TFormMain& form, char letter, const char* outcome) noexcept;

    std::string Fault; // the description of a library fault that stopped the run

private:
    FILETIME Start{};
    DWORD StartTick = 0;
    std::optional<TTraceWatch> Watch;
};
