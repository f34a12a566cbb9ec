/*
 * The registry is read for one thing only, the Quartus folder, and only ever for reading: the
 * program runs without registry virtualisation, so asking for more would fail for a standard
 * user, and creating a key would leave an empty one in the machine's registry. The JTAG port
 * (its current folder during the open) and chain detection (the programmer's path) both ask
 * here, so the key and value are named once.
 *
 * The folder is read in UTF-16: in the ANSI code page a folder name with letters that code page
 * lacks reads as "?" and names nothing.
 */
#pragma once

#include <string>

// The Quartus installation folder under HKEY_LOCAL_MACHINE, or "" when the key or value is
// missing or not a string; an expandable string comes with its variables expanded.
std::wstring QuartusInstallFolder();
