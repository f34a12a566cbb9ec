/*
 * The board-to-PC side of the JTAG pipe: bytes the firmware has sent, each batch becoming
 * readable at its own tick, in the order sent. Windows-free; the caller supplies the time.
 */
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

class Pipe {
public:
    void Send(std::vector<uint8_t> bytes, uint32_t readyAt);
    // Bytes readable at tick now (a later batch never overtakes an earlier one).
    size_t Ready(uint32_t now) const;
    // Moves up to count readable bytes into the buffer; returns how many.
    size_t Take(uint8_t* buffer, size_t count, uint32_t now);
    void Clear();

private:
    struct Batch {
        std::vector<uint8_t> Bytes;
        size_t Taken;
        uint32_t ReadyAt;
    };
    std::deque<Batch> Batches;
};

} // namespace sim
