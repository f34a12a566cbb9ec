/*
 * Replies are read through a bounds-checked reader whose error is sticky and tested once at
 * the end, so a short or hostile reply can never lead a decoder outside its bytes.
 */
#include "board/Packet.h"

#include <algorithm>

namespace {

class TReader {
public:
    explicit TReader(std::span<const uint8_t> data) : Data(data) {}

    uint8_t Byte()
    {
        std::span<const uint8_t> one = Bytes(1);
        return one.empty() ? 0 : one[0];
    }

    std::span<const uint8_t> Bytes(size_t count)
    {
        if (Failed || Data.size() - Position < count) {
            Failed = true;
            return {};
        }
        std::span<const uint8_t> taken = Data.subspan(Position, count);
        Position += count;
        return taken;
    }

    bool Ok() const { return !Failed; }

private:
    std::span<const uint8_t> Data;
    size_t Position = 0;
    bool Failed = false;
};

uint16_t LittleEndian16(uint8_t low, uint8_t high) { return static_cast<uint16_t>(low | high << 8); }

} // namespace

namespace packet {

uint8_t Checksum(std::span<const uint8_t> bytes)
{
    uint8_t sum = 0;
    for (uint8_t b : bytes)
        sum = static_cast<uint8_t>(sum + b);
    return sum;
}

std::vector<uint8_t> BuildRequest(uint8_t command, std::span<const uint8_t> payload)
{
    std::vector<uint8_t> request;
    request.reserve(payload.size() + PKT_OVERHEAD);
    request.push_back(PKT_START);
    request.push_back(command);
    request.push_back(static_cast<uint8_t>(payload.size() & 0xFF));
    request.push_back(static_cast<uint8_t>(payload.size() >> 8 & 0xFF));
    request.insert(request.end(), payload.begin(), payload.end());
    request.push_back(Checksum(std::span(request).subspan(1)));
    request.push_back(PKT_END);
    return request;
}

bool CheckFrame(std::span<const uint8_t> packet)
{
    // Anything shorter than an empty packet has no room for its checksum and end byte.
    if (packet.size() < PKT_OVERHEAD)
        return false;
    size_t total = packet.size();
    return packet[0] == PKT_START && packet[total - 1] == PKT_END &&
           packet[total - 2] == Checksum(packet.subspan(1, total - 3));
}

bool AcceptHeader(std::span<const uint8_t> header, uint8_t command, uint32_t replyLength)
{
    TReader reader(header);
    uint8_t start = reader.Byte();
    uint8_t echo = reader.Byte();
    uint8_t low = reader.Byte();
    uint8_t high = reader.Byte();
    return reader.Ok() && start == PKT_START && echo == command && LittleEndian16(low, high) == replyLength;
}

std::string DecodeBoardName(std::span<const uint8_t> payload)
{
    TReader reader(payload);
    uint8_t status = reader.Byte();
    std::span<const uint8_t> name = reader.Bytes(BOARD_NAME_MAX_LEN);
    if (!reader.Ok() || status != 0)
        return std::string();
    auto end = std::find(name.begin(), name.end(), 0);
    return std::string(name.begin(), end);
}

bool DecodeLoopback(std::span<const uint8_t> payload, std::span<uint8_t, LOOPBACK_PAIRS> results)
{
    TReader reader(payload);
    uint8_t status = reader.Byte();
    reader.Bytes(1); // the firmware's own byte, which carries nothing for the PC
    std::span<const uint8_t> pairs = reader.Bytes(LOOPBACK_PAIRS);
    if (!reader.Ok() || status != 0)
        return false;
    std::transform(pairs.begin(), pairs.end(), results.begin(), [](uint8_t r) { return r == 0 ? 1 : 0; });
    return true;
}

} // namespace packet
