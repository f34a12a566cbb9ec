/*
 * Dispatching the user-interface thread's messages, for the application's message loop and
 * for the waits nested inside a run: one dispatch for both, with the keyboard navigation
 * between the window's buttons, and one memory of WM_QUIT.
 */
#pragma once

#include <windows.h>

// Dispatches every message pending for this thread without blocking. A WM_QUIT met here is
// remembered for the main loop instead of being lost inside a nested wait.
void PumpPendingMessages();

// The window whose keyboard navigation (Tab between the buttons) the dispatch handles.
void SetDialogWindow(HWND window);

// One message loop pass as the application runs it: blocks for the next message and
// dispatches it. False once WM_QUIT has come (here or in a nested pump).
bool RunOneMessage();
