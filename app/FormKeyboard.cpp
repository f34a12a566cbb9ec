/*
 * The window's keyboard focus and the Enter key. A run disables the button that has the focus,
 * which leaves the window with none: Space, Enter and Tab would then do nothing until a mouse
 * click, and on a line the keys often come from a pedal or a keyboard wedge. So the window keeps
 * the control that last had the focus, gives the focus back to it whenever the window itself
 * gets it (after a message box, on coming back from another program), and a run's end gives it
 * to the button that started the run.
 *
 * Tab, Space and Enter come from the dialog navigation of the message dispatch
 * (IsDialogMessage) and the button class. Enter clicks the default push button, and as in a
 * dialog the push button with the focus is the default one: it takes the default style when it
 * gets the focus and gives it up when it loses it (ButtonProc), whether the focus came by Tab,
 * by a click or from a run's end. The window has no default button of its own, so Enter
 * elsewhere clicks nothing. Tab goes round the controls in their creation order, the list of
 * faulty pairs included (MemoProc). None of this starts a second run inside a run: a run
 * disables the buttons, and a press that comes all the same (an automation tool's click on a
 * disabled button, which Wine lets through) finds the window held by the run.
 */
#include "FormMain.h"

void TFormMain::FocusControl(HWND control)
{
    FocusedControl = control;
    // Not while another window of ours is active (a message box): setting the focus would
    // activate this one. It comes back with the activation.
    if (Window && GetActiveWindow() == Window)
        SetFocus(control);
}

void TFormMain::OnSetFocus()
{
    if (FocusedControl && IsWindowEnabled(FocusedControl) && IsWindowVisible(FocusedControl))
        SetFocus(FocusedControl);
}

bool TFormMain::IsHeldEnter(const MSG* key)
{
    // Bit 30 of a key message: the key was already down, an auto-repeat.
    return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && (key->lParam & (1L << 30));
}

// A multi-line edit asks for every key, Tab included, and hands Tab on to the next control only
// inside a dialog, which this window is not: Tab would stop in the list. The list is read-only
// and asks for what reading it needs, the arrows and the page keys; Tab, Enter and Escape go to
// the dialog navigation.
LRESULT CALLBACK TFormMain::MemoProc(HWND memo, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* form = reinterpret_cast<TFormMain*>(GetWindowLongPtrA(memo, GWLP_USERDATA));
    const WNDPROC classProc = form->MemoClassProc;
    if (message == WM_NCDESTROY)
        SetWindowLongPtrA(memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
    const LRESULT result = CallWindowProcA(classProc, memo, message, wParam, lParam);
    return message == WM_GETDLGCODE ? result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB) : result;
}
