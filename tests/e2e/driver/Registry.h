/*
 * The machine-wide Quartus folder that the program looks up. A script may change it (to test a
 * machine without Quartus); the session puts the old value back when the script ends.
 */
#pragma once

#include <optional>
#include <string>

// nullopt: the value is absent.
std::optional<std::string> QuartusFolder();

// nullopt removes the value.
bool SetQuartusFolder(const std::optional<std::string>& folder, std::string& error);
