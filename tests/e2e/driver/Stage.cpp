#include "Stage.h"

#include <windows.h>

namespace {

constexpr const char* LIBRARIES[] = {"PALDRIX_JTAG.DLL", "PALDRIX_DOWNLOAD.DLL"};
constexpr char CONFIGURATION_PATTERN[] = "KV7_MassProduction_*.sof";

bool Copy(const std::string& from, const std::string& toFolder, const std::string& name, std::string& error)
{
    if (!CopyFileA(from.c_str(), (toFolder + name).c_str(), FALSE)) {
        error = "cannot copy " + from + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

// Names of the files in `folder` that match `pattern`.
std::vector<std::string> FilesIn(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 2];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

bool StageLibraries(const std::string& bin, const StageRequest& request, std::string& error)
{
    for (const std::string& item : request.Libraries) {
        if (item == "none")
            continue;
        if (item == "all" || item == "jtag" || item == "download") {
            for (const char* name : LIBRARIES) {
                bool wanted = item == "all" || (item == "jtag") == (std::string(name) == LIBRARIES[0]);
                if (wanted && !Copy(bin + name, request.Folder, name, error))
                    return false;
            }
            continue;
        }
        std::string variant = FullPath(bin + "..\\variants\\" + item) + "\\";
        std::vector<std::string> files = FilesIn(variant, "*");
        if (files.empty()) {
            error = "no library variant named " + item + " (looked in " + variant + ")";
            return false;
        }
        for (const std::string& name : files) {
            if (!Copy(variant + name, request.Folder, name, error))
                return false;
        }
    }
    return true;
}

bool StageConfigurationFiles(const std::string& bin, const StageRequest& request, std::string& error)
{
    for (const std::string& item : request.ConfigurationFiles) {
        if (item == "none")
            continue;
        std::vector<std::string> names = item == "all" ? FilesIn(bin, CONFIGURATION_PATTERN) : std::vector{item};
        if (names.empty()) {
            error = "no configuration files in " + bin;
            return false;
        }
        for (const std::string& name : names) {
            if (!Copy(bin + name, request.Folder, name, error))
                return false;
        }
    }
    return true;
}

} // namespace

bool MakeFolders(const std::string& folder)
{
    std::string path;
    for (size_t i = 0; i < folder.size(); ++i) {
        path += folder[i];
        if ((folder[i] == '\\' || i + 1 == folder.size()) && path.size() > 3)
            CreateDirectoryA(path.c_str(), nullptr);
    }
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& folder)
{
    std::string base = folder.back() == '\\' ? folder : folder + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(base + name);
            } else {
                SetFileAttributesA((base + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((base + name).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(base.c_str());
}

bool StageFolder(const std::string& binFolder, const StageRequest& request, std::string& error)
{
    if (!MakeFolders(request.Folder)) {
        error = "cannot create " + request.Folder;
        return false;
    }
    return Copy(binFolder + request.ProgramFile, request.Folder, request.ProgramFile, error) &&
           StageLibraries(binFolder, request, error) && StageConfigurationFiles(binFolder, request, error);
}
