/*
 * The detection's 15 s limit: a programmer that ends with a code that does not end the wait,
 * and one that is still running when the limit passes. Slow by nature.
 */
#include "ChainDesk.h"

#include "tests/support/QuartusRegistry.h"

#include <gtest/gtest.h>

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
