/*
 * The text half of staging, free of Windows calls: bench editing and list splitting.
 */
#include "Stage.h"

namespace {

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The key of a `key = value` line, or "" for comments and other lines; `value` gets the value.
std::string KeyOf(const std::string& line, std::string* value = nullptr)
{
    std::string text = Trimmed(line.substr(0, line.find('#')));
    size_t equals = text.find('=');
    if (equals == std::string::npos)
        return std::string();
    if (value)
        *value = Trimmed(text.substr(equals + 1));
    return Trimmed(text.substr(0, equals));
}

} // namespace

std::string SetBenchKey(const std::string& text, const std::string& key, const std::string& value)
{
    std::string wanted = key + " = " + value;
    std::string out;
    bool replaced = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        bool crlf = !line.empty() && line.back() == '\r';
        if (!replaced && KeyOf(line) == key) {
            out += wanted + (crlf ? "\r" : "");
            replaced = true;
        } else {
            out += line;
        }
        if (end == std::string::npos)
            break;
        out += '\n';
        start = end + 1;
    }
    if (!replaced) {
        if (!out.empty() && out.back() != '\n')
            out += '\n';
        out += wanted + "\n";
    }
    return out;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string part = Trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!part.empty())
            parts.push_back(part);
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

std::optional<std::string> BenchValue(const std::string& text, const std::string& key)
{
    std::optional<std::string> found;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string value;
        if (KeyOf(text.substr(start, end == std::string::npos ? std::string::npos : end - start), &value) == key)
            found = value;
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return found;
}
