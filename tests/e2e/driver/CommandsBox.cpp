/*
 * Commands on the program's message boxes: wait for one, compare what it says with what the
 * script expects, press one of its buttons and see it go.
 */
#include "Args.h"
#include "Boxes.h"
#include "Handlers.h"
#include "Log.h"
#include "WindowQuery.h"

#include "base/Trace.h"

namespace {

constexpr DWORD POLL_MS = 50;

// The box the operator can answer, waited for. A box shown above another one must be modal to
// it, so that only the upper one takes input; two boxes that both take input are a failure.
BoxView WaitForBox(Session& session, const Deadline& deadline)
{
    Program& program = session.CurrentProgram();
    for (;;) {
        std::vector<HWND> boxes = FindBoxes(program.Process->ProcessId());
        if (boxes.size() > 1) {
            std::erase_if(boxes, [](HWND box) { return !IsWindowEnabled(box); });
            if (boxes.size() != 1)
                throw Failure(Format("%s shows %zu boxes that take input at once", session.Current.c_str(),
                                     boxes.size()));
        }
        BoxView view;
        if (boxes.size() == 1 && ReadBox(boxes[0], view))
            return view;
        if (program.Process->HasExited())
            throw Failure(Format("%s ended (exit code %lu) without showing a box", session.Current.c_str(),
                                 program.Process->ExitCode()));
        if (deadline.Passed())
            throw Failure(Format("%s shows no box within %g s", session.Current.c_str(), deadline.Limit()));
        Sleep(deadline.StepMs(POLL_MS));
    }
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
    for (;;) {
        view = WaitForBox(session, deadline);
        mismatch = Mismatch(command, view);
        if (mismatch.empty() || deadline.Passed())
            break;
        Sleep(deadline.StepMs(POLL_MS));
    }
    LogLine("%s: sees %s", session.Current.c_str(), Describe(view).c_str());
    if (!mismatch.empty())
        throw Failure(mismatch);
    if (!HasArg(command, 3))
        return;
    if (!PressBoxButton(view, TextArg(command, 3)))
        throw Failure(Describe(view) + ": has no button " + TextArg(command, 3));
    LogLine("%s: pressed %s", session.Current.c_str(), TextArg(command, 3).c_str());
    for (;;) {
        if (!IsWindow(view.Window) || !IsWindowVisible(view.Window))
            return;
        if (deadline.Passed())
            throw Failure(Describe(view) + ": still there after pressing " + TextArg(command, 3));
        Sleep(deadline.StepMs(POLL_MS));
    }
}

KV7_HANDLER(RunExpectNoBox)
{
    Program& program = session.CurrentProgram();
    Deadline quiet(HasArg(command, 0) ? NumberArg(command, 0) : 0);
    do {
        for (HWND box : FindBoxes(program.Process->ProcessId())) {
            BoxView view;
            ReadBox(box, view);
            throw Failure(session.Current + " shows " + Describe(view));
        }
        if (program.Process->HasExited())
            return;
        Sleep(quiet.StepMs(POLL_MS));
    } while (!quiet.Passed());
}
