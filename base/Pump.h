/*
 * Message processing for the waits that keep the window alive while a run works on the
 * user-interface thread. Every such wait goes through WaitWithMessages: it dispatches what is
 * pending, then blocks until input arrives or its time is up, instead of spinning the
 * processor.
 */
#pragma once

#include <windows.h>

#include <functional>

// Dispatches every message pending for this thread without blocking. A WM_QUIT met here is
// remembered for the main loop instead of being lost inside a nested wait.
void PumpPendingMessages();

// What one pass of a wait found: whether the wait is over, and the handle (if any) whose
// signal may cut the next block short.
struct TWaitPass {
    bool Done = false;
    HANDLE Handle = nullptr;
};

// The program's one message-wait loop. Each pass dispatches what is pending, then asks pass
// (when given) whether the wait is over. Otherwise the wait ends once more than limitMs have
// passed since its start, measured as the unsigned difference of two tick counts, which
// survives the counter's wrap; until then it blocks in MsgWaitForMultipleObjectsEx on input
// (and the pass's handle) for the time left plus one, never INFINITE and never a wrap to 0.
// True when pass ended the wait, false when the time ran out.
bool WaitWithMessages(DWORD limitMs, const std::function<TWaitPass()>& pass = nullptr);

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
