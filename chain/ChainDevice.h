/*
 * One device of the JTAG chain as the programmer's report lists it, and the list that chain
 * detection fills. The list owns its entries, so whoever holds it frees every entry on every
 * path simply by letting it go.
 */
#pragma once

#include <memory>
#include <vector>

// Each text holds at most this many characters before its terminating zero.
inline constexpr int CHAIN_FIELD_MAX = 31;

struct TChainDevice {
    char Code[32];       // first field of the device's line, kept as read
    char DeviceName[32]; // second field, e.g. EP3SL340; bring-up compares it as a whole
};

// Entries in report order; an entry is allocated on its own when its line has been read.
using TChainList = std::vector<std::unique_ptr<TChainDevice>>;
