#include "Session.h"

#include "Log.h"
#include "WindowQuery.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr DWORD WINDOW_POLL_MS = 50;

} // namespace

std::string Format(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

Session::~Session() { Cleanup(); }

Program& Session::CurrentProgram()
{
    Program* program = Find(Current);
    if (!program)
        throw Failure("no program started yet");
    return *program;
}

Program* Session::Find(const std::string& alias)
{
    for (auto& [name, program] : Programs) {
        if (name == alias)
            return &program;
    }
    return nullptr;
}

std::string Session::Resolve(const std::string& path, const std::string& base) const
{
    std::string windows = path;
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    const bool absolute = (windows.size() >= 2 && windows[1] == ':') || (!windows.empty() && windows[0] == '\\');
    return absolute ? windows : (base.empty() ? WorkFolder : base) + windows;
}

std::string Session::BenchPath() const { return WorkFolder + "bench.ini"; }

std::string Session::JournalPath() const { return BenchPath() + ".journal"; }

HWND Session::MainWindow(const Deadline& deadline)
{
    Program& program = CurrentProgram();
    for (;;) {
        HWND window = FindMainWindow(program.Process->ProcessId());
        if (window)
            return window;
        if (program.Process->HasExited())
            throw Failure(Format("%s ended without a window (exit code %lu)", Current.c_str(),
                                 program.Process->ExitCode()));
        if (deadline.Passed())
            throw Failure(Format("%s shows no window within %g s", Current.c_str(), deadline.Limit()));
        Sleep(deadline.StepMs(WINDOW_POLL_MS));
    }
}

void Session::Cleanup()
{
    for (auto& [name, program] : Programs) {
        if (!program.Process->HasExited()) {
            LogLine("%s: still running at the end, terminated", name.c_str());
            program.Process->Terminate();
        }
    }
    Programs.clear();
}
