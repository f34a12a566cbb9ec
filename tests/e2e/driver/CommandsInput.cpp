/*
 * Commands that act as the operator's hand and as the system around the program: real clicks
 * and keys (they wait in the input queue while the program is busy, as a hand's would), the
 * ways a window is closed, and the end of the user's session.
 */
#include "Commands.h"
#include "Input.h"
#include "Log.h"
#include "WindowQuery.h"

namespace {

// What Windows may do once every program has answered WM_ENDSESSION: end the process at any
// moment. The harshest moment is at once; a program that let go of everything before it
// answered loses nothing by it.
void EndSession(Session& session, HWND main, const Deadline& deadline)
{
    Debuggee& process = *session.CurrentProgram().Process;
    DWORD_PTR mayEnd = 0;
    if (!SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, deadline.LeftMs(), &mayEnd)) {
        if (!process.WaitForExit(deadline))
            throw Failure("the program does not answer WM_QUERYENDSESSION");
        LogLine("%s: ended while asked whether the session may end", session.Current.c_str());
        return;
    }
    LogLine("%s: the session may end: %s", session.Current.c_str(), mayEnd ? "yes" : "no");
    DWORD_PTR ignored = 0;
    BOOL answered = SendMessageTimeoutA(main, WM_ENDSESSION, mayEnd ? TRUE : FALSE, 0, SMTO_NORMAL, deadline.LeftMs(),
                                        &ignored);
    if (!mayEnd)
        return;
    if (answered && WaitForSingleObject(process.Process(), 0) == WAIT_TIMEOUT) {
        LogLine("%s: answered WM_ENDSESSION; the session ends it", session.Current.c_str());
        process.Terminate();
        return;
    }
    if (!process.WaitForExit(deadline))
        throw Failure("the program neither answers WM_ENDSESSION nor ends");
    LogLine("%s: ended itself at the end of the session", session.Current.c_str());
}

} // namespace

KV7_HANDLER(RunPress)
{
    const ControlRef ref = ControlArg(command, 0);
    HWND control = FindControl(session.MainWindow(deadline), ref);
    if (!control)
        throw Failure("the window has no " + ref.Name);
    RECT rect{};
    GetWindowRect(control, &rect);
    LogLine("pressing %s (%s)", ref.Name.c_str(), IsWindowEnabled(control) ? "enabled" : "disabled");
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, deadline);
}

KV7_HANDLER(RunKeys) { PressKeys(TextArg(command, 0)); }

KV7_HANDLER(RunCloseBy)
{
    HWND main = session.MainWindow(deadline);
    const std::string& how = TextArg(command, 0);
    if (how == "box") {
        POINT closeBox = CloseBoxCentre(main);
        // A window that answers at once confirms the place; a busy one cannot, and is clicked
        // all the same, as a hand would.
        constexpr UINT HIT_TEST_MS = 200;
        DWORD_PTR hit = HTNOWHERE;
        if (SendMessageTimeoutA(main, WM_NCHITTEST, 0, MAKELPARAM(closeBox.x, closeBox.y), SMTO_NORMAL, HIT_TEST_MS,
                                &hit) &&
            hit != HTCLOSE)
            throw Failure(Format("the close box is not at %ld,%ld (hit test %lu)", closeBox.x, closeBox.y,
                                 static_cast<unsigned long>(hit)));
        ClickAt(closeBox, deadline);
    } else if (how == "keys") {
        PressKeys("alt+f4");
    } else if (how == "session") {
        EndSession(session, main, deadline);
    } else {
        throw Failure("close-by takes box, keys or session, not " + how);
    }
}
