/*
 * Commands that set the desk before and between runs: the program's folder, the bench file,
 * the environment the programs inherit, the Quartus folder in the registry, removed files.
 */
#include "Args.h"
#include "Handlers.h"
#include "Log.h"
#include "Registry.h"
#include "Stage.h"

#include "base/Handles.h"

#include <windows.h>

namespace {

// The simulated parts read and write the bench file under this mutex. A part that reads it
// every few milliseconds (a held step waiting for its release) must never see the file
// truncated and not yet written again, nor have its own write lost in between.
constexpr char BENCH_MUTEX[] = "KV7_SimulatedBench";

class BenchMutexHeld {
public:
    BenchMutexHeld() : Mutex(CreateMutexA(nullptr, FALSE, BENCH_MUTEX))
    {
        if (Mutex)
            WaitForSingleObject(Mutex.Get(), INFINITE); // an abandoned mutex is handed over
    }
    ~BenchMutexHeld()
    {
        if (Mutex)
            ReleaseMutex(Mutex.Get());
    }
    BenchMutexHeld(const BenchMutexHeld&) = delete;
    BenchMutexHeld& operator=(const BenchMutexHeld&) = delete;

private:
    UniqueHandle Mutex;
};

} // namespace

KV7_HANDLER(RunStage)
{
    StageRequest request;
    request.Folder = session.Resolve(TextArg(command, 0));
    if (request.Folder.back() != '\\')
        request.Folder += '\\';
    const std::vector<std::string> keys{"libraries", "sof", "program"};
    request.ProgramFile = OptionArg(command, 1, "program", PROGRAM_FILE, keys);
    request.Libraries = SplitList(OptionArg(command, 1, "libraries", "all", keys));
    request.ConfigurationFiles = SplitList(OptionArg(command, 1, "sof", "all", keys));
    std::string error;
    if (!StageFolder(session.BinFolder, request, error))
        throw Failure(error);
    LogLine("staged %s", request.Folder.c_str());
}

KV7_HANDLER(RunBench)
{
    BenchMutexHeld guard;
    std::string path = session.BenchPath();
    std::string text;
    ReadFile(path, text); // a bench not written yet is an empty one
    std::string value = HasArg(command, 1) ? TextArg(command, 1) : std::string();
    if (!WriteFile(path, SetBenchKey(text, TextArg(command, 0), value)))
        throw Failure("cannot write the bench file " + path);
}

KV7_HANDLER(RunEnv)
{
    std::optional<std::string> value;
    if (HasArg(command, 1))
        value = TextArg(command, 1);
    session.Environment.emplace_back(TextArg(command, 0), value);
}

KV7_HANDLER(RunQuartusFolder)
{
    if (!session.QuartusChanged) {
        session.QuartusBefore = QuartusFolder();
        session.QuartusChanged = true;
    }
    std::optional<std::string> folder;
    if (command.Args[0].Quoted || TextArg(command, 0) != "none")
        folder = session.Resolve(TextArg(command, 0));
    std::string error;
    if (!SetQuartusFolder(folder, error))
        throw Failure(error);
    LogLine("Quartus folder: %s", folder ? folder->c_str() : "(none)");
}

KV7_HANDLER(RunRemove)
{
    std::string path = session.Resolve(TextArg(command, 0));
    if (!DeleteFileA(path.c_str()))
        throw Failure(Format("cannot remove %s (error %lu)", path.c_str(), GetLastError()));
}
