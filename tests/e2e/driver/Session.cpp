#include "Session.h"

#include "Log.h"
#include "Registry.h"
#include "WindowQuery.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <map>

namespace {

constexpr DWORD WINDOW_POLL_MS = 50;

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

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

bool IsAbsolute(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
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

std::string Session::Resolve(const std::string& path) const
{
    std::string windows = path;
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    return IsAbsolute(windows) ? windows : WorkFolder + windows;
}

std::string Session::BenchPath() const { return WorkFolder + "bench.ini"; }

std::string Session::JournalPath() const { return BenchPath() + ".journal"; }

std::string Session::EnvironmentBlock() const
{
    // Inherited variables first, keyed case-insensitively as the system does.
    std::vector<std::pair<std::string, std::string>> variables;
    std::map<std::string, size_t> index;
    auto set = [&](const std::string& name, const std::optional<std::string>& value) {
        auto found = index.find(Upper(name));
        if (found != index.end()) {
            if (value)
                variables[found->second].second = *value;
            else
                variables[found->second].first.clear();
            return;
        }
        if (value) {
            index[Upper(name)] = variables.size();
            variables.emplace_back(name, *value);
        }
    };
    LPCH inherited = GetEnvironmentStringsA();
    for (const char* entry = inherited; entry && *entry; entry += std::char_traits<char>::length(entry) + 1) {
        std::string text = entry;
        size_t equals = text.find('=', 1); // names like "=C:" start with '='
        if (equals != std::string::npos)
            set(text.substr(0, equals), text.substr(equals + 1));
    }
    if (inherited)
        FreeEnvironmentStringsA(inherited);
    set("KV7_BENCH", BenchPath());
    for (const auto& [name, value] : Environment)
        set(name, value);

    std::string block;
    for (const auto& [name, value] : variables) {
        if (!name.empty())
            block += name + "=" + value + '\0';
    }
    block += '\0';
    return block;
}

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
    if (QuartusChanged) {
        std::string error;
        if (!SetQuartusFolder(QuartusBefore, error))
            LogLine("could not restore the Quartus folder: %s", error.c_str());
        QuartusChanged = false;
    }
}
