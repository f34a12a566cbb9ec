/*
 * The process entry of KV7Inspect.exe. Its arguments are not used: the tool has no command
 * line, settings or persisted state.
 */
#include "Application.h"
#include "Entry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunSingleInstance(INSTANCE_MUTEX_NAME, RunApplication);
}
