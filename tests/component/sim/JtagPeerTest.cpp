// The simulated JTAG library and the board's test firmware behind it: replies byte for byte,
// silence until configured, every reply fault, the library's own faults, and its journal.
#include "BenchFixture.h"

#include "base/Handles.h"
#include "base/Paths.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes NAME_REQUEST = {0xAA, 0x00, 0x00, 0x00, 0x00, 0x55};
const Bytes NAME_REPLY = {0xAA, 0x00, 0x11, 0x00, 0x00, 'K', 'V', '7', '_', 'M', 'P', 0, 0, 0, 0, 0,
                          0,    0,    0,    0,    0,    0xE5, 0x55};

Bytes LoopbackRequest(uint8_t connector)
{
    return {0xAA, 0x0A, 0x01, 0x00, connector, static_cast<uint8_t>(0x0B + connector), 0x55};
}

template <typename F>
F Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The library as the program sees it, plus the call counter it exports for tests.
class Jtag {
public:
    Jtag() : Module(LoadLibraryA((ExeFolder() + "PALDRIX_JTAG.DLL").c_str()))
    {
        Open = Entry<decltype(Open)>(Module.Get(), "PALDRIX_JtagOpen");
        Close = Entry<decltype(Close)>(Module.Get(), "PALDRIX_JtagClose");
        Write = Entry<decltype(Write)>(Module.Get(), "PALDRIX_JtagWrite");
        Read = Entry<decltype(Read)>(Module.Get(), "PALDRIX_JtagRead");
        CallCount = Entry<decltype(CallCount)>(Module.Get(), "SIM_JtagCallCount");
    }
    bool Loaded() const { return Open && Close && Write && Read && CallCount; }

    bool Send(uint32_t port, const Bytes& bytes)
    {
        return Write(port, bytes.data(), static_cast<int32_t>(bytes.size())) != 0;
    }

    // What the board sends within limitMs, stopping early once want bytes have come.
    Bytes Collect(uint32_t port, size_t want, DWORD limitMs)
    {
        Bytes got;
        const DWORD start = GetTickCount();
        while (got.size() < want && GetTickCount() - start <= limitMs) {
            uint8_t chunk[256];
            const int32_t n = Read(port, chunk, static_cast<int32_t>(std::min<size_t>(sizeof chunk, want - got.size())));
            if (n > 0)
                got.insert(got.end(), chunk, chunk + n);
            else
                Sleep(1);
        }
        return got;
    }

    UniqueModule Module;
    uint32_t(__stdcall* Open)(int32_t, const char*) = nullptr;
    void(__stdcall* Close)(uint32_t) = nullptr;
    int32_t(__stdcall* Write)(uint32_t, const uint8_t*, int32_t) = nullptr;
    int32_t(__stdcall* Read)(uint32_t, uint8_t*, int32_t) = nullptr;
    int32_t(__stdcall* CallCount)(const char*) = nullptr;
};

constexpr DWORD QUIET_MS = 300;
constexpr DWORD REPLY_MS = 3000;

class JtagPeer : public BenchFixture {
protected:
    void SetUp() override
    {
        BenchFixture::SetUp();
        ASSERT_TRUE(Library.Loaded());
    }

    // Opens a port on a bench of the given text; the test fails when it does not open.
    uint32_t OpenOn(const std::string& bench)
    {
        Bench.Write(bench);
        const uint32_t port = Library.Open(0, "");
        EXPECT_NE(port, 0u);
        return port;
    }

    Bytes NameReply(const std::string& bench)
    {
        const uint32_t port = OpenOn(bench);
        EXPECT_TRUE(Library.Send(port, NAME_REQUEST));
        Bytes reply = Library.Collect(port, 200, QUIET_MS);
        Library.Close(port);
        return reply;
    }

    Jtag Library;
};

} // namespace

TEST_F(JtagPeer, NameReplyCarriesTheFirmwareNameInSixteenBytes)
{
    EXPECT_EQ(NameReply("configured = yes\n"), NAME_REPLY);

    // Sixteen characters leave no room for a terminating zero.
    const Bytes full = {0xAA, 0x00, 0x11, 0x00, 0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',
                        'K',  'L',  'M',  'N',  'O',  'P', 0x99, 0x55};
    EXPECT_EQ(NameReply("configured = yes\nfirmware = ABCDEFGHIJKLMNOP\n"), full);
}

