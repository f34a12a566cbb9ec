/*
 * Getting what was just painted onto the screen while the user-interface thread stays busy.
 */
#pragma once

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
