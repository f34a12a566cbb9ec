/*
 * Setting the desk for a run: a folder holding the program with the libraries and configuration
 * files a test wants beside it.
 */
#pragma once

#include <string>
#include <vector>

inline constexpr char PROGRAM_FILE[] = "KV7Inspect.exe";

struct StageRequest {
    std::string Folder;                              // full path of the folder to fill
    std::string ProgramFile = PROGRAM_FILE;          // the executable to copy
    std::vector<std::string> Libraries{"all"};       // all, none, jtag, download, or a variant's name
    std::vector<std::string> ConfigurationFiles{"all"}; // all, none, or file names
};

// Copies from the driver's folder (and its variants folder) into the request's folder.
bool StageFolder(const StageRequest& request, std::string& error);

