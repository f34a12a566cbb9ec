// The packet codec: the exact request bytes the firmware expects, and every way a reply from
// the board is refused or read.
#include "board/Packet.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using Bytes = std::vector<uint8_t>;

namespace {

// A reply as the firmware frames it, built independently of BuildRequest.
Bytes Reply(uint8_t command, const Bytes& payload)
{
    size_t n = payload.size();
    Bytes reply(n + 6);
    reply[0] = 0xAA;
    reply[1] = command;
    reply[2] = static_cast<uint8_t>(n);
    reply[3] = static_cast<uint8_t>(n >> 8);
    unsigned sum = command + reply[2] + reply[3];
    for (size_t i = 0; i < n; ++i) {
        reply[4 + i] = payload[i];
        sum += payload[i];
    }
    reply[4 + n] = static_cast<uint8_t>(sum);
    reply[5 + n] = 0x55;
    return reply;
}

Bytes NamePayload(uint8_t status, const std::string& name)
{
    Bytes payload(BOARD_NAME_REPLY_LEN, 0);
    payload[0] = status;
    std::copy(name.begin(), name.end(), payload.begin() + 1);
    return payload;
}

} // namespace

TEST(Request, BytesAreExactlyWhatTheFirmwareExpects)
{
    EXPECT_EQ(packet::BuildRequest(CMD_BOARD_NAME, {}), (Bytes{0xAA, 0x00, 0x00, 0x00, 0x00, 0x55}));
    const uint8_t c = 2;
    EXPECT_EQ(packet::BuildRequest(CMD_LOOPBACK, {&c, 1}), (Bytes{0xAA, 0x0A, 0x01, 0x00, 0x02, 0x0D, 0x55}));
}

TEST(Request, LongestPayloadWrapsItsChecksumAndFramesItself)
{
    Bytes payload(PKT_PC2NIOS_MAX_PL_LEN, 0xFF);
    Bytes request = packet::BuildRequest(0x7F, payload);
    EXPECT_EQ(request, Reply(0x7F, payload));
    EXPECT_TRUE(packet::CheckFrame(request));
}

TEST(CheckFrame, RefusesEveryBrokenByteAndNothingElse)
{
    Bytes good = Reply(CMD_BOARD_NAME, NamePayload(0, "KV7_MP"));
    EXPECT_TRUE(packet::CheckFrame(good));

    Bytes wrongStart = good;
    wrongStart[0] = 0xAB;
    Bytes wrongEnd = good;
    wrongEnd[5 + BOARD_NAME_REPLY_LEN] = 0x56;
    Bytes checksumOffByOne = good;
    checksumOffByOne[4 + BOARD_NAME_REPLY_LEN]++;
    Bytes payloadChanged = good;
    payloadChanged[5] ^= 0x01;
    for (const Bytes& broken : {wrongStart, wrongEnd, checksumOffByOne, payloadChanged})
        EXPECT_FALSE(packet::CheckFrame(broken));

    // Too short to hold a checksum and an end byte after a header.
    EXPECT_FALSE(packet::CheckFrame(Bytes{}));
    EXPECT_FALSE(packet::CheckFrame(Bytes{0xAA, 0x00, 0x55}));
    EXPECT_FALSE(packet::CheckFrame(Bytes{0xAA, 0x00, 0x00, 0x00, 0x55}));
}

TEST(Header, AcceptsOnlyTheRightStartEchoAndLength)
{
    EXPECT_TRUE(packet::AcceptHeader(Bytes{0xAA, 0x00, 17, 0}, CMD_BOARD_NAME, 17));
    EXPECT_TRUE(packet::AcceptHeader(Bytes{0xAA, 0x0A, 68, 0}, CMD_LOOPBACK, 68));
    EXPECT_FALSE(packet::AcceptHeader(Bytes{0x55, 0x00, 17, 0}, CMD_BOARD_NAME, 17));
    EXPECT_FALSE(packet::AcceptHeader(Bytes{0xAA, 0x0A, 17, 0}, CMD_BOARD_NAME, 17));
    EXPECT_FALSE(packet::AcceptHeader(Bytes{0xAA, 0x00, 16, 0}, CMD_BOARD_NAME, 17));
    // The high length byte counts: 17 + 256 is not 17.
    EXPECT_FALSE(packet::AcceptHeader(Bytes{0xAA, 0x00, 17, 1}, CMD_BOARD_NAME, 17));
    EXPECT_TRUE(packet::AcceptHeader(Bytes{0xAA, 0x00, 17, 1}, CMD_BOARD_NAME, 273));
    EXPECT_FALSE(packet::AcceptHeader(Bytes{0xAA, 0x00, 17}, CMD_BOARD_NAME, 17));
}

TEST(BoardName, ReadsUpToTheFirstZeroOnlyWithStatusZero)
{
    EXPECT_EQ(packet::DecodeBoardName(NamePayload(0, "KV7_MP")), "KV7_MP");
    EXPECT_EQ(packet::DecodeBoardName(NamePayload(1, "KV7_MP")), "");
    EXPECT_EQ(packet::DecodeBoardName(NamePayload(0, "")), "");
    EXPECT_EQ(packet::DecodeBoardName(NamePayload(0, "0123456789ABCDEF")), "0123456789ABCDEF");

    Bytes afterZero = NamePayload(0, "KV7");
    afterZero[5] = 'X';
    EXPECT_EQ(packet::DecodeBoardName(afterZero), "KV7");

    Bytes shortPayload = NamePayload(0, "KV7_MP");
    shortPayload.pop_back();
    EXPECT_EQ(packet::DecodeBoardName(shortPayload), "");
}

TEST(Loopback, TurnsResultBytesIntoPassFlags)
{
    Bytes payload(LOOPBACK_REPLY_LEN, 0);
    payload[1] = 0xEE; // the firmware's own byte changes nothing
    payload[2 + 5] = 1;
    payload[2 + 65] = 0x80;
    std::array<uint8_t, LOOPBACK_PAIRS> results{};
    ASSERT_TRUE(packet::DecodeLoopback(payload, results));
    for (size_t i = 0; i < LOOPBACK_PAIRS; ++i)
        EXPECT_EQ(results[i], i == 5 || i == 65 ? 0 : 1) << "pair " << i;
}

TEST(Loopback, RefusedReplyLeavesTheResultsAlone)
{
    std::array<uint8_t, LOOPBACK_PAIRS> results;
    results.fill(7);
    Bytes failed(LOOPBACK_REPLY_LEN, 0);
    failed[0] = 1;
    EXPECT_FALSE(packet::DecodeLoopback(failed, results));
    Bytes shortPayload(LOOPBACK_REPLY_LEN - 1, 0);
    EXPECT_FALSE(packet::DecodeLoopback(shortPayload, results));
    for (uint8_t r : results)
        EXPECT_EQ(r, 7);
}
