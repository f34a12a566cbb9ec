/*
 * Looking at another program's windows from outside, the way an automation tool does: find
 * its main window and its message boxes by process, find a control by number or caption, and
 * read its text. Texts are read with WM_GETTEXT under a time limit, because the program may be
 * busy in a long step without pumping messages.
 */
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A control as a script names it: by the program's name for it or its number (Id), or by caption.
struct ControlRef {
    int Id = 0;
    std::string Caption; // empty unless named by caption
    std::string Name;    // for messages
};

// The number of one of the programs' own names for their controls ("ButtonOrbaA"), or 0.
int ControlId(const std::string& name);

// The visible, unowned top-level window of the process that is not a dialog box.
HWND FindMainWindow(DWORD processId);
// The visible top-level windows of the process of one class.
std::vector<HWND> FindTopLevel(DWORD processId, const std::string& className);
std::vector<HWND> FindBoxes(DWORD processId);

// A child of `parent` at any depth, or null.
HWND FindControl(HWND parent, const ControlRef& ref);

std::string ClassOf(HWND window);
// False when the window did not answer in time.
bool ReadText(HWND window, std::string& text);
// The window's rectangle in the client coordinates of `reference`.
RECT RectIn(HWND window, HWND reference);
bool HasVisibleStyle(HWND window);

// A message box as the operator sees it. A press of its button is posted, like every click of
// the driver, because the program may be inside a nested message loop when it reads it.
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
