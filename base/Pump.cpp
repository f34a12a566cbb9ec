#include "Pump.h"

namespace {

bool Quit = false;
HWND DialogWindow = nullptr;
int PaintBatches = 0;
bool PaintedInBatch = false;

void Dispatch(MSG& message)
{
    if (DialogWindow && IsWindow(DialogWindow) && IsDialogMessageA(DialogWindow, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

// The block that lets the elapsed time just exceed the limit, kept below INFINITE at the top
// of the range (the loop then goes round again).
DWORD BlockFor(DWORD elapsed, DWORD limit)
{
    const DWORD left = limit - elapsed;
    return left < INFINITE - 1 ? left + 1 : INFINITE - 1;
}

} // namespace

void SetDialogWindow(HWND window) { DialogWindow = window; }

void ShowPaintedNow()
{
    if (PaintBatches > 0) {
        PaintedInBatch = true;
        return;
    }
    constexpr UINT NEVER_POSTED = WM_APP + 0x3FFF;
    MSG none;
    PeekMessageA(&none, nullptr, NEVER_POSTED, NEVER_POSTED, PM_NOREMOVE | PM_NOYIELD);
}

TPaintBatch::TPaintBatch() { ++PaintBatches; }

TPaintBatch::~TPaintBatch()
{
    if (--PaintBatches == 0 && PaintedInBatch) {
        PaintedInBatch = false;
        ShowPaintedNow();
    }
}

void PumpPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Quit = true;
            continue;
        }
        Dispatch(message);
    }
}

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

bool RunOneMessage()
{
    if (Quit)
        return false;
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        Quit = true;
        return false;
    }
    if (got < 0)
        return false;
    Dispatch(message);
    return !Quit;
}
