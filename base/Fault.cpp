#include "Fault.h"

#include <cstdio>

namespace {

constexpr DWORD STATUS_FLOAT_MULTIPLE_FAULTS_CODE = 0xC00002B4;
constexpr DWORD STATUS_FLOAT_MULTIPLE_TRAPS_CODE = 0xC00002B5;

const char* AccessName(ULONG_PTR access)
{
    switch (access) {
    case 1: return "Write";
    case 8: return "Execution";
    default: return "Read";
    }
}

} // namespace

const char* HardwareFaultName(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: return "Access violation";
    case EXCEPTION_IN_PAGE_ERROR: return "In-page error";
    case EXCEPTION_ILLEGAL_INSTRUCTION: return "Illegal instruction";
    case EXCEPTION_PRIV_INSTRUCTION: return "Privileged instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return "Integer divide by zero";
    case EXCEPTION_INT_OVERFLOW: return "Integer overflow";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return "Array bounds exceeded";
    case EXCEPTION_DATATYPE_MISALIGNMENT: return "Datatype misalignment";
    case EXCEPTION_STACK_OVERFLOW: return "Stack overflow";
    case EXCEPTION_BREAKPOINT: return "Breakpoint";
    case EXCEPTION_FLT_DIVIDE_BY_ZERO: return "Floating point division by zero";
    case EXCEPTION_FLT_INVALID_OPERATION: return "Invalid floating point operation";
    case EXCEPTION_FLT_OVERFLOW: return "Floating point overflow";
    case EXCEPTION_FLT_UNDERFLOW: return "Floating point underflow";
    case EXCEPTION_FLT_INEXACT_RESULT: return "Floating point inexact result";
    case EXCEPTION_FLT_DENORMAL_OPERAND: return "Denormal floating point operand";
    case EXCEPTION_FLT_STACK_CHECK: return "Floating point stack check";
    case STATUS_FLOAT_MULTIPLE_FAULTS_CODE:
    case STATUS_FLOAT_MULTIPLE_TRAPS_CODE: return "Floating point fault";
    default: return nullptr;
    }
}

void RecordFault(const EXCEPTION_RECORD& record, TFault& fault)
{
    fault.Code = record.ExceptionCode;
    fault.Address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
    fault.HasAccess = (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION
                       || record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR)
                      && record.NumberParameters >= 2;
    if (fault.HasAccess) {
        fault.Access = record.ExceptionInformation[0];
        fault.AccessAddress = record.ExceptionInformation[1];
    }
}

namespace {

// The module that holds the address; null when none does. A module's handle is its base.
HMODULE ModuleAt(uintptr_t address)
{
    HMODULE module = nullptr;
    // Without UNCHANGED_REFCOUNT the lookup would take a reference the caller has to drop.
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

std::string FileNameOf(HMODULE module)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string name(path, length);
    size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

} // namespace

std::string ModuleNameOf(uintptr_t address)
{
    const HMODULE module = ModuleAt(address);
    return module ? FileNameOf(module) : std::string();
}

void LocateFault(TFault& fault)
{
    const HMODULE module = ModuleAt(fault.Address);
    fault.Module = module ? FileNameOf(module) : std::string();
    fault.HasOffset = !fault.Module.empty();
    fault.Offset = fault.HasOffset ? fault.Address - reinterpret_cast<uintptr_t>(module) : 0;
}

std::string HexAddress(uintptr_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", static_cast<int>(2 * sizeof value),
                  static_cast<unsigned long long>(value));
    return text;
}

std::string DescribeFault(const TFault& fault)
{
    const char* name = HardwareFaultName(fault.Code);
    char unnamed[24];
    std::snprintf(unnamed, sizeof unnamed, "Exception %08lX", static_cast<unsigned long>(fault.Code));
    std::string out = name ? name : unnamed;
    out += " at address " + HexAddress(fault.Address);
    if (fault.HasOffset)
        out += " in module '" + fault.Module + "' (offset " + HexAddress(fault.Offset) + ")";
    else if (!fault.Module.empty())
        out += " in module '" + fault.Module + "'";
    out += ".";
    if (fault.HasAccess)
        out += std::string(" ") + AccessName(fault.Access) + " of address " + HexAddress(fault.AccessAddress) + ".";
    return out;
}
