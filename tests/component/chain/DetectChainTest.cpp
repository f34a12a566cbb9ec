/*
 * A whole chain detection against the simulated programmer, run through cmd by the batch file
 * as on the operator's PC: the devices found, the exact batch line, where the two temporary
 * files go and that none is left, and the failures that must end the detection at once (a report
 * another programmer still holds among them).
 */
#include "ChainDesk.h"

#include "base/Handles.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/QuartusRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

namespace {

std::string Programmer(const std::string& quartus) { return quartus + "\\bin\\quartus_pgm.exe"; }

} // namespace

// The temporary folder as the system names it, with and without its trailing backslash: the
// same two paths either way, never a doubled backslash.
class DetectChainInTemp : public testing::TestWithParam<bool> {};

TEST_P(DetectChainInTemp, FindsTheBoardThroughTheBatchFileAndLeavesNoFiles)
{
    QuartusRegistry registry;
    ChainDesk desk("kv7-chain", GetParam());
    WriteText(desk.BatchPath(), "leftover batch\r\n");
    WriteText(desk.ReportPath(), "leftover report\r\n");

    FileWatch watch(desk.BatchPath(), desk.ReportPath());
    BatchCapture batch(desk.BatchPath());
    BoxRecorder boxes;
    TDetection found = Detect();

    ASSERT_TRUE(found.Ok);
    ASSERT_EQ(found.List.size(), 1u);
    EXPECT_STREQ(found.List[0]->Code, "020B40DD");
    EXPECT_STREQ(found.List[0]->DeviceName, "EP3SL340ES");
    ASSERT_TRUE(batch.Captured);
    EXPECT_EQ(batch.Bytes, Programmer(registry.Original()) + " -c USB-Blaster[USB-0] -a  >  " + desk.Folder +
                               "KV7_Output.txt");
    EXPECT_TRUE(watch.BatchAfterBothGone) << "leftovers were not removed before the batch file was written";
    EXPECT_TRUE(desk.NoFileLeft());
    EXPECT_NE(desk.JournalText().find("args=-c USB-Blaster[USB-0] -a\r\n"), std::string::npos) << desk.JournalText();
    EXPECT_TRUE(boxes.Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Backslash, DetectChainInTemp, testing::Bool(),
                         [](const auto& info) { return info.param ? "Trailing" : "None"; });

TEST(DetectChain, SeveralDevicesAndAnotherCable)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write("chain = 020B40DD EP3SL340, 020A10DD EPM570\n");
    BatchCapture batch(desk.BatchPath());
    TDetection found = Detect(12);

    ASSERT_TRUE(found.Ok);
    ASSERT_EQ(found.List.size(), 2u);
    EXPECT_STREQ(found.List[0]->DeviceName, "EP3SL340\r\n"); // later refused by bring-up, on purpose
    EXPECT_STREQ(found.List[1]->Code, "020A10DD");
    EXPECT_STREQ(found.List[1]->DeviceName, "EPM570");
    EXPECT_EQ(batch.Bytes, Programmer(registry.Original()) + " -c USB-Blaster[USB-12] -a  >  " + desk.ReportPath());
}

TEST(DetectChain, NoProgrammerStartsNothingAndWritesNoBatchFile)
{
    QuartusRegistry registry;
    ChainDesk desk;
    TempFolder emptyQuartus("kv7-no-quartus");
    for (int missing : {0, 1, 2}) {
        SCOPED_TRACE(missing);
        if (missing == 0)
            registry.Remove();
        else if (missing == 1)
            registry.Set("");
        else
            registry.Set(emptyQuartus.Path().substr(0, emptyQuartus.Path().size() - 1));
        FileWatch watch(desk.BatchPath(), desk.ReportPath());
        TDetection found = Detect();
        EXPECT_FALSE(found.Ok);
        EXPECT_TRUE(found.List.empty());
        EXPECT_FALSE(watch.BatchSeen);
    }
    EXPECT_EQ(desk.JournalText(), "");
}

// A report some programmer still holds open, the way cmd holds the file it redirects a
// programmer's output into (written, shared for reading only): it cannot be removed, and the
// detection ends at once, before it writes a batch file or starts a programmer. Going on, cmd
// would fail to redirect this run's programmer onto it, end with code 0 having run nothing, and
// the holder's report would be read as this detection's once the holder let it go.
TEST(DetectChain, ReportStillHeldByAnotherProgrammerEndsTheDetectionAtOnce)
{
    QuartusRegistry registry;
    ChainDesk desk;
    UniqueHandle held(CreateFileA(desk.ReportPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    FileWatch watch(desk.BatchPath(), desk.ReportPath());
    BoxRecorder boxes;
    TDetection found = Detect();

    EXPECT_FALSE(found.Ok);
    EXPECT_FALSE(watch.BatchSeen);
    EXPECT_EQ(desk.JournalText(), "") << "a programmer was started";
    EXPECT_TRUE(boxes.Boxes.empty());
}

// Each failure on a desk of its own, so no leftover of one case can decide the next.
class DetectChainFailure : public testing::TestWithParam<const char*> {};

TEST_P(DetectChainFailure, EndsTheDetectionAtOnceAndLeavesNoFiles)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write(GetParam());
    BoxRecorder boxes;
    TDetection found = Detect();
    EXPECT_FALSE(found.Ok);
    EXPECT_TRUE(found.List.empty());
    EXPECT_LT(found.Ms, 15000u); // ended by the failure, not by the 15 s limit
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_TRUE(desk.NoFileLeft());
}

// Exit code 3; no cable; a powered-off board breaks the chain yet exits 0; the report lists
// another cable than the one asked for.
INSTANTIATE_TEST_SUITE_P(Bench, DetectChainFailure,
                         testing::Values("programmer_exit = 3\n", "cable = no\n", "powered = no\n",
                                         "programmer_cable = 1\n"),
                         [](const auto& info) {
                             const std::string bench = info.param;
                             return bench.substr(0, bench.find(' '));
                         });
