/*
 * Runtimes known by their library names: msvcr100.dll, msvcp140.dll, vcruntime140.dll, ...
 */
#include "check/Runtimes.h"

#include "check/PeExports.h"

#include <cwchar>
#include <cwctype>

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

} // namespace

std::string ProcessorName(uint16_t machine)
{
    return machine == PE_MACHINE_AMD64 ? "x64" : machine == PE_MACHINE_I386 ? "x86" : MachineName(machine);
}

std::string InstallOfLibrary(const std::wstring& lowerName, const std::string& processor)
{
    if (StartsWith(lowerName, L"api-ms-win-crt-") || lowerName == L"ucrtbase.dll")
        return "install the Universal C Runtime (Windows update KB2999226, or the Microsoft Visual C++ 2015-2022 "
               "Redistributable, " + processor + ")";
    struct TRuntime {
        const wchar_t* Number;
        const char* Release;
    };
    static const TRuntime RUNTIMES[] = {{L"71", "2003"}, {L"80", "2005"}, {L"90", "2008"}, {L"100", "2010"},
                                        {L"110", "2012"}, {L"120", "2013"}, {L"140", "2015-2022"}};
    for (const wchar_t* family : {L"msvcr", L"msvcp", L"mfc", L"vcruntime", L"vcomp", L"concrt"}) {
        if (!StartsWith(lowerName, family))
            continue;
        const std::wstring rest = lowerName.substr(std::wcslen(family));
        for (const TRuntime& runtime : RUNTIMES) {
            if (StartsWith(rest, runtime.Number) && !std::iswdigit(rest[std::wcslen(runtime.Number)]))
                return std::string("install the Microsoft Visual C++ ") + runtime.Release + " Redistributable (" +
                       processor + ")";
        }
    }
    return "ask the board maker which package provides it";
}

// The C runtimes of 2005 and 2008 came as side-by-side assemblies.
std::string InstallOfAssembly(const std::string& assembly, const std::string& processor)
{
    if (assembly.rfind("Microsoft.VC80.", 0) == 0)
        return "install the Microsoft Visual C++ 2005 Redistributable (" + processor + ")";
    if (assembly.rfind("Microsoft.VC90.", 0) == 0)
        return "install the Microsoft Visual C++ 2008 Redistributable (" + processor + ")";
    return "ask the board maker which package installs it";
}
