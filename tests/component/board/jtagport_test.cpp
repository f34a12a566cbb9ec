// TJtagPort against the simulated JTAG library beside the test: how many library calls reads
// and drains make, what a read that times out returns, what a lying library cannot do to the
// caller's memory, and that opening a port closes the one before.
#include "board/Jtagport.h"
#include "tests/support/TestBench.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int32_t NAME_REPLY_BYTES = 23;

struct OpenPort {
    explicit OpenPort(const std::string& bench) : Bench(bench) { EXPECT_TRUE(Port.Open()); }
    ~OpenPort() { Port.Close(); }
    TestBench Bench;
    TJtagPort Port{0, ""};
};

} // namespace

TEST(JtagPort, ReadsAndDrainsCallTheLibraryOnlyAsOftenAsNeeded)
{
    OpenPort open("configured = yes\n");
    std::array<uint8_t, 8> buffer{};
    int32_t before = JtagCallCount("read");

    EXPECT_EQ(open.Port.Read(buffer.data(), 0, 1000), 0);
    EXPECT_EQ(JtagCallCount("read"), before) << "a read of nothing calls nobody";
    EXPECT_EQ(open.Port.Read(buffer.data(), 4, 0), 0);
    EXPECT_EQ(JtagCallCount("read"), before + 1) << "a limit of 0 is one attempt";
    open.Port.Drain(300);
    EXPECT_EQ(JtagCallCount("read"), before + 2) << "an idle drain is one attempt";
}

TEST(JtagPort, ReadThatTimesOutReturnsWhatArrived)
{
    OpenPort open("configured = yes\n");
    ASSERT_TRUE(open.Port.Write(NAME_REQUEST, sizeof NAME_REQUEST));
    std::array<uint8_t, 64> buffer{};
    EXPECT_EQ(open.Port.Read(buffer.data(), 40, 200), NAME_REPLY_BYTES);
    EXPECT_EQ(buffer[0], 0xAA);
}

TEST(JtagPort, DrainOfAChattyBoardStopsAtItsLimit)
{
    OpenPort open("configured = yes\nreply_fault = chatty\n");
    DWORD start = GetTickCount();
    open.Port.Drain(300);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 290u);
    EXPECT_LT(took, 10000u);
}

// A read count the library claims below 0 or beyond what was asked for never moves the write
// position or the count outside the caller's buffer: it is taken as a read of nothing.
class ImpossibleReadCount : public testing::TestWithParam<const char*> {};

TEST_P(ImpossibleReadCount, IsTakenAsNothing)
{
    OpenPort open(std::string("configured = yes\nread_result = ") + GetParam() + "\n");
    ASSERT_TRUE(open.Port.Write(NAME_REQUEST, sizeof NAME_REQUEST));
    std::array<uint8_t, 2 + NAME_REPLY_BYTES> guarded;
    guarded.fill(0xEE);
    EXPECT_EQ(open.Port.Read(guarded.data() + 1, NAME_REPLY_BYTES, 100), 0);
    EXPECT_EQ(guarded.front(), 0xEE);
    EXPECT_EQ(guarded.back(), 0xEE);
}

INSTANTIATE_TEST_SUITE_P(Claims, ImpossibleReadCount, testing::Values("negative", "excess"),
                         [](const auto& info) { return std::string(info.param); });

TEST(JtagPort, OpenClosesThePortBeforeAndCloseOnAClosedPortDoesNothing)
{
    OpenPort open("");
    ASSERT_TRUE(open.Port.Open());
    auto journal = open.Bench.JournalLines("jtag ");
    ASSERT_EQ(journal.size(), 3u);
    std::string first = journal[0].substr(journal[0].rfind("handle=") + 7);
    EXPECT_EQ(journal[1], "jtag close handle=" + first + " result=1");
    EXPECT_NE(journal[2].rfind("jtag open ", 0), std::string::npos);

    open.Port.Close();
    int32_t closes = JtagCallCount("close");
    open.Port.Close();
    EXPECT_FALSE(open.Port.IsOpen());
    EXPECT_EQ(JtagCallCount("close"), closes);
}

TEST(JtagPort, RefusedWriteLeavesThePortOpen)
{
    OpenPort open("write_fails = yes\n");
    EXPECT_FALSE(open.Port.Write(NAME_REQUEST, sizeof NAME_REQUEST));
    EXPECT_TRUE(open.Port.IsOpen());
}
