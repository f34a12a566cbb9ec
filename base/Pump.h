/*
 * Message processing for the waits that keep the window alive while a run works on the
 * user-interface thread. Waits dispatch what is pending, then block until input arrives or
 * their time is up, instead of spinning the processor.
 */
#pragma once

#include <windows.h>

// Dispatches every message pending for this thread without blocking. A WM_QUIT met here is
// remembered for the main loop instead of being lost inside a nested wait.
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

// Changes shown back to back, with nothing between them that blocks (a verdict in the status
// bar, the result label and the connector's outline), reach the screen together: while a batch
// lives, ShowPaintedNow only notes that something was painted, and the last batch to go puts it
// on the screen. Each change is still painted when it is made, in its order.
class TPaintBatch {
public:
    TPaintBatch();
    ~TPaintBatch();
    TPaintBatch(const TPaintBatch&) = delete;
    TPaintBatch& operator=(const TPaintBatch&) = delete;
};

// The window whose keyboard navigation (Tab between the buttons) the pumps handle.
void SetDialogWindow(HWND window);

// One message loop pass as the application runs it: blocks for the next message and
// dispatches it. False once WM_QUIT has come (here or in a nested pump).
bool RunOneMessage();
