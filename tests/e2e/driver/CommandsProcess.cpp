/*
 * Commands that start programs as debuggees, switch between them, and see them end.
 */
#include "Args.h"
#include "Handlers.h"
#include "Log.h"
#include "Stage.h"

#include <windows.h>
#include <psapi.h>

void StartProgram(Session& session, const std::string& alias, const StartRequest& request)
{
    if (Program* old = session.Find(alias); old && !old->Process->HasExited())
        throw Failure(alias + " is still running");
    Program program;
    program.Process = std::make_unique<Debuggee>(alias);
    std::string error;
    if (!program.Process->Start(request, error))
        throw Failure("cannot start " + request.Executable + ": " + error);
    LogLine("%s: started %s (process %lu) in %s", alias.c_str(), request.Executable.c_str(),
            program.Process->ProcessId(), request.Folder.c_str());
    if (Program* old = session.Find(alias))
        *old = std::move(program);
    else
        session.Programs.emplace_back(alias, std::move(program));
    session.Current = alias;
}

KV7_HANDLER(RunStart)
{
    std::string folder = session.Resolve(TextArg(command, 1));
    if (folder.back() != '\\')
        folder += '\\';
    const std::vector<std::string> keys{"cwd", "program"};
    StartRequest request;
    request.Executable = folder + OptionArg(command, 2, "program", PROGRAM_FILE, keys);
    request.Folder = session.Resolve(OptionArg(command, 2, "cwd", TextArg(command, 1), keys));
    request.Environment = session.EnvironmentBlock();
    request.Desktop = session.Desktop;
    StartProgram(session, TextArg(command, 0), request);
}

KV7_HANDLER(RunUse)
{
    if (!session.Find(TextArg(command, 0)))
        throw Failure("no program called " + TextArg(command, 0));
    session.Current = TextArg(command, 0);
}

KV7_HANDLER(RunExpectRunning)
{
    Debuggee& process = *session.CurrentProgram().Process;
    if (process.HasExited())
        throw Failure(Format("%s has ended (exit code %lu)", session.Current.c_str(), process.ExitCode()));
}

KV7_HANDLER(RunWaitExit)
{
    Debuggee& process = *session.CurrentProgram().Process;
    if (!process.WaitForExit(deadline))
        throw Failure(Format("%s still runs after %g s", session.Current.c_str(), deadline.Limit()));
    if (HasArg(command, 0)) {
        DWORD expected = static_cast<DWORD>(IntegerArg(command, 0));
        if (process.ExitCode() != expected)
            throw Failure(Format("%s ended with exit code %lu, expected %lu", session.Current.c_str(),
                                 process.ExitCode(), expected));
    }
}

KV7_HANDLER(RunTerminate) { session.CurrentProgram().Process->Terminate(); }

KV7_HANDLER(RunMemory)
{
    Debuggee& process = *session.CurrentProgram().Process;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        throw Failure(Format("cannot read the memory figures of %s", session.Current.c_str()));
    LogLine("%s: private %lu KB, working set %lu KB, peak working set %lu KB", session.Current.c_str(),
            static_cast<unsigned long>(counters.PrivateUsage / 1024),
            static_cast<unsigned long>(counters.WorkingSetSize / 1024),
            static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024));
    if (HasArg(command, 0)) {
        double limitKb = NumberArg(command, 0);
        if (counters.PrivateUsage / 1024.0 > limitKb)
            throw Failure(Format("private memory %lu KB is above %g KB",
                                 static_cast<unsigned long>(counters.PrivateUsage / 1024), limitKb));
    }
}
