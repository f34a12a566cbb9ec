#include "Entry.h"

#include "Application.h"
#include "FatalFault.h"

#include "base/Box.h"

#include <windows.h>

int RunSingleInstance(const char* mutexName, const std::function<void()>& application)
{
    HANDLE mutex = nullptr;
    try {
        mutex = CreateMutexA(nullptr, TRUE, mutexName);
        DWORD error = GetLastError();
        if (mutex == nullptr || error != 0)
            ShowBox(BoxKind::Information, BoxButtons::Ok, ALREADY_RUNNING_TEXT);
        else {
            TFatalFaultBox fatal(mutex);
            application();
        }
    } catch (const Exception& error) {
        TApplication::ShowException(error);
    } catch (...) {
        TApplication::ShowException(Exception(""));
    }
    if (mutex) {
        ReleaseMutex(mutex); // fails harmlessly in a second copy, which never owned it
        CloseHandle(mutex);
        mutex = nullptr;
    }
    return 0;
}
