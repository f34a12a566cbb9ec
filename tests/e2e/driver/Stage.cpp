#include "Stage.h"

#include "tests/support/BuiltFiles.h"
#include "tests/support/Folders.h"

namespace {

constexpr char CONFIGURATION_PATTERN[] = "KV7_MassProduction_*.sof";

// Each file given relative to the driver's folder, into the request's folder.
bool CopyAll(const std::vector<std::string>& files, const StageRequest& request, std::string& error)
{
    for (const std::string& file : files) {
        if (!CopyBuiltFile(file, request.Folder)) {
            error = "cannot copy " + BuiltFile(file);
            return false;
        }
    }
    return true;
}

// What a list item of libraries= names, relative to the driver's folder.
std::vector<std::string> LibraryFiles(const std::string& item, std::string& error)
{
    if (item == "all")
        return {JTAG_DLL, DOWNLOAD_DLL};
    if (item == "jtag")
        return {JTAG_DLL};
    if (item == "download")
        return {DOWNLOAD_DLL};
    const std::string variant = "..\\variants\\" + item + "\\";
    std::vector<std::string> files = FileNames(BuiltFile(variant), "*");
    if (files.empty())
        error = "no library variant named " + item + " (looked in " + BuiltFile(variant) + ")";
    for (std::string& file : files)
        file = variant + file;
    return files;
}

} // namespace

bool StageFolder(const StageRequest& request, std::string& error)
{
    if (!MakeFolders(request.Folder)) {
        error = "cannot create " + request.Folder;
        return false;
    }
    if (!CopyAll({request.ProgramFile}, request, error))
        return false;
    for (const std::string& item : request.Libraries) {
        if (item == "none")
            continue;
        const std::vector<std::string> files = LibraryFiles(item, error);
        if (!error.empty() || !CopyAll(files, request, error))
            return false;
    }
    for (const std::string& item : request.ConfigurationFiles) {
        if (item == "none")
            continue;
        const std::vector<std::string> files = item == "all" ? FileNames(BuiltFile(""), CONFIGURATION_PATTERN)
                                                             : std::vector{item};
        if (files.empty()) {
            error = "no configuration files in " + BuiltFile("");
            return false;
        }
        if (!CopyAll(files, request, error))
            return false;
    }
    return true;
}
