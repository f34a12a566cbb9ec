/*
 * The detection's 15 s limit: a programmer that ends with a code that does not end the wait,
 * and one that is still running when the limit passes, and a second detection while it still
 * runs. Slow by nature.
 */
#include "ChainDesk.h"

#include "tests/support/QuartusRegistry.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr DWORD LIMIT_MS = 15000;

// The programmer journals its end; the test must not leave one running behind it.
bool WaitForProgrammerEnd(const ChainDesk& desk, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    while (desk.JournalText().find("programmer exit") == std::string::npos) {
        if (MsSince(start) > limitMs)
            return false;
        Sleep(50);
    }
    return true;
}

// Every programmer started on the desk has ended.
bool WaitForAllProgrammersToEnd(const ChainDesk& desk, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    while (desk.JournalLines("programmer exit ").size() < desk.JournalLines("programmer start ").size()) {
        if (MsSince(start) > limitMs)
            return false;
        Sleep(50);
    }
    return true;
}

} // namespace

TEST(DetectChainSlow, ExitCodeOutsideTheListWaitsTheFullLimit)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write("programmer_exit = 1\n");
    TDetection found = Detect();

    EXPECT_FALSE(found.Ok);
    EXPECT_TRUE(found.List.empty());
    EXPECT_GE(found.Ms, LIMIT_MS);
    EXPECT_LT(found.Ms, 2 * LIMIT_MS);
    EXPECT_NE(desk.JournalText().find("programmer exit code=1"), std::string::npos);
    EXPECT_TRUE(desk.NoFileLeft());
}

TEST(DetectChainSlow, ProgrammerStillRunningAtTheLimitFailsAndItsLeftoversGoNextTime)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write("programmer_ms = 22000\n");
    TDetection hung = Detect();

    EXPECT_FALSE(hung.Ok);
    EXPECT_GE(hung.Ms, LIMIT_MS);
    // Left running, not waited for: the detection is back before the programmer's end.
    EXPECT_EQ(desk.JournalText().find("programmer exit"), std::string::npos);
    ASSERT_TRUE(WaitForProgrammerEnd(desk, 20000));

    // Whatever the hung run left behind, the next detection starts clean and finds the board.
    desk.Write("");
    TDetection next = Detect();
    EXPECT_TRUE(next.Ok);
    ASSERT_EQ(next.List.size(), 1u);
    EXPECT_STREQ(next.List[0]->DeviceName, "EP3SL340ES");
    EXPECT_TRUE(desk.NoFileLeft());
}

// A second detection while the programmer the first one gave up on still runs, its report held
// open: it fails (the caller then shows "Failed to connect FPAG board."), or it lists exactly
// what its own programmer lists; it never takes what the first one wrote. The first programmer
// is let go as soon as a second one has ended, so that it writes the rest of its report while
// the second detection still waits for the report. Under Wine the second detection fails before
// it writes anything: the held report is only pending deletion, its name still there.
TEST(DetectChainSlow, SecondDetectionWhileTheFirstProgrammerRunsTakesNothingItWrote)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write("chain = EP3SL150\nhold = programmer\n");
    TDetection first = Detect();
    ASSERT_FALSE(first.Ok);
    ASSERT_EQ(desk.JournalLines("programmer exit ").size(), 0u) << "the first programmer is still running";

    // The second programmer reads a bench of its own (KV7_BENCH, which it inherits) and lists
    // another chain, journalling beside the first.
    const std::string secondBench = desk.Folder + "second.ini";
    WriteText(secondBench, "chain = EP3SE260ES\njournal = " + desk.Path + ".journal\n");
    SetEnvironmentVariableA("KV7_BENCH", secondBench.c_str());
    std::atomic<bool> detected{false};
    std::thread release([&] {
        while (!detected && desk.JournalLines("programmer exit ").empty())
            Sleep(5);
        desk.Write("chain = EP3SL150\n");
    });
    TDetection second = Detect();
    detected = true;
    release.join();
    SetEnvironmentVariableA("KV7_BENCH", desk.Path.c_str());

    if (second.Ok) {
        ASSERT_EQ(second.List.size(), 1u);
        EXPECT_STREQ(second.List[0]->DeviceName, "EP3SE260ES");
    }
    EXPECT_TRUE(WaitForAllProgrammersToEnd(desk, 20000));
}
