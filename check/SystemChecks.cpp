/*
 * The system the tool runs on. The version comes from RtlGetVersion, which tells the truth:
 * GetVersionEx answers what the program's manifest declares it supports, not what runs.
 */
#include "check/Checks.h"

#include "base/PathSpelling.h"

#include <windows.h>

namespace {

using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
using TWineVersion = const char*(CDECL*)();

// ntdll is in every process; it is looked up rather than linked, so that the check imports
// nothing a production PC might lack.
template <typename T>
T NtdllEntry(const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

std::string Bitness()
{
#ifdef _WIN64
    return "64-bit Windows, this check and the tool as 64-bit programs";
#else
    BOOL wow = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow);
    return wow ? "64-bit Windows, the tool as a 32-bit program" : "32-bit Windows";
#endif
}

} // namespace

void CheckWindows(TReport& report)
{
    const char* CHECK = "Windows";
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const auto rtlGetVersion = NtdllEntry<TRtlGetVersion>("RtlGetVersion");
    if (!rtlGetVersion || rtlGetVersion(&version) != 0) {
        report.Warn(CHECK, "the version could not be read (RtlGetVersion)", "make sure it is Windows 7 or later");
        return;
    }
    std::string found = "version " + std::to_string(version.dwMajorVersion) + "." +
                        std::to_string(version.dwMinorVersion) + " build " + std::to_string(version.dwBuildNumber) +
                        " (RtlGetVersion), " + Bitness();
    // A development machine runs the tool under Wine; saying so explains its version.
    if (const auto wine = NtdllEntry<TWineVersion>("wine_get_version"))
        found += ", under Wine " + std::string(wine());
    if (version.dwMajorVersion < 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion < 1))
        report.Fail(CHECK, found, "the tool needs Windows 7 or later");
    else
        report.Ok(CHECK, found);
}

void CheckCodePages(TReport& report)
{
    report.Ok("Code pages", "ANSI " + std::to_string(AnsiCodePage()) + " (the tool's file names), OEM " +
                                std::to_string(BatchCodePage()) + " (its batch file)");
}
