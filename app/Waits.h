/*
 * The waits that keep the window alive while a run works on the user-interface thread: a loop
 * over the tick count that dispatches what is pending, then blocks until input arrives or the
 * time is up, so waiting never spins the processor.
 */
#pragma once

#include <windows.h>

// How long a granted close during a run keeps the window responsive before it is allowed.
inline constexpr DWORD CLOSE_GRACE_MS = 2000;

// Dispatches pending messages at least once, and again until more than the given
// milliseconds have passed since the call (unsigned, so right across the counter's wrap).
void PumpMessagesFor(DWORD milliseconds);
