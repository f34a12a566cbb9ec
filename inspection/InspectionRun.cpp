/*
 * The inspection run: everything one press of a connector button does. It confirms the power
 * warning once per program start, makes sure a board answering "KV7_MP" is held (reusing the
 * one kept from the last press, bringing one up otherwise), tests the connector and always
 * leaves the window idle again. It also fills the pin-pair table the verdicts refer to.
 * The run's start and end lines in the trace, by which a field engineer (and the end-to-end
 * tests) tell one press from the next, are written by TFormMain::TRun.
 */
#include "app/FormMain.h"

#include "app/ProgressMath.h"
#include "base/Assert.h"
#include "base/Box.h"
#include "base/Fault.h"
#include "base/Trace.h"
#include "inspection/PairTable.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr char ASSERT_UNIT[] = "UnitMain";

constexpr char POWER_WARNING[] =
    "Warning:\n"
    "ORBA loopback testing will enable connector power that could damage KV7 or your daugher boards."
    "\nPlease make sure:"
    "\n1. All daughter boards, including DDR2, are removed from KV7."
    "\n2. The ORBA loopback module is mounted on KV7."
    "\n\nDo you want to continue now?\n";
constexpr char BOARD_NOT_FOUND_WARNING[] =
    "Failed to find KV7.\nPlease make sure:\n1. KV7 and PC are connected by an USB cable.\n2. KV7 is power on.";
constexpr char STATUS_PREPARE[] = "Inspection Prepare...";
// A run that ended with no verdict: the library is named, so the field engineer knows which
// of the maker's two libraries to look at.
constexpr char STATUS_STOPPED_BY_FAULT[] = "Inspection stopped: fault in ";
constexpr int32_t PROGRESS_BEFORE_TEST = 96;
constexpr int32_t PROGRESS_AFTER_TEST = 100;

} // namespace

void TFormMain::ButtonOrbaClick(HWND sender)
{
    TRun run(*this);
    if (run)
        RunInspection(run, sender);
}

void TFormMain::RunInspection(TRun& run, HWND sender)
{
    auto button = std::find(std::begin(ButtonOrba), std::end(ButtonOrba), sender);
    if (button == std::end(ButtonOrba))
        return;
    const int32_t index = static_cast<int32_t>(button - std::begin(ButtonOrba));
    const char letter = static_cast<char>('A' + index);

    if (WarnBeforeTest) {
        if (ShowBox(BoxKind::Warning, BoxButtons::YesNo, POWER_WARNING) != BoxAnswer::Yes)
            return;
        WarnBeforeTest = false;
        // Closed while the warning was open: the operator is leaving, and no run has begun
        // that would have to be let finish.
        if (CloseGranted) {
            Trace("run not begun: the window is closing");
            return;
        }
    }

    run.Begin(letter);
    // A fault inside a maker library ends the run; the window's exception box shows it. The
    // board goes with it, and the next press starts over as after a fresh start. Whatever ends
    // the run without a verdict leaves nothing on the window that claims a test still runs.
    try {
        ShowStatus(STATUS_PREPARE, COLOR_BLUE);
        EnableButtons(false);
        SetFormCursor(IDC_WAIT);
        ClearResults();
        ExpectedRunMs = RunEstimateMs(SpeedFactor);
        StartProgress();

        // For the record: a held board keeps the model its bring-up found; of a board connected
        // now, not brought up, none is known.
        const bool held = static_cast<bool>(CurrentBoard);
        PressBoard = {held ? PressBoard.Model : TBoardModel{}, "", ""};
        if (!CurrentBoard && !ConnectNewBoard())
            ReleaseBoard();
        bool ready = CurrentBoard && CheckBoardName().Ready;
        if (ready)
            PressBoard.Came = held ? "reused" : "connected";
        if (!ready) {
            ReleaseBoard();
            ready = BringUpBoard();
            if (ready)
                PressBoard.Came = "brought up";
        }

        if (ready) {
            SetProgress(PROGRESS_BEFORE_TEST);
            run.Outcome = TestConnector(index) ? "PASS" : "NG";
            SetProgress(PROGRESS_AFTER_TEST);
        } else {
            ShowBox(BoxKind::Warning, BoxButtons::Ok, BOARD_NOT_FOUND_WARNING);
        }
    } catch (const TLibraryFault& fault) {
        run.Outcome = "fault";
        run.Record.Fault = fault.what();
        ReleaseBoard();
        ShowRunStopped(STATUS_STOPPED_BY_FAULT + fault.Library);
        throw;
    } catch (...) {
        run.Outcome = "error";
        ShowRunStopped(STATUS_STOPPED);
        throw;
    }
}

void TFormMain::ShowRunStopped(const std::string& status)
{
    ClearResults();
    ShowStatus(status.c_str(), COLOR_RED);
}

void TFormMain::InitPairTable()
{
    static_assert(sizeof PairFirstPin == sizeof(PairTable));
    PairTable table{};
    int i = FillPairTable(table);
    KV7_ASSERT(i == 132/2);
    std::copy(table.begin(), table.end(), std::begin(PairFirstPin));
}
