/*
 * A program a test starts from a command line and waits for, with a limit. One still running
 * when the object goes is terminated, so a failed test never leaves a process behind holding
 * its output or a lock.
 */
#pragma once

#include "base/Handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    // Inherits handles only when `startup` hands standard handles over. Started() says whether
    // it runs, Error why not.
    explicit ChildProcess(std::string commandLine, DWORD flags = 0, STARTUPINFOA startup = {},
                          const std::string& folder = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(Process); }
    HANDLE Handle() const { return Process.Get(); }
    DWORD Id() const { return Pid; }
    DWORD Error = 0;

    // The exit code once it has ended within `ms`; nothing while it still runs.
    std::optional<DWORD> Wait(DWORD ms) const;

private:
    UniqueHandle Process;
    DWORD Pid = 0;
};

// A program run to its end with its standard output and errors gathered through a pipe, as a
// script or a test reads a console program. The command line is wide, so that a program in a
// folder of any name is started by its long name, as Explorer starts it.
struct ProgramOutput {
    DWORD ExitCode = ~0u; // ~0u when it did not start
    std::vector<std::string> Lines;
};
ProgramOutput RunForOutput(std::wstring commandLine, const std::wstring& folder = L"");

// An ANSI text (a path of the tests' own) for the wide calls.
std::wstring Widened(const std::string& ansi);
