/*
 * Temporary folders. The system's temporary folder is asked once: chain detection tests point
 * TMP at a folder of their own, and the next folder must not be made inside that one.
 */
#include "TempFolder.h"

#include "Folders.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace {

const std::string& SystemTemp()
{
    static const std::string folder = [] {
        char buffer[MAX_PATH + 1];
        const DWORD length = GetTempPathA(sizeof buffer, buffer);
        return std::string(buffer, length);
    }();
    return folder;
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
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create the folder " + Folder);
    }
}

// Subfolders a test made (a Quartus folder of its own, say) go too, even when it failed early.
TempFolder::~TempFolder() { RemoveTree(Folder); }
