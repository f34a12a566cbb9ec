/*
 * IDCODEs of the simulated chain. They are made up, not read off any device: the low twelve
 * bits carry the maker's JEDEC code (0x0DD) as a real chain would, a shared part number marks
 * one die, and the version nibble tells the engineering samples (0) from production parts (1).
 */
#include "DeviceTable.h"

namespace sim {

namespace {

struct Entry {
    const char* Name;
    const char* IdCode;
};

constexpr Entry DEVICES[] = {
    {"EP3SL110/50", "120B10DD"}, {"EP3SL110/50ES", "020B10DD"},
    {"EP3SL150", "120B20DD"},    {"EP3SL150ES", "020B20DD"},
    {"EP3SL340", "120B40DD"},    {"EP3SL340ES", "020B40DD"},
    {"EP3SE260", "120B90DD"},    {"EP3SE260ES", "020B90DD"},
};

} // namespace

std::string IdCodeOf(const std::string& name)
{
    for (const Entry& device : DEVICES)
        if (name == device.Name)
            return device.IdCode;
    return {};
}

} // namespace sim
