/*
 * A structured exception as the program reports it: what happened, at which instruction, in
 * which module (and where in it, once located), and for a memory fault which address was
 * touched how. The text follows the wording operators know from the exception box:
 *     Access violation at address 6A0412F3 in module 'PALDRIX_JTAG.DLL'. Read of address 00000000.
 *     Access violation at address 0041A2B7 in module 'KV7Inspect.exe' (offset 0001A2B7). Write of
 *     address 00000000.
 */
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

struct TFault {
    DWORD Code = 0;
    uintptr_t Address = 0;
    // The module holding Address, by file name alone; empty when no module holds it.
    std::string Module;
    // Where in that module Address lies (Address less the module's base), for a reader of the
    // module's debug file: the system loads a module at another base at every boot (ASLR), so
    // the address alone names no instruction. Only LocateFault fills it.
    bool HasOffset = false;
    uintptr_t Offset = 0;
    // Memory faults only: 0 read, 1 write, 8 execution, and the address touched.
    bool HasAccess = false;
    ULONG_PTR Access = 0;
    uintptr_t AccessAddress = 0;
};

// The name of a hardware fault, the only kind the library guard turns into a failure (a
// memory, instruction, integer or floating-point fault, a stack overflow, a breakpoint);
// null for any other exception code.
const char* HardwareFaultName(DWORD code);

// Fills a fault from what the system handed to an exception handler; Module stays empty,
// because looking it up is not something to do on a stack that may have overflowed.
void RecordFault(const EXCEPTION_RECORD& record, TFault& fault);

// The file name of the module that holds the address, or "" when none does.
std::string ModuleNameOf(uintptr_t address);

// Fills the fault's Module and, where a module holds the address, its Offset.
void LocateFault(TFault& fault);

std::string DescribeFault(const TFault& fault);

// An address as the description writes it: upper-case hex with as many digits as a pointer
// has, 8 in the 32-bit program.
std::string HexAddress(uintptr_t value);

// A fault inside a foreign library, as the exception that carries it to the window's exception
// box: its text is the description above. Library is the file name of the library that was
// called, which the operator is told even where the fault itself lies in no module.
class TLibraryFault : public std::runtime_error {
public:
    TLibraryFault(const TFault& fault, std::string library)
        : std::runtime_error(DescribeFault(fault)), Fault(fault), Library(std::move(library))
    {
    }
    TFault Fault;
    std::string Library;
};
