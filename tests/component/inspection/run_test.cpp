// The inspection run against a board whose FPGA already runs the test firmware: the held board
// reused from press to press, the verdicts as the operator sees them, the release of the board,
// a connector test with no board, and the preconditions that end the program.
#include "InspectionDesk.h"

#include "base/Fault.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

#include <cstdio>

// How each verdict looks, the list of an NG, the clearing of the last verdict and the warning
// asked until the first Yes are proven on the real program by the e2e inspections; here, what
// the window cannot show: the board held across presses, the estimate and the bytes on the wire.
TEST(InspectionRun, KeepsOneBoardAcrossPresses)
{
    TestBench bench("configured = yes\nfaulty_a = 0, 17\n");
    BoxRecorder boxes;
    {
        TShownForm form;
        form.SpeedFactor = 1.0f;

        form.ButtonOrbaClick(form.ButtonOrba[1]);
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(form.PanelText[0], "ORBA-B PASS");
        EXPECT_EQ(form.ExpectedRunMs, 47599u); // 1.0 x 28000 x 1.7, truncated

        form.ButtonOrbaClick(form.ButtonOrba[0]);
        EXPECT_EQ(form.PanelText[0], "ORBA-A NG");

        // Idle again, the board still held.
        EXPECT_TRUE(Idle(form));
        ASSERT_TRUE(form.CurrentBoard);
        EXPECT_TRUE(form.CurrentBoard->IsConnected());

        // One port for both presses: a name check, then the test of connector 1, then of 0.
        EXPECT_EQ(bench.JournalLines("jtag open ").size(), 1u);
        EXPECT_TRUE(bench.JournalLines("jtag close ").empty());
        std::vector<std::string> expected = {"AA 00 00 00 00 55", "AA 0A 01 00 01 0C 55", "AA 00 00 00 00 55",
                                             "AA 0A 01 00 00 0B 55"};
        EXPECT_EQ(bench.JtagWrites(), expected);
    }
    // The window's end released the board and closed its port.
    EXPECT_EQ(bench.JournalLines("jtag close ").size(), 1u);
}

TEST(InspectionRun, ReleaseBoardClosesThePortOnce)
{
    TestBench bench("configured = yes\n");
    BoxRecorder boxes;
    TShownForm form;
    form.ButtonOrbaClick(form.ButtonOrba[3]);
    ASSERT_EQ(form.PanelText[0], "ORBA-D PASS");
    form.ReleaseBoard();
    EXPECT_FALSE(form.CurrentBoard);
    form.ReleaseBoard();
    EXPECT_TRUE(PortClosedOnce(bench));
}

// A fault inside a maker library ends the run with the window idle and the board let go
// without another call into the library (no close); the fault goes on to the window's
// exception box, and the next press starts over.
TEST(InspectionRun, FaultInsideTheLibraryLeavesTheWindowIdleAndTheBoardLetGo)
{
    TestBench bench("configured = yes\n");
    BoxRecorder boxes;
    TShownForm form;
    form.ButtonOrbaClick(form.ButtonOrba[0]);
    ASSERT_EQ(form.PanelText[0], "ORBA-A PASS");

    bench.Write("configured = yes\nfault_in = write\n");
    EXPECT_THROW(form.ButtonOrbaClick(form.ButtonOrba[1]), TLibraryFault);
    EXPECT_TRUE(Idle(form));
    EXPECT_FALSE(form.CurrentBoard);
    EXPECT_TRUE(bench.JournalLines("jtag close ").empty());

    bench.Write("configured = yes\n");
    form.ButtonOrbaClick(form.ButtonOrba[1]);
    EXPECT_EQ(form.PanelText[0], "ORBA-B PASS");

    // The close of a held board whose firmware has changed.
    bench.Write("configured = yes\nfirmware = OTHER_FW\nfault_in = close\n");
    EXPECT_THROW(form.ButtonOrbaClick(form.ButtonOrba[2]), TLibraryFault);
    EXPECT_TRUE(Idle(form));
    EXPECT_FALSE(form.CurrentBoard);

    bench.Write("configured = yes\n");
    form.ButtonOrbaClick(form.ButtonOrba[2]);
    EXPECT_EQ(form.PanelText[0], "ORBA-C PASS");
}

TEST(InspectionRun, ConnectorTestWithoutBoardIsNgAndSendsNothing)
{
    TestBench bench("configured = yes\n");
    TShownForm form;
    EXPECT_FALSE(form.TestConnector(2));
    EXPECT_EQ(form.PanelText[0], "ORBA-C NG");
    EXPECT_EQ(form.StatusColor, COLOR_RED);
    EXPECT_EQ(TextOf(form.LabelResult.Window), "NG");
    EXPECT_EQ(form.LabelResult.Color, COLOR_RED);
    EXPECT_TRUE(form.ShapeOrba[2].Visible);
    EXPECT_EQ(form.ShapeOrba[2].PenColor, COLOR_RED);
    EXPECT_FALSE(IsWindowVisible(form.MemoError.Window));
    EXPECT_TRUE(bench.Journal().empty());
}

// A failed precondition ends the program with code 3 after the report box.
TEST(InspectionRunDeathTest, DownloadOfNoModelIsAProgrammingError)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto downloadOf = [](BoardType type) {
        SetBoxHook([](const TBoxRequest& request) {
            std::fprintf(stderr, "%s: %s\n", request.Caption.c_str(), request.Text.c_str());
            return BoxAnswer::Ok;
        });
        TFormMain form;
        form.DownloadSof(type);
    };
    const char* report = "Error: Assertion failed: BoardType != BOARD_UNKNOWN, file UnitMain, line \\d+";
    EXPECT_EXIT(downloadOf(BOARD_UNKNOWN), testing::ExitedWithCode(3), report);
    // Not found is no model either; it must not go on to a configuration that does not exist.
    EXPECT_EXIT(downloadOf(BOARD_NOT_FOUND), testing::ExitedWithCode(3), report);
}
