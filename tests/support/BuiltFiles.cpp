/*
 * Built files by their place in the build's output: executables, libraries and configuration
 * files in bin/, the library variants in variants/<kind>-lacks-<entry>/ beside it.
 */
#include "BuiltFiles.h"

#include "base/Paths.h"

#include <windows.h>

std::string BuiltFile(const std::string& relativePath) { return ExeFolder() + relativePath; }

std::string LackingVariant(const std::string& kind, const std::string& entry)
{
    return "..\\variants\\" + kind + "-lacks-" + entry + "\\" + (kind == "jtag" ? JTAG_DLL : DOWNLOAD_DLL);
}

bool CopyBuiltFile(const std::string& relativePath, const std::string& toFolder)
{
    const std::string name = relativePath.substr(relativePath.find_last_of('\\') + 1);
    return CopyFileA(BuiltFile(relativePath).c_str(), (toFolder + name).c_str(), FALSE) != 0;
}
