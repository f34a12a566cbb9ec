/*
 * The driver's script language: one command per line, words separated by blanks, texts in
 * double quotes with C escapes (\n, \r, \t, \\, \", \', \xHH) or in single quotes taken as they
 * stand (for patterns and texts full of double quotes), '#' at the start of a word starts a
 * comment unless a digit follows it (#102 names a control by its number).
 * ${Name} anywhere in a line stands for the name's text, filled in before the line is read, so
 * that a rectangle or an operator's text is written once; `define <Name> <text>` adds a name.
 * Parsing knows nothing of Windows, so it is tested on its own.
 */
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct Token {
    std::string Text;
    bool Quoted = false; // a quoted word is always a text, never a name or a number
};

struct Command {
    int Line = 0;        // 1-based line of the script
    std::string Source;  // the line as written, for the log and failure messages
    std::string Name;
    std::vector<Token> Args;
};

struct ScriptError {
    int Line = 0;
    std::string Message;
};

// Splits one line into words. False (with a message) on an unterminated quote or a bad escape.
bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error);

// Every non-empty, non-comment line but a define becomes one command. Lines that do not split,
// unknown names, a name defined twice and a malformed define are errors of their lines.
std::vector<Command> ParseScript(std::string_view text, std::map<std::string, std::string> names,
                                 std::vector<ScriptError>& errors);

// "key=value" words after the fixed arguments.
bool SplitOption(const Token& token, std::string& key, std::string& value);
