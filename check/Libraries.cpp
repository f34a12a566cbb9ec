/*
 * The maker's two libraries beside the tool, judged from their files the way the tool would
 * judge them when it loads them: there, built for the tool's processor, with every library it
 * needs at hand (the load fails without one), and exporting every entry point the tool resolves
 * (the tool refuses a library that lacks any, also one it never calls). Nothing is loaded:
 * loading would run the library's start-up code.
 *
 * The processor is taken from this program's own header: the check is built by the same
 * toolchain as the tool, so it is the tool's, whichever build this is.
 */
#include "check/Checks.h"

#include "check/Dependencies.h"
#include "check/PeExports.h"

#include "base/Handles.h"
#include "base/SystemError.h"
#include "board/PaldrixDownloadApi.h"
#include "board/PaldrixJtagApi.h"
#include "base/PathSpelling.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace {

constexpr const char* JTAG_ENTRY_NAMES[] = {PALDRIX_JTAG_ENTRIES(KV7_MAKER_ENTRY_NAME)};
constexpr const char* DOWNLOAD_ENTRY_NAMES[] = {PALDRIX_DOWNLOAD_ENTRIES(KV7_MAKER_ENTRY_NAME)};
// No maker library comes near this; a file that does is not one.
constexpr LONGLONG LIBRARY_MAX_BYTES = 256ll << 20;

uint16_t OwnMachine()
{
    const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew)->FileHeader.Machine;
}

// The whole file, or nothing with why in failure.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path, std::string& failure)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        const DWORD error = GetLastError();
        failure = error == ERROR_FILE_NOT_FOUND ? "missing" : "cannot be read: " + SystemErrorText(error);
        return std::nullopt;
    }
    if (size.QuadPart > LIBRARY_MAX_BYTES) {
        failure = "too large to be the library (" + std::to_string(size.QuadPart) + " bytes)";
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        failure = "cannot be read: " + SystemErrorText(GetLastError());
        return std::nullopt;
    }
    return bytes;
}

void CheckLibrary(TReport& report, const TCheckContext& context, const char* name,
                  std::span<const char* const> entries)
{
    const std::string GET = "get the library from the board maker and put it beside the tool";
    std::string failure;
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(context.ExeFolder + AsciiWide(name), failure);
    if (!bytes) {
        report.Fail(name, failure + " in " + Readable(context.ExeFolder), GET);
        return;
    }
    const TPeExports library = ReadPeExports(*bytes);
    if (!library.Failure.empty()) {
        report.Fail(name, library.Failure, GET);
        return;
    }
    const uint16_t machine = OwnMachine();
    if (library.Machine != machine) {
        report.Fail(name, "built for " + MachineName(library.Machine) + ", the tool is " + MachineName(machine) + " code",
                    "get the board maker's " + MachineName(machine) + " version of the library");
        return;
    }
    const TDependencies dependencies = FindDependencies(context.ExeFolder + AsciiWide(name), library);
    if (!dependencies.Missing.empty()) {
        std::string needs;
        std::vector<std::string> installs;
        for (const TMissingDependency& dependency : dependencies.Missing) {
            needs += (needs.empty() ? "" : ", ") + dependency.What;
            if (std::find(installs.begin(), installs.end(), dependency.Install) == installs.end())
                installs.push_back(dependency.Install);
        }
        std::string todo;
        for (const std::string& install : installs)
            todo += (todo.empty() ? "" : "; ") + install;
        report.Fail(name, "needs " + needs + ", which Windows cannot provide for it (so it does not load)", todo);
        return;
    }
    std::string missing;
    for (const char* entry : entries) {
        if (std::find(library.Names.begin(), library.Names.end(), entry) == library.Names.end())
            missing += (missing.empty() ? "" : ", ") + std::string(entry);
    }
    if (!missing.empty()) {
        report.Fail(name, "lacks " + missing, "a wrong or outdated library: get the right version from the board maker");
        return;
    }
    report.Ok(name, MachineName(machine) + ", all " + std::to_string(entries.size()) + " entry points exported, the " +
                        std::to_string(dependencies.Found) + " libraries it needs found");
}

} // namespace

void CheckJtagLibrary(TReport& report, const TCheckContext& context)
{
    CheckLibrary(report, context, "PALDRIX_JTAG.DLL", JTAG_ENTRY_NAMES);
}

void CheckDownloadLibrary(TReport& report, const TCheckContext& context)
{
    CheckLibrary(report, context, "PALDRIX_DOWNLOAD.DLL", DOWNLOAD_ENTRY_NAMES);
}
