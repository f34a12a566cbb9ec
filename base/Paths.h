/*
 * Where the program lives. The maker's libraries and the configuration files are found in the
 * executable's folder only, never through a search path.
 */
#pragma once

#include <string>

// Full path of the running executable.
std::string ExePath();

// Folder of the running executable, ending in a backslash.
std::string ExeFolder();

// The folder part of a path, up to and including its last backslash ("" when it has none).
std::string FolderOf(const std::string& path);

bool FileExists(const std::string& path); // a file, not a directory
