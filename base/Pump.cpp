#include "Pump.h"

#include "RunStop.h"

namespace {

bool Quit = false;
int Code = 0;
HWND DialogWindow = nullptr;

void Dispatch(MSG& message)
{
    if (DialogWindow && IsWindow(DialogWindow) && IsDialogMessageA(DialogWindow, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

} // namespace

void SetDialogWindow(HWND window) { DialogWindow = window; }

void ShowPaintedNow()
{
    constexpr UINT NEVER_POSTED = WM_APP + 0x3FFF;
    MSG none;
    PeekMessageA(&none, nullptr, NEVER_POSTED, NEVER_POSTED, PM_NOREMOVE | PM_NOYIELD);
}

bool QuitRequested() { return Quit; }

int QuitCode() { return Code; }

void PumpPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Quit = true;
            Code = static_cast<int>(message.wParam);
            continue;
        }
        Dispatch(message);
    }
    ThrowIfRunStopped();
}

void WaitForInput(DWORD milliseconds, HANDLE handle)
{
    DWORD count = handle ? 1 : 0;
    MsgWaitForMultipleObjectsEx(count, handle ? &handle : nullptr, milliseconds, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

bool RunOneMessage()
{
    if (Quit)
        return false;
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        Quit = true;
        Code = static_cast<int>(message.wParam);
        return false;
    }
    if (got < 0)
        return false;
    Dispatch(message);
    return !Quit;
}
