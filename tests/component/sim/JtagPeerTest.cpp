// The simulated JTAG library and the board's test firmware behind it, held to what the program's
// tests take for granted: a board that is silent until configured and while unpowered, a
// firmware that answers no malformed request (so a framing fault of the program shows), reply
// faults shaped exactly as named (so each refusal test hits the check it means). The plain
// replies and the call counter are proven by the board link's own tests, which rely on them.
#include "BenchFixture.h"

#include "base/Handles.h"
#include "tests/support/BuiltFiles.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes NAME = Bytes(std::begin(NAME_REQUEST), std::end(NAME_REQUEST));
const Bytes NAME_REPLY = {0xAA, 0x00, 0x11, 0x00, 0x00, 'K', 'V', '7', '_', 'M', 'P', 0, 0, 0, 0, 0,
                          0,    0,    0,    0,    0,    0xE5, 0x55};
constexpr DWORD QUIET_MS = 300;
constexpr DWORD HOLD_SEEN_LIMIT_MS = 5000;

template <typename F>
F Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class JtagPeer : public BenchFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Open && Close && Write && Read); }

    // Opens a port on a bench of the given text; the test fails when it does not open.
    uint32_t OpenOn(const std::string& bench)
    {
        Bench.Write(bench);
        const uint32_t port = Open(0, "");
        EXPECT_NE(port, 0u);
        return port;
    }

    // What the board sends within QUIET_MS of the request.
    Bytes Answer(uint32_t port, const Bytes& request)
    {
        EXPECT_NE(Write(port, request.data(), static_cast<int32_t>(request.size())), 0);
        return Collect(port);
    }

    // What the board sends within QUIET_MS from now.
    Bytes Collect(uint32_t port)
    {
        Bytes got;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start <= QUIET_MS) {
            uint8_t chunk[256];
            const int32_t n = Read(port, chunk, sizeof chunk);
            if (n > 0)
                got.insert(got.end(), chunk, chunk + n);
            else
                Sleep(1);
        }
        return got;
    }

    Bytes NameReply(const std::string& bench)
    {
        const uint32_t port = OpenOn(bench);
        Bytes reply = Answer(port, NAME);
        Close(port);
        return reply;
    }

    UniqueModule Module{LoadLibraryA(BuiltFile(JTAG_DLL).c_str())};
    uint32_t(__stdcall* Open)(int32_t, const char*) = Entry<decltype(Open)>(Module.Get(), "PALDRIX_JtagOpen");
    void(__stdcall* Close)(uint32_t) = Entry<decltype(Close)>(Module.Get(), "PALDRIX_JtagClose");
    int32_t(__stdcall* Write)(uint32_t, const uint8_t*, int32_t) = Entry<decltype(Write)>(Module.Get(), "PALDRIX_JtagWrite");
    int32_t(__stdcall* Read)(uint32_t, uint8_t*, int32_t) = Entry<decltype(Read)>(Module.Get(), "PALDRIX_JtagRead");
};

} // namespace

TEST_F(JtagPeer, SilentUntilConfiguredAndWithoutPowerOrCable)
{
    const uint32_t port = OpenOn("");
    EXPECT_TRUE(Answer(port, NAME).empty());
    Bench.Write("configured = yes\n");
    EXPECT_EQ(Answer(port, NAME), NAME_REPLY);
    Bench.Write("configured = yes\ncable = no\n");
    EXPECT_TRUE(Answer(port, NAME).empty());

    // Power loss clears the configuration in the bench file and leaves the rest as it was.
    Bench.Write("# desk 3\r\npowered = no\r\nconfigured = yes   # downloaded\r\nfirmware = KV7_MP\r\n");
    EXPECT_TRUE(Answer(port, NAME).empty());
    EXPECT_EQ(Bench.Text(), "# desk 3\r\npowered = no\r\nconfigured = no\r\nfirmware = KV7_MP\r\n");
    Close(port);
}

