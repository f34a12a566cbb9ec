/*
 * Starting the programmer and the waits around it. The waits dispatch what is pending, then
 * block until input arrives, the process ends or their time is up, and go round the same
 * tick-count loop: the window stays alive and the processor stays idle. Elapsed time is the
 * unsigned difference of two tick counts, which survives the counter's wrap.
 *
 * A programmer still running at the time-out is left to end by itself, and the next detection
 * removes what it left. One still running when the window closes under the run, or when the
 * session ends, is ended with everything it started, because there is no next detection.
 */
#include "chain/Jtagbus.h"

#include "chain/ProgrammerJob.h"

#include "base/Handles.h"
#include "base/Pump.h"
#include "base/RunStop.h"
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

// The pause that lets the elapsed time just exceed the limit. Never INFINITE, nor a wrap to 0
// that would spin, at the top of the range.
DWORD TimeLeft(DWORD elapsed, DWORD limit)
{
    const DWORD left = limit - elapsed;
    return left < INFINITE - 1 ? left + 1 : INFINITE - 1;
}

// True only when the process was seen to end with code 0 within the time limit.
bool WaitForProgrammer(HANDLE process, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    RunState state = RunState::Running;
    bool exitCodeTraced = false;
    for (;;) {
        PumpPendingMessages();
        // Asked before the exit code, so that a process seen ended here has its final code.
        const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(process, &exitCode))
            state = RunState::Failed;
        else
            state = StateOf(exitCode);
        // Said once, not on every pass of the rest of the wait.
        if (state == RunState::Running && ended && !exitCodeTraced) {
            Trace("Quartus ExitCode:%lXh", exitCode);
            exitCodeTraced = true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (state != RunState::Running)
            break;
        if (elapsed > timeoutMs) {
            Trace("QuartusExecute Timeout:%lu sec.", static_cast<unsigned long>(timeoutMs / 1000));
            break;
        }
        // An ended process keeps its handle signalled; waiting on it then would spin, so only
        // window input may cut the pause short.
        WaitForInput(TimeLeft(elapsed, timeoutMs), ended ? nullptr : process);
    }
    return state == RunState::Succeeded;
}

} // namespace

bool TJtagBus::QuartusExecute(const std::string& commandLine, std::uint32_t timeoutMs)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    std::string mutableLine = commandLine; // CreateProcessA may write into it
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | HIGH_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &started)) {
        Trace("programmer did not start: error %lu, command line %s", GetLastError(),
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
    try {
        return WaitForProgrammer(process.Get(), timeoutMs);
    } catch (const TRunStopped&) {
        job.EndAll();
        throw;
    }
}

void TJtagBus::DelayWithMessages(std::uint32_t durationMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPendingMessages();
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > durationMs)
            return;
        WaitForInput(TimeLeft(elapsed, durationMs));
    }
}
