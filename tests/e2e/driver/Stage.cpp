#include "Stage.h"

#include "tests/support/BuiltFiles.h"
#include "tests/support/Folders.h"

#include <map>

namespace {

constexpr char CONFIGURATION_PATTERN[] = "KV7_MassProduction_*.sof";

// The words of libraries= other than a variant's name, and the libraries each stands for.
const std::map<std::string, std::vector<std::string>> LIBRARIES = {
    {"all", {JTAG_DLL, DOWNLOAD_DLL}}, {"jtag", {JTAG_DLL}}, {"download", {DOWNLOAD_DLL}}, {"none", {}}};

} // namespace

bool StageFolder(const StageRequest& request, std::string& error)
{
    std::vector<std::string> files{request.ProgramFile}; // relative to the driver's folder
    for (const std::string& item : request.Libraries) {
        if (auto known = LIBRARIES.find(item); known != LIBRARIES.end()) {
            files.insert(files.end(), known->second.begin(), known->second.end());
            continue;
        }
        const std::string variant = "..\\variants\\" + item + "\\";
        const std::vector<std::string> found = FileNames(BuiltFile(variant), "*");
        if (found.empty()) {
            error = "no library variant named " + item + " (looked in " + BuiltFile(variant) + ")";
            return false;
        }
        for (const std::string& file : found)
            files.push_back(variant + file);
    }
    for (const std::string& item : request.ConfigurationFiles) {
        if (item != "all") {
            if (item != "none")
                files.push_back(item);
            continue;
        }
        const std::vector<std::string> found = FileNames(BuiltFile(""), CONFIGURATION_PATTERN);
        if (found.empty()) {
            error = "no configuration files in " + BuiltFile("");
            return false;
        }
        files.insert(files.end(), found.begin(), found.end());
    }
    if (!MakeFolders(request.Folder)) {
        error = "cannot create " + request.Folder;
        return false;
    }
    for (const std::string& file : files) {
        if (!CopyBuiltFile(file, request.Folder)) {
            error = "cannot copy " + BuiltFile(file);
            return false;
        }
    }
    return true;
}
