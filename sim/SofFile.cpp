/*
 * Reading a dummy configuration file.
 */
#include "SofFile.h"

#include "KeyValue.h"

namespace sim {

bool ParseSof(std::string_view text, SofFile& sof)
{
    if (Trim(text.substr(0, text.find('\n'))) != SOF_FIRST_LINE)
        return false;
    sof = {};
    for (const auto& [key, value] : ParseKeyValues(text)) {
        if (key == "model")
            sof.Model = value;
        else if (key == "fits")
            sof.Fits = SplitList(value, ",");
    }
    return true;
}

} // namespace sim
