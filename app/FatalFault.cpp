/*
 * The last words are said from a thread of their own, which has a stack of its own, because the
 * faulting thread may have none left. That thread looks up the module and the fault's offset in
 * it (the address alone is no use with the debug file: the exe is loaded at another base at
 * every boot), words the text and shows the box; the box has no owner window, because the
 * window's thread is the one waiting for it and could not answer the messages an owned box
 * sends.
 *
 * A stack overflow is taken when it is first raised, by a vectored handler, and not as an
 * unhandled fault: by the time the system would call the unhandled-exception filter, dispatching
 * the exception has used up the little stack that was left (Wine leaves a few hundred bytes).
 * The handler moves the thread onto a spare stack and lets it go on there to say the last words.
 * It acts on the window's thread only, and the library guard's own handler, asked first, has
 * already taken an overflow inside a maker library.
 */
#include "FatalFault.h"

#include "Application.h"

#include "base/Box.h"
#include "base/Fault.h"

#include <cstdint>

namespace {

HANDLE InstanceMutex = nullptr;
DWORD WindowThread = 0;
TFault Fatal;
volatile LONG Taken = 0;
alignas(16) char SpareStack[64 * 1024];

DWORD WINAPI ShowFatalFault(void*)
{
    LocateFault(Fatal);
    TApplication::ShowException(TException(DescribeFault(Fatal)));
    return 0;
}

[[noreturn]] void ShowAndEnd()
{
    SetBoxOwner(nullptr);
    if (HANDLE thread = CreateThread(nullptr, 0, ShowFatalFault, nullptr, 0, nullptr)) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    if (InstanceMutex) {
        ReleaseMutex(InstanceMutex);
        CloseHandle(InstanceMutex);
    }
    // Nothing of the program can be trusted to shut down normally after this; the system frees
    // the rest. The exit code is the fault's, as the system's own end of a crashed process
    // gives it, so that a script or a deployment tool does not see success.
    TerminateProcess(GetCurrentProcess(), Fatal.Code);
    ExitProcess(Fatal.Code);
}

// Only the first fault is told; a second one meanwhile (on the box's thread, say) is not.
bool Claim(const EXCEPTION_RECORD& record)
{
    if (InterlockedExchange(&Taken, 1) != 0)
        return false;
    RecordFault(record, Fatal);
    return true;
}

LONG WINAPI OnUnhandledFault(EXCEPTION_POINTERS* info)
{
    if (!Claim(*info->ExceptionRecord))
        return EXCEPTION_CONTINUE_SEARCH;
    ShowAndEnd();
}

LONG CALLBACK OnStackOverflow(EXCEPTION_POINTERS* info)
{
    if (info->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW || GetCurrentThreadId() != WindowThread
        || !Claim(*info->ExceptionRecord))
        return EXCEPTION_CONTINUE_SEARCH;
    // Entered as if called: room for a return address (and on 64-bit Windows the callee's home
    // area), the stack aligned as a call leaves it.
    const uintptr_t top = reinterpret_cast<uintptr_t>(SpareStack + sizeof SpareStack);
    CONTEXT& context = *info->ContextRecord;
#if defined(__i386__)
    context.Esp = static_cast<DWORD>(top - 16 - sizeof(void*));
    context.Eip = reinterpret_cast<DWORD>(&ShowAndEnd);
#else
    context.Rsp = top - 64 - sizeof(void*);
    context.Rip = reinterpret_cast<DWORD64>(&ShowAndEnd);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

TFatalFaultBox::TFatalFaultBox(HANDLE instanceMutex)
{
    InstanceMutex = instanceMutex;
    WindowThread = GetCurrentThreadId();
    Previous = SetUnhandledExceptionFilter(OnUnhandledFault);
    OverflowHandler = AddVectoredExceptionHandler(0, OnStackOverflow);
}

TFatalFaultBox::~TFatalFaultBox()
{
    RemoveVectoredExceptionHandler(OverflowHandler);
    SetUnhandledExceptionFilter(Previous);
    InstanceMutex = nullptr;
    WindowThread = 0;
}
