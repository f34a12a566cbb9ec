// Feeds arbitrary bytes to everything that reads a reply from the board, and builds a request
// from them. The first byte picks the command; the rest is the reply as it came off the pipe.
// What must hold for any bytes: a refused reply leaves the caller's results alone, an accepted
// one turns exactly the zero result bytes into passes, a name holds no zero and comes from the
// reply, and a built request is a frame that any single changed byte breaks.
#include "board/Packet.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::span<const uint8_t> reply(data + 1, size - 1);

    std::array<uint8_t, LOOPBACK_PAIRS> results;
    results.fill(7);
    if (packet::DecodeLoopback(reply, results)) {
        for (size_t i = 0; i < LOOPBACK_PAIRS; ++i)
            Check(results[i] == (reply[2 + i] == 0 ? 1 : 0));
    } else {
        Check(std::all_of(results.begin(), results.end(), [](uint8_t r) { return r == 7; }));
    }

    const std::string name = packet::DecodeBoardName(reply);
    Check(name.empty() || (reply[0] == 0 && name == std::string(reply.begin() + 1, reply.begin() + 1 + name.size())));
    Check(name.size() <= BOARD_NAME_MAX_LEN && name.find('\0') == std::string::npos);

    const std::span<const uint8_t> payload = reply.first(std::min<size_t>(reply.size(), PKT_PC2NIOS_MAX_PL_LEN));
    std::vector<uint8_t> request = packet::BuildRequest(data[0], payload);
    Check(request.size() == payload.size() + PKT_OVERHEAD && packet::CheckFrame(request));
    Check(packet::AcceptHeader(request, data[0], static_cast<uint32_t>(payload.size())));
    Check(std::equal(payload.begin(), payload.end(), request.begin() + PKT_HEADER_LEN));
    const size_t at = (size > 1 ? data[1] : 0) % request.size();
    request[at] ^= static_cast<uint8_t>(size | 1);
    Check(!packet::CheckFrame(request));
    return 0;
}
