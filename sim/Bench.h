/*
 * The bench: one board on one desk, described in a plain text file that every simulated part
 * reads each time it acts, so a test or an operator can change the desk between two presses.
 * The file, its journal and every write to them are guarded by one named mutex, because the
 * parts run in several processes at once.
 */
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

constexpr int CONNECTORS = 4;
constexpr int PIN_PAIRS = 66;

struct ChainEntry {
    std::string Code;
    std::string Name;
};

enum class ReplyFault { None, Silent, Truncated, BadChecksum, WrongEcho, WrongLength, Status, Stale, Chatty };
enum class FaultTarget { All, Name, Loopback };
enum class ReadClaim { Normal, Negative, Excess };
// The maker's entry point that faults when called (fault_in).
enum class FaultEntry { None, Open, Close, Write, WriteLoopback, Read, Version, Download };
// The step a simulated part holds until a test releases it (hold).
enum class HoldStep { None, Programmer, Download, Open, Name, Loopback };

struct Bench {
    std::string Path;
    std::string JournalPath;

    bool Powered = true;
    bool Cable = true;
    std::vector<ChainEntry> Chain{{"020B40DD", "EP3SL340ES"}};
    bool Configured = false;
    std::string Firmware = "KV7_MP";
    std::array<std::array<bool, PIN_PAIRS>, CONNECTORS> Faulty{};
    uint32_t LoopbackMs = 0;
    // How long after the port opens the firmware still ignores requests (it is starting).
    uint32_t FirmwareStartMs = 0;
    // How long after the end of a download that configured the FPGA the JTAG hub still refuses
    // an open, and the tick at which that download ended (the download library writes it).
    uint32_t OpenReadyMs = 0;
    std::optional<uint32_t> DownloadedAt;

    ReplyFault Fault = ReplyFault::None;
    FaultTarget FaultOn = FaultTarget::All;

    bool OpenFails = false;
    bool WriteFails = false;
    ReadClaim ReadResult = ReadClaim::Normal;
    FaultEntry FaultIn = FaultEntry::None;

    double QuartusVersion = 9.1;
    uint32_t DownloadMs = 0;
    bool DownloadFails = false;
    // The whole 32-bit value the download returns, instead of 1 or 0.
    std::optional<uint32_t> DownloadResult;
    uint32_t ProgrammerMs = 0;
    std::optional<uint32_t> ProgrammerExit;
    int ProgrammerCable = -1;

    HoldStep Hold = HoldStep::None;

    // The board's test firmware speaks only while all of these hold.
    bool FirmwareRuns() const { return Powered && Cable && Configured; }
};

// A real access violation, a read of address 0, when the bench makes this entry point fault.
inline void FaultIfAsked(const Bench& bench, FaultEntry entry)
{
    volatile int* volatile zero = nullptr;
    if (bench.FaultIn == entry)
        (void)*zero;
}

// The settings of a bench text; a missing key, or a value that does not read, takes its default.
Bench ParseBench(std::string_view text);

// KV7_BENCH when set, else KV7_Bench.ini beside the simulated part.
std::string BenchPath();

// Reads the bench as it is now. A board found powered off loses its configuration, in the file
// too, so that switching it on again leaves it unconfigured.
Bench LoadBench();

// Rewrites one key's line in the bench file (creating the file when there is none), keeping
// every other line as it was.
void SetBenchKey(const std::string& path, std::string_view key, std::string_view value);

// Holds the named mutex that guards the bench file and the journal across processes.
class BenchLock {
public:
    BenchLock();
    ~BenchLock();
    BenchLock(const BenchLock&) = delete;
    BenchLock& operator=(const BenchLock&) = delete;

private:
    void* Mutex;
};

} // namespace sim
