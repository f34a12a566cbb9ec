/*
 * The board's test firmware: packet framing, the two commands, and the reply faults.
 */
#include "Firmware.h"

namespace sim {

namespace {

constexpr uint8_t START = 0xAA;
constexpr uint8_t END = 0x55;
constexpr size_t HEADER = 4;
constexpr size_t REQUEST_PAYLOAD_MAX = 246;
constexpr size_t NAME_FIELD = 16;
constexpr uint8_t STATUS_OK = 0;
constexpr uint8_t STATUS_FAILED = 1;
// Byte 1 of a loopback reply carries nothing for the PC; a non-zero value shows a PC that
// reads it by mistake.
constexpr uint8_t LOOPBACK_UNUSED = 0xA5;
// A failed pair reports a non-zero value other than 1, so a PC that tests for 1 instead of
// "not 0" misses it.
constexpr uint8_t PAIR_FAILED = 0x02;
constexpr size_t STALE_BYTES = 4;
// A request whose bytes stop coming for this long is given up, as the firmware's receiver does,
// so that a broken request does not swallow the next good one.
constexpr uint32_t REQUEST_GAP_MS = 100;

uint8_t Checksum(const std::vector<uint8_t>& packet, size_t first, size_t last)
{
    uint8_t sum = 0;
    for (size_t i = first; i <= last; ++i)
        sum = static_cast<uint8_t>(sum + packet[i]);
    return sum;
}

std::vector<uint8_t> Frame(uint8_t command, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> packet{START, command, static_cast<uint8_t>(payload.size() & 0xFF),
                                static_cast<uint8_t>(payload.size() >> 8)};
    packet.insert(packet.end(), payload.begin(), payload.end());
    packet.push_back(Checksum(packet, 1, packet.size() - 1));
    packet.push_back(END);
    return packet;
}

bool FaultApplies(const Bench& bench, uint8_t command)
{
    return bench.Fault != ReplyFault::None
        && (bench.FaultOn == FaultTarget::All
            || (bench.FaultOn == FaultTarget::Name && command == CMD_BOARD_NAME)
            || (bench.FaultOn == FaultTarget::Loopback && command == CMD_LOOPBACK));
}

} // namespace

std::vector<uint8_t> JunkBytes(size_t count)
{
    static constexpr uint8_t PATTERN[] = {0x55, 0x00, 0xAA, 0x01};
    std::vector<uint8_t> junk(count);
    for (size_t i = 0; i < count; ++i)
        junk[i] = PATTERN[i % sizeof PATTERN];
    return junk;
}

void Firmware::Receive(const uint8_t* data, size_t count, const Bench& bench, uint32_t now, Pipe& out)
{
    if (!Input.empty() && now - LastInputAt > REQUEST_GAP_MS)
        Input.clear();
    Input.insert(Input.end(), data, data + count);
    LastInputAt = now;

    while (!Input.empty()) {
        if (Input[0] != START) {
            Input.erase(Input.begin());
            continue;
        }
        if (Input.size() < HEADER)
            return;
        const size_t length = Input[2] | (Input[3] << 8);
        if (length > REQUEST_PAYLOAD_MAX) {
            Input.erase(Input.begin());
            continue;
        }
        const size_t total = length + HEADER + 2;
        if (Input.size() < total)
            return;
        const std::vector<uint8_t> packet(Input.begin(), Input.begin() + static_cast<std::ptrdiff_t>(total));
        Input.erase(Input.begin(), Input.begin() + static_cast<std::ptrdiff_t>(total));
        if (packet[total - 1] == END && packet[total - 2] == Checksum(packet, 1, total - 3))
            Answer(packet[1], std::vector<uint8_t>(packet.begin() + HEADER, packet.end() - 2), bench, now, out);
    }
}

void Firmware::Answer(uint8_t command, const std::vector<uint8_t>& request, const Bench& bench,
                      uint32_t now, Pipe& out)
{
    std::vector<uint8_t> payload;
    uint32_t delay = 0;
    if (command == CMD_BOARD_NAME && request.empty()) {
        payload.assign(1 + NAME_FIELD, 0);
        payload[0] = STATUS_OK;
        bench.Firmware.copy(reinterpret_cast<char*>(payload.data() + 1), NAME_FIELD);
    } else if (command == CMD_LOOPBACK && request.size() == 1 && request[0] < CONNECTORS) {
        payload.assign(2 + PIN_PAIRS, 0);
        payload[0] = STATUS_OK;
        payload[1] = LOOPBACK_UNUSED;
        for (size_t pair = 0; pair < PIN_PAIRS; ++pair)
            if (bench.Faulty[request[0]][pair])
                payload[2 + pair] = PAIR_FAILED;
        delay = bench.LoopbackMs;
    } else {
        return;
    }

    const ReplyFault fault = FaultApplies(bench, command) ? bench.Fault : ReplyFault::None;
    if (fault == ReplyFault::Silent)
        return;
    if (fault == ReplyFault::Status)
        payload[0] = STATUS_FAILED;
    if (fault == ReplyFault::WrongLength)
        payload.pop_back();
    std::vector<uint8_t> reply = Frame(fault == ReplyFault::WrongEcho ? static_cast<uint8_t>(command + 1) : command, payload);
    if (fault == ReplyFault::BadChecksum)
        ++reply[reply.size() - 2];
    if (fault == ReplyFault::Truncated)
        reply.resize(HEADER + payload.size() / 2);
    if (fault == ReplyFault::Stale) {
        const std::vector<uint8_t> junk = JunkBytes(STALE_BYTES);
        reply.insert(reply.end(), junk.begin(), junk.end());
    }
    if (fault == ReplyFault::Chatty)
        Babbling = true;
    Sent.insert(Sent.end(), reply.begin(), reply.end());
    out.Send(std::move(reply), now + delay);
}

std::vector<uint8_t> Firmware::TakeSent()
{
    std::vector<uint8_t> sent;
    sent.swap(Sent);
    return sent;
}

bool Firmware::Chattering(const Bench& bench) const
{
    return bench.Fault == ReplyFault::Chatty && (bench.FaultOn == FaultTarget::All || Babbling);
}

void Firmware::Reset()
{
    Input.clear();
    Babbling = false;
}

} // namespace sim
