/*
 * Commands that set the desk before and between runs: the program's folder, the bench file and
 * the environment the programs inherit.
 */
#include "Commands.h"
#include "Log.h"
#include "Stage.h"

#include "sim/Bench.h"
#include "sim/KeyValue.h"

#include <windows.h>

KV7_HANDLER(RunStage)
{
    StageRequest request;
    request.Folder = session.Resolve(TextArg(command, 0));
    if (request.Folder.back() != '\\')
        request.Folder += '\\';
    const std::vector<std::string> keys{"libraries", "sof", "program"};
    request.ProgramFile = OptionArg(command, 1, "program", PROGRAM_FILE, keys);
    request.Libraries = sim::SplitList(OptionArg(command, 1, "libraries", "all", keys), ",");
    request.ConfigurationFiles = sim::SplitList(OptionArg(command, 1, "sof", "all", keys), ",");
    std::string error;
    if (!StageFolder(request, error))
        throw Failure(error);
    LogLine("staged %s", request.Folder.c_str());
}

// What the simulated parts wrote to the file stays; a bench not written yet is an empty one.
KV7_HANDLER(RunBench)
{
    const std::string value = HasArg(command, 1) ? TextArg(command, 1) : std::string();
    // Under the bench's own lock: a held step reads the file every few milliseconds and must
    // never see it truncated and not yet written again.
    sim::SetBenchKey(session.BenchPath(), TextArg(command, 0), value);
}

// Programs inherit the driver's environment, so a variable set here reaches every later start.
KV7_HANDLER(RunEnv)
{
    if (!SetEnvironmentVariableA(TextArg(command, 0).c_str(), TextArg(command, 1).c_str()))
        throw Failure(Format("cannot set %s (error %lu)", TextArg(command, 0).c_str(), GetLastError()));
}
