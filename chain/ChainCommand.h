/*
 * The names and the one command line that chain detection writes: where its two temporary
 * files go, where the programmer lives, the batch line that runs it with its output redirected
 * into the report, and the command line that starts the batch file.
 */
#pragma once

#include <string>

inline constexpr char BATCH_FILE_NAME[] = "KV7_Batch.bat";
inline constexpr char REPORT_FILE_NAME[] = "KV7_Output.txt";
inline constexpr wchar_t PROGRAMMER_FILE_NAME[] = L"quartus_pgm.exe";

// The folders are taken in UTF-16 and only spelled in a code page for the reader of each path
// (base/PathSpelling.h).

// The folder with exactly one trailing backslash added when it has none.
std::wstring WithTrailingBackslash(const std::wstring& folder);

// Quartus folder + "\bin\" + the programmer, joined as they stand (no separator repair).
std::wstring ProgrammerPath(const std::wstring& quartusFolder);

// A path as the batch file must spell it: in double quotes, with every % doubled, when it
// holds a blank or a character cmd gives a meaning (& | < > ^ ( ) % ! , ; =); otherwise
// unchanged, byte for byte. An account or folder name may hold any of them.
std::string BatchFileWord(const std::string& path);

// The batch file's path as the command line that starts it: quoted under the same rule, but
// every % left single.
std::string CommandLineWord(const std::string& path);

// "<program> <arguments>  >  <report>": the program's output redirected into the report, as the
// batch line redirects it, both paths spelled as BatchFileWord spells them.
std::string RedirectedLine(const std::string& program, const std::string& arguments, const std::string& report);

// "<programmer> -c USB-Blaster[USB-<cable>] -a  >  <report>", nothing after it, both paths
// spelled as BatchFileWord spells them. The paths come in the batch file's code page already;
// the quoting looks at ASCII bytes only.
std::string BatchLine(const std::string& programmer, int cable, const std::string& report);