TEST_F(JtagPeer, MalformedRequestsGetNoReplyAndDoNotSpoilTheNextOne)
{
    const uint32_t port = OpenOn("configured = yes\n");
    const Bytes malformed[] = {
        {0xAA, 0x00, 0x00, 0x00, 0x01, 0x55},       // checksum off by one
        {0xAA, 0x00, 0x00, 0x00, 0x00, 0x56},       // wrong end byte
        {0xAA, 0x07, 0x00, 0x00, 0x07, 0x55},       // no such command
        {0xAA, 0x00, 0x01, 0x00, 0x00, 0x01, 0x55}, // name request with a payload
        {0xAA, 0x0A, 0x01, 0x00, 0x04, 0x0F, 0x55}, // connector E
        {0xAA, 0x0A, 0x00, 0x00, 0x0A, 0x55},       // loopback without its connector
        {0xAA, 0x00, 0x05, 0x00},                   // stops halfway: given up, not glued to the next
    };
    for (const Bytes& request : malformed)
        EXPECT_TRUE(Answer(port, request).empty()) << "request byte 1 = " << int(request[1]);
    EXPECT_EQ(Answer(port, NAME), NAME_REPLY);
    Close(port);
}

TEST_F(JtagPeer, EachReplyFaultShapesTheReplyAsTheBenchSays)
{
    auto changed = [](std::initializer_list<std::pair<size_t, uint8_t>> edits) {
        Bytes reply = NAME_REPLY;
        for (const auto& [at, value] : edits)
            reply[at] = value;
        return reply;
    };
    Bytes shorter = NAME_REPLY; // sixteen payload bytes, consistent checksum
    shorter.erase(shorter.begin() + 20);
    shorter[2] = 0x10;
    shorter[20] = 0xE4;
    Bytes stale = NAME_REPLY;
    stale.insert(stale.end(), {0x55, 0x00, 0xAA, 0x01});

    const std::pair<const char*, Bytes> cases[] = {
        {"silent", {}},
        {"truncated", Bytes(NAME_REPLY.begin(), NAME_REPLY.begin() + 12)},
        {"bad_checksum", changed({{21, 0xE6}})},
        {"wrong_echo", changed({{1, 0x01}, {21, 0xE6}})},
        {"wrong_length", shorter},
        {"status", changed({{4, 0x01}, {21, 0xE6}})},
        {"stale", stale},
    };
    for (const auto& [fault, expected] : cases)
        EXPECT_EQ(NameReply(std::string("configured = yes\nreply_fault = ") + fault + "\n"), expected) << fault;
}

// A held request waits in its write, where the program runs no time-out, and only once released
// does the firmware take it: the reply is there at once, not already 3 s old. Releasing needs a
// bench written under the bench's mutex, which the held write polls.
TEST_F(JtagPeer, HeldRequestWaitsInItsWriteAndIsAnsweredOnceReleased)
{
    const uint32_t port = OpenOn("configured = yes\nhold = loopback\n");
    EXPECT_EQ(Answer(port, NAME), NAME_REPLY); // only the step named is held

    const Bytes loopback = {0xAA, 0x0A, 0x01, 0x00, 0x02, 0x0D, 0x55};
    std::atomic<bool> written = false;
    std::thread writer([&] {
        Write(port, loopback.data(), static_cast<int32_t>(loopback.size()));
        written = true;
    });
    const DWORD start = GetTickCount();
    while (Bench.JournalLines("held loopback").empty() && GetTickCount() - start < HOLD_SEEN_LIMIT_MS)
        Sleep(10);
    Sleep(QUIET_MS);
    EXPECT_FALSE(written);
    {
        UniqueHandle mutex(CreateMutexA(nullptr, FALSE, "KV7_SimulatedBench"));
        WaitForSingleObject(mutex.Get(), INFINITE);
        Bench.Write("configured = yes\nhold = none\n");
        ReleaseMutex(mutex.Get());
    }
    writer.join();
    EXPECT_EQ(Collect(port).size(), 74u); // header, status, A5, 66 results, checksum, end
    Close(port);

    const std::vector<std::string> journal = Bench.Journal();
    const auto at = [&](const std::string& start) {
        for (size_t i = 0; i < journal.size(); ++i)
            if (journal[i].starts_with(start))
                return i;
        return journal.size();
    };
    EXPECT_LT(at("held loopback"), at("released loopback"));
    EXPECT_LT(at("released loopback"), at("jtag write handle=" + std::to_string(port) + " bytes=AA 0A"));
}
