/*
 * Appending to the journal.
 */
#include "Journal.h"

#include "Files.h"

namespace sim {

void JournalLine(const Bench& bench, const std::string& line)
{
    BenchLock lock;
    AppendToFile(bench.JournalPath, line + "\r\n");
}

std::string Quoted(const char* text)
{
    if (!text)
        return "null";
    return std::string("\"") + text + "\"";
}

std::string HexBytes(const uint8_t* data, size_t count)
{
    static constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string hex;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            hex += ' ';
        hex += DIGITS[data[i] >> 4];
        hex += DIGITS[data[i] & 0x0F];
    }
    return hex;
}

} // namespace sim
