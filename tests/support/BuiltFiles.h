/*
 * The files the build placed beside the test executables: the simulated libraries, the
 * configuration files, the helper programs, and the library variants that each lack one entry
 * point. A test copies the ones it wants into a folder of its own to set up a desk.
 */
#pragma once

#include <string>

constexpr char JTAG_DLL[] = "PALDRIX_JTAG.DLL";
constexpr char DOWNLOAD_DLL[] = "PALDRIX_DOWNLOAD.DLL";

// Every entry point of each library, as the maker exports it; a variant lacks one of these.
inline constexpr const char* JTAG_ENTRIES[] = {"PALDRIX_JtagOpen", "PALDRIX_JtagClose", "PALDRIX_JtagWrite",
                                               "PALDRIX_JtagRead"};
inline constexpr const char* DOWNLOAD_ENTRIES[] = {
    "PALDRIX_DownloadEEPROMByByteBlaster", "PALDRIX_JtagDownloadByteBlaster", "PALDRIX_JtagDownload",
    "PALDRIX_JtagDownloadChain",           "PALDRIX_Programming",             "PALDRIX_DownloadNios2",
    "PALDRIX_DownloadNios2Ex",             "PALDRIX_Nios2Terminal",           "PALDRIX_FlashProgrammer",
    "PALDRIX_AsDownload",                  "PALDRIX_AsDownloadPV",            "PALDRIX_IsUsbBlasterDriverReady",
    "PALDRIX_GetQuatusVersion",            "PALDRIX_SetQuartusProgrammerPath", "PALDRIX_quartus_pgm",
    "PALDRIX_EnableBlasterII"};

// The full path of a file given relative to the test executables' folder.
std::string BuiltFile(const std::string& relativePath);

// The library of the variant of one kind ("jtag" or "download") that lacks one entry point,
// relative to the test executables' folder.
std::string LackingVariant(const std::string& kind, const std::string& entry);

// Copies the file into the folder under its own name; false when it could not.
bool CopyBuiltFile(const std::string& relativePath, const std::string& toFolder);
