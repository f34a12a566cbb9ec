/*
 * Quartus as the tool finds it: the registry value the tool reads, in the registry view the
 * tool reads it in, and the programmer in that folder's bin folder. On 64-bit Windows the
 * 32-bit tool is redirected to the 32-bit view (WOW6432Node); a value that an installer wrote
 * only in the other view is there for everyone but the tool, so the check looks there too, to
 * say so.
 */
#include "check/Checks.h"

#include "base/Handles.h"
#include "base/Registry.h"
#include "chain/ChainCommand.h"
#include "base/PathSpelling.h"

#include <windows.h>

namespace {

constexpr char CHECK_VALUE[] = "Quartus value";
constexpr char VALUE_NAME[] = "\"Quartus Install Directory\"";

#ifdef _WIN64
constexpr char VIEW[] = "HKLM\\SOFTWARE\\Altera Corporation\\Quartus (the native view: this is the 64-bit build)";
constexpr char REG_ADD_VIEW[] = "";
#else
bool UnderWow64()
{
    BOOL wow = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow) && wow;
}

// Whether the 64-bit view holds the value, which the 32-bit tool does not see.
bool InSixtyFourBitView()
{
    UniqueKey key;
    DWORD type = 0;
    DWORD size = 0;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Altera Corporation\\Quartus", 0,
                         KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.Put()) == ERROR_SUCCESS &&
           RegQueryValueExW(key.Get(), L"Quartus Install Directory", nullptr, &type, nullptr, &size) ==
               ERROR_SUCCESS &&
           (type == REG_SZ || type == REG_EXPAND_SZ) && size > sizeof(wchar_t);
}
#endif

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

void CheckQuartusValue(TReport& report, TCheckContext& context)
{
#ifndef _WIN64
    const bool wow = UnderWow64();
    const std::string VIEW = wow ? "HKLM\\SOFTWARE\\WOW6432Node\\Altera Corporation\\Quartus (the 32-bit view the tool reads)"
                                 : "HKLM\\SOFTWARE\\Altera Corporation\\Quartus";
    const std::string REG_ADD_VIEW = wow ? " /reg:32" : "";
#endif
    context.QuartusFolder = QuartusInstallFolder();
    if (!context.QuartusFolder.empty()) {
        report.Ok(CHECK_VALUE, Readable(context.QuartusFolder) + " under " + VIEW);
        return;
    }
    std::string found = std::string(VALUE_NAME) + " missing or empty under " + VIEW;
#ifndef _WIN64
    if (wow && InSixtyFourBitView())
        found += "; it is in the 64-bit view only, which the 32-bit tool does not read";
#endif
    report.Fail(CHECK_VALUE, found,
                "install Quartus, or add the value naming its folder: reg add \"HKLM\\SOFTWARE\\Altera "
                "Corporation\\Quartus\" /v \"Quartus Install Directory\" /d <folder>" +
                    std::string(REG_ADD_VIEW));
}

void CheckProgrammer(TReport& report, const TCheckContext& context)
{
    const char* CHECK = "Quartus programmer";
    if (context.QuartusFolder.empty()) {
        report.Warn(CHECK, "not looked for: no Quartus folder", "see the Quartus value above");
        return;
    }
    const std::wstring programmer = ProgrammerPath(context.QuartusFolder);
    if (IsFile(programmer))
        report.Ok(CHECK, Readable(programmer));
    else if (!IsFolder(context.QuartusFolder))
        report.Fail(CHECK, "the folder " + Readable(context.QuartusFolder) + " does not exist",
                    "correct the Quartus value, or install Quartus there");
    else
        report.Fail(CHECK, "no file " + Readable(programmer), "install Quartus with its programmer");
}
