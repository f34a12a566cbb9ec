#include "PendingInput.h"

#include <windows.h>

// The system files each click and key into the input queue of the thread whose window it was
// made on as it happens, whether that thread reads its queue or not; so when a run ends, all
// the input made during it is already in this thread's queue and one pass removes it. What
// comes after that pass is made on a window that is about to be idle. PeekMessage's range
// applies to the message as the window would get it: a click on the title bar is a
// WM_NCLBUTTONDOWN, outside the client mouse range, and stays; the system keys
// (WM_SYSKEYDOWN ... WM_SYSDEADCHAR) lie after WM_DEADCHAR and stay too.
//
// A key is routed as it is read, not as it was made: to the window with the focus, or where none
// has it (a run disables the focused button) to the active window as a system key, outside the
// range below, which would leave it to reach the button that gets the focus once the run has
// ended. So the active window takes the focus for the pass where none has it; a key made with
// Alt held (Alt+F4) reads as a system key all the same, and stays.
void DropPendingInput()
{
    if (const HWND active = GetActiveWindow(); active && !GetFocus())
        SetFocus(active);
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_DEADCHAR, PM_REMOVE | PM_NOYIELD)) {
    }
    while (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE | PM_NOYIELD)) {
    }
}