TEST_F(JtagPeer, LoopbackReplyFailsExactlyTheFaultyPairsOfTheAskedConnector)
{
    const uint32_t port = OpenOn("configured = yes\nfaulty_c = 0, 5 65\nfaulty_a = 1\n");
    ASSERT_TRUE(Library.Send(port, LoopbackRequest(2)));
    const Bytes reply = Library.Collect(port, 74, REPLY_MS);
    ASSERT_EQ(reply.size(), 74u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 5), (Bytes{0xAA, 0x0A, 0x44, 0x00, 0x00}));
    EXPECT_NE(reply[5], 0) << "byte 1 of the payload is meant to be ignored, so it is not 0";
    for (int pair = 0; pair < 66; ++pair)
        EXPECT_EQ(reply[6 + pair] != 0, pair == 0 || pair == 5 || pair == 65) << "pair " << pair;
    uint8_t sum = 0;
    for (size_t i = 1; i < 72; ++i)
        sum = static_cast<uint8_t>(sum + reply[i]);
    EXPECT_EQ(reply[72], sum);
    EXPECT_EQ(reply[73], 0x55);

    ASSERT_TRUE(Library.Send(port, LoopbackRequest(3)));
    const Bytes clean = Library.Collect(port, 74, REPLY_MS);
    ASSERT_EQ(clean.size(), 74u);
    EXPECT_EQ(Bytes(clean.begin() + 6, clean.begin() + 72), Bytes(66, 0));
    Library.Close(port);
}

TEST_F(JtagPeer, LoopbackReplyStartsOnlyAfterTheLoopbackTime)
{
    const uint32_t port = OpenOn("configured = yes\nloopback_ms = 600\n");
    const DWORD start = GetTickCount();
    ASSERT_TRUE(Library.Send(port, LoopbackRequest(0)));
    EXPECT_TRUE(Library.Collect(port, 74, 200).empty());
    EXPECT_EQ(Library.Collect(port, 74, REPLY_MS).size(), 74u);
    EXPECT_GE(GetTickCount() - start, 600u);
    Library.Close(port);
}

