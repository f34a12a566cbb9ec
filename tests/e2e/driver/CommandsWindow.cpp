/*
 * Commands on the program's main window and its controls, as an operator sees and uses them.
 * Checks poll until they hold or the command's time is up, because the program changes its
 * window on its own schedule; a failure names the value last seen.
 */
#include "Commands.h"
#include "Input.h"
#include "Log.h"
#include "WindowQuery.h"

#include <commctrl.h>

#include "base/Trace.h"

namespace {

std::string RectText(const RECT& r)
{
    return Format("%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The control of the command's first word, polled with `holds` until it holds or the time is up.
template <typename Holds, typename Why>
void ExpectOfControl(Session& session, const Command& command, const Deadline& deadline, Holds holds, Why why)
{
    const ControlRef ref = ControlArg(command, 0);
    HWND control = Control(session, ref, deadline);
    if (!PollUntil(deadline, [&] { return holds(control); }))
        throw Failure(ref.Name + why());
}

} // namespace

HWND Control(Session& session, const ControlRef& ref, const Deadline& deadline)
{
    HWND main = session.MainWindow(deadline);
    HWND control = nullptr;
    if (!PollUntil(deadline, [&] { return (control = FindControl(main, ref)) != nullptr; }))
        throw Failure("the window has no " + ref.Name);
    return control;
}

KV7_HANDLER(RunExpectWindow)
{
    HWND main = session.MainWindow(deadline);
    std::string caption;
    if (!PollUntil(deadline, [&] { return ReadText(main, caption) && caption == TextArg(command, 0); }))
        throw Failure("the window's caption is " + TraceQuote(caption) + ", expected " + TraceQuote(TextArg(command, 0)));
    std::string size = OptionArg(command, 1, "client", "", {"client"});
    if (!size.empty()) {
        RECT client{};
        GetClientRect(main, &client);
        std::string actual = Format("%ldx%ld", client.right, client.bottom);
        if (actual != size)
            throw Failure("the client area is " + actual + ", expected " + size);
    }
}

KV7_HANDLER(RunExpectNoWindow)
{
    if (HWND window = FindMainWindow(session.CurrentProgram().Process->ProcessId())) {
        std::string caption;
        ReadText(window, caption);
        throw Failure(session.Current + " shows a window " + TraceQuote(caption));
    }
}

KV7_HANDLER(RunClick)
{
    ControlRef ref = ControlArg(command, 0);
    HWND control = Control(session, ref, deadline);
    // A posted click reaches a disabled button under some systems all the same; an operator's
    // could not, so the driver refuses it instead of testing something no one can do.
    if (!IsWindowEnabled(control))
        throw Failure("refusing to click " + ref.Name + ": it is disabled");
    if (!IsWindowVisible(control))
        throw Failure("refusing to click " + ref.Name + ": it is not visible");
    if (!PostMessageA(control, BM_CLICK, 0, 0))
        throw Failure("could not post the click to " + ref.Name);
}

KV7_HANDLER(RunExpectText)
{
    std::string text = "(no answer)";
    const std::string& wanted = TextArg(command, 1);
    ExpectOfControl(session, command, deadline, [&](HWND c) { return ReadText(c, text) && text == wanted; },
                    [&] { return " reads " + TraceQuote(text) + ", expected " + TraceQuote(wanted); });
}

KV7_HANDLER(RunExpectVisible)
{
    const bool wanted = YesNoArg(command, 1);
    ExpectOfControl(session, command, deadline, [&](HWND c) { return HasVisibleStyle(c) == wanted; },
                    [&] { return wanted ? " stays hidden" : " stays visible"; });
}

KV7_HANDLER(RunExpectEnabled)
{
    const bool wanted = YesNoArg(command, 1);
    ExpectOfControl(session, command, deadline, [&](HWND c) { return (IsWindowEnabled(c) != FALSE) == wanted; },
                    [&] { return wanted ? " stays disabled" : " stays enabled"; });
}

KV7_HANDLER(RunExpectRect)
{
    ControlRef ref = ControlArg(command, 0);
    HWND control = Control(session, ref, deadline);
    RECT wanted{IntegerArg(command, 1), IntegerArg(command, 2), 0, 0};
    wanted.right = wanted.left + IntegerArg(command, 3);
    wanted.bottom = wanted.top + IntegerArg(command, 4);
    RECT actual = RectIn(control, session.MainWindow(deadline));
    if (!EqualRect(&actual, &wanted))
        throw Failure(ref.Name + " lies at " + RectText(actual) + ", expected " + RectText(wanted));
}

KV7_HANDLER(RunHover)
{
    RECT rect{};
    GetWindowRect(Control(session, ControlArg(command, 0), deadline), &rect);
    MoveMouse(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, deadline);
}

KV7_HANDLER(RunHoverAt)
{
    POINT point{IntegerArg(command, 0), IntegerArg(command, 1)};
    ClientToScreen(session.MainWindow(deadline), &point);
    MoveMouse(point, deadline);
}

// A hint is a tooltip window the program shows; what it says is in the trace ("hint ...").
KV7_HANDLER(RunWaitHint)
{
    const DWORD processId = session.CurrentProgram().Process->ProcessId();
    std::vector<HWND> hints;
    if (!PollUntil(deadline, [&] { return !(hints = FindTopLevel(processId, TOOLTIPS_CLASSA)).empty(); }))
        throw Failure(session.Current + " shows no hint");
    RECT rect{};
    GetWindowRect(hints[0], &rect);
    LogLine("%s: hint shown at %s", session.Current.c_str(), RectText(rect).c_str());
}

KV7_HANDLER(RunClose)
{
    HWND main = session.MainWindow(deadline);
    bool message = HasArg(command, 0) && TextArg(command, 0) == "message";
    if (HasArg(command, 0) && !message)
        throw Failure("close takes no word or `message` (WM_CLOSE instead of the close box)");
    BOOL posted = message ? PostMessageA(main, WM_CLOSE, 0, 0) : PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!posted)
        throw Failure("could not post the close request");
}
