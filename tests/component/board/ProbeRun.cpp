// The probe as a child process: its output comes back through a pipe, and it starts in the
// test executables' folder so that a library taken from the wrong folder would show.
#include "ProbeRun.h"

#include "base/Handles.h"
#include "base/Paths.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/TextFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

ProbeRun RunProbe(const std::string& folder, const std::string& arguments)
{
    ProbeRun run{~0u, {}};
    if (!CopyBuiltFile("board_probe.exe", folder)) {
        ADD_FAILURE() << "board_probe.exe could not be copied to " << folder;
        return run;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0)) {
        ADD_FAILURE() << "no pipe for the probe";
        return run;
    }
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string exe = folder + "board_probe.exe";
    std::string commandLine = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION process{};
    // The probe runs with the test executables' folder as its current directory: the complete
    // libraries lie there, so a library found through the search path instead of by the probe's
    // own folder would show at once.
    std::string currentDirectory = ExeFolder();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        currentDirectory.c_str(), &startup, &process)) {
        ADD_FAILURE() << "the probe did not start: " << GetLastError();
        return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    writeEnd.Reset();

    std::string output;
    char chunk[512];
    DWORD got;
    while (ReadFile(readEnd.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    DWORD code;
    GetExitCodeProcess(processHandle.Get(), &code);
    run.ExitCode = code;
    run.Lines = SplitLines(output);
    return run;
}
