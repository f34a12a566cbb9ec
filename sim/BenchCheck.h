/*
 * Reading a bench file strictly, for the bench window. The simulated parts take the default for
 * a value that does not read; the window must not: it shows the operator the line at fault and
 * writes nothing until the file reads again, so a half-typed hand edit is never overwritten.
 * Windows-free.
 */
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct BenchText {
    bool Readable = true;
    int BadLine = 0;      // 1-based, when not readable
    std::string BadText;  // that line, without its line end
    std::string Why;

    std::map<std::string, std::string> Values; // the last value of each key, trimmed
    std::vector<std::string> UnknownKeys;      // left alone: a newer part may read them

    // The key's value, or `fallback` when the file does not set it.
    std::string Value(const std::string& key, const std::string& fallback) const;
};

BenchText CheckBenchText(std::string_view text);

// The pair indices of a faulty_a ... faulty_d value.
std::vector<int> PairList(const std::string& value);

} // namespace sim
