// The process entry's promises that the e2e single-instance and closing scripts cannot provoke:
// every escaping exception shown in the application's error box, the mutex released on that
// path too, and 0 returned; a fault in the program's own code told with its offset, and the
// fault's code as the exit code. Each test uses a mutex name of its own, so a real copy of the tool
// running beside the tests is not touched.
#include "app/Application.h"
#include "app/Entry.h"

#include "base/Fault.h"
#include "base/Handles.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

namespace {

std::string TestMutexName(const char* test)
{
    return std::string("KV7_TEST_") + test + "_" + std::to_string(GetCurrentProcessId());
}

bool MutexExists(const std::string& name)
{
    UniqueHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()));
    return static_cast<bool>(mutex);
}

} // namespace

TEST(Entry, EscapingExceptionsAreShownAndTheMutexIsReleased)
{
    BoxRecorder boxes;
    std::string name = TestMutexName("guard");
    EXPECT_EQ(RunSingleInstance(name.c_str(), [] { throw 42; }), 0);
    EXPECT_FALSE(MutexExists(name));
    EXPECT_EQ(RunSingleInstance(name.c_str(), [] { throw std::runtime_error("not ours"); }), 0);
    EXPECT_EQ(RunSingleInstance(name.c_str(), [] { throw TException("Cannot create the main window"); }), 0);
    EXPECT_FALSE(MutexExists(name));

    ASSERT_EQ(boxes.Boxes.size(), 3u);
    for (const TBoxRequest& box : boxes.Boxes)
        EXPECT_EQ(box.Kind, BoxKind::Error);
    // Anything not of the application's exception class is shown with an empty message.
    EXPECT_EQ(boxes.Boxes[0].Text, "");
    EXPECT_EQ(boxes.Boxes[1].Text, "");
    EXPECT_EQ(boxes.Boxes[2].Text, "Cannot create the main window");

    // A box that fails itself (no memory left) does not escape the entry either.
    SetBoxHook([](const TBoxRequest&) -> BoxAnswer { throw std::bad_alloc(); });
    EXPECT_EQ(RunSingleInstance(name.c_str(), [] { throw 42; }), 0);
    EXPECT_FALSE(MutexExists(name));
}

// A fault in the program's own code, a stack overflow above all, is one nothing can recover
// from: the error box names it and where it lies in its module, then the process ends with the
// fault's code and the mutex released.
TEST(Entry, FaultInTheProgramsOwnCodeEndsInTheErrorBoxWithItsOffsetAndExitsWithItsCode)
{
    const struct {
        const char* Mode;
        const char* Start;
        DWORD Code;
    } CASES[] = {
        {"overflow", "Error|Stack overflow at address ", EXCEPTION_STACK_OVERFLOW},
        {"null", "Error|Access violation at address ", EXCEPTION_ACCESS_VIOLATION},
    };
    for (const auto& [mode, start, code] : CASES) {
        TempFolder folder("fatal");
        const std::string name = TestMutexName(mode);
        const std::string boxes = folder / "boxes.txt";
        ChildProcess probe("\"" + BuiltFile("fatal_probe.exe") + "\" " + name + " \"" + boxes + "\" " + mode);
        ASSERT_TRUE(probe.Started()) << "error " << probe.Error;
        EXPECT_EQ(probe.Wait(60000).value_or(0), code) << mode;
        EXPECT_FALSE(MutexExists(name)) << mode;
        const std::vector<std::string> lines = SplitLines(ReadText(boxes));
        ASSERT_EQ(lines.size(), 2u) << mode << ": " << ReadText(boxes);
        EXPECT_EQ(lines[1].rfind(start, 0), 0u) << lines[1];
        // The address less the offset is the base the probe was loaded at.
        unsigned long long address = 0, offset = 0;
        ASSERT_EQ(std::sscanf(lines[1].c_str() + std::strlen(start), "%llX in module 'fatal_probe.exe' (offset %llX).",
                              &address, &offset),
                  2)
            << lines[1];
        EXPECT_EQ(lines[0], "base|" + HexAddress(static_cast<uintptr_t>(address - offset))) << lines[1];
    }
}

TEST(Application, ExceptionFromOneMessageIsShownAndTheMessageCountsAsHandled)
{
    BoxRecorder boxes;
    EXPECT_EQ(CallGuarded([]() -> LRESULT { throw TException("boom"); }, 7), 7);
    EXPECT_EQ(CallGuarded([]() -> LRESULT { throw std::runtime_error("bad state"); }), 0);
    EXPECT_EQ(CallGuarded([]() -> LRESULT { throw 3; }), 0);
    EXPECT_EQ(CallGuarded([]() -> LRESULT { return 5; }), 5);
    ASSERT_EQ(boxes.Boxes.size(), 3u);
    EXPECT_EQ(boxes.Boxes[0].Text, "boom");
    EXPECT_EQ(boxes.Boxes[1].Text, "bad state");
    EXPECT_EQ(boxes.Boxes[2].Text, "");
    EXPECT_EQ(boxes.Boxes[0].Kind, BoxKind::Error);
}
