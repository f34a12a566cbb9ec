/*
 * The folder chain detection writes its two files in: the account's temporary folder (TMP,
 * else TEMP, else the profile's or the Windows folder, as GetTempPath chooses), or the
 * program's own folder when the system names none.
 */
#pragma once

#include <string>

// Ends in exactly one backslash. Asked in UTF-16: in the ANSI code page a letter it lacks comes
// back as "?", and names no folder.
std::wstring DetectionFolder();
