/*
 * Best-fit mappings are refused: WideCharToMultiByte would otherwise spell "ł" as "l" or "≥"
 * as "=", which names another folder without a word, where the short name names the right one.
 *
 * The conversion's arguments depend on the code page: UTF-8 refuses WC_NO_BEST_FIT_CHARS and
 * the used-default question (it has no default character: it spells every letter). The code
 * page is therefore resolved to its number before they are chosen; whether Windows would apply
 * that rule to CP_ACP itself when the ANSI code page is UTF-8 is not documented, and Wine
 * cannot be set to that code page to find out, so CP_ACP never reaches the conversion.
 */
#include "base/PathSpelling.h"

#include "base/SystemError.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

UINT Resolved(UINT codePage)
{
    if (codePage == CP_ACP)
        return GetACP();
    if (codePage == CP_OEMCP)
        return GetOEMCP();
    return codePage;
}

// The text in the code page, or nothing when a letter has no exact spelling there.
std::optional<std::string> Spelled(const std::wstring& text, UINT codePage)
{
    if (text.empty())
        return std::string();
    // A lone surrogate has no UTF-8 spelling; WC_ERR_INVALID_CHARS makes that a failure rather
    // than a replacement character.
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

bool IsAscii(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t letter) { return letter < 0x80; });
}

std::string AsciiBytes(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The short name, or empty with the error in GetLastError.
std::wstring ShortPath(const std::wstring& path)
{
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring shortPath(size, L'\0');
    const DWORD length = size ? GetShortPathNameW(path.c_str(), shortPath.data(), size) : 0;
    if (length == 0 || length >= size)
        return std::wstring();
    shortPath.resize(length);
    return shortPath;
}

} // namespace

UINT AnsiCodePage() { return GetACP(); }

UINT BatchCodePage() { return GetOEMCP(); }

TSpelledPath SpellPath(const std::wstring& path, UINT codePage)
{
    codePage = Resolved(codePage);
    if (std::optional<std::string> spelled = Spelled(path, codePage))
        return {*spelled, std::string()};
    const std::string where = "code page " + std::to_string(codePage);
    const std::wstring shortPath = ShortPath(path);
    if (shortPath.empty())
        return {std::string(), where + " lacks a letter of it, and it has no short name: " +
                                   SystemErrorText(GetLastError())};
    if (std::optional<std::string> spelled = Spelled(shortPath, codePage))
        return {*spelled, std::string()};
    // A volume that keeps no short names (8.3 names turned off, as is common on data volumes,
    // or a file system without them) answers with the long name itself. Wine makes a short
    // name up for every long one, so there this case never comes; Windows documents it.
    if (shortPath == path)
        return {std::string(), where + " lacks a letter of it, and its volume keeps no short names"};
    return {std::string(), where + " lacks a letter of it and of its short name " + Readable(shortPath)};
}

TSpelledPath SpellForBatch(const std::wstring& path, UINT codePage)
{
    if (IsAscii(path))
        return {AsciiBytes(path), std::string()};
    if (const std::wstring shortPath = ShortPath(path); !shortPath.empty() && IsAscii(shortPath))
        return {AsciiBytes(shortPath), std::string()};
    return SpellPath(path, codePage);
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::string Readable(const std::wstring& text)
{
    if (std::optional<std::string> ansi = Spelled(text, AnsiCodePage()))
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
