/*
 * Names in scripts, so that a rectangle or an operator's text is written once: ${Name} anywhere
 * in a line stands for the name's text, filled in before the line is read. The driver knows the
 * window's regions (from the program's own layout table) and the texts the operator reads; a
 * case of a script (--set NAME=value) and a script's own `define <Name> <text>` lines add more.
 * Knows nothing of Windows, so it is tested on its own.
 */
#pragma once

#include "Script.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The script's text with every ${Name} filled, `define` lines left blank (line numbers stay).
// An unknown name, a name defined twice or a malformed define is an error of its line.
std::string FillNames(std::string_view text, std::map<std::string, std::string> names,
                      std::vector<ScriptError>& errors);

// The names every script knows, with their texts.
const std::map<std::string, std::string>& BuiltInNames();
