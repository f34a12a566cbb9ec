#include "FaultList.h"

#include <cstdio>

TFaultList BuildFaultList(const PairTable& pairs, const uint8_t (&passed)[PAIR_COUNT])
{
    TFaultList list;
    list.Hint = "Invalid paired loopback pin:\n";
    int count = 0;
    for (int i = 0; i < PAIR_COUNT; ++i) {
        if (passed[i])
            continue;
        const int p = pairs[i];
        char line[48];
        std::snprintf(line, sizeof line, "[%03d]pin %03d-%03d", count + 1, p, p + 1);
        list.MemoLines.push_back(line);
        std::snprintf(line, sizeof line, "%s%03d-%03d", count ? " " : "", p, p + 1);
        list.Pairs += line;
        std::snprintf(line, sizeof line, "(%d-%d) ", p, p + 1);
        list.Hint += line;
        ++count;
        if (count % 5 == 0)
            list.Hint += "\n";
    }
    return list;
}
