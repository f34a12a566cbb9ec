/*
 * Each imported name is looked up in the loader's own order for a library loaded by full path
 * with the safe search order: the side-by-side assemblies of the library's manifest, the known
 * DLLs, the API sets, then files in the tool's folder (which is the library's), the system
 * folder, the 16-bit system folder, the Windows folder and the folders of PATH. The current
 * folder, which the loader tries before PATH, is left out: it is whatever the tool was started
 * in, and a library found only there is found by luck.
 *
 * A library found outside the system folders is read in turn, because the loader loads what it
 * needs too; the system's own are taken as whole. Delay-loaded libraries are loaded at the first
 * call of one of their functions rather than with the library, but a missing one fails that call
 * as surely, so they count the same.
 */
#include "check/Dependencies.h"

#include "check/LibraryManifest.h"
#include "check/Runtimes.h"

#include "base/Handles.h"
#include "base/PathSpelling.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <set>

namespace {

// Deeper than any real chain of private libraries; a loop of them stops here at the latest.
constexpr int MAX_DEPTH = 8;
constexpr DWORD MAX_LIBRARY_BYTES = 256u << 20;

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<uint8_t> FileBytes(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = file ? GetFileSize(file.Get(), nullptr) : INVALID_FILE_SIZE;
    if (size == INVALID_FILE_SIZE || size > MAX_LIBRARY_BYTES)
        return {};
    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file.Get(), bytes.data(), size, &read, nullptr) || read != size))
        return {};
    return bytes;
}

// The known DLLs: the loader maps these from the system's own copies whatever lies elsewhere.
std::set<std::wstring> KnownDlls()
{
    std::set<std::wstring> names;
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", 0,
                      KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[256];
        DWORD nameLength = ARRAYSIZE(valueName);
        wchar_t data[MAX_PATH];
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key.Get(), i, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS && type == REG_SZ) {
            data[dataSize / sizeof(wchar_t)] = L'\0';
            names.insert(Lower(data));
        }
    }
    return names;
}

// Whether the system resolves the API set. Windows 10 and later resolve every api-ms-win- and
// ext-ms-win- name through the schema in memory, and IsApiSetImplemented asks it (an ext- set
// may have no host on some editions; the schema knows). Before that, the API sets were files in
// the system folder and the file search finds them. Wine has both the schema and the call.
std::optional<bool> ApiSetResolved(const std::wstring& name)
{
    using TIsApiSetImplemented = BOOL(WINAPI*)(PCSTR);
    static const auto query = reinterpret_cast<TIsApiSetImplemented>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "IsApiSetImplemented")));
    if (!query)
        return std::nullopt;
    std::string contract(name.begin(), name.end());
    if (contract.size() > 4 && Lower(name).substr(name.size() - 4) == L".dll")
        contract.resize(contract.size() - 4);
    return query(contract.c_str()) != FALSE;
}

std::wstring SystemPath(UINT (WINAPI* ask)(LPWSTR, UINT))
{
    wchar_t folder[MAX_PATH];
    const UINT length = ask(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) + L"\\" : std::wstring();
}

struct TFolder {
    std::wstring Path; // with its trailing backslash
    bool System;
};

class TSearch {
public:
    TSearch(const std::wstring& libraryFolder, uint16_t machine)
        : Known(KnownDlls()), Machine(machine), Processor(ProcessorName(machine))
    {
        Folders.push_back({libraryFolder, false});
        const std::wstring windows = SystemPath(GetWindowsDirectoryW);
        for (const std::wstring& system : {SystemPath(GetSystemDirectoryW), windows + L"System\\", windows})
            Folders.push_back({system, true});
        std::wstring rest(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
        rest.resize(rest.empty() ? 0 : GetEnvironmentVariableW(L"PATH", rest.data(), static_cast<DWORD>(rest.size())));
        while (!rest.empty()) {
            const size_t end = rest.find(L';');
            std::wstring folder = rest.substr(0, end);
            rest = end == std::wstring::npos ? std::wstring() : rest.substr(end + 1);
            folder.erase(std::remove(folder.begin(), folder.end(), L'"'), folder.end());
            if (!folder.empty())
                Folders.push_back({folder.back() == L'\\' ? folder : folder + L"\\", false});
        }
    }

    // Looks up everything the library at the path needs.
    void Library(const std::wstring& path, const TPeExports& library, int depth)
    {
        std::string contextFailure;
        const TLibraryContext context(path, contextFailure);
        if (!contextFailure.empty()) {
            for (const std::string& assembly : context.Assemblies)
                Missing("side-by-side assembly " + assembly, InstallOfAssembly(assembly, Processor));
            if (context.Assemblies.empty())
                Missing("the side-by-side assemblies its manifest asks for (" + contextFailure + ")",
                        "ask the board maker which package installs them");
        } else {
            Result.Found += context.Assemblies.size();
        }
        std::vector<std::string> names = library.Imports;
        names.insert(names.end(), library.DelayImports.begin(), library.DelayImports.end());
        for (const std::string& ascii : names) {
            const std::wstring name = Widen(ascii);
            if (!Seen.insert(Lower(name)).second)
                continue;
            if (context.Provides(name) || Known.count(Lower(name))) {
                ++Result.Found;
                continue;
            }
            if (StartsWith(Lower(name), L"api-ms-win-") || StartsWith(Lower(name), L"ext-ms-win-")) {
                if (const std::optional<bool> resolved = ApiSetResolved(name)) {
                    if (*resolved)
                        ++Result.Found;
                    else
                        Missing(ascii + " (an API set this Windows does not provide)", Install(name));
                    continue;
                }
            }
            File(name, ascii, depth);
        }
    }

    TDependencies Result;

private:
    void Missing(const std::string& what, const std::string& install) { Result.Missing.push_back({what, install}); }

    std::string Install(const std::wstring& name) const
    {
        return InstallOfLibrary(Lower(name), Processor);
    }

    void File(const std::wstring& name, const std::string& ascii, int depth)
    {
        for (const TFolder& folder : Folders) {
            const std::wstring candidate = folder.Path + name;
            if (!IsFile(candidate))
                continue;
            if (folder.System || depth >= MAX_DEPTH) {
                ++Result.Found;
                return;
            }
            const TPeExports found = ReadPeExports(FileBytes(candidate));
            if (!found.Failure.empty()) {
                Missing(ascii + " in " + Readable(folder.Path) + " (" + found.Failure + ")", Install(name));
            } else if (found.Machine != Machine) {
                Missing(ascii + " in " + Readable(folder.Path) + " (built for " + MachineName(found.Machine) + ")",
                        Install(name) + ", the " + Processor + " version");
            } else {
                ++Result.Found;
                Library(candidate, found, depth + 1);
            }
            return;
        }
        Missing(ascii, Install(name));
    }

    const std::set<std::wstring> Known;
    const uint16_t Machine;
    const std::string Processor;
    std::vector<TFolder> Folders;
    std::set<std::wstring> Seen;
};

} // namespace

TDependencies FindDependencies(const std::wstring& libraryPath, const TPeExports& library)
{
    TSearch search(FolderOf(libraryPath), library.Machine);
    search.Library(libraryPath, library, 0);
    return search.Result;
}
