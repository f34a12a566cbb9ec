/*
 * Stopping a run when its window closes under it. A run works on the user-interface thread and
 * gets back to the message loop only at its end, so a close the operator confirms is handled
 * inside one of the run's waits or boxes. From then on the run must do nothing more: the wait
 * or box it is in throws TRunStopped as soon as it returns, which unwinds the run to the
 * handler that started it, every holder letting go of what it holds on the way.
 */
#pragma once

// Not an error: it carries no text and is not the program's exception class, so no exception
// box ever shows it. Only the handler that started the run catches it.
struct TRunStopped {};

// The window closes under the run in progress; the run's next wait or box ends it.
void RequestRunStop();

// The stopped run has ended; waits and boxes work normally again.
void ClearRunStop();

bool RunStopRequested();

// Throws TRunStopped once a stop has been requested.
void ThrowIfRunStopped();
