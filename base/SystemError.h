/*
 * The system's own description of an error code, for messages and trace lines.
 */
#pragma once

#include <windows.h>

#include <string>

// The system's text for the code without its trailing line end, or "error <n>" when the
// system has none.
std::string SystemErrorText(DWORD error);
