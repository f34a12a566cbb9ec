#include "Waits.h"

#include "base/Pump.h"

#include <algorithm>

void PumpMessagesFor(DWORD milliseconds)
{
    // The longest single block; the loop goes round again, so it only keeps the value away
    // from INFINITE for waits of weeks.
    constexpr DWORD LONGEST_BLOCK_MS = 0x7FFFFFFE;
    DWORD start = GetTickCount();
    for (;;) {
        PumpPendingMessages();
        DWORD elapsed = GetTickCount() - start;
        if (elapsed > milliseconds)
            return;
        WaitForInput(std::min(milliseconds - elapsed, LONGEST_BLOCK_MS) + 1);
    }
}
