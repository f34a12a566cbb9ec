// TBoard against the simulated board: the bytes that go on the wire, the two commands'
// answers (one that comes late in the reply window too), and every way a broken reply is
// refused, with or without the beep.
#include "base/Beep.h"
#include "board/Board.h"
#include "tests/support/TestBench.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>

namespace {

// A connected board on its own bench, counting the beeps it sounds.
struct ConnectedBoard {
    explicit ConnectedBoard(const std::string& bench) : Bench("configured = yes\n" + bench)
    {
        SetBeepHook([this] { ++Beeps; });
        std::string error;
        EXPECT_TRUE(Board.Connect(error, 0)) << error;
    }
    ~ConnectedBoard() { SetBeepHook(nullptr); }
    TestBench Bench;
    TBoard Board;
    int Beeps = 0;
};

} // namespace

TEST(Board, RequestsOnTheWireAndTheirAnswers)
{
    ConnectedBoard board("faulty_c = 5, 65\n");
    EXPECT_EQ(board.Board.QueryBoardName(), "KV7_MP");
    std::array<uint8_t, LOOPBACK_PAIRS> a, c, d;
    ASSERT_TRUE(board.Board.RunLoopback(0, a.data()));
    ASSERT_TRUE(board.Board.RunLoopback(2, c.data()));
    ASSERT_TRUE(board.Board.RunLoopback(3, d.data()));
    for (size_t i = 0; i < LOOPBACK_PAIRS; ++i) {
        EXPECT_EQ(a[i], 1);
        EXPECT_EQ(c[i], i == 5 || i == 65 ? 0 : 1) << "pair " << i;
    }
    EXPECT_EQ(board.Bench.JtagWrites(), (std::vector<std::string>{"AA 00 00 00 00 55", "AA 0A 01 00 00 0B 55",
                                                                  "AA 0A 01 00 02 0D 55", "AA 0A 01 00 03 0E 55"}));
    EXPECT_EQ(board.Beeps, 0);
}

TEST(Board, StatusNotZeroIsAnAnswerButNoResult)
{
    ConnectedBoard board("reply_fault = status\n");
    EXPECT_EQ(board.Board.QueryBoardName(), "");
    std::array<uint8_t, LOOPBACK_PAIRS> results;
    results.fill(7);
    EXPECT_FALSE(board.Board.RunLoopback(1, results.data()));
    for (uint8_t r : results)
        EXPECT_EQ(r, 7) << "results untouched";
    EXPECT_EQ(board.Beeps, 0);
}

class LeftoverInput : public testing::TestWithParam<const char*> {};

TEST_P(LeftoverInput, IsDrainedBeforeEachExchange)
{
    ConnectedBoard board(std::string("reply_fault = ") + GetParam() + "\n");
    EXPECT_EQ(board.Board.QueryBoardName(), "KV7_MP");
    EXPECT_EQ(board.Board.QueryBoardName(), "KV7_MP");
}

INSTANTIATE_TEST_SUITE_P(Replies, LeftoverInput, testing::Values("stale", "chatty"),
                         [](const auto& info) { return std::string(info.param); });

struct Refusal {
    const char* Bench;
    bool Beeps;
    bool LeavesTheRest; // refused from the header alone, the rest left for the next drain
};

class BoardRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(BoardRefusal, RefusesWithOrWithoutBeepAndLeavesTheBufferAlone)
{
    ConnectedBoard board(GetParam().Bench);
    std::array<uint8_t, BOARD_NAME_REPLY_LEN> reply;
    reply.fill(0xCC);
    EXPECT_FALSE(board.Board.Exchange(CMD_BOARD_NAME, reply.data(), BOARD_NAME_REPLY_LEN, nullptr, 0, 3000));
    EXPECT_EQ(board.Beeps, GetParam().Beeps ? 1 : 0);
    for (uint8_t b : reply)
        EXPECT_EQ(b, 0xCC);
    if (GetParam().LeavesTheRest) {
        int32_t before = JtagCallCount("read");
        board.Board.FlushInput();
        EXPECT_GT(JtagCallCount("read") - before, 1) << "the flush found the rest of the reply";
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, BoardRefusal,
                         testing::Values(Refusal{"reply_fault = wrong_echo\n", false, true},
                                         Refusal{"reply_fault = wrong_length\n", false, true},
                                         Refusal{"reply_fault = truncated\n", true, false},
                                         Refusal{"reply_fault = bad_checksum\n", true, false},
                                         Refusal{"write_fails = yes\n", true, false}),
                         [](const testing::TestParamInfo<Refusal>& info) {
                             std::string name = info.param.Bench;
                             name = name.substr(name.find("= ") + 2);
                             name.pop_back();
                             return name;
                         });

TEST(Board, SilentBoardGivesUpAfterTheFirstReplyLimit)
{
    ConnectedBoard board("reply_fault = silent\n");
    DWORD start = GetTickCount();
    EXPECT_EQ(board.Board.QueryBoardName(), "");
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 2900u);
    EXPECT_LT(took, 10000u);
    EXPECT_EQ(board.Beeps, 0);
}

TEST(Board, ConnectTwiceClosesTheOldPortAndDisconnectTwiceDoesNothing)
{
    ConnectedBoard board("");
    std::string error = "untouched";
    ASSERT_TRUE(board.Board.Connect(error, 0));
    EXPECT_EQ(error, "untouched");
    auto journal = board.Bench.JournalLines("jtag ");
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[1].rfind("jtag close ", 0), 0u);
    EXPECT_EQ(journal[2].rfind("jtag open ", 0), 0u);

    board.Board.Disconnect();
    EXPECT_FALSE(board.Board.IsConnected());
    board.Board.Disconnect();
    EXPECT_EQ(board.Bench.JournalLines("jtag close ").size(), 2u);
}

// A command on a board without an open port is no broken reply: false, and no beep.
TEST(Board, CommandsWithoutAPortFailQuietly)
{
    TestBench bench("open_fails = yes\n");
    int beeps = 0;
    SetBeepHook([&] { ++beeps; });
    TBoard board;
    std::array<uint8_t, LOOPBACK_PAIRS> results{};
    EXPECT_EQ(board.QueryBoardName(), "");
    std::string error;
    EXPECT_FALSE(board.Connect(error, 0));
    EXPECT_EQ(error, "Fail to connect FPGA borad.");
    EXPECT_FALSE(board.IsConnected());
    EXPECT_EQ(board.QueryBoardName(), "");
    EXPECT_FALSE(board.RunLoopback(0, results.data()));
    SetBeepHook(nullptr);
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(bench.JournalLines("jtag write ").empty());
}

// A loopback reply that starts 2.5 s after its request is still taken. The first port read
// waits its 3 s for the header whatever the first-reply limit is (that limit is looked at only
// between port reads), so this guards the reply window as a whole: it fails when both limits
// are cut, not when the first-reply limit alone is. The bench holds the reply back from the tick
// of the write and the program reads for its 3 s from a later tick; only a stall of half a
// second between two of the program's reads could lose the reply.
TEST(Board, LoopbackReplyLateInTheReplyWindowIsTaken)
{
    ConnectedBoard board("loopback_ms = 2500\n");
    std::array<uint8_t, LOOPBACK_PAIRS> results{};
    EXPECT_TRUE(board.Board.RunLoopback(0, results.data()));
    EXPECT_EQ(results[0], 1);
    EXPECT_EQ(board.Beeps, 0);
}
