#include "Entry.h"

#include "Application.h"
#include "FatalFault.h"

#include "base/Box.h"
#include "base/Handles.h"

#include <windows.h>

int RunSingleInstance(const char* mutexName, const std::function<void()>& application)
{
    UniqueHandle mutex;
    try {
        HANDLE created = CreateMutexA(nullptr, TRUE, mutexName);
        DWORD error = GetLastError();
        mutex.Reset(created);
        if (!mutex || error != 0)
            ShowBox(BoxKind::Information, BoxButtons::Ok, ALREADY_RUNNING_TEXT);
        else {
            TFatalFaultBox fatal(mutex.Get());
            application();
        }
    } catch (...) {
        // The last resort shows the application's exception with its message, anything else
        // with none; not even a failure of its own box escapes WinMain.
        ShowCurrentException(false);
    }
    // Released before the handle closes with its owner; fails harmlessly in a second copy,
    // which never owned it.
    if (mutex)
        ReleaseMutex(mutex.Get());
    return 0;
}
