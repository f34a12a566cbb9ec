/*
 * Best-fit mappings are refused: WideCharToMultiByte would otherwise spell "ł" as "l" or "≥"
 * as "=", which names another folder without a word, where the short name names the right one.
 */
#include "chain/PathSpelling.h"

#include "base/SystemError.h"

#include <cstdio>
#include <optional>

namespace {

// The text in the code page, or nothing when a letter has no exact spelling there.
std::optional<std::string> Spelled(const std::wstring& text, UINT codePage)
{
    if (text.empty())
        return std::string();
    // UTF-8 (which newer Windows may make the ANSI and OEM code page) spells every letter, and
    // takes neither the best-fit flag nor the used-default question; a lone surrogate fails.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askUsedDefault = utf8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, askUsedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr, askUsedDefault) !=
            size ||
        usedDefault)
        return std::nullopt;
    return bytes;
}

} // namespace

UINT BatchCodePage() { return GetOEMCP(); }

TSpelledPath SpellPath(const std::wstring& path, UINT codePage)
{
    if (std::optional<std::string> spelled = Spelled(path, codePage))
        return {*spelled, std::string()};
    const std::string where = "code page " + std::to_string(codePage);
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring shortPath(size, L'\0');
    const DWORD length = size ? GetShortPathNameW(path.c_str(), shortPath.data(), size) : 0;
    if (length == 0 || length >= size)
        return {std::string(), where + " lacks a letter of it, and it has no short name: " +
                                   SystemErrorText(GetLastError())};
    shortPath.resize(length);
    if (std::optional<std::string> spelled = Spelled(shortPath, codePage))
        return {*spelled, std::string()};
    // A volume that keeps no short names (8.3 names turned off, as is common on data volumes,
    // or a file system without them) answers with the long name itself. Wine makes a short
    // name up for every long one, so there this case never comes; Windows documents it.
    if (shortPath == path)
        return {std::string(), where + " lacks a letter of it, and its volume keeps no short names"};
    return {std::string(), where + " lacks a letter of it and of its short name " + Readable(shortPath)};
}

std::wstring FromAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}

std::string Readable(const std::wstring& text)
{
    if (std::optional<std::string> ansi = Spelled(text, CP_ACP))
        return *ansi;
    std::string readable;
    for (wchar_t letter : text) {
        if (letter >= 0x20 && letter < 0x7F) {
            readable += static_cast<char>(letter);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(letter));
            readable += escape;
        }
    }
    return readable;
}
