/*
 * Reading and writing the bench file. Every read goes to the file, so a change made between two
 * actions of the program is seen by the next one.
 */
#include "Bench.h"

#include "DeviceTable.h"
#include "Files.h"
#include "Hold.h"
#include "KeyValue.h"

#include <windows.h>

#include <cstdlib>

namespace sim {

namespace {

constexpr char MUTEX_NAME[] = "KV7_SimulatedBench";
constexpr char BENCH_VARIABLE[] = "KV7_BENCH";
constexpr char BENCH_FILE[] = "KV7_Bench.ini";
constexpr size_t FIRMWARE_NAME_MAX = 16;

void ReadYesNo(const std::string& value, bool& field)
{
    if (value == "yes")
        field = true;
    else if (value == "no")
        field = false;
}

// Whole-text integer in the given base (0 lets "0x" choose hexadecimal).
bool ReadInteger(const std::string& value, long long& number, int base = 10)
{
    if (value.empty())
        return false;
    char* end = nullptr;
    number = std::strtoll(value.c_str(), &end, base);
    return *end == '\0';
}

void ReadMs(const std::string& value, uint32_t& field)
{
    long long number = 0;
    if (ReadInteger(value, number) && number >= 0 && number <= 0xFFFFFFFFLL)
        field = static_cast<uint32_t>(number);
}

std::vector<ChainEntry> ReadChain(const std::string& value)
{
    std::vector<ChainEntry> chain;
    for (const std::string& entry : SplitList(value, ",")) {
        const std::vector<std::string> fields = SplitList(entry, " \t");
        if (fields.size() >= 2) {
            chain.push_back({fields[0], fields[1]});
        } else {
            const std::string code = IdCodeOf(fields[0]);
            chain.push_back({code.empty() ? "00000000" : code, fields[0]});
        }
    }
    return chain;
}

std::array<bool, PIN_PAIRS> ReadPairs(const std::string& value)
{
    std::array<bool, PIN_PAIRS> faulty{};
    for (const std::string& item : SplitList(value, " ,\t")) {
        long long pair = 0;
        if (ReadInteger(item, pair) && pair >= 0 && pair < PIN_PAIRS)
            faulty[static_cast<size_t>(pair)] = true;
    }
    return faulty;
}

void ReadFault(const std::string& value, ReplyFault& fault)
{
    static const std::pair<const char*, ReplyFault> NAMES[] = {
        {"none", ReplyFault::None},           {"silent", ReplyFault::Silent},
        {"truncated", ReplyFault::Truncated}, {"bad_checksum", ReplyFault::BadChecksum},
        {"wrong_echo", ReplyFault::WrongEcho}, {"wrong_length", ReplyFault::WrongLength},
        {"status", ReplyFault::Status},       {"stale", ReplyFault::Stale},
        {"chatty", ReplyFault::Chatty},
    };
    for (const auto& [name, named] : NAMES)
        if (value == name)
            fault = named;
}

void ReadFaultEntry(const std::string& value, FaultEntry& entry)
{
    static const std::pair<const char*, FaultEntry> NAMES[] = {
        {"none", FaultEntry::None}, {"open", FaultEntry::Open},       {"close", FaultEntry::Close},
        {"write", FaultEntry::Write}, {"write_loopback", FaultEntry::WriteLoopback},
        {"read", FaultEntry::Read},     {"version", FaultEntry::Version},
        {"download", FaultEntry::Download},
    };
    for (const auto& [name, named] : NAMES)
        if (value == name)
            entry = named;
}

void Apply(Bench& bench, const std::string& key, const std::string& value)
{
    long long number = 0;
    if (key == "powered")
        ReadYesNo(value, bench.Powered);
    else if (key == "cable")
        ReadYesNo(value, bench.Cable);
    else if (key == "chain")
        bench.Chain = ReadChain(value);
    else if (key == "configured")
        ReadYesNo(value, bench.Configured);
    else if (key == "firmware")
        bench.Firmware = value.substr(0, FIRMWARE_NAME_MAX);
    else if (key.size() == 8 && key.starts_with("faulty_") && key[7] >= 'a' && key[7] <= 'd')
        bench.Faulty[static_cast<size_t>(key[7] - 'a')] = ReadPairs(value);
    else if (key == "loopback_ms")
        ReadMs(value, bench.LoopbackMs);
    else if (key == "firmware_start_ms")
        ReadMs(value, bench.FirmwareStartMs);
    else if (key == "open_ready_ms")
        ReadMs(value, bench.OpenReadyMs);
    else if (key == "downloaded_at" && ReadInteger(value, number) && number >= 0 && number <= 0xFFFFFFFFLL)
        bench.DownloadedAt = static_cast<uint32_t>(number);
    else if (key == "reply_fault")
        ReadFault(value, bench.Fault);
    else if (key == "reply_fault_on" && value == "all")
        bench.FaultOn = FaultTarget::All;
    else if (key == "reply_fault_on" && value == "name")
        bench.FaultOn = FaultTarget::Name;
    else if (key == "reply_fault_on" && value == "loopback")
        bench.FaultOn = FaultTarget::Loopback;
    else if (key == "open_fails")
        ReadYesNo(value, bench.OpenFails);
    else if (key == "write_fails")
        ReadYesNo(value, bench.WriteFails);
    else if (key == "read_result" && value == "normal")
        bench.ReadResult = ReadClaim::Normal;
    else if (key == "read_result" && value == "negative")
        bench.ReadResult = ReadClaim::Negative;
    else if (key == "read_result" && value == "excess")
        bench.ReadResult = ReadClaim::Excess;
    else if (key == "fault_in")
        ReadFaultEntry(value, bench.FaultIn);
    else if (key == "quartus_version") {
        char* end = nullptr;
        const double version = std::strtod(value.c_str(), &end);
        if (!value.empty() && *end == '\0')
            bench.QuartusVersion = version;
    } else if (key == "download_ms")
        ReadMs(value, bench.DownloadMs);
    else if (key == "download_fails")
        ReadYesNo(value, bench.DownloadFails);
    else if (key == "download_result" && ReadInteger(value, number, 0) && number >= 0 && number <= 0xFFFFFFFFLL)
        bench.DownloadResult = static_cast<uint32_t>(number);
    else if (key == "programmer_ms")
        ReadMs(value, bench.ProgrammerMs);
    else if (key == "programmer_exit" && ReadInteger(value, number, 0))
        bench.ProgrammerExit = static_cast<uint32_t>(number);
    else if (key == "programmer_cable" && ReadInteger(value, number) && number >= -1)
        bench.ProgrammerCable = static_cast<int>(number);
    else if (key == "hold" && HoldStepNamed(value))
        bench.Hold = *HoldStepNamed(value);
    else if (key == "journal" && !value.empty())
        bench.JournalPath = value;
}

} // namespace

Bench ParseBench(std::string_view text)
{
    Bench bench;
    for (const auto& [key, value] : ParseKeyValues(text))
        Apply(bench, key, value);
    return bench;
}

std::string BenchPath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(BENCH_VARIABLE, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return std::string(path, length);
    return OwnFolder() + BENCH_FILE;
}

Bench LoadBench()
{
    const std::string path = BenchPath();
    BenchLock lock;
    std::string text;
    ReadWholeFile(path, text);
    Bench bench = ParseBench(text);
    bench.Path = path;
    if (bench.JournalPath.empty())
        bench.JournalPath = path + ".journal";
    if (!bench.Powered && bench.Configured) {
        WriteWholeFile(path, RewriteKey(text, "configured", "no"));
        bench.Configured = false;
    }
    return bench;
}

void SetBenchKey(const std::string& path, std::string_view key, std::string_view value)
{
    BenchLock lock;
    std::string text;
    ReadWholeFile(path, text);
    WriteWholeFile(path, RewriteKey(text, key, value));
}

BenchLock::BenchLock() : Mutex(CreateMutexA(nullptr, FALSE, MUTEX_NAME))
{
    // An owner that died holding the mutex hands it over as abandoned. Carrying on is better
    // than hanging every later part of the bench; at worst the dead one's write is lost.
    if (Mutex)
        WaitForSingleObject(Mutex, INFINITE);
}

BenchLock::~BenchLock()
{
    if (Mutex) {
        ReleaseMutex(Mutex);
        CloseHandle(Mutex);
    }
}

} // namespace sim
