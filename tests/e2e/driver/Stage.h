/*
 * Setting the desk for a run: a folder holding the program with the libraries and configuration
 * files a test wants beside it, and the bench file the simulated parts read.
 */
#pragma once

#include <optional>
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

// The bench text with `key = value` set: the key's line is replaced where it is, or appended.
// Other lines, comments and what the simulated parts wrote stay as they are.
std::string SetBenchKey(const std::string& text, const std::string& key, const std::string& value);

// The value of the key's last line in the bench text, as the simulated parts read it.
std::optional<std::string> BenchValue(const std::string& text, const std::string& key);

// "a,b,c" into its parts.
std::vector<std::string> SplitList(const std::string& text);
