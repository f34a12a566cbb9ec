/*
 * Dropping the operator's clicks and keys that waited for a busy window. A run blocks the
 * user-interface thread for seconds at a time (a board exchange, the download); what the
 * operator clicks meanwhile, on buttons that are disabled, waits in the thread's queue and
 * would reach them once the run has enabled them again, starting runs no one asked for.
 */
#pragma once

// Removes the mouse and keyboard input pending for this thread. Input for the window frame
// stays: a click on the close box, and the system keys (Alt+F4, the window menu), so a close
// asked while the run was busy is not lost. Where no window has the focus, the active one is
// given it.
void DropPendingInput();
