/*
 * The detection's 15 s limit: a programmer that ends with a code that does not end the wait,
 * and one that is still running when the limit passes. Slow by nature.
 */
#include "ChainDesk.h"

#include "chain/Jtagbus.h"
#include "tests/support/QuartusRegistry.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr DWORD LIMIT_MS = 15000;

struct Detection {
    bool Ok;
    TChainList List;
    DWORD Ms;
};

Detection Detect()
{
    Detection result;
    auto bus = std::make_unique<TJtagBus>();
    const DWORD start = GetTickCount();
    result.Ok = bus->DetectChain(result.List, 0);
    result.Ms = MsSince(start);
    return result;
}

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
    Detection found = Detect();

    EXPECT_FALSE(found.Ok);
    EXPECT_TRUE(found.List.empty());
    EXPECT_GE(found.Ms, LIMIT_MS);
    EXPECT_LT(found.Ms, LIMIT_MS + 5000);
    EXPECT_NE(desk.JournalText().find("programmer exit code=1"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA(desk.BatchPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(desk.ReportPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DetectChainSlow, ProgrammerStillRunningAtTheLimitFailsAndItsLeftoversGoNextTime)
{
    QuartusRegistry registry;
    ChainDesk desk;
    desk.Write("programmer_ms = 17000\n");
    Detection hung = Detect();

    EXPECT_FALSE(hung.Ok);
    EXPECT_GE(hung.Ms, LIMIT_MS);
    EXPECT_LT(hung.Ms, LIMIT_MS + 1500); // the programmer is left running, not waited for
    EXPECT_EQ(desk.JournalText().find("programmer exit"), std::string::npos);
    ASSERT_TRUE(WaitForProgrammerEnd(desk, 10000));

    // Whatever the hung run left behind, the next detection starts clean and finds the board.
    desk.Write("");
    Detection next = Detect();
    EXPECT_TRUE(next.Ok);
    ASSERT_EQ(next.List.size(), 1u);
    EXPECT_STREQ(next.List[0]->DeviceName, "EP3SL340ES");
    EXPECT_EQ(GetFileAttributesA(desk.ReportPath().c_str()), INVALID_FILE_ATTRIBUTES);
}
