/*
 * The board's test firmware as the PC sees it through the JTAG pipe: it gathers request
 * packets from the bytes written, answers the name and loopback commands, and misbehaves in the
 * ways the bench asks for. Windows-free; the caller supplies the time and the bench.
 */
#pragma once

#include "Bench.h"
#include "Pipe.h"

#include <cstdint>
#include <vector>

namespace sim {

constexpr uint8_t CMD_BOARD_NAME = 0;
constexpr uint8_t CMD_LOOPBACK = 10;

class Firmware {
public:
    // Bytes the PC wrote; each complete, well-formed request is answered on the pipe.
    void Receive(const uint8_t* data, size_t count, const Bench& bench, uint32_t now, Pipe& out);
    // Whether the board is babbling, so that a read which finds nothing else finds junk.
    bool Chattering(const Bench& bench) const;
    // The FPGA lost power or configuration: half a request and the babbling are forgotten.
    void Reset();
    // The bytes of every reply sent since the last call, as sent (faults and all), for the
    // journal.
    std::vector<uint8_t> TakeSent();

private:
    void Answer(uint8_t command, const std::vector<uint8_t>& payload, const Bench& bench,
                uint32_t now, Pipe& out);

    std::vector<uint8_t> Input;
    uint32_t LastInputAt = 0;
    bool Babbling = false;
    std::vector<uint8_t> Sent;
};

// Junk the board sends: behind a reply with the stale fault, and on every idle read when chatty.
std::vector<uint8_t> JunkBytes(size_t count);

} // namespace sim
