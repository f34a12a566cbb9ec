#include "Pump.h"

namespace {

bool Quit = false;
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
