/*
 * The script commands: their names, how many words each takes, and what each does. The whole
 * script is checked against this table before the first command runs, so a typo fails at once
 * with its line instead of after a minute of testing.
 */
#pragma once

#include "Deadline.h"
#include "Script.h"
#include "Session.h"

#include <string>
#include <vector>

using CommandHandler = void (*)(Session& session, const Command& command, const Deadline& deadline);

struct CommandSpec {
    const char* Name;
    int MinArgs;
    int MaxArgs; // -1: no upper limit
    const char* Usage;
    CommandHandler Run;
};

const CommandSpec* FindCommand(const std::string& name);

// Every command of the script is known and has a fitting number of words.
std::vector<ScriptError> CheckScript(const std::vector<Command>& commands);

// Runs one command within the session's time limit; throws Failure.
void RunCommand(Session& session, const Command& command);
