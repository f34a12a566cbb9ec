/*
 * The plain "key = value" text of the bench file and the dummy configuration files.
 */
#include "KeyValue.h"

namespace sim {

namespace {

constexpr std::string_view BLANKS = " \t\r\n";

// The key of one line, or "" when the line is a comment or holds no '='.
std::string KeyOfLine(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    return Trim(line.substr(0, equals));
}

} // namespace

std::string Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(BLANKS);
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::pair<std::string, std::string>> ParseKeyValues(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::string_view line : SplitLines(text)) {
        line = line.substr(0, line.find('#'));
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            pairs.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return pairs;
}

std::vector<std::string> SplitList(std::string_view text, std::string_view separators)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string item = Trim(text.substr(start, end - start));
        if (!item.empty())
            items.push_back(std::move(item));
        start = end + 1;
    }
    return items;
}

std::string RewriteKey(std::string_view text, std::string_view key, std::string_view value)
{
    const bool crlf = text.find("\r\n") != std::string_view::npos;
    const std::string newLine = std::string(key) + " = " + std::string(value);
    std::string result;
    bool found = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        const bool cr = !line.empty() && line.back() == '\r';
        if (KeyOfLine(line) == key) {
            found = true;
            result += newLine;
            if (cr)
                result += '\r';
        } else {
            result += line;
        }
        if (!last)
            result += '\n';
        start = end + 1;
    }
    if (!found) {
        if (!result.empty() && result.back() != '\n')
            result += crlf ? "\r\n" : "\n";
        result += newLine;
        result += crlf ? "\r\n" : "\n";
    }
    return result;
}

} // namespace sim
