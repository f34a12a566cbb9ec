#include "base/Paths.h"

#include <windows.h>

namespace {

std::wstring ExePathW()
{
    // Paths longer than MAX_PATH are possible; grow until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::wstring ExeFolderW() { return FolderOf(ExePathW()); }

TSpelledPath ExeFolderSpelled() { return SpellPath(ExeFolderW(), AnsiCodePage()); }

std::string ExeFolder() { return ExeFolderSpelled().Text; }

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
