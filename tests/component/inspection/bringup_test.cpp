// Bring-up against the simulated programmer, download library and firmware: the download's
// arguments and folder, the shorter estimate of the smaller model, and the board released with
// its port closed when the name check fails. A press with no board at all ends in the warning,
// and a press posted meanwhile does not start a second run inside the first. The demo's presses
// leave their records.
#include "InspectionDesk.h"

#include "base/Paths.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/Folders.h"
#include "tests/support/TextFiles.h"

#include "KV7Version.h"

#include <gtest/gtest.h>

namespace {

// A folder the way the simulated parts journal it (no trailing backslash).
std::string JournalFolder(std::string folder)
{
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

// The fields of a record line, as a spreadsheet splits it.
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += line[i];
    }
    return fields;
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

// The demo's bench, its waits cut short: a fresh EP3SL150 board, three pin pairs failing on
// ORBA-C. Pressed A to D, it leaves one record a press: A brought the board up, the others
// reused it, C is NG with its pairs as the memo lists them. A press with the board switched off
// is NOT READY, with the status it left and the detection's reason behind it.
TEST(BringUp, DemoBenchPressesLeaveARecordEach)
{
    TestBench bench(ReadText(BuiltFile("demo\\KV7_Bench.ini")) + "programmer_ms = 0\ndownload_ms = 0\nloopback_ms = 0\n");
    BoxRecorder boxes;
    TShownForm form;
    TempFolder records("kv7 records");
    form.Records = TRecordBook(std::wstring(records.Path().begin(), records.Path().end()));
    for (HWND button : form.ButtonOrba)
        form.ButtonOrbaClick(button);
    bench.Write(bench.Text() + "powered = no\n");
    form.ButtonOrbaClick(form.ButtonOrba[1]);

    const std::vector<std::string> files = FileNames(records.Path(), "*.csv");
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::string> lines = SplitLines(ReadText(records / files[0]));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], std::string("\xEF\xBB\xBF") + RECORD_HEADER);
    const std::vector<std::vector<std::string>> expected = {
        {"A", "PASS", "", "EP3SL150", "SIII-150", "brought up", "ORBA-A PASS"},
        {"B", "PASS", "", "EP3SL150", "SIII-150", "reused", "ORBA-B PASS"},
        {"C", "NG", "017-018 051-052 123-124", "EP3SL150", "SIII-150", "reused", "ORBA-C NG"},
        {"D", "PASS", "", "EP3SL150", "SIII-150", "reused", "ORBA-D PASS"},
        {"B", "NOT READY", "", "", "", "", "Failed to connect FPAG board."}};
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::vector<std::string> f = Fields(lines[i + 1]);
        ASSERT_EQ(f.size(), 14u) << lines[i + 1];
        EXPECT_EQ(f[4], KV7_VERSION_TEXT);
        EXPECT_EQ((std::vector<std::string>{f[5], f[6], f[7], f[9], f[10], f[11], f[12]}), expected[i]) << lines[i + 1];
        if (i < 4)
            EXPECT_EQ(f[13], "");
        else
            EXPECT_NE(f[13].find("chain detection failed: "), std::string::npos) << f[13];
    }
}
