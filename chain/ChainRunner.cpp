/*
 * Starting the programmer and the waits around it. Both waits are the program's one message
 * wait (base/MessageWait.h): the window stays alive and the processor stays idle; the
 * programmer's wait also ends when the process does.
 *
 * A programmer still running at the time-out is left to end by itself, and the next detection
 * removes what it left. One still running when the session ends is ended with everything it
 * started, because there is no next detection.
 *
 * The programmer runs with a console of its own that has no window (CREATE_NO_WINDOW), not in a
 * new console told to hide (CREATE_NEW_CONSOLE with SW_HIDE): where Windows Terminal is the
 * default terminal, a new console is handed to Terminal, which does not take SW_HIDE, so a window
 * or taskbar button would come up at every detection, and closing it would end the programmer. A
 * console without a window is never handed over. Wine has no Terminal to hand a console to, so
 * the tests cannot show the difference; what they show is that the batch file, its exit codes
 * and its code page are those of a console of its own.
 */
#include "chain/Jtagbus.h"

#include "chain/ProgrammerJob.h"

#include "base/Handles.h"
#include "base/MessageWait.h"
#include "base/SessionEnd.h"
#include "base/Trace.h"

#include <windows.h>

#include <string>

namespace {

enum class RunState { Running, Succeeded, Failed };

// What one exit code tells the wait. Codes outside this list do not end it: such a
// programmer is waited for until the time-out.
RunState StateOf(DWORD exitCode)
{
    switch (exitCode) {
    case 0: return RunState::Succeeded;
    case 2:
    case 3:
    case 4:
    case STATUS_CONTROL_C_EXIT: return RunState::Failed; // ended by a console control event
    default: return RunState::Running; // STILL_ACTIVE too, even from a process that has ended
    }
}

} // namespace

bool TJtagBus::QuartusExecute(const std::string& commandLine, std::uint32_t timeoutMs)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string mutableLine = commandLine; // CreateProcessA may write into it
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | HIGH_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &started)) {
        TraceFailure("programmer did not start: error %lu, command line %s", GetLastError(),
              TraceQuote(commandLine).c_str());
        return false;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    if (!process)
        return false;
    TProgrammerJob job;
    job.Adopt(process.Get());
    ResumeThread(thread.Get());
    TSessionEndRelease endAtSessionEnd([&job] { job.EndAll(); });

    RunState state = RunState::Running;
    bool exitCodeTraced = false;
    auto pass = [&] {
        // Asked before the exit code, so that a process seen ended here has its final code.
        const bool ended = WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(process.Get(), &exitCode))
            state = RunState::Failed;
        else
            state = StateOf(exitCode);
        // Said once, not on every pass of the rest of the wait.
        if (state == RunState::Running && ended && !exitCodeTraced) {
            TraceFailure("Quartus ExitCode:%lXh", exitCode);
            exitCodeTraced = true;
        }
        // An ended process keeps its handle signalled; waiting on it then would spin, so only
        // window input may cut the pause short.
        return TWaitPass{state != RunState::Running, ended ? nullptr : process.Get()};
    };
    if (!WaitWithMessages(timeoutMs, pass))
        TraceFailure("QuartusExecute Timeout:%lu sec.", static_cast<unsigned long>(timeoutMs / 1000));
    return state == RunState::Succeeded;
}

void TJtagBus::DelayWithMessages(std::uint32_t durationMs) { WaitWithMessages(durationMs); }
