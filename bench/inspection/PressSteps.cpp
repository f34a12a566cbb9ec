/*
 * The steps of a press on a held board, one by one (see PressSteps.h). The sequence is the one
 * a passing press makes: the run's start, the board's name, the loopback test of the connector
 * with the drain after it, the verdict, the press's record, and the run's end. Between two presses the messages a
 * press leaves behind are dispatched, as the program's message loop does.
 */
#include "PressSteps.h"

#include "app/FormMain.h"
#include "base/PaintFlush.h"
#include "base/Pump.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Times each step of one press under its name; the n-th step of every press is the same one.
class TStepClock {
public:
    explicit TStepClock(std::vector<TPressStep>& steps) : Steps(steps) {}

    template <typename Step> void Time(const char* name, Step step)
    {
        auto begin = Clock::now();
        step();
        double ms = MsSince(begin);
        if (Next == Steps.size())
            Steps.push_back({name, {}});
        Steps[Next++].Ms.push_back(ms);
    }

    void NextPress() { Next = 0; }

private:
    std::vector<TPressStep>& Steps;
    size_t Next = 0;
};

// What the run's clearing of the result display does, step for step, through the window's
// public controls (the clearing itself is the run's own private step).
void ClearShownResults(TFormMain& form)
{
    for (TShape& outline : form.ShapeOrba) {
        outline.Set(false, outline.PenColor);
        outline.SetHint("");
    }
    form.LabelResult.SetCaption("");
    form.MemoError.Clear();
    form.MemoError.SetVisible(false);
    form.LabelError.SetState(false, form.LabelError.Color);
}

bool OnePress(TFormMain& form, int32_t index, TStepClock& clock, std::string& error)
{
    const char letter = static_cast<char>('A' + index);
    char passText[16];
    std::snprintf(passText, sizeof passText, "ORBA-%c PASS", letter);
    TShape& outline = form.ShapeOrba[index];
    TBoard& board = *form.CurrentBoard;
    std::string name;
    bool pass = false;
    uint8_t passed[LOOPBACK_PAIRS] = {};
    TRunRecord record;

    record.Begin();
    clock.Time("status \"Inspection Prepare...\"", [&] { form.ShowStatus("Inspection Prepare...", COLOR_BLUE); });
    clock.Time("buttons disabled", [&] { form.EnableButtons(false); });
    clock.Time("hourglass cursor", [&] { form.SetFormCursor(IDC_WAIT); });
    clock.Time("results cleared (last outline hidden)", [&] { ClearShownResults(form); });
    clock.Time("progress 0, timer started", [&] { form.StartProgress(); });
    clock.Time("exchange: board name", [&] { name = board.QueryBoardName(); });
    clock.Time("progress 96", [&] { form.SetProgress(96); });
    clock.Time("outline yellow", [&] { outline.Set(true, COLOR_YELLOW); });
    clock.Time("label \"Inspecting...\"", [&] {
        form.LabelResult.SetCaption("Inspecting...");
        form.LabelResult.SetState(true, COLOR_YELLOW);
    });
    clock.Time("status \"ORBA loopback inspection...\"",
               [&] { form.ShowStatus("ORBA loopback inspection...", COLOR_BLUE); });
    clock.Time("exchange: loopback", [&] { pass = board.RunLoopback(index, passed); });
    clock.Time("drain", [&] { board.FlushInput(); });
    // The verdict reaches the screen in one go, as the connector test shows it: each of its three
    // changes is timed on its own, the one flush with the last.
    std::optional<TPaintBatch> verdictShown(std::in_place);
    clock.Time("status PASS", [&] { form.ShowStatus(passText, COLOR_GREEN); });
    clock.Time("label PASS", [&] {
        form.LabelResult.SetCaption("PASS");
        form.LabelResult.SetState(true, COLOR_GREEN);
    });
    clock.Time("outline green, with the verdict's flush", [&] {
        outline.Set(true, COLOR_GREEN);
        verdictShown.reset();
    });
    clock.Time("progress 100", [&] { form.SetProgress(100); });
    clock.Time("progress 0, timer stopped", [&] { form.StopProgress(); });
    clock.Time(RECORD_STEP, [&] { record.Write(form, letter, "PASS"); });
    clock.Time("buttons enabled", [&] { form.EnableButtons(true); });
    clock.Time("normal cursor", [&] { form.SetFormCursor(nullptr); });
    clock.NextPress();
    if (name != "KV7_MP" || !pass) {
        error = "the in-process press did not pass (board name \"" + name + "\")";
        return false;
    }
    return true;
}

} // namespace

bool MeasurePressSteps(const std::string& benchPath, int presses, TPressSteps& figures, std::string& error)
{
    SetEnvironmentVariableA("KV7_BENCH", benchPath.c_str());
    TFormMain form;
    // The records go beside the bench, into the folder the benchmark removes at its end.
    const std::string records = benchPath.substr(0, benchPath.find_last_of('\\') + 1) + "records\\";
    form.Records = TRecordBook(std::wstring(records.begin(), records.end()));
    form.Show();
    PumpPendingMessages();
    form.WarnBeforeTest = false;
    form.CurrentBoard = std::make_unique<TBoard>();
    if (!form.CurrentBoard->Connect(error, 0))
        return false;

    TStepClock clock(figures.Steps);
    for (int i = 0; i < presses; ++i) {
        if (!OnePress(form, i % 4, clock, error))
            return false;
        PumpPendingMessages();
    }
    // The same presses through the click handler the program runs, for the sum of the steps.
    double cpuBegin = ThreadCpuMs();
    for (int i = 0; i < presses; ++i) {
        auto begin = Clock::now();
        form.ButtonOrbaClick(form.ButtonOrba[i % 4]);
        figures.WholeMs.push_back(MsSince(begin));
        PumpPendingMessages();
    }
    figures.CpuMsPerPress = (ThreadCpuMs() - cpuBegin) / presses;
    return true;
}
