// The guard around calls into a foreign library: each kind of hardware fault inside the call
// comes back as false with its description, the thread carries on as if the call had
// returned, and the x87 control word is the program's again after every call.
#include "app/ProgressMath.h"
#include "base/GuardedCall.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int* volatile NULL_POINTER = nullptr;
volatile int ZERO = 0;
volatile int Sink = 0;

uint16_t ControlWord()
{
    uint16_t word;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

// What a library built elsewhere may do: single precision, zero division unmasked.
void ChangeControlWord()
{
    const uint16_t changed = static_cast<uint16_t>(ControlWord() & ~0x0304u);
    __asm__ volatile("fldcw %0" : : "m"(changed));
}

std::string OwnModule()
{
    char path[MAX_PATH];
    std::string name(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return name.substr(name.find_last_of('\\') + 1);
}

// Recurses until the stack runs out; the array keeps each frame large and the call real.
int Deeper(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return ZERO == 0 ? Deeper(depth + 1) + frame[0] : 0;
}

TFault Faulting(void (*body)())
{
    TFault fault;
    EXPECT_FALSE(RunGuarded(body, fault));
    return fault;
}

} // namespace

TEST(GuardedCall, MemoryFaultsNameTheAccessTheAddressAndTheModule)
{
    TFault read = Faulting([] { Sink = *NULL_POINTER; });
    EXPECT_EQ(read.Code, EXCEPTION_ACCESS_VIOLATION);
    EXPECT_EQ(read.Module, OwnModule());
    EXPECT_EQ(DescribeFault(read), "Access violation at address " + HexAddress(read.Address) + " in module '"
                                       + OwnModule() + "'. Read of address " + HexAddress(0) + ".");

    TFault write = Faulting([] { NULL_POINTER[4] = 1; });
    EXPECT_NE(DescribeFault(write).find(". Write of address " + HexAddress(16) + "."), std::string::npos)
        << DescribeFault(write);
}

TEST(GuardedCall, InstructionFaultsAndStackOverflowComeBackAndTheThreadGoesOn)
{
    EXPECT_EQ(Faulting([] { __asm__ volatile("ud2"); }).Code, EXCEPTION_ILLEGAL_INSTRUCTION);
    EXPECT_EQ(Faulting([] { __asm__ volatile("hlt"); }).Code, EXCEPTION_PRIV_INSTRUCTION);
    EXPECT_EQ(Faulting([] { Sink = Sink / ZERO; }).Code, EXCEPTION_INT_DIVIDE_BY_ZERO);
    // Twice: the first overflow must leave the stack able to catch the second.
    EXPECT_EQ(Faulting([] { Sink = Deeper(0); }).Code, EXCEPTION_STACK_OVERFLOW);
    TFault again = Faulting([] { Sink = Deeper(0); });
    EXPECT_EQ(DescribeFault(again).rfind("Stack overflow at address ", 0), 0u) << DescribeFault(again);

    int calls = 0;
    TFault none;
    EXPECT_TRUE(RunGuarded([&] { ++calls; }, none));
    EXPECT_EQ(calls, 1);
}

TEST(GuardedCall, ControlWordIsTheProgramsAfterEveryCall)
{
    const uint16_t start = ControlWord();
    EXPECT_EQ(start, ProgramControlWord());
    // Unguarded, the estimate comes out one millisecond long.
    ChangeControlWord();
    EXPECT_EQ(RunEstimateMs(1.0f), 47600u);
    __asm__ volatile("fldcw %0" : : "m"(start));

    TFault fault;
    EXPECT_TRUE(RunGuarded(ChangeControlWord, fault));
    EXPECT_EQ(ControlWord(), start);
    EXPECT_EQ(RunEstimateMs(1.0f), 47599u);
    EXPECT_FALSE(RunGuarded([] { ChangeControlWord(); Sink = *NULL_POINTER; }, fault));
    EXPECT_EQ(ControlWord(), start);
    EXPECT_EQ(RunEstimateMs(1.0f), 47599u);
}
