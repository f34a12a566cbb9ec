/*
 * Folder walks through FindFirstFileA, the search handle released on every path.
 */
#include "Folders.h"

#include "base/Handles.h"

#include <windows.h>

namespace {

struct FindTraits {
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using UniqueFind = TUnique<HANDLE, FindTraits>;

std::string WithBackslash(const std::string& folder)
{
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

} // namespace

bool MakeFolders(const std::string& folder)
{
    for (size_t i = 0; i < folder.size(); ++i) {
        // Past the drive ("C:\"): each folder on the way is made, the last one too.
        if ((folder[i] == '\\' || i + 1 == folder.size()) && i > 2)
            CreateDirectoryA(folder.substr(0, i + 1).c_str(), nullptr);
    }
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& folder)
{
    const std::string base = WithBackslash(folder);
    WIN32_FIND_DATAA found;
    UniqueFind search(FindFirstFileA((base + "*").c_str(), &found));
    if (search) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(base + name);
            } else {
                SetFileAttributesA((base + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((base + name).c_str());
            }
        } while (FindNextFileA(search.Get(), &found));
    }
    search.Reset(); // a folder with an open search in it cannot go
    RemoveDirectoryA(base.c_str());
}

std::vector<std::string> FileNames(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFind search(FindFirstFileA((folder + pattern).c_str(), &found));
    if (!search)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search.Get(), &found));
    return names;
}
