/*
 * Message processing for the waits that keep the window alive while a run works on the
 * user-interface thread. Waits dispatch what is pending, then block until input arrives or
 * their time is up, instead of spinning the processor.
 */
#pragma once

#include <windows.h>

// Dispatches every message pending for this thread without blocking. A WM_QUIT met here is
// remembered for the main loop instead of being lost inside a nested wait. Throws TRunStopped
// (base/RunStop.h) afterwards when one of the messages closed the window under a run.
void PumpPendingMessages();

// True once a WM_QUIT has been taken from the queue by any pump; QuitCode is its exit code.
bool QuitRequested();
int QuitCode();

// Blocks until input for this thread arrives, the handle (if given) is signalled, or
// milliseconds pass. Returns at once if input is already waiting.
void WaitForInput(DWORD milliseconds, HANDLE handle = nullptr);

// Puts what was just painted on the screen before the caller goes on. Wine keeps a window's
// painting in a buffer until the thread next looks at its queue, so a run that blocks right
// after a repaint (in a board exchange or the download) would leave the old picture up. Looking
// for a message that never comes is that look, and it removes nothing from the queue.
void ShowPaintedNow();

// The window whose keyboard navigation (Tab between the buttons) the pumps handle.
void SetDialogWindow(HWND window);

// One message loop pass as the application runs it: blocks for the next message and
// dispatches it. False once WM_QUIT has come (here or in a nested pump).
bool RunOneMessage();
