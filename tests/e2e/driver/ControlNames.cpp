#include "ControlNames.h"

#include <utility>

namespace {

// Filled from the program's control header once it exists.
const std::pair<const char*, int> NAMES[] = {{"", 0}};

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
    for (const auto& [known, id] : NAMES) {
        if (*known)
            list += (list.empty() ? "" : ", ") + std::string(known);
    }
    return list;
}
