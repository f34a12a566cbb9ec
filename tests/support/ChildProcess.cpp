#include "ChildProcess.h"

#include "TextFiles.h"

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

ProgramOutput RunForOutput(std::wstring commandLine, const std::wstring& folder)
{
    ProgramOutput run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0))
        return run;
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return run;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    // Our end of the writing side goes, so that the read ends when the program's does.
    writeEnd.Reset();
    std::string output;
    char chunk[512];
    DWORD got;
    while (ReadFile(readEnd.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = ~0u;
    GetExitCodeProcess(process.Get(), &code);
    run.ExitCode = code;
    run.Lines = SplitLines(output);
    return run;
}

std::wstring Widened(const std::string& ansi)
{
    const int size = static_cast<int>(ansi.size());
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), size)));
    return wide;
}
