/*
 * The program's one message wait, for the waits that keep the window alive while a run works
 * on the user-interface thread: it dispatches what is pending, then blocks until input arrives
 * or its time is up, instead of spinning the processor.
 */
#pragma once

#include <windows.h>

#include <functional>

// What one pass of a wait found: whether the wait is over, and the handle (if any) whose
// signal may cut the next block short.
struct TWaitPass {
    bool Done = false;
    HANDLE Handle = nullptr;
};

// Each pass dispatches what is pending, then asks pass (when given) whether the wait is over.
// Otherwise the wait ends once more than limitMs have passed since its start, measured as the
// unsigned difference of two tick counts, which survives the counter's wrap; until then it
// blocks in MsgWaitForMultipleObjectsEx on input (and the pass's handle) for the time left
// plus one, never INFINITE and never a wrap to 0. True when pass ended the wait, false when
// the time ran out.
bool WaitWithMessages(DWORD limitMs, const std::function<TWaitPass()>& pass = nullptr);
