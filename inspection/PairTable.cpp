#include "PairTable.h"

int FillPairTable(PairTable& table)
{
    int i = 0;
    auto put = [&](int32_t pin) {
        if (i < PAIR_COUNT)
            table[i] = pin;
        ++i;
    };
    for (int k = 0; k <= 7; ++k) {
        put(6 * k + 3);
        put(6 * k + 5);
    }
    // Entries 16 and 17 both hold 51, not 51 and 53: a fault of pair 17 is reported as pins
    // 51-52, the same as one of pair 16.
    put(51);
    put(51);
    put(53);
    for (int k = 0; k <= 10; ++k) {
        put(6 * k + 59);
        put(6 * k + 63);
    }
    for (int32_t pin = 131; pin <= 179; pin += 2)
        put(pin);
    return i;
}
