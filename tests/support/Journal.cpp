/*
 * Journal lines are read by their words: "key=value" fields after the act's name.
 */
#include "Journal.h"

#include <map>

namespace {

// The value of ` key=` in a journal line, or "" when the line has none.
std::string Field(const std::string& line, const std::string& key)
{
    size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return std::string();
    at += key.size() + 2;
    return line.substr(at, line.find(' ', at) - at);
}

} // namespace

std::vector<std::string> JournalLines(const std::string& journal)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < journal.size()) {
        const size_t end = journal.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(journal.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(journal.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string PortLeftOpen(const std::string& journal)
{
    std::map<std::string, int> open; // handle -> opens not yet closed
    for (const std::string& line : JournalLines(journal)) {
        if (line.rfind("jtag open ", 0) == 0) {
            const std::string handle = Field(line, "handle");
            if (!handle.empty() && handle != "0") // 0: the open failed
                ++open[handle];
        } else if (line.rfind("jtag close ", 0) == 0 && Field(line, "result") == "1") {
            --open[Field(line, "handle")];
        }
    }
    for (const auto& [handle, count] : open) {
        if (count > 0)
            return handle;
    }
    return std::string();
}
