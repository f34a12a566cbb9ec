/*
 * kv7drive: runs one e2e script against the real program in a real window.
 *
 *   kv7drive.exe [--out <folder>] [--log <file>] [--desktop <name>] [--set NAME=value]... <script>
 *
 * --set fills ${NAME} in the script's text, so one script runs several cases (CMake makes one
 * test per case from the script's "# cases: NAME=value value ..." line).
 * The script is checked as a whole first; then its commands run one by one, each within its
 * time limit. The first failure ends the run: the log names the script line and why, every
 * program the script started is terminated, and the exit code is 1 (2 for a script that does
 * not parse). Each run works in a fresh temporary folder, removed afterwards when it passed.
 */
#include "Commands.h"
#include "Log.h"
#include "Input.h"
#include "Names.h"
#include "Session.h"

#include "base/Paths.h"

#include "tests/support/Folders.h"
#include "tests/support/TextFiles.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace {

constexpr int EXIT_FAILED = 1;
constexpr int EXIT_BAD_SCRIPT = 2;

struct Options {
    std::string Script;
    std::string Out;
    std::string Log;
    std::string Desktop;
    std::map<std::string, std::string> Values; // --set NAME=value
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    const std::map<std::string, std::string*> valued = {
        {"--out", &options.Out}, {"--log", &options.Log}, {"--desktop", &options.Desktop}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (valued.count(arg) && hasValue) {
            *valued.at(arg) = Backslashed(argv[++i]);
        } else if (arg == "--set" && hasValue) {
            const std::string setting = argv[++i];
            const size_t equals = setting.find('=');
            if (equals == std::string::npos || equals == 0)
                return false;
            options.Values[setting.substr(0, equals)] = setting.substr(equals + 1);
        } else if (options.Script.empty() && arg.rfind("--", 0) != 0) {
            options.Script = arg;
        } else {
            return false;
        }
    }
    return !options.Script.empty();
}

int Run(const Options& options)
{
    if (GetFileAttributesA(options.Script.c_str()) == INVALID_FILE_ATTRIBUTES) {
        LogLine("cannot read the script %s", options.Script.c_str());
        return EXIT_BAD_SCRIPT;
    }
    std::vector<ScriptError> errors;
    std::map<std::string, std::string> names = options.Values;
    names.insert(BuiltInNames().begin(), BuiltInNames().end());
    std::vector<Command> commands = ParseScript(ReadText(options.Script), names, errors);
    CheckScript(commands, errors);
    for (const ScriptError& error : errors)
        LogLine("%s:%d: %s", options.Script.c_str(), error.Line, error.Message.c_str());
    if (!errors.empty())
        return EXIT_BAD_SCRIPT;

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    Session session;
    session.BinFolder = ExeFolder();
    session.WorkFolder = Format("%skv7e2e-%s-%lu\\", temp,
                                std::filesystem::path(options.Script).stem().string().c_str(), GetCurrentProcessId());
    for (const auto& [name, value] : options.Values)
        LogLine("case %s=%s", name.c_str(), value.c_str());
    session.OutFolder = options.Out.empty() ? session.WorkFolder : options.Out + "\\";
    session.Desktop = options.Desktop;
    SetEnvironmentVariableA("KV7_BENCH", session.BenchPath().c_str()); // every program inherits it
    RemoveTree(session.WorkFolder);
    if (!MakeFolders(session.WorkFolder) || !MakeFolders(session.OutFolder)) {
        LogLine("cannot create %s or %s", session.WorkFolder.c_str(), session.OutFolder.c_str());
        return EXIT_FAILED;
    }
    LogLine("script %s, work folder %s", options.Script.c_str(), session.WorkFolder.c_str());
    try {
        // The hand rests away from where the program's window will be, not where the last
        // script left it.
        MoveMouse(POINT{0, 0}, Deadline(session.TimeoutSeconds));
    } catch (const Failure& failure) {
        LogLine("FAILED before the first command: %s", failure.what());
        return EXIT_FAILED;
    }

    int result = 0;
    for (const Command& command : commands) {
        LogLine("line %d: %s", command.Line, command.Source.c_str());
        try {
            RunCommand(session, command);
        } catch (const std::exception& failure) {
            LogLine("FAILED at %s:%d (%s): %s", options.Script.c_str(), command.Line, command.Source.c_str(),
                    failure.what());
            result = EXIT_FAILED;
            break;
        }
    }
    if (session.Cleanup() && result == 0) {
        LogLine("FAILED: a program still ran at the end of the script");
        result = EXIT_FAILED;
    }
    if (result == 0)
        RemoveTree(session.WorkFolder);
    else
        LogLine("work folder kept: %s", session.WorkFolder.c_str());
    LogLine("%s", result == 0 ? "PASSED" : "FAILED");
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: kv7drive [--out <folder>] [--log <file>] [--desktop <name>] [--set NAME=value]... <script>\n");
        return EXIT_BAD_SCRIPT;
    }
    if (!options.Log.empty()) {
        MakeFolders(options.Log.substr(0, options.Log.find_last_of('\\') + 1));
        OpenLog(options.Log);
    }
    // The programs go on a desktop of their own when asked: the system then gives it a screen of
    // its own with title bars drawn, and the driver must sit on it too to see their windows.
    HDESK desktop = nullptr;
    if (!options.Desktop.empty()) {
        desktop = CreateDesktopA(options.Desktop.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (!desktop || !SetThreadDesktop(desktop)) {
            LogLine("cannot use the desktop %s (error %lu)", options.Desktop.c_str(), GetLastError());
            if (desktop)
                CloseDesktop(desktop);
            return EXIT_FAILED;
        }
    }
    int result = Run(options);
    if (desktop)
        CloseDesktop(desktop);
    CloseLog();
    return result;
}
