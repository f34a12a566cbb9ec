/*
 * The bench window's keys and the values it offers for each.
 */
#include "BenchSettings.h"

#include "Bench.h"
#include "BenchControls.h"

#include <cstdlib>

namespace sim {

namespace {

const std::vector<BenchSetting> SETTINGS = {
    {ID_BENCH_POWERED, "Powered", "powered", "yes", {}},
    {ID_BENCH_CABLE, "USB cable", "cable", "yes", {}},
    {ID_BENCH_CONFIGURED, "Configured", "configured", "no", {}},
    {ID_BENCH_CHAIN, "JTAG chain", "chain", "020B40DD EP3SL340ES",
     {{"EP3SL110/50", "EP3SL110/50"},
      {"EP3SL110/50ES", "EP3SL110/50ES"},
      {"EP3SL150", "EP3SL150"},
      {"EP3SL150ES", "EP3SL150ES"},
      {"EP3SL340", "EP3SL340"},
      {"EP3SL340ES", "EP3SL340ES"},
      {"EP3SE260", "EP3SE260"},
      {"EP3SE260ES", "EP3SE260ES"},
      {"EP3SL70 (unknown model)", "EP3SL70"},
      {"EP3SL150 + EPM570", "EP3SL150, EPM570"},
      {"(no device)", ""}}},
    {ID_BENCH_LOOPBACK_MS, "Loopback takes", "loopback_ms", "0",
     {{"0 ms", "0"}, {"300 ms", "300"}, {"2 s", "2000"}, {"10 s", "10000"}}},

    {ID_BENCH_NO_QUARTUS, "No Quartus (version 0)", "quartus_version", "9.1", {}},
    {ID_BENCH_DOWNLOAD_FAILS, "Download fails", "download_fails", "no", {}},
    {ID_BENCH_DOWNLOAD_MS, "Download takes", "download_ms", "0",
     {{"0 ms", "0"}, {"2 s", "2000"}, {"6 s", "6000"}, {"30 s", "30000"}}},
    {ID_BENCH_PROGRAMMER_EXIT, "Programmer exit", "programmer_exit", "",
     {{"its own", ""}, {"0", "0"}, {"1", "1"}, {"2", "2"}, {"3", "3"}}},
    {ID_BENCH_PROGRAMMER_CABLE, "Report's cable", "programmer_cable", "-1",
     {{"the one asked for", "-1"}, {"USB-0", "0"}, {"USB-1", "1"}, {"USB-2", "2"}}},
    {ID_BENCH_PROGRAMMER_MS, "Programmer takes", "programmer_ms", "0",
     {{"0 ms", "0"}, {"1 s", "1000"}, {"5 s", "5000"}, {"60 s (hangs)", "60000"}}},

    {ID_BENCH_REPLY_FAULT, "Board's reply", "reply_fault", "none",
     {{"sound", "none"},
      {"silent", "silent"},
      {"truncated", "truncated"},
      {"bad checksum", "bad_checksum"},
      {"wrong echo", "wrong_echo"},
      {"wrong length", "wrong_length"},
      {"status not 0", "status"},
      {"stale bytes after it", "stale"},
      {"chatty (junk)", "chatty"}}},
    {ID_BENCH_REPLY_FAULT_ON, "On the command", "reply_fault_on", "all",
     {{"every command", "all"}, {"name", "name"}, {"loopback", "loopback"}}},
    {ID_BENCH_OPEN_FAILS, "JTAG open fails", "open_fails", "no", {}},
    {ID_BENCH_WRITE_FAILS, "JTAG write fails", "write_fails", "no", {}},
    {ID_BENCH_READ_RESULT, "JTAG read claims", "read_result", "normal",
     {{"the true count", "normal"}, {"-1", "negative"}, {"one too many", "excess"}}},
    {ID_BENCH_FAULT_IN, "Fault injected in", "fault_in", "none",
     {{"nothing", "none"},
      {"JTAG open", "open"},
      {"JTAG close", "close"},
      {"JTAG write", "write"},
      {"JTAG write of a loopback", "write_loopback"},
      {"JTAG read", "read"},
      {"Quartus version", "version"},
      {"download", "download"}}},
};

std::vector<ChainEntry> ChainOf(const std::string& value) { return ParseBench("chain = " + value).Chain; }

} // namespace

const std::vector<BenchSetting>& BenchSettings() { return SETTINGS; }

const BenchSetting* FindBenchSetting(int id)
{
    for (const BenchSetting& setting : SETTINGS)
        if (setting.Id == id)
            return &setting;
    return nullptr;
}

bool SameValue(const BenchSetting& setting, const std::string& fileValue, const std::string& choiceValue)
{
    if (fileValue == choiceValue)
        return true;
    if (setting.Id != ID_BENCH_CHAIN)
        return false;
    const std::vector<ChainEntry> file = ChainOf(fileValue);
    const std::vector<ChainEntry> choice = ChainOf(choiceValue);
    if (file.size() != choice.size())
        return false;
    for (size_t i = 0; i < file.size(); ++i)
        if (file[i].Code != choice[i].Code || file[i].Name != choice[i].Name)
            return false;
    return true;
}

} // namespace sim
