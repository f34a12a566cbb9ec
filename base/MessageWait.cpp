#include "MessageWait.h"

#include "Pump.h"

namespace {

// The block that lets the elapsed time just exceed the limit, kept below INFINITE at the top
// of the range (the loop then goes round again).
DWORD BlockFor(DWORD elapsed, DWORD limit)
{
    const DWORD left = limit - elapsed;
    return left < INFINITE - 1 ? left + 1 : INFINITE - 1;
}

} // namespace

bool WaitWithMessages(DWORD limitMs, const std::function<TWaitPass()>& pass)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPendingMessages();
        const TWaitPass found = pass ? pass() : TWaitPass{};
        if (found.Done)
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > limitMs)
            return false;
        HANDLE handle = found.Handle;
        MsgWaitForMultipleObjectsEx(handle ? 1 : 0, handle ? &handle : nullptr, BlockFor(elapsed, limitMs),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
