/*
 * The process entry of KV7Inspect.exe. Its arguments are not used: the tool has no command
 * line, settings or persisted state.
 *
 * The board exchanges and the download block the window's thread for seconds on purpose. After
 * five seconds without a message read, Windows would put a ghost titled "(Not Responding)" in
 * the window's place, whose click offers to end the program, and an operator who took that offer
 * would kill a run half-way. Ghosting is turned off for the process before its first window
 * (the single-instance box included), as the call requires. Wine ghosts no window, so nothing
 * there shows the difference.
 */
#include "Application.h"
#include "Entry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    DisableProcessWindowsGhosting();
    return RunSingleInstance(INSTANCE_MUTEX_NAME, RunApplication);
}
