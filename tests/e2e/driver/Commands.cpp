#include "Commands.h"

#include "Log.h"

#include <windows.h>

#include <algorithm>

namespace {

KV7_HANDLER(RunTimeout)
{
    double seconds = NumberArg(command, 0);
    if (seconds <= 0)
        throw Failure("a time limit is more than 0 seconds");
    session.TimeoutSeconds = seconds;
}

// Only for "nothing happens meanwhile" checks; a wait for something uses the wait commands.
KV7_HANDLER(RunSleep) { Sleep(static_cast<DWORD>(NumberArg(command, 0) * 1000)); }

KV7_HANDLER(RunNote) { LogLine("note: %s", TextArg(command, 0).c_str()); }

const std::vector<CommandSpec> TABLE = {
    {"timeout", 1, 1, "timeout <seconds>", RunTimeout},
    {"sleep", 1, 1, "sleep <seconds>", RunSleep},
    {"note", 1, 1, "note <text>", RunNote},

    {"stage", 1, 4, "stage <folder> [libraries=all|none|jtag|download|<variant>,...] [sof=all|none|<file>,...] [program=<file>]", RunStage},
    {"bench", 1, 2, "bench <key> [value]", RunBench},
    {"env", 2, 2, "env <NAME> <value>", RunEnv},

    {"start", 2, 3, "start <alias> <folder> [program=<file>]", RunStart},
    {"use", 1, 1, "use <alias>", RunUse},
    {"expect-running", 0, 0, "expect-running", RunExpectRunning},
    {"wait-exit", 1, 1, "wait-exit <code>", RunWaitExit},

    {"wait-trace", 1, 1, "wait-trace <text>", RunWaitTrace},
    {"wait-trace-re", 1, 1, "wait-trace-re <pattern>", RunWaitTracePattern},
    {"expect-trace", 1, -1, "expect-trace <text> [text...]", RunExpectTrace},
    {"expect-next-trace", 2, 2, "expect-next-trace <pattern> <text>", RunExpectNextTrace},
    {"expect-no-trace", 1, 2, "expect-no-trace <text> [seconds]", RunExpectNoTrace},

    {"expect-window", 1, 2, "expect-window <caption> [client=<w>x<h>]", RunExpectWindow},
    {"expect-no-window", 0, 0, "expect-no-window", RunExpectNoWindow},
    {"click", 1, 1, "click <control>", RunClick},
    {"expect-text", 2, 2, "expect-text <control> <text>", RunExpectText},
    {"expect-visible", 2, 2, "expect-visible <control> yes|no", RunExpectVisible},
    {"expect-enabled", 2, 2, "expect-enabled <control> yes|no", RunExpectEnabled},
    {"expect-rect", 5, 5, "expect-rect <control> <left> <top> <width> <height>", RunExpectRect},
    {"hover", 1, 1, "hover <control>", RunHover},
    {"hover-at", 2, 2, "hover-at <x> <y>", RunHoverAt},
    {"wait-hint", 0, 0, "wait-hint", RunWaitHint},
    {"close", 0, 1, "close [message]", RunClose},

    {"press", 1, 1, "press <control>", RunPress},
    {"keys", 1, 1, "keys <key>[+<key>...]", RunKeys},
    {"close-by", 1, 1, "close-by box|keys|session", RunCloseBy},

    {"wait-journal", 1, 1, "wait-journal <text>", RunWaitJournal},
    {"skip-journal", 0, 0, "skip-journal", RunSkipJournal},
    {"expect-no-file", 1, 1, "expect-no-file <file>", RunExpectNoFile},
    {"expect-port-closed", 0, 0, "expect-port-closed", RunExpectPortClosed},
    {"expect-freed", 1, 1, "expect-freed <library>", RunExpectFreed},

    {"expect-box", 3, 4, "expect-box <caption>|* <text>|* <buttons>|* [answer]", RunExpectBox},
    {"expect-no-box", 0, 1, "expect-no-box [seconds]", RunExpectNoBox},

    {"expect-pixel", 3, 4, "expect-pixel <x> <y> <RRGGBB> [tolerance]", RunExpectPixel},
    {"expect-colour-in", 2, 6, "expect-colour-in <control>|<x y w h> <RRGGBB> [tolerance]", RunExpectColorIn},
    {"expect-no-colour-in", 2, 6, "expect-no-colour-in <control>|<x y w h> <RRGGBB> [tolerance]", RunExpectNoColorIn},
    {"screenshot", 1, 2, "screenshot <file.png> [window|screen|programs]", RunScreenshot},

    {"start-bench", 1, 1, "start-bench <alias>", RunStartBench},
    {"choose", 2, 2, "choose <control> <entry>", RunChoose},
    {"expect-bench", 2, 2, "expect-bench <key> <value>", RunExpectBench},
};

const CommandSpec* FindCommand(const std::string& name)
{
    auto found = std::find_if(TABLE.begin(), TABLE.end(), [&](const CommandSpec& entry) { return name == entry.Name; });
    return found == TABLE.end() ? nullptr : &*found;
}

} // namespace

void CheckScript(const std::vector<Command>& commands, std::vector<ScriptError>& errors)
{
    for (const Command& command : commands) {
        const CommandSpec* entry = FindCommand(command.Name);
        int count = static_cast<int>(command.Args.size());
        if (!entry)
            errors.push_back({command.Line, "unknown command " + command.Name});
        else if (count < entry->MinArgs || (entry->MaxArgs >= 0 && count > entry->MaxArgs))
            errors.push_back({command.Line, std::string("usage: ") + entry->Usage});
    }
}

void RunCommand(Session& session, const Command& command)
{
    const CommandSpec* entry = FindCommand(command.Name);
    if (!entry)
        throw Failure("unknown command " + command.Name);
    entry->Run(session, command, Deadline(session.TimeoutSeconds));
}
