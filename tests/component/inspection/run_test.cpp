// The inspection run against a board whose FPGA already runs the test firmware: the held board
// reused from press to press, the verdicts as the operator sees them, the release of the board,
// a connector test with no board, and the preconditions that end the program.
#include "InspectionDesk.h"

#include "tests/support/BoxRecorder.h"
#include "tests/support/TestBench.h"

#include <gtest/gtest.h>

#include <cstdio>

// How each verdict looks is proven on the real program by the e2e inspections; here, what the
// window cannot show: the board held across presses, the estimate and the bytes on the wire.
TEST(InspectionRun, KeepsOneBoardAcrossPressesAndClearsTheLastVerdict)
{
    TestBench bench("configured = yes\nfaulty_a = 0, 17\n");
    BoxRecorder boxes;
    {
        TShownForm shown;
        TFormMain& form = shown.Form;
        form.SpeedFactor = 1.0f;

        form.ButtonOrbaClick(form.ButtonOrba[1]);
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Buttons, BoxButtons::YesNo);
        EXPECT_EQ(form.PanelText[0], "ORBA-B PASS");
        EXPECT_TRUE(form.ShapeOrba[1].Visible);
        EXPECT_EQ(form.ExpectedRunMs, 47599u); // 1.0 x 28000 x 1.7, truncated

        form.ButtonOrbaClick(form.ButtonOrba[0]);
        EXPECT_EQ(boxes.Boxes.size(), 1u) << "the warning is asked until the first Yes only";
        EXPECT_EQ(form.PanelText[0], "ORBA-A NG");
        EXPECT_FALSE(form.ShapeOrba[1].Visible) << "the last verdict is cleared at the next press";
        EXPECT_EQ(TextOf(form.MemoError.Window), "[001]pin 003-004\r\n[002]pin 051-052\r\n");

        // Idle again: no progress, buttons back, not busy, the board still held.
        EXPECT_EQ(form.PanelText[1], "0");
        EXPECT_TRUE(ButtonsEnabled(form));
        EXPECT_FALSE(form.Busy);
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
    TShownForm shown;
    TFormMain& form = shown.Form;
    form.ButtonOrbaClick(form.ButtonOrba[3]);
    ASSERT_EQ(form.PanelText[0], "ORBA-D PASS");
    std::vector<std::string> opens = bench.JournalLines("jtag open ");
    ASSERT_EQ(opens.size(), 1u);
    std::string handle = opens[0].substr(opens[0].find("handle=") + 7);

    form.ReleaseBoard();
    EXPECT_FALSE(form.CurrentBoard);
    std::vector<std::string> closes = bench.JournalLines("jtag close ");
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0], "jtag close handle=" + handle + " result=1");

    form.ReleaseBoard();
    EXPECT_EQ(bench.JournalLines("jtag close ").size(), 1u);
}

TEST(InspectionRun, ConnectorTestWithoutBoardIsNgAndSendsNothing)
{
    TestBench bench("configured = yes\n");
    TShownForm shown;
    TFormMain& form = shown.Form;
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
