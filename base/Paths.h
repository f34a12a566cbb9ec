/*
 * Where the program lives. The maker's libraries and the configuration files are found in the
 * executable's folder only, never through a search path.
 *
 * The folder is asked in UTF-16: the tool may be unpacked into a folder whose name the ANSI
 * code page cannot spell (a Chinese name on a Western Windows), where GetModuleFileNameA
 * answers "?" for the letters it lacks and so names a folder that does not exist.
 */
#pragma once

#include "base/PathSpelling.h"

#include <string>

// Folder of the running executable, ending in a backslash.
std::wstring ExeFolderW();

// That folder as the ANSI calls and the maker's libraries take it: exactly, else by its short
// name; Failure says why neither will do.
TSpelledPath ExeFolderSpelled();

// The same, as bytes alone ("" when it has no ANSI spelling).
std::string ExeFolder();

bool FileExists(const std::string& path); // a file, not a directory
