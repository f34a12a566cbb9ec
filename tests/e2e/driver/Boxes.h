/*
 * The program's message boxes as the operator sees them: caption, text and buttons, and a press
 * of one of the buttons. The press is posted, like every click of the driver, because the
 * program may be inside a nested message loop when it reads it.
 */
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct BoxView {
    HWND Window = nullptr;
    std::string Caption;
    std::string Text;
    std::vector<std::string> Buttons; // captions without mnemonics, in the order of their numbers
    std::string ButtonList() const;   // "Yes/No", the way the trace writes them
};

bool ReadBox(HWND box, BoxView& view);

// Posts a click to the button captioned `answer` (case-insensitive). False when there is none.
bool PressBoxButton(const BoxView& view, const std::string& answer);
