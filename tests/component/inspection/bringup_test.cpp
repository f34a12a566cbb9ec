// Bring-up against the simulated programmer, download library and firmware: the download's
// arguments and folder, the shorter estimate of the smaller model, and the board released with
// its port closed when the name check fails. A press with no board at all ends in the warning,
// and a press posted meanwhile does not start a second run inside the first.
#include "InspectionDesk.h"

#include "base/Paths.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TestBench.h"

#include <gtest/gtest.h>

TEST(BringUp, DownloadsTheModelsConfigurationFromTheProgramsFolder)
{
    TestBench bench("chain = EP3SL150\nconfigured = no\n");
    TShownForm shown;
    TFormMain& form = shown.Form;
    form.SpeedFactor = 0.3f;
    SetCurrentDirectoryA(bench.Folder.c_str());

    ASSERT_TRUE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Connect FPAG successfully");
    EXPECT_EQ(form.StatusColor, COLOR_GREEN);
    ASSERT_TRUE(form.CurrentBoard);
    EXPECT_TRUE(form.CurrentBoard->IsConnected());
    // The smaller model's estimate: 0.3 x 28000, without the run's factor 1.7.
    EXPECT_EQ(form.ExpectedRunMs, 8400u);

    std::vector<std::string> downloads = bench.JournalLines("download jtag ");
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0], "download jtag path=\"" + ExeFolder() + "KV7_MassProduction_150.sof\" arg2=80000 "
                            "arg3=0 arg4=0 arg5=0 arg6=0 arg7=1 cwd=\"" + JournalFolder(ExeFolder()) + "\" result=1");
    EXPECT_EQ(JournalFolder(CurrentDirectory()), JournalFolder(ExeFolder()));
}

TEST(BringUp, FailedDownloadOfAnotherModelKeepsTheEstimate)
{
    TestBench bench("chain = EP3SE260ES\ndownload_fails = yes\n");
    TShownForm shown;
    TFormMain& form = shown.Form;
    form.ExpectedRunMs = 47599;

    EXPECT_FALSE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Failed to download .sof");
    EXPECT_EQ(form.StatusColor, COLOR_RED);
    EXPECT_FALSE(form.CurrentBoard);
    EXPECT_EQ(form.ExpectedRunMs, 47599u);
    std::vector<std::string> downloads = bench.JournalLines("download jtag ");
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_NE(downloads[0].find("\\KV7_MassProduction_260.sof\""), std::string::npos) << downloads[0];
    EXPECT_TRUE(bench.JournalLines("jtag open ").empty()) << "no connection after a failed download";
}

TEST(BringUp, ForeignFirmwareLeavesNoBoardAndNoOpenPort)
{
    TestBench bench("chain = EP3SL340ES\nfirmware = KV7_XX\n");
    TShownForm shown;
    TFormMain& form = shown.Form;

    EXPECT_FALSE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Failed to connect your board");
    EXPECT_EQ(form.StatusColor, COLOR_RED);
    EXPECT_FALSE(form.CurrentBoard);
    std::vector<std::string> opens = bench.JournalLines("jtag open ");
    ASSERT_EQ(opens.size(), 1u);
    std::string handle = opens[0].substr(opens[0].find("handle=") + 7);
    std::vector<std::string> closes = bench.JournalLines("jtag close ");
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0], "jtag close handle=" + handle + " result=1");
}

TEST(BringUp, NoBoardEndsInTheWarningAndRefusesASecondRunMeanwhile)
{
    TestBench bench("cable = no\n");
    BoxRecorder boxes;
    TShownForm shown;
    TFormMain& form = shown.Form;
    // Another press arrives while the power warning is open.
    boxes.WhileOpen = [&form] { form.ButtonOrbaClick(form.ButtonOrba[3]); };

    form.ButtonOrbaClick(form.ButtonOrba[1]);
    // The power question, then the not-found warning (their texts are read by the e2e scripts).
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Buttons, BoxButtons::YesNo);
    EXPECT_EQ(boxes.Boxes[1].Buttons, BoxButtons::Ok);
    EXPECT_EQ(form.PanelText[0], "Failed to connect FPAG board.");
    EXPECT_EQ(bench.JournalLines("programmer start ").size(), 1u) << "one run, one detection";

    // The window is idle again.
    EXPECT_FALSE(form.CurrentBoard);
    EXPECT_EQ(form.PanelText[1], "0");
    EXPECT_TRUE(ButtonsEnabled(form));
    EXPECT_FALSE(form.Busy);
}
