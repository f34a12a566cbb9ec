// Feeds arbitrary bytes to everything that reads a reply from the board. The first byte picks
// the command the reply is taken to answer; the rest is the reply as it came off the pipe.
// Beyond not crashing, a reply that passes every check must decode, and any request built
// must pass the frame test that the firmware applies.
#include "board/Packet.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    bool loopback = data[0] & 1;
    uint8_t command = loopback ? CMD_LOOPBACK : CMD_BOARD_NAME;
    uint32_t replyLength = loopback ? LOOPBACK_REPLY_LEN : BOARD_NAME_REPLY_LEN;
    std::span<const uint8_t> reply(data + 1, size - 1);

    std::array<uint8_t, LOOPBACK_PAIRS> results{};
    packet::CheckFrame(reply);
    packet::DecodeBoardName(reply);
    packet::DecodeLoopback(reply, results);

    if (packet::AcceptHeader(reply, command, replyLength) && reply.size() >= replyLength + PKT_OVERHEAD) {
        std::span<const uint8_t> whole = reply.first(replyLength + PKT_OVERHEAD);
        if (packet::CheckFrame(whole)) {
            std::span<const uint8_t> payload = whole.subspan(PKT_HEADER_LEN, replyLength);
            bool statusOk = payload[0] == 0;
            if (loopback && packet::DecodeLoopback(payload, results) != statusOk)
                __builtin_trap();
            if (!loopback && packet::DecodeBoardName(payload).size() > BOARD_NAME_MAX_LEN)
                __builtin_trap();
        }
    }

    std::span<const uint8_t> payload = reply.first(std::min<size_t>(reply.size(), PKT_PC2NIOS_MAX_PL_LEN));
    if (!packet::CheckFrame(packet::BuildRequest(data[0], payload)))
        __builtin_trap();
    return 0;
}
