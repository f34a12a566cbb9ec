/*
 * Commands on the program's message boxes: wait for one, compare what it says with what the
 * script expects, press one of its buttons and see it go.
 */
#include "Commands.h"
#include "Log.h"
#include "WindowQuery.h"

#include "base/Trace.h"

namespace {

// The box the operator can answer, waited for. A box shown above another one must be modal to
// it, so that only the upper one takes input; two boxes that both take input are a failure.
BoxView WaitForBox(Session& session, const Deadline& deadline)
{
    Debuggee& process = *session.CurrentProgram().Process;
    BoxView view;
    const bool seen = PollUntil(deadline, [&] {
        std::vector<HWND> boxes = FindBoxes(process.ProcessId());
        if (boxes.size() > 1)
            std::erase_if(boxes, [](HWND box) { return !IsWindowEnabled(box); });
        if (boxes.size() > 1)
            throw Failure(Format("%s shows %zu boxes that take input at once", session.Current.c_str(), boxes.size()));
        if (boxes.empty() && process.HasExited())
            throw Failure(Format("%s ended (exit code %lu) without showing a box", session.Current.c_str(),
                                 process.ExitCode()));
        return boxes.size() == 1 && ReadBox(boxes[0], view);
    });
    if (!seen)
        throw Failure(Format("%s shows no box within %g s", session.Current.c_str(), deadline.Limit()));
    return view;
}

std::string Describe(const BoxView& view)
{
    return Format("box %s [%s] %s", view.Caption.c_str(), view.ButtonList().c_str(), TraceQuote(view.Text).c_str());
}

// Why the box is not the one the command expects, or "" when it is.
std::string Mismatch(const Command& command, const BoxView& view)
{
    if (!IsWildcard(command, 0) && view.Caption != TextArg(command, 0))
        return Describe(view) + ": caption is not " + TraceQuote(TextArg(command, 0));
    if (!IsWildcard(command, 1) && view.Text != TextArg(command, 1))
        return Describe(view) + ": text is not " + TraceQuote(TextArg(command, 1));
    if (!IsWildcard(command, 2) && view.ButtonList() != TextArg(command, 2))
        return Describe(view) + ": buttons are not " + TextArg(command, 2);
    return std::string();
}

} // namespace

// Another box may be on its way above the one seen (the close question above a run's box), so a
// box that is not the expected one fails only when the time is up.
KV7_HANDLER(RunExpectBox)
{
    BoxView view;
    std::string mismatch;
    PollUntil(deadline, [&] { return (mismatch = Mismatch(command, view = WaitForBox(session, deadline))).empty(); });
    LogLine("%s: sees %s", session.Current.c_str(), Describe(view).c_str());
    if (!mismatch.empty())
        throw Failure(mismatch);
    if (!HasArg(command, 3))
        return;
    if (!PressBoxButton(view, TextArg(command, 3)))
        throw Failure(Describe(view) + ": has no button " + TextArg(command, 3));
    LogLine("%s: pressed %s", session.Current.c_str(), TextArg(command, 3).c_str());
    if (!PollUntil(deadline, [&] { return !IsWindow(view.Window) || !IsWindowVisible(view.Window); }))
        throw Failure(Describe(view) + ": still there after pressing " + TextArg(command, 3));
}

// For that long, or until the program ends.
KV7_HANDLER(RunExpectNoBox)
{
    Debuggee& process = *session.CurrentProgram().Process;
    PollUntil(Deadline(HasArg(command, 0) ? NumberArg(command, 0) : 0), [&] {
        for (HWND box : FindBoxes(process.ProcessId())) {
            BoxView view;
            ReadBox(box, view);
            throw Failure(session.Current + " shows " + Describe(view));
        }
        return process.HasExited();
    });
}
