// Bring-up against the simulated programmer, download library and firmware: the download's
// arguments and folder, the shorter estimate of the smaller model, and the board released with
// its port closed when the name check fails. A press with no board at all ends in the warning,
// and a press posted meanwhile does not start a second run inside the first.
#include "InspectionDesk.h"

#include "base/Paths.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

namespace {

// A folder the way the simulated parts journal it (no trailing backslash).
std::string JournalFolder(std::string folder)
{
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

} // namespace

TEST(BringUp, DownloadsTheModelsConfigurationFromTheProgramsFolder)
{
    TestBench bench("chain = EP3SL150\nconfigured = no\n");
    TShownForm form;
    form.SpeedFactor = 0.3f;
    SetCurrentDirectoryA(bench.Folder.c_str());

    ASSERT_TRUE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Connect FPAG successfully");
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
    TShownForm form;
    form.ExpectedRunMs = 47599;

    EXPECT_FALSE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Failed to download .sof");
    EXPECT_FALSE(form.CurrentBoard);
    EXPECT_EQ(form.ExpectedRunMs, 47599u);
    std::vector<std::string> downloads = bench.JournalLines("download jtag ");
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_NE(downloads[0].find("\\KV7_MassProduction_260.sof\""), std::string::npos) << downloads[0];
    EXPECT_TRUE(bench.JournalLines("jtag open ").empty()) << "no connection after a failed download";
}

// The firmware is given its 3 s to start between the connection and the name query: one that
// takes them all still answers.
TEST(BringUp, FirmwareGetsItsStartTimeBeforeTheNameQuery)
{
    TestBench bench("chain = EP3SL340ES\nfirmware_start_ms = 3000\n");
    TShownForm form;

    EXPECT_TRUE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Connect FPAG successfully");
}

// The JTAG hub takes a second after the download to start, and the program's wait after the
// download gives it that second: an open sooner would be refused. Bound by the bench's clock
// against the program's: the bench marks the download's end with a tick inside the download,
// and the program counts its wait from a later one.
TEST(BringUp, HubGetsItsSecondAfterTheDownloadBeforeTheOpen)
{
    TestBench bench("chain = EP3SL340ES\nopen_ready_ms = 1000\n");
    TShownForm form;

    EXPECT_TRUE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Connect FPAG successfully");
}

TEST(BringUp, ForeignFirmwareLeavesNoBoardAndNoOpenPort)
{
    TestBench bench("chain = EP3SL340ES\nfirmware = KV7_XX\n");
    TShownForm form;

    EXPECT_FALSE(form.BringUpBoard());
    EXPECT_EQ(form.PanelText[0], "Failed to connect your board");
    EXPECT_FALSE(form.CurrentBoard);
    EXPECT_TRUE(PortClosedOnce(bench));
}

TEST(BringUp, NoBoardEndsInTheWarningAndRefusesASecondRunMeanwhile)
{
    TestBench bench("cable = no\n");
    BoxRecorder boxes;
    TShownForm form;
    // Another press arrives while the power warning is open.
    boxes.WhileOpen = [&form] { form.ButtonOrbaClick(form.ButtonOrba[3]); };

    form.ButtonOrbaClick(form.ButtonOrba[1]);
    // The power question and the not-found warning (the e2e scripts read them), nothing else.
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(form.PanelText[0], "Failed to connect FPAG board.");
    EXPECT_EQ(bench.JournalLines("programmer start ").size(), 1u) << "one run, one detection";

    // The window is idle again.
    EXPECT_FALSE(form.CurrentBoard);
    EXPECT_TRUE(Idle(form));
}
