/*
 * The loopback module ties each connector pin to its neighbour; the board's firmware reports
 * one result per pair, in this table's order. One table serves all four connectors.
 */
#pragma once

#include <array>
#include <cstdint>

inline constexpr int PAIR_COUNT = 132 / 2;

using PairTable = std::array<int32_t, PAIR_COUNT>;

// Writes the lower pin of every pair into the table and returns how many entries it wrote, so
// the window can check the count against the 132 looped pins.
int FillPairTable(PairTable& table);
