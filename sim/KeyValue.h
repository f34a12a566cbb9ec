/*
 * The plain "key = value" text that the bench file and the dummy configuration files are
 * written in. Windows-free, so the rules are the same for every simulated part.
 */
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

std::string Trim(std::string_view text);

// The lines of a text, each without its '\n' (a '\r' before it stays); a last line without
// one counts, an empty end after the last '\n' does not.
std::vector<std::string_view> SplitLines(std::string_view text);

// One pair per line that holds a '='; '#' starts a comment anywhere in a line; blanks around
// keys and values are dropped. Later lines do not replace earlier ones: callers take the last.
std::vector<std::pair<std::string, std::string>> ParseKeyValues(std::string_view text);

// The non-empty, trimmed items of a list separated by any of the given characters.
std::vector<std::string> SplitList(std::string_view text, std::string_view separators);

// The same text with every line of that key replaced by "key = value", or with such a line
// appended when the key has none. Every other byte stays as it was, line endings included.
std::string RewriteKey(std::string_view text, std::string_view key, std::string_view value);

} // namespace sim
