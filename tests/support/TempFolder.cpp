/*
 * Temporary folders. The system's temporary folder is asked once: chain detection tests point
 * TMP at a folder of their own, and the next folder must not be made inside that one.
 */
#include "TempFolder.h"

#include "base/Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct FindTraits {
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using UniqueFind = TUnique<HANDLE, FindTraits>;

const std::string& SystemTemp()
{
    static const std::string folder = [] {
        char buffer[MAX_PATH + 1];
        const DWORD length = GetTempPathA(sizeof buffer, buffer);
        return std::string(buffer, length);
    }();
    return folder;
}

// Subfolders a test made (a Quartus folder of its own, say) go too, even when it failed early.
void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    UniqueFind search(FindFirstFileA((folder + "*").c_str(), &found));
    if (search) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + "\\");
            } else {
                SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(search.Get(), &found));
    }
    search.Reset();
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder(const std::string& name)
{
    static std::atomic<int> counter{0};
    // A folder that an earlier process of the same id left behind is passed over: the test
    // starts with an empty folder.
    for (;;) {
        Folder = SystemTemp() + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++counter) + "\\";
        if (CreateDirectoryA(Folder.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create the folder " << Folder;
            return;
        }
    }
}

TempFolder::~TempFolder() { RemoveTree(Folder); }
