/*
 * How a fault inside a maker library becomes a plain false.
 *
 * The program is built by MinGW for i686, whose C++ exceptions unwind through DWARF tables, not
 * through Windows' structured exceptions: `catch (...)` never sees an access violation, and the
 * compiler has no __try/__except. So the guard is built from what Windows documents, the same
 * for the 64-bit build the tests also run:
 *
 * - A vectored exception handler, installed once for the process. Windows asks vectored
 *   handlers before any frame-based handler on the stack, whatever state the library left the
 *   SEH chain in, and also when a debugger is attached and passes the exception on.
 * - It acts only while a guarded call is in flight on the faulting thread (a TLS slot holds the
 *   innermost frame), and only for hardware faults. A fault in the program's own code, and a
 *   software exception a library raises and catches itself (another compiler's C++ exception, the
 *   debugger's print notification), go on exactly as they would without the guard. A library that
 *   faulted on purpose to catch it in its own __except would have that call cut short; the maker's
 *   libraries are not known to do so.
 * - It resumes by context, not by jumping: it records the fault, sets the CONTEXT's
 *   instruction pointer to the recovery point inside GuardInvoke and its stack and frame
 *   pointers to the values GuardInvoke saved on entry, clears the direction flag, and returns
 *   EXCEPTION_CONTINUE_EXECUTION. The system then restores that context as for any handled
 *   exception, and GuardInvoke's epilogue restores the registers the calling convention keeps
 *   from its own frame, which the library's frames lie below. A longjmp or a C++ throw out of
 *   the handler would leave the system's dispatcher half way and unwind through frames this
 *   toolchain cannot unwind. The library's frames are abandoned; nothing of the program lives
 *   there.
 * - On 32-bit Windows the SEH chain head (fs:[0]) may still point into those abandoned frames;
 *   the recovery point puts it back to its value on entry. After every call the x87 control
 *   word the program had at start is loaded again (after a fault, the x87 stack is reset first,
 *   since the library may have left values on it), on 64-bit Windows the SSE control word too,
 *   and after a stack overflow the stack's guard page is re-armed, so that a second overflow
 *   is caught as well.
 */
#include "GuardedCall.h"

#include <malloc.h>
#include <windows.h>

#include <cstddef>

