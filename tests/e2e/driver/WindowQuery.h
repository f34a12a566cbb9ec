/*
 * Looking at another program's windows from outside, the way an automation tool does: find
 * its main window and its message boxes by process, find a control by name, number or caption,
 * and read its text, place, visibility and enabled state. Texts are read with WM_GETTEXT under
 * a time limit, because the program may be busy in a long step without pumping messages.
 */
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How a script names a control: by the program's name for it, by its number, or by caption.
struct ControlRef {
    enum class Kind { Name, Id, Caption } How = Kind::Name;
    std::string Text; // the name or the caption
    int Id = 0;
    std::string Describe() const;
};

// A bare word is a name ("ButtonOrbaA") or a number ("#1001"); a quoted one is a caption.
bool ParseControlRef(const std::string& text, bool quoted, ControlRef& ref, std::string& error);

// The visible, unowned top-level window of the process that is not a dialog box.
HWND FindMainWindow(DWORD processId);

// The visible top-level windows of the process of one class.
std::vector<HWND> FindTopLevel(DWORD processId, const std::string& className);

// The visible dialog-class top-level windows of the process (message boxes).
std::vector<HWND> FindBoxes(DWORD processId);

// The children of `parent` at any depth, in the system's order.
std::vector<HWND> ChildrenOf(HWND parent);

// A child of `parent` (at any depth), or null.
HWND FindControl(HWND parent, const ControlRef& ref);

std::string ClassOf(HWND window);

// False when the window did not answer in time.
bool ReadText(HWND window, std::string& text);

// The window's rectangle in the client coordinates of `reference`.
RECT RectIn(HWND window, HWND reference);

bool HasVisibleStyle(HWND window);

// A caption as the operator reads it: "&Yes" is shown as Yes.
std::string WithoutMnemonic(const std::string& caption);
