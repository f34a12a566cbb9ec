#include "Beep.h"

#include "Trace.h"

#include <windows.h>

namespace {
std::function<void()> Hook;
}

void SetBeepHook(std::function<void()> hook) { Hook = std::move(hook); }

void SystemBeep()
{
    Trace("beep");
    if (Hook)
        Hook();
    else
        MessageBeep(0xFFFFFFFF);
}
