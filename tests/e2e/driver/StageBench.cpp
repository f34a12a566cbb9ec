/*
 * The file-level half of staging, free of Windows calls: bench editing and list splitting.
 */
#include "Stage.h"

#include <cstdio>

namespace {

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The key of a `key = value` line, or "" for comments and other lines.
std::string KeyOf(const std::string& line)
{
    std::string text = Trimmed(line);
    if (text.empty() || text[0] == '#')
        return std::string();
    size_t equals = text.find('=');
    return equals == std::string::npos ? std::string() : Trimmed(text.substr(0, equals));
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

bool ReadFile(const std::string& path, std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    text.clear();
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool WriteFile(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}
