/*
 * The board-to-PC byte queue of the JTAG pipe.
 */
#include "Pipe.h"

#include <algorithm>

namespace sim {

namespace {

// Tick comparison that stays right across the counter's wrap.
bool Reached(uint32_t now, uint32_t when)
{
    return static_cast<int32_t>(now - when) >= 0;
}

} // namespace

void Pipe::Send(std::vector<uint8_t> bytes, uint32_t readyAt)
{
    if (!bytes.empty())
        Batches.push_back({std::move(bytes), 0, readyAt});
}

size_t Pipe::Ready(uint32_t now) const
{
    size_t ready = 0;
    for (const Batch& batch : Batches) {
        if (!Reached(now, batch.ReadyAt))
            break;
        ready += batch.Bytes.size() - batch.Taken;
    }
    return ready;
}

size_t Pipe::Take(uint8_t* buffer, size_t count, uint32_t now)
{
    size_t got = 0;
    while (got < count && !Batches.empty() && Reached(now, Batches.front().ReadyAt)) {
        Batch& batch = Batches.front();
        const size_t part = std::min(count - got, batch.Bytes.size() - batch.Taken);
        std::copy_n(batch.Bytes.begin() + static_cast<std::ptrdiff_t>(batch.Taken), part, buffer + got);
        batch.Taken += part;
        got += part;
        if (batch.Taken == batch.Bytes.size())
            Batches.pop_front();
    }
    return got;
}

void Pipe::Clear()
{
    Batches.clear();
}

} // namespace sim
