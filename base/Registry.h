/*
 * The registry is read for one thing only, the Quartus folder, and only ever for reading: the
 * program runs without registry virtualisation, so asking for more would fail for a standard
 * user, and creating a key would leave an empty one in the machine's registry.
 */
#pragma once

#include <string>

// The string value under HKEY_LOCAL_MACHINE\<key>, or "" when the key or value is missing or
// not a string.
std::string ReadMachineString(const char* key, const char* value);
