/*
 * Commands for the simulated bench's own window (KV7Bench.exe beside the driver): start it,
 * choose entries of its lists, and read back what it wrote to the bench file. Lists and combo
 * boxes are driven as an operator's click would leave them: the entry is selected, then the
 * owner is told with the notification the click would have sent.
 */
#include "Commands.h"
#include "Log.h"
#include "Stage.h"

#include "base/Trace.h"

#include "sim/KeyValue.h"
#include "tests/support/TextFiles.h"

namespace {

constexpr char BENCH_PROGRAM[] = "KV7Bench.exe";
constexpr UINT ANSWER_MS = 2000;

LRESULT Ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG, ANSWER_MS, &result))
        throw Failure("the control did not answer");
    return static_cast<LRESULT>(result);
}

void Notify(HWND control, WORD code)
{
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code);
    if (!PostMessageA(GetParent(control), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control)))
        throw Failure("could not tell the window of the choice");
}

} // namespace

KV7_HANDLER(RunStartBench)
{
    StartRequest request;
    request.Executable = session.BinFolder + BENCH_PROGRAM;
    request.Folder = session.WorkFolder;
    request.Desktop = session.Desktop;
    StartProgram(session, TextArg(command, 0), request);
}

KV7_HANDLER(RunChoose)
{
    const ControlRef ref = ControlArg(command, 0);
    HWND control = Control(session, ref, deadline);
    if (!IsWindowEnabled(control))
        throw Failure("refusing to choose in " + ref.Name + ": it is disabled");
    const std::string& item = TextArg(command, 1);
    const LPARAM text = reinterpret_cast<LPARAM>(item.c_str());
    const std::string kind = ClassOf(control);
    const bool list = _stricmp(kind.c_str(), "ListBox") == 0;
    if (!list && _stricmp(kind.c_str(), "ComboBox") != 0)
        throw Failure(ref.Name + " is a " + kind + ", not a list or a combo box");
    const LRESULT index = Ask(control, list ? LB_FINDSTRINGEXACT : CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
    if (index == (list ? LB_ERR : CB_ERR))
        throw Failure(ref.Name + " has no entry " + TraceQuote(item));
    if (list && (GetWindowLongA(control, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)))
        Ask(control, LB_SETSEL, TRUE, index);
    else
        Ask(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(control, list ? LBN_SELCHANGE : CBN_SELCHANGE);
}

// The bench file's value of the key (its last line, as the simulated parts read it).
KV7_HANDLER(RunExpectBench)
{
    std::string value = "(not set)";
    for (const auto& [key, text] : sim::ParseKeyValues(ReadText(session.BenchPath()))) {
        if (key == TextArg(command, 0))
            value = text;
    }
    if (value != TextArg(command, 1))
        throw Failure("the bench says " + TextArg(command, 0) + " = " + value + ", expected " + TextArg(command, 1));
}
