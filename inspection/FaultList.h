/*
 * What the operator reads for an NG connector: one numbered memo line per faulty pin pair, and
 * the same pairs as a hint on the connector's outline.
 */
#pragma once

#include "PairTable.h"

#include <cstdint>
#include <string>
#include <vector>

struct TFaultList {
    std::vector<std::string> MemoLines; // "[001]pin 003-004", ...
    std::string Hint;                   // heading line, then "(3-4) " items, 5 to a line
    std::string Pairs;                  // "003-004 051-052", for the press's record
};

// passed[i] is non-zero when pair i looped back; only the failed pairs are listed, in pair
// order.
TFaultList BuildFaultList(const PairTable& pairs, const uint8_t (&passed)[PAIR_COUNT]);
