/*
 * The last resort for a fault nothing else catches: one in the program's own code, such as a
 * stack overflow. Rather than vanishing (or leaving the system's crash dialog) the program
 * shows what happened, where, in which module and at which offset in it in its error box,
 * releases the instance mutex and ends with the fault's exception code as its exit code (a
 * crash is no success). Faults inside a maker library never get here; the library guard takes
 * those.
 *
 * Under a debugger the system hands an unhandled fault to the debugger instead of to the
 * unhandled-exception filter, as Windows documents; only a stack overflow is still shown then.
 */
#pragma once

#include <windows.h>

// Installs the last resort for as long as it lives, for faults on the calling thread (the
// window's); the mutex is the one the entry holds.
class TFatalFaultBox {
public:
    explicit TFatalFaultBox(HANDLE instanceMutex);
    ~TFatalFaultBox();
    TFatalFaultBox(const TFatalFaultBox&) = delete;
    TFatalFaultBox& operator=(const TFatalFaultBox&) = delete;

private:
    LPTOP_LEVEL_EXCEPTION_FILTER Previous;
    PVOID OverflowHandler;
};
