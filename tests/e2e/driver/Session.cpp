#include "Session.h"

#include "Log.h"
#include "WindowQuery.h"

#include <algorithm>

Session::~Session() { Cleanup(); }

std::string Backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

Program& Session::CurrentProgram()
{
    auto found = Programs.find(Current);
    if (found == Programs.end())
        throw Failure("no program started yet");
    return found->second;
}

std::string Session::Resolve(const std::string& path, const std::string& base) const
{
    const std::string windows = Backslashed(path);
    const bool absolute = (windows.size() >= 2 && windows[1] == ':') || (!windows.empty() && windows[0] == '\\');
    return absolute ? windows : (base.empty() ? WorkFolder : base) + windows;
}

HWND Session::MainWindow(const Deadline& deadline)
{
    Debuggee& process = *CurrentProgram().Process;
    HWND window = nullptr;
    PollUntil(deadline, [&] { return (window = FindMainWindow(process.ProcessId())) || process.HasExited(); });
    if (window)
        return window;
    if (process.HasExited())
        throw Failure(Format("%s ended without a window (exit code %lu)", Current.c_str(), process.ExitCode()));
    throw Failure(Format("%s shows no window within %g s", Current.c_str(), deadline.Limit()));
}

bool Session::Cleanup()
{
    bool running = false;
    for (auto& [name, program] : Programs) {
        if (!program.Process->HasExited()) {
            LogLine("%s: still running at the end, terminated", name.c_str());
            program.Process->Terminate();
            running = true;
        }
    }
    Programs.clear();
    return running;
}