namespace {

// What GuardInvoke saved on entry; the offsets are the ones its assembly uses.
struct TGuardFrame {
    uintptr_t StackPointer;
    uintptr_t FramePointer;
    uintptr_t SehHead; // 32-bit only: the SEH chain lives on the stack there
    TGuardFrame* Outer;
    bool Faulted;
    TFault* Fault;
};
static_assert(offsetof(TGuardFrame, StackPointer) == 0 && offsetof(TGuardFrame, FramePointer) == sizeof(void*)
              && offsetof(TGuardFrame, SehHead) == 2 * sizeof(void*));

constexpr DWORD DIRECTION_FLAG = 0x400;

uint16_t ReadControlWord()
{
    uint16_t word;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

// Read before main runs, so that they are what the program started with.
const uint16_t START_CONTROL_WORD = ReadControlWord();
#if defined(__x86_64__)
const uint32_t START_MXCSR = __builtin_ia32_stmxcsr();
#endif

} // namespace

// int GuardInvoke(TGuardFrame* frame, void (*body)(void*), void* context): 0 when body returned,
// 1 when the handler resumed at GuardRecover. Every register the calling convention wants kept
// is saved in GuardInvoke's own frame, which the library's frames lie below, so the epilogue
// after the recovery point restores them whatever the library left in the registers.
extern "C" int GuardInvoke(TGuardFrame* frame, void (*body)(void*), void* context) __asm__("kv7GuardInvoke");
extern "C" const char GuardRecover[] __asm__("kv7GuardRecover");

#if defined(__i386__)
__asm__(R"(
    .text
    .globl kv7GuardInvoke
    .globl kv7GuardRecover
kv7GuardInvoke:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  8(%ebp), %eax
    movl  %esp, 0(%eax)
    movl  %ebp, 4(%eax)
    movl  %fs:0, %ecx
    movl  %ecx, 8(%eax)
    pushl 16(%ebp)
    call  *12(%ebp)
    xorl  %eax, %eax
    jmp   1f
kv7GuardRecover:
    movl  8(%ebp), %eax
    movl  8(%eax), %ecx
    movl  %ecx, %fs:0
    movl  $1, %eax
1:
    leal  -12(%ebp), %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");
#elif defined(__x86_64__)
// The 64-bit convention also keeps xmm6-xmm15. The unwind directives let the system walk
// through this frame like any other.
__asm__(R"(
    .text
    .globl kv7GuardInvoke
    .globl kv7GuardRecover
    .def kv7GuardInvoke; .scl 2; .type 32; .endef
    .seh_proc kv7GuardInvoke
kv7GuardInvoke:
    pushq %rbp
    .seh_pushreg %rbp
    pushq %rbx
    .seh_pushreg %rbx
    pushq %rsi
    .seh_pushreg %rsi
    pushq %rdi
    .seh_pushreg %rdi
    pushq %r12
    .seh_pushreg %r12
    pushq %r13
    .seh_pushreg %r13
    pushq %r14
    .seh_pushreg %r14
    pushq %r15
    .seh_pushreg %r15
    subq  $200, %rsp
    .seh_stackalloc 200
    movdqu %xmm6, 32(%rsp)
    .seh_savexmm %xmm6, 32
    movdqu %xmm7, 48(%rsp)
    .seh_savexmm %xmm7, 48
    movdqu %xmm8, 64(%rsp)
    .seh_savexmm %xmm8, 64
    movdqu %xmm9, 80(%rsp)
    .seh_savexmm %xmm9, 80
    movdqu %xmm10, 96(%rsp)
    .seh_savexmm %xmm10, 96
    movdqu %xmm11, 112(%rsp)
    .seh_savexmm %xmm11, 112
    movdqu %xmm12, 128(%rsp)
    .seh_savexmm %xmm12, 128
    movdqu %xmm13, 144(%rsp)
    .seh_savexmm %xmm13, 144
    movdqu %xmm14, 160(%rsp)
    .seh_savexmm %xmm14, 160
    movdqu %xmm15, 176(%rsp)
    .seh_savexmm %xmm15, 176
    .seh_endprologue
    movq  %rsp, 0(%rcx)
    movq  %rbp, 8(%rcx)
    movq  %rdx, %rax
    movq  %r8, %rcx
    call  *%rax
    xorl  %eax, %eax
    jmp   1f
kv7GuardRecover:
    movl  $1, %eax
1:
    movdqu 32(%rsp), %xmm6
    movdqu 48(%rsp), %xmm7
    movdqu 64(%rsp), %xmm8
    movdqu 80(%rsp), %xmm9
    movdqu 96(%rsp), %xmm10
    movdqu 112(%rsp), %xmm11
    movdqu 128(%rsp), %xmm12
    movdqu 144(%rsp), %xmm13
    movdqu 160(%rsp), %xmm14
    movdqu 176(%rsp), %xmm15
    addq  $200, %rsp
    popq  %r15
    popq  %r14
    popq  %r13
    popq  %r12
    popq  %rdi
    popq  %rsi
    popq  %rbx
    popq  %rbp
    ret
    .seh_endproc
)");
#else
#error "the library guard is written for x86 and x86-64"
#endif

namespace {

DWORD FrameSlot();

// Runs on the faulting thread, possibly with little stack left: it only copies a few words.
LONG CALLBACK OnException(EXCEPTION_POINTERS* info)
{
    // Only hardware faults: a software exception goes on as it would without the guard.
    if (!HardwareFaultName(info->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    auto* frame = static_cast<TGuardFrame*>(TlsGetValue(FrameSlot()));
    if (!frame || frame->Faulted)
        return EXCEPTION_CONTINUE_SEARCH;
    frame->Faulted = true;
    RecordFault(*info->ExceptionRecord, *frame->Fault);
    CONTEXT& context = *info->ContextRecord;
#if defined(__i386__)
    context.Eip = reinterpret_cast<DWORD>(GuardRecover);
    context.Esp = frame->StackPointer;
    context.Ebp = frame->FramePointer;
#else
    context.Rip = reinterpret_cast<DWORD64>(GuardRecover);
    context.Rsp = frame->StackPointer;
    context.Rbp = frame->FramePointer;
#endif
    context.EFlags &= ~DIRECTION_FLAG;
    return EXCEPTION_CONTINUE_EXECUTION;
}

DWORD Install()
{
    const DWORD slot = TlsAlloc();
    AddVectoredExceptionHandler(1, OnException);
    return slot;
}

DWORD FrameSlot()
{
    static const DWORD slot = Install();
    return slot;
}

void RestoreControlWord()
{
    // Exception flags a library left pending would fire at our next x87 instruction once the
    // masks allow it; they are cleared before the word goes back.
    __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(START_CONTROL_WORD));
#if defined(__x86_64__)
    __builtin_ia32_ldmxcsr(START_MXCSR);
#endif
}

} // namespace

bool RunGuarded(void (*body)(void*), void* context, TFault& fault)
{
    const DWORD slot = FrameSlot();
    TGuardFrame frame{};
    frame.Outer = static_cast<TGuardFrame*>(TlsGetValue(slot));
    frame.Fault = &fault;
    TlsSetValue(slot, &frame);
    const bool faulted = GuardInvoke(&frame, body, context) != 0;
    TlsSetValue(slot, frame.Outer);
    if (faulted) {
        __asm__ volatile("fninit");
        if (fault.Code == EXCEPTION_STACK_OVERFLOW)
            _resetstkoflw();
        fault.Module = ModuleNameOf(fault.Address);
    }
    RestoreControlWord();
    return !faulted;
}

uint16_t ProgramControlWord() { return START_CONTROL_WORD; }
