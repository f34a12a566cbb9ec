/*
 * The names every script knows: the window's regions (from the program's own layout table) and
 * the texts the operator reads. A case of a script (--set NAME=value) and a script's own
 * `define <Name> <text>` lines add more.
 */
#pragma once

#include <map>
#include <string>

const std::map<std::string, std::string>& BuiltInNames();
