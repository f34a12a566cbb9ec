/*
 * A whole chain detection against the simulated programmer, run through cmd by the batch file
 * as on the operator's PC: the devices found, the exact batch line, where the two temporary
 * files go and that none is left, and the failures that must end the detection at once.
 */
#include "ChainDesk.h"

#include "chain/Jtagbus.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/QuartusRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Detection {
    bool Ok;
    TChainList List;
    DWORD Ms;
};

Detection Detect(int cable = 0)
{
    Detection result;
    auto bus = std::make_unique<TJtagBus>();
    const DWORD start = GetTickCount();
    result.Ok = bus->DetectChain(result.List, cable);
    result.Ms = MsSince(start);
    return result;
}

std::string Programmer(const std::string& quartus) { return quartus + "\\bin\\quartus_pgm.exe"; }

} // namespace

TEST(DetectChain, FindsTheBoardThroughTheBatchFileAndLeavesNoFiles)
{
    // The temporary folder as the system names it, with and without its trailing backslash:
    // the same two paths either way, never a doubled backslash.
    for (bool trailing : {true, false}) {
        SCOPED_TRACE(trailing ? "with backslash" : "without backslash");
        QuartusRegistry registry;
        ChainDesk desk("kv7-chain", trailing);
        WriteText(desk.BatchPath(), "leftover batch\r\n");
        WriteText(desk.ReportPath(), "leftover report\r\n");

        FileWatch watch(desk.BatchPath(), desk.ReportPath());
        BatchCapture batch(desk.BatchPath());
        BoxRecorder boxes;
        Detection found = Detect();

        ASSERT_TRUE(found.Ok);
        ASSERT_EQ(found.List.size(), 1u);
        EXPECT_STREQ(found.List[0]->Code, "020B40DD");
        EXPECT_STREQ(found.List[0]->DeviceName, "EP3SL340ES");
        ASSERT_TRUE(batch.Captured);
        EXPECT_EQ(batch.Bytes, Programmer(registry.Original()) + " -c USB-Blaster[USB-0] -a  >  " + desk.Folder +
                                   "KV7_Output.txt");
        EXPECT_TRUE(watch.BatchAfterBothGone) << "leftovers were not removed before the batch file was written";
        EXPECT_EQ(GetFileAttributesA(desk.BatchPath().c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetFileAttributesA(desk.ReportPath().c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_NE(desk.JournalText().find("args=-c USB-Blaster[USB-0] -a\r\n"), std::string::npos) << desk.JournalText();
        EXPECT_TRUE(boxes.Boxes.empty());
    }
}

TEST(DetectChain, SeveralDevicesAndAnotherCable)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write("chain = 020B40DD EP3SL340, 020A10DD EPM570\n");
    BatchCapture batch(desk.BatchPath());
    Detection found = Detect(12);

    ASSERT_TRUE(found.Ok);
    ASSERT_EQ(found.List.size(), 2u);
    EXPECT_STREQ(found.List[0]->DeviceName, "EP3SL340\r\n"); // later refused by bring-up, on purpose
    EXPECT_STREQ(found.List[1]->Code, "020A10DD");
    EXPECT_STREQ(found.List[1]->DeviceName, "EPM570");
    EXPECT_EQ(batch.Bytes, Programmer(registry.Original()) + " -c USB-Blaster[USB-12] -a  >  " + desk.ReportPath());
}

TEST(DetectChain, TemporaryFolderWithABlankStillFindsTheBoard)
{
    QuartusRegistry registry;
    ChainDesk desk("kv7 chain user");
    BatchCapture batch(desk.BatchPath());
    Detection found = Detect();

    ASSERT_TRUE(found.Ok) << desk.JournalText();
    ASSERT_EQ(found.List.size(), 1u);
    EXPECT_STREQ(found.List[0]->DeviceName, "EP3SL340ES");
    EXPECT_EQ(batch.Bytes, Programmer(registry.Original()) + " -c USB-Blaster[USB-0] -a  >  \"" + desk.ReportPath() +
                               "\"");
    EXPECT_EQ(GetFileAttributesA(desk.BatchPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(desk.ReportPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DetectChain, QuartusFolderWithATrailingBackslashIsJoinedAsItStands)
{
    QuartusRegistry registry;
    registry.Set(registry.Original() + "\\");
    ChainDesk desk;
    BatchCapture batch(desk.BatchPath());
    Detection found = Detect();

    EXPECT_TRUE(found.Ok);
    EXPECT_EQ(batch.Bytes, registry.Original() + "\\\\bin\\quartus_pgm.exe -c USB-Blaster[USB-0] -a  >  " +
                               desk.ReportPath());
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
        Detection found = Detect();
        EXPECT_FALSE(found.Ok);
        EXPECT_TRUE(found.List.empty());
        EXPECT_FALSE(watch.BatchSeen);
    }
    EXPECT_EQ(desk.JournalText(), "");
}

TEST(DetectChain, FailuresThatEndTheDetectionAtOnce)
{
    QuartusRegistry registry;
    ChainDesk desk;
    struct Case {
        const char* Bench;
        const char* Why;
    };
    for (const Case& c : {Case{"programmer_exit = 3\n", "exit code 3"}, Case{"cable = no\n", "no cable"},
                          Case{"powered = no\n", "chain broken, exit code 0"},
                          Case{"programmer_cable = 1\n", "report lists another cable"}}) {
        SCOPED_TRACE(c.Why);
        desk.Write(c.Bench);
        BoxRecorder boxes;
        Detection found = Detect();
        EXPECT_FALSE(found.Ok);
        EXPECT_TRUE(found.List.empty());
        EXPECT_LT(found.Ms, 8000u); // far from the 15 s limit
        EXPECT_TRUE(boxes.Boxes.empty());
        EXPECT_EQ(GetFileAttributesA(desk.BatchPath().c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetFileAttributesA(desk.ReportPath().c_str()), INVALID_FILE_ATTRIBUTES);
    }
}
