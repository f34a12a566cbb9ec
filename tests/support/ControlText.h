/*
 * The text a window or control shows, read the way an operator's screen reader would.
 */
#pragma once

#include <windows.h>

#include <string>

std::string TextOf(HWND window);
