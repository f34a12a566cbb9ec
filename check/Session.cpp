/*
 * Whose view the check gives, and whether the tool is open beside it. IT often runs the check as
 * an administrator; the operator runs the tool as a standard user, with another temporary
 * folder, other policies and other rights, so an elevated check can pass where the tool fails.
 * A copy of the tool running in this session owns its batch file, its report and the board: the
 * checks that would touch them stand aside.
 */
#include "check/Checks.h"

#include "app/Entry.h"
#include "base/Handles.h"
#include "base/PathSpelling.h"

#include <windows.h>

#include <vector>

namespace {

// DOMAIN\name of the process's own account, or "" when it cannot be told.
std::string AccountName(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        return "";
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameLength = ARRAYSIZE(name);
    DWORD domainLength = ARRAYSIZE(domain);
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, name, &nameLength, domain,
                           &domainLength, &use))
        return "";
    return Readable(std::wstring(domain, domainLength) + L"\\" + std::wstring(name, nameLength));
}

void ReportAccount(TReport& report, const std::string& account, bool elevated)
{
    const char* CHECK = "Account";
    const std::string who = account.empty() ? "an account whose name cannot be read" : account;
    if (elevated)
        report.Warn(CHECK, who + ", elevated (administrator rights): the lines below are that account's view",
                    "the tool runs as the operator, without them: run the check in the operator's own session too");
    else
        report.Ok(CHECK, who + ", not elevated: the lines below are this account's view");
}

} // namespace

void CheckAccount(TReport& report)
{
    UniqueHandle token;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool read = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()) &&
                      GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size);
    ReportAccount(report, token ? AccountName(token.Get()) : "", read && elevation.TokenIsElevated);
}

bool CheckRunningTool(TReport& report)
{
    const char* CHECK = "Running tool";
    // Opened, never created: a mutex made here would keep the tool from starting meanwhile. A
    // copy started by another account in this session may refuse the opening, but it is there.
    UniqueHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, INSTANCE_MUTEX_NAME));
    if (!mutex && GetLastError() != ERROR_ACCESS_DENIED) {
        report.Ok(CHECK, "no KV7Inspect.exe open in this session");
        return false;
    }
    report.Warn(CHECK,
                std::string("KV7Inspect.exe is open in this session (its mutex ") + INSTANCE_MUTEX_NAME +
                    "): the cmd.exe line and the board checks are left out, not to disturb its batch file, its "
                    "report and its board",
                "close the tool and run the check again for those lines");
    return true;
}
