/*
 * Commands that start programs as debuggees, switch between them, and see them end.
 */
#include "Commands.h"
#include "Log.h"
#include "Stage.h"

#include <windows.h>

void StartProgram(Session& session, const std::string& alias, const StartRequest& request)
{
    if (auto old = session.Programs.find(alias); old != session.Programs.end() && !old->second.Process->HasExited())
        throw Failure(alias + " is still running");
    auto process = std::make_unique<Debuggee>(alias);
    std::string error;
    if (!process->Start(request, error))
        throw Failure("cannot start " + request.Executable + ": " + error);
    LogLine("%s: started %s (process %lu) in %s", alias.c_str(), request.Executable.c_str(), process->ProcessId(),
            request.Folder.c_str());
    session.Programs[alias] = Program{std::move(process)};
    session.Current = alias;
}

KV7_HANDLER(RunStart)
{
    StartRequest request;
    request.Folder = session.Resolve(TextArg(command, 1));
    if (request.Folder.back() != '\\')
        request.Folder += '\\';
    request.Executable = request.Folder + OptionArg(command, 2, "program", PROGRAM_FILE, {"program"});
    request.Desktop = session.Desktop;
    StartProgram(session, TextArg(command, 0), request);
}

KV7_HANDLER(RunUse)
{
    if (!session.Programs.count(TextArg(command, 0)))
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
    const DWORD expected = static_cast<DWORD>(IntegerArg(command, 0));
    if (process.ExitCode() != expected)
        throw Failure(Format("%s ended with exit code %lu, expected %lu", session.Current.c_str(), process.ExitCode(),
                             expected));
}
