#include "ControlNames.h"

#include "app/ControlIds.h"
#include "sim/BenchControls.h"

#include <utility>

namespace {

const std::pair<const char*, int> NAMES[] = {
    {"ButtonExit", ID_BUTTON_EXIT},   {"ButtonOrbaA", ID_BUTTON_ORBA_A}, {"ButtonOrbaB", ID_BUTTON_ORBA_B},
    {"ButtonOrbaC", ID_BUTTON_ORBA_C}, {"ButtonOrbaD", ID_BUTTON_ORBA_D}, {"MemoError", ID_MEMO_ERROR},
    {"LabelResult", ID_LABEL_RESULT}, {"LabelError", ID_LABEL_ERROR},    {"StatusBar", ID_STATUS_BAR},
    // The simulated bench's window (KV7Bench.exe)
    {"BenchProblem", sim::ID_BENCH_PROBLEM},           {"BenchJournal", sim::ID_BENCH_JOURNAL},
    {"BenchPowered", sim::ID_BENCH_POWERED},           {"BenchCable", sim::ID_BENCH_CABLE},
    {"BenchConfigured", sim::ID_BENCH_CONFIGURED},     {"BenchChain", sim::ID_BENCH_CHAIN},
    {"BenchFirmware", sim::ID_BENCH_FIRMWARE},         {"BenchFirmwareSet", sim::ID_BENCH_FIRMWARE_SET},
    {"BenchReplyFault", sim::ID_BENCH_REPLY_FAULT},    {"BenchNoQuartus", sim::ID_BENCH_NO_QUARTUS},
    {"BenchPairsA", sim::ID_BENCH_PAIRS_A},            {"BenchPairsB", sim::ID_BENCH_PAIRS_A + 1},
    {"BenchPairsC", sim::ID_BENCH_PAIRS_A + 2},        {"BenchPairsD", sim::ID_BENCH_PAIRS_A + 3},
};

} // namespace

int ControlIdByName(const std::string& name)
{
    for (const auto& [known, id] : NAMES) {
        if (name == known)
            return id;
    }
    return 0;
}

std::string KnownControlNames()
{
    std::string list;
    for (const auto& [known, id] : NAMES)
        list += (list.empty() ? "" : ", ") + std::string(known);
    return list;
}
