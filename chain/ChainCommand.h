/*
 * The names and the one command line that chain detection writes: where its two temporary
 * files go, where the programmer lives, and the batch line that runs it with its output
 * redirected into the report.
 */
#pragma once

#include <string>

inline constexpr char BATCH_FILE_NAME[] = "KV7_Batch.bat";
inline constexpr char REPORT_FILE_NAME[] = "KV7_Output.txt";
inline constexpr char PROGRAMMER_FILE_NAME[] = "quartus_pgm.exe";

// The folder with exactly one trailing backslash added when it has none.
std::string WithTrailingBackslash(const std::string& folder);

// Quartus folder + "\bin\" + the programmer, joined as they stand (no separator repair).
std::string ProgrammerPath(const std::string& quartusFolder);

// A path as cmd must see it: in double quotes when it holds a blank, else unchanged, byte for
// byte. Without the quotes a blank (a user name with one gives the temporary folder one)
// splits the path and the programmer never runs.
std::string QuotedIfBlank(const std::string& path);

// "<programmer> -c USB-Blaster[USB-<cable>] -a  >  <report>", nothing after it.
std::string BatchLine(const std::string& programmer, int cable, const std::string& report);
