/*
 * The board maker's JTAG library, simulated: a byte pipe to the board's test firmware. Each
 * port handle has its own firmware link; the bench decides whether the port opens, whether
 * writes go through, what reads claim, and whether the firmware is there to answer at all.
 */
#include "Bench.h"
#include "Files.h"
#include "Firmware.h"
#include "Hold.h"
#include "Journal.h"
#include "Pipe.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

using namespace sim;

constexpr uint32_t FIRST_HANDLE = 0x1001;
// The program polls reads in a tight loop; a read looks at the bench file again only after
// this long, which is still far quicker than anyone can edit it.
constexpr uint32_t READ_BENCH_EVERY_MS = 20;
constexpr size_t CHATTER_BYTES = 16;

struct Port {
    Firmware Board;
    Pipe ToPc;
    Bench Seen;
    uint32_t SeenAt = 0;
    uint32_t OpenedAt = 0;
};

struct Library {
    std::mutex Lock;
    std::map<uint32_t, Port> Ports;
    uint32_t NextHandle = FIRST_HANDLE;
    int32_t Opens = 0;
    int32_t Closes = 0;
    int32_t Writes = 0;
    int32_t Reads = 0;
};

Library& State()
{
    static Library library;
    return library;
}

// The board answers only while it is powered, cabled and configured; otherwise whatever was on
// its way is lost.
bool BoardListens(Port& port, const Bench& bench)
{
    if (bench.FirmwareRuns())
        return true;
    port.Board.Reset();
    port.ToPc.Clear();
    return false;
}

} // namespace

extern "C" {

uint32_t __stdcall PALDRIX_JtagOpen(int32_t portIndex, const char* portName)
{
    Library& library = State();
    const Bench bench = HoldWhileAsked(LoadBench(), HoldStep::Open, true);
    FaultIfAsked(bench, FaultEntry::Open);
    std::lock_guard guard(library.Lock);
    ++library.Opens;
    // The JTAG hub behind the cable is still starting for a while after a download.
    const bool hubStarting = bench.DownloadedAt && GetTickCount() - *bench.DownloadedAt < bench.OpenReadyMs;
    uint32_t handle = 0;
    if (bench.Cable && !bench.OpenFails && !hubStarting) {
        handle = library.NextHandle++;
        Port& port = library.Ports[handle];
        port.Seen = bench;
        port.SeenAt = GetTickCount();
        port.OpenedAt = port.SeenAt;
    }
    JournalLine(bench, "jtag open index=" + std::to_string(portIndex) + " name=" + Quoted(portName)
                           + " cwd=" + Quoted(CurrentDirectory().c_str()) + " handle=" + std::to_string(handle));
    return handle;
}

void __stdcall PALDRIX_JtagClose(uint32_t handle)
{
    Library& library = State();
    const Bench bench = LoadBench();
    FaultIfAsked(bench, FaultEntry::Close);
    std::lock_guard guard(library.Lock);
    ++library.Closes;
    const bool known = library.Ports.erase(handle) > 0;
    JournalLine(bench, "jtag close handle=" + std::to_string(handle) + " result=" + (known ? "1" : "0"));
}

int32_t __stdcall PALDRIX_JtagWrite(uint32_t handle, const uint8_t* data, int32_t count)
{
    Library& library = State();
    // The packet's second byte is its command. A request is held in its write, before the
    // firmware takes it: the program then waits in the write, where nothing of its own runs a
    // time-out, and finds the reply at once when the write returns.
    const bool nameRequest = data && count > 1 && data[1] == CMD_BOARD_NAME;
    const bool loopbackRequest = data && count > 1 && data[1] == CMD_LOOPBACK;
    Bench bench = LoadBench();
    if (nameRequest)
        bench = HoldWhileAsked(bench, HoldStep::Name, true);
    if (loopbackRequest)
        bench = HoldWhileAsked(bench, HoldStep::Loopback, true);
    FaultIfAsked(bench, FaultEntry::Write);
    // A fault in the write of a loopback request only.
    if (loopbackRequest)
        FaultIfAsked(bench, FaultEntry::WriteLoopback);
    std::lock_guard guard(library.Lock);
    ++library.Writes;
    const auto found = library.Ports.find(handle);
    const bool sent = found != library.Ports.end() && data && count >= 0 && !bench.WriteFails;
    const size_t shown = data && count > 0 ? static_cast<size_t>(count) : 0;
    JournalLine(bench, "jtag write handle=" + std::to_string(handle) + " bytes=" + HexBytes(data, shown)
                           + " result=" + (sent ? "1" : "0"));
    if (!sent)
        return 0;
    Port& port = found->second;
    const uint32_t now = GetTickCount();
    port.Seen = bench;
    port.SeenAt = now;
    // A request that comes while the firmware is still starting is lost, as on a real board.
    const bool starting = now - port.OpenedAt < bench.FirmwareStartMs;
    if (BoardListens(port, bench) && !starting) {
        port.Board.Receive(data, static_cast<size_t>(count), bench, now, port.ToPc);
        const std::vector<uint8_t> reply = port.Board.TakeSent();
        if (!reply.empty())
            JournalLine(bench, "board reply handle=" + std::to_string(handle)
                                   + " bytes=" + HexBytes(reply.data(), reply.size()));
    }
    return 1;
}

int32_t __stdcall PALDRIX_JtagRead(uint32_t handle, uint8_t* buffer, int32_t count)
{
    Library& library = State();
    std::unique_lock guard(library.Lock);
    ++library.Reads;
    const auto found = library.Ports.find(handle);
    if (found == library.Ports.end() || !buffer || count <= 0)
        return 0;
    Port& port = found->second;
    const uint32_t now = GetTickCount();
    if (now - port.SeenAt >= READ_BENCH_EVERY_MS) {
        port.Seen = LoadBench();
        port.SeenAt = now;
    }
    if (port.Seen.FaultIn == FaultEntry::Read) {
        // Faulting without the lock keeps the library usable for a process that keeps it loaded.
        const Bench seen = port.Seen;
        guard.unlock();
        FaultIfAsked(seen, FaultEntry::Read);
    }
    if (!BoardListens(port, port.Seen))
        return 0;
    if (port.ToPc.Ready(now) == 0 && port.Board.Chattering(port.Seen))
        port.ToPc.Send(JunkBytes(CHATTER_BYTES), now);
    const size_t got = port.ToPc.Take(buffer, static_cast<size_t>(count), now);
    if (got == 0)
        return 0;
    switch (port.Seen.ReadResult) {
    case ReadClaim::Negative:
        return -1;
    case ReadClaim::Excess:
        return count + 1;
    case ReadClaim::Normal:
        break;
    }
    return static_cast<int32_t>(got);
}

// For tests: how often each entry point has been called in this process. Reads are counted
// rather than journalled, because the program polls them in a tight loop.
int32_t __stdcall SIM_JtagCallCount(const char* entry)
{
    Library& library = State();
    std::lock_guard guard(library.Lock);
    if (!entry)
        return -1;
    if (std::strcmp(entry, "open") == 0)
        return library.Opens;
    if (std::strcmp(entry, "close") == 0)
        return library.Closes;
    if (std::strcmp(entry, "write") == 0)
        return library.Writes;
    if (std::strcmp(entry, "read") == 0)
        return library.Reads;
    return -1;
}

} // extern "C"
