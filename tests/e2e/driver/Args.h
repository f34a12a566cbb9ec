/*
 * Reading a command's words as numbers, yes/no, texts, control names and key=value options,
 * with failure messages that say which word was wrong.
 */
#pragma once

#include "Script.h"
#include "WindowQuery.h"

#include <cstdint>
#include <string>

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
