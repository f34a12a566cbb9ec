/*
 * The checks, each in the file of its concern, and what they learn for the later ones: the
 * tool's folder, the Quartus folder and the temporary folder, each found once, the way the
 * tool finds it.
 */
#pragma once

#include "check/Report.h"

#include <string>
#include <string_view>

struct TCheckContext {
    std::wstring ExeFolder;     // with its trailing backslash
    std::wstring QuartusFolder; // "" when the registry names none
    std::wstring TempFolder;    // with its trailing backslash
    std::string TempFolderAnsi; // as the file calls spell it; "" when it cannot be used
};

// A file name the tool spells in ASCII (a library, a configuration), for the UTF-16 calls.
inline std::wstring AsciiWide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// SystemChecks.cpp
void CheckWindows(TReport& report);
void CheckCodePages(TReport& report);

// Session.cpp: whose view the check gives, and a copy of the tool open beside it (true then).
void CheckAccount(TReport& report);
bool CheckRunningTool(TReport& report);

// ToolFolder.cpp
void CheckToolFolder(TReport& report, TCheckContext& context);

// Libraries.cpp: the maker's libraries, read from their files only.
void CheckJtagLibrary(TReport& report, const TCheckContext& context);
void CheckDownloadLibrary(TReport& report, const TCheckContext& context);

// Quartus.cpp
void CheckQuartusValue(TReport& report, TCheckContext& context);
void CheckProgrammer(TReport& report, const TCheckContext& context);

// TempFolder.cpp
void CheckTempFolder(TReport& report, TCheckContext& context);
void CheckBatchLine(TReport& report, const TCheckContext& context);
void CheckCommandInterpreter(TReport& report, const TCheckContext& context);

// Holders.cpp: who holds the tool's report open, "" when nobody is seen to.
std::string HoldersOf(const std::string& path);
// What to do about a programmer left running by an earlier detection.
inline constexpr char END_HELD_PROGRAMMER[] =
    "end that quartus_pgm.exe (Task Manager, Details, or: taskkill /pid <id> /t /f) and try again";

// Configurations.cpp
void CheckConfigurations(TReport& report, const TCheckContext& context);

// RecordsFolder.cpp
void CheckRecordsFolder(TReport& report);

// Board.cpp: these run the maker's code and the programmer; nothing is downloaded.
void CheckFirmware(TReport& report);
void CheckChain(TReport& report, const TCheckContext& context);
void CheckQuartusVersion(TReport& report);
