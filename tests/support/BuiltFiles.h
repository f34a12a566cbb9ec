/*
 * The files the build placed beside the test executables: the simulated libraries, the
 * configuration files, the helper programs, and the library variants that each lack one entry
 * point. A test copies the ones it wants into a folder of its own to set up a desk.
 */
#pragma once

#include <string>

constexpr char JTAG_DLL[] = "PALDRIX_JTAG.DLL";
constexpr char DOWNLOAD_DLL[] = "PALDRIX_DOWNLOAD.DLL";

// The full path of a file given relative to the test executables' folder.
std::string BuiltFile(const std::string& relativePath);

// The library of the variant of one kind ("jtag" or "download") that lacks one entry point,
// relative to the test executables' folder.
std::string LackingVariant(const std::string& kind, const std::string& entry);

// Copies the file into the folder under its own name; false when it could not.
bool CopyBuiltFile(const std::string& relativePath, const std::string& toFolder);
