/*
 * Who holds the tool's report open. A programmer that outlived its detection's 15 s keeps the
 * report open until it ends by itself, and every detection meanwhile fails at once; the operator
 * only sees "Failed to connect FPAG board.", so the check names the process to end.
 *
 * The Restart Manager answers who holds a file, whatever the process. Wine's is a stub that lists
 * no process, so where it names no one the programmers that run are named instead, from a process
 * snapshot: the holder is one of them.
 */
#include "check/Checks.h"

#include "base/Handles.h"
#include "base/PathSpelling.h"

#include <windows.h>

#include <restartmanager.h>
#include <tlhelp32.h>

#include <vector>

namespace {

constexpr wchar_t PROGRAMMER[] = L"quartus_pgm.exe";

std::string Process(DWORD id, const std::wstring& fallbackName)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    const std::wstring name = process && QueryFullProcessImageNameW(process.Get(), 0, path, &length)
                                  ? std::wstring(path, length)
                                  : fallbackName;
    return "process " + std::to_string(id) + " " + Readable(name);
}

void Add(std::string& list, const std::string& process) { list += (list.empty() ? "" : ", ") + process; }

std::string ByRestartManager(const std::wstring& path)
{
    DWORD session = 0;
    wchar_t key[CCH_RM_SESSION_KEY + 1] = {};
    if (RmStartSession(&session, 0, key) != ERROR_SUCCESS)
        return "";
    std::string holders;
    LPCWSTR files[] = {path.c_str()};
    UINT needed = 0;
    UINT count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> processes;
    if (RmRegisterResources(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
        RmGetList(session, &needed, &count, nullptr, &reasons) == ERROR_MORE_DATA) {
        processes.resize(needed);
        count = needed;
        if (RmGetList(session, &needed, &count, processes.data(), &reasons) == ERROR_SUCCESS) {
            for (UINT i = 0; i < count; ++i)
                Add(holders, Process(processes[i].Process.dwProcessId, processes[i].strAppName));
        }
    }
    RmEndSession(session);
    return holders;
}

std::string RunningProgrammers()
{
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::string programmers;
    for (BOOL more = snapshot && Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (CompareStringOrdinal(entry.szExeFile, -1, PROGRAMMER, -1, TRUE) == CSTR_EQUAL)
            Add(programmers, Process(entry.th32ProcessID, entry.szExeFile));
    }
    return programmers;
}

} // namespace

std::string HoldersOf(const std::string& path)
{
    const int length = static_cast<int>(path.size());
    std::wstring wide(path.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), length, wide.data(), length)));
    if (const std::string holders = ByRestartManager(wide); !holders.empty())
        return holders;
    if (const std::string programmers = RunningProgrammers(); !programmers.empty())
        return "one of the programmers running: " + programmers;
    return "";
}
