/*
 * The connector's pin-pair table, as the loopback protocol lists it.
 */
#include "BenchPins.h"

#include "Bench.h"

#include <cstdio>

namespace sim {

namespace {

// Pairs 16 and 17 both hold 51: the tool names a fault of pair 17 as pins 51-52, like one of
// pair 16, and the bench shows what the operator will read.
constexpr int FIRST_PIN[PIN_PAIRS] = {
    3,   5,   9,   11,  15,  17,  21,  23,  27,  29,  33,  35,  39,  41,  45,  47,  51,
    51,  53,  59,  63,  65,  69,  71,  75,  77,  81,  83,  87,  89,  93,  95,  99,  101,
    105, 107, 111, 113, 117, 119, 123, 131, 133, 135, 137, 139, 141, 143, 145, 147, 149,
    151, 153, 155, 157, 159, 161, 163, 165, 167, 169, 171, 173, 175, 177, 179,
};

} // namespace

int PairFirstPin(int pair) { return pair >= 0 && pair < PIN_PAIRS ? FIRST_PIN[pair] : 0; }

std::string PairLabel(int pair)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d: %03d-%03d", pair, PairFirstPin(pair), PairFirstPin(pair) + 1);
    return text;
}

} // namespace sim
