#include "ChildProcess.h"

ChildProcess::ChildProcess(std::string commandLine, DWORD flags, STARTUPINFOA startup, const std::string& folder)
{
    startup.cb = sizeof startup;
    const BOOL inherit = (startup.dwFlags & STARTF_USESTDHANDLES) ? TRUE : FALSE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inherit, flags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        Error = GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    Process.Reset(info.hProcess);
    Pid = info.dwProcessId;
}

ChildProcess::~ChildProcess()
{
    if (Process && !Wait(0))
        TerminateProcess(Process.Get(), 1);
}

std::optional<DWORD> ChildProcess::Wait(DWORD ms) const
{
    DWORD code = 0;
    if (WaitForSingleObject(Process.Get(), ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(Process.Get(), &code))
        return std::nullopt;
    return code;
}
