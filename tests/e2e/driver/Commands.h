/*
 * The script commands: their names, how many words each takes, and the handlers that run them.
 * The whole script is checked against the table before the first command runs, so a typo fails
 * at once with its line instead of after a minute of testing.
 */
#pragma once

#include "Deadline.h"
#include "Script.h"
#include "Session.h"
#include "WindowQuery.h"

#include <cstdint>
#include <string>
#include <vector>

#define KV7_HANDLER(name)                                                                            \
    void name([[maybe_unused]] Session& session, [[maybe_unused]] const Command& command,                  \
              [[maybe_unused]] const Deadline& deadline)

using CommandHandler = void (*)(Session& session, const Command& command, const Deadline& deadline);

struct CommandSpec {
    const char* Name;
    int MinArgs;
    int MaxArgs; // -1: no upper limit
    const char* Usage;
    CommandHandler Run;
};

// Adds an error for each command that is unknown or has a number of words that does not fit.
void CheckScript(const std::vector<Command>& commands, std::vector<ScriptError>& errors);

// Throws Failure.
void RunCommand(Session& session, const Command& command);

// A command's words as numbers, yes/no, texts, control names and key=value options, with
// failure messages that say which word was wrong.
double NumberArg(const Command& command, size_t index);
int IntegerArg(const Command& command, size_t index);
bool YesNoArg(const Command& command, size_t index);
uint32_t ColorArg(const Command& command, size_t index);
ControlRef ControlArg(const Command& command, size_t index);
bool HasArg(const Command& command, size_t index);
const std::string& TextArg(const Command& command, size_t index);

// A bare `*` stands for "anything" where a command allows it.
bool IsWildcard(const Command& command, size_t index);

// The value of `key=value` among the words from `first` on; `fallback` when absent. Words that
// are not options of the given keys fail.
std::string OptionArg(const Command& command, size_t first, const std::string& key, const std::string& fallback,
                      const std::vector<std::string>& keys);

// Waits for the control in the current program's main window.
HWND Control(Session& session, const ControlRef& ref, const Deadline& deadline);

void StartProgram(Session& session, const std::string& alias, const StartRequest& request);

KV7_HANDLER(RunStage);
KV7_HANDLER(RunBench);
KV7_HANDLER(RunEnv);
KV7_HANDLER(RunStart);
KV7_HANDLER(RunUse);
KV7_HANDLER(RunExpectRunning);
KV7_HANDLER(RunWaitExit);
KV7_HANDLER(RunWaitTrace);
KV7_HANDLER(RunWaitTracePattern);
KV7_HANDLER(RunExpectTrace);
KV7_HANDLER(RunExpectNextTrace);
KV7_HANDLER(RunExpectNoTrace);
KV7_HANDLER(RunExpectWindow);
KV7_HANDLER(RunExpectNoWindow);
KV7_HANDLER(RunClick);
KV7_HANDLER(RunExpectText);
KV7_HANDLER(RunExpectVisible);
KV7_HANDLER(RunExpectEnabled);
KV7_HANDLER(RunExpectRect);
KV7_HANDLER(RunHover);
KV7_HANDLER(RunHoverAt);
KV7_HANDLER(RunWaitHint);
KV7_HANDLER(RunClose);
KV7_HANDLER(RunPress);
KV7_HANDLER(RunKeys);
KV7_HANDLER(RunCloseBy);
KV7_HANDLER(RunWaitJournal);
KV7_HANDLER(RunSkipJournal);
KV7_HANDLER(RunExpectNoFile);
KV7_HANDLER(RunExpectPortClosed);
KV7_HANDLER(RunExpectFreed);
KV7_HANDLER(RunExpectBox);
KV7_HANDLER(RunExpectNoBox);
KV7_HANDLER(RunExpectPixel);
KV7_HANDLER(RunExpectColorIn);
KV7_HANDLER(RunExpectNoColorIn);
KV7_HANDLER(RunScreenshot);
KV7_HANDLER(RunStartBench);
KV7_HANDLER(RunChoose);
KV7_HANDLER(RunExpectBench);
