/*
 * Control texts through GetWindowTextA, which asks the control itself for what it shows.
 */
#include "ControlText.h"

std::string TextOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