TEST_F(JtagPeer, FirmwareIsSilentUntilConfiguredAndAfterPowerLoss)
{
    const uint32_t port = OpenOn("");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_TRUE(Library.Collect(port, 200, QUIET_MS).empty());

    Bench.Write("configured = yes\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_EQ(Library.Collect(port, 200, QUIET_MS), NAME_REPLY);

    Bench.Write("configured = yes\npowered = no\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_TRUE(Library.Collect(port, 200, QUIET_MS).empty());

    Bench.Write("configured = yes\ncable = no\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_TRUE(Library.Collect(port, 200, QUIET_MS).empty());
    Library.Close(port);
}

TEST_F(JtagPeer, PowerLossClearsTheConfigurationAndKeepsTheRestOfTheBench)
{
    const std::string before = "# desk 3\r\npowered = no\r\nconfigured = yes   # downloaded\r\nfirmware = KV7_MP\r\n";
    const std::string after = "# desk 3\r\npowered = no\r\nconfigured = no\r\nfirmware = KV7_MP\r\n";
    Bench.Write(before);
    const uint32_t port = Library.Open(0, "");
    EXPECT_EQ(Bench.Text(), after);

    // Power comes back: the FPGA has forgotten its configuration.
    Bench.Write("# desk 3\r\npowered = yes\r\nconfigured = no\r\nfirmware = KV7_MP\r\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_TRUE(Library.Collect(port, 200, QUIET_MS).empty());
    Library.Close(port);
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
    };
    for (const Bytes& request : malformed) {
        ASSERT_TRUE(Library.Send(port, request));
        EXPECT_TRUE(Library.Collect(port, 200, 150).empty()) << "request byte 1 = " << int(request[1]);
    }
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_EQ(Library.Collect(port, 200, QUIET_MS), NAME_REPLY);

    // A request may arrive in pieces; one that stops halfway is given up, not glued to the next.
    ASSERT_TRUE(Library.Send(port, Bytes(NAME_REQUEST.begin(), NAME_REQUEST.begin() + 3)));
    ASSERT_TRUE(Library.Send(port, Bytes(NAME_REQUEST.begin() + 3, NAME_REQUEST.end())));
    EXPECT_EQ(Library.Collect(port, 200, QUIET_MS), NAME_REPLY);
    ASSERT_TRUE(Library.Send(port, {0xAA, 0x00, 0x05, 0x00}));
    Sleep(250);
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_EQ(Library.Collect(port, 200, QUIET_MS), NAME_REPLY);
    Library.Close(port);
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
        {"none", NAME_REPLY},
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

    // A chatty board still answers, then every read finds bytes waiting.
    const uint32_t port = OpenOn("configured = yes\nreply_fault = chatty\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_EQ(Library.Collect(port, NAME_REPLY.size(), REPLY_MS), NAME_REPLY);
    for (int i = 0; i < 20; ++i) {
        uint8_t byte = 0;
        ASSERT_EQ(Library.Read(port, &byte, 1), 1) << "read " << i;
    }
    Library.Close(port);
}

TEST_F(JtagPeer, ReplyFaultHitsOnlyTheChosenCommand)
{
    const uint32_t port = OpenOn("configured = yes\nreply_fault = status\nreply_fault_on = loopback\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_EQ(Library.Collect(port, 200, QUIET_MS), NAME_REPLY);
    ASSERT_TRUE(Library.Send(port, LoopbackRequest(1)));
    const Bytes loopback = Library.Collect(port, 74, REPLY_MS);
    ASSERT_EQ(loopback.size(), 74u);
    EXPECT_EQ(loopback[4], 1);

    Bench.Write("configured = yes\nreply_fault = silent\nreply_fault_on = name\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    EXPECT_TRUE(Library.Collect(port, 200, QUIET_MS).empty());
    ASSERT_TRUE(Library.Send(port, LoopbackRequest(1)));
    EXPECT_EQ(Library.Collect(port, 74, REPLY_MS).size(), 74u);

    // Chatter that starts with the loopback reply leaves the name exchange clean.
    Bench.Write("configured = yes\nreply_fault = chatty\nreply_fault_on = loopback\n");
    uint8_t byte = 0;
    EXPECT_EQ(Library.Read(port, &byte, 1), 0);
    ASSERT_TRUE(Library.Send(port, LoopbackRequest(1)));
    EXPECT_EQ(Library.Collect(port, 74, REPLY_MS).size(), 74u);
    EXPECT_EQ(Library.Read(port, &byte, 1), 1);
    Library.Close(port);
}

TEST_F(JtagPeer, LibraryFaultsAndTheCallCounter)
{
    const int32_t opens = Library.CallCount("open");
    const int32_t writes = Library.CallCount("write");
    const int32_t reads = Library.CallCount("read");
    const int32_t closes = Library.CallCount("close");
    EXPECT_EQ(Library.CallCount("seek"), -1);

    Bench.Write("open_fails = yes\n");
    EXPECT_EQ(Library.Open(0, ""), 0u);
    Bench.Write("cable = no\n");
    EXPECT_EQ(Library.Open(0, ""), 0u);

    uint32_t port = OpenOn("configured = yes\nwrite_fails = yes\n");
    EXPECT_FALSE(Library.Send(port, NAME_REQUEST));
    EXPECT_FALSE(Library.Send(port + 1000, NAME_REQUEST)) << "unknown handle";
    Library.Close(port);

    // A negative claim for every read that found bytes: the 23 reply bytes one by one.
    port = OpenOn("configured = yes\nread_result = negative\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    int negatives = 0;
    uint8_t byte = 0;
    while (Library.Read(port, &byte, 1) == -1)
        ++negatives;
    EXPECT_EQ(negatives, 23);
    Library.Close(port);

    // An excessive claim never writes past the buffer.
    port = OpenOn("configured = yes\nread_result = excess\n");
    ASSERT_TRUE(Library.Send(port, NAME_REQUEST));
    uint8_t buffer[8] = {0, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(Library.Read(port, buffer, 4), 5);
    EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{0xAA, 0x00, 0x11, 0x00, 0xEE, 0xEE, 0xEE, 0xEE}));
    Library.Close(port);

    EXPECT_EQ(Library.CallCount("open") - opens, 5);
    EXPECT_EQ(Library.CallCount("write") - writes, 4);
    EXPECT_EQ(Library.CallCount("read") - reads, negatives + 2);
    EXPECT_EQ(Library.CallCount("close") - closes, 3);
}

TEST_F(JtagPeer, JournalRecordsOpensWritesAndCloses)
{
    SetCurrentDirectoryA(Bench.Folder.c_str());
    const std::string cwd = Bench.Folder.substr(0, Bench.Folder.size() - 1);
    Bench.Write("write_fails = no\n");
    const uint32_t port = Library.Open(0, "");
    ASSERT_NE(port, 0u);
    ASSERT_TRUE(Library.Send(port, LoopbackRequest(2)));
    Library.Close(port);
    Library.Close(port);
    const std::string handle = std::to_string(port);
    const std::vector<std::string> expected = {
        "jtag open index=0 name=\"\" cwd=\"" + cwd + "\" handle=" + handle,
        "jtag write handle=" + handle + " bytes=AA 0A 01 00 02 0D 55 result=1",
        "jtag close handle=" + handle + " result=1",
        "jtag close handle=" + handle + " result=0",
    };
    EXPECT_EQ(Bench.Journal(), expected);
}
