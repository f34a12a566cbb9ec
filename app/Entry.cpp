#include "Entry.h"

#include "Application.h"
#include "FatalFault.h"

#include "base/Box.h"
#include "base/Handles.h"

#include <windows.h>

namespace {

// The last resort: the application's exception with its message, anything else with none. A
// failure of the box itself (no memory left to show it) must not escape WinMain either.
void ShowEscapedException() noexcept
{
    try {
        try {
            throw;
        } catch (const TException& error) {
            TApplication::ShowException(error);
        } catch (...) {
            TApplication::ShowException(TException(""));
        }
    } catch (...) {
    }
}

} // namespace

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
        ShowEscapedException();
    }
    // Released before the handle closes with its owner; fails harmlessly in a second copy,
    // which never owned it.
    if (mutex)
        ReleaseMutex(mutex.Get());
    return 0;
}
