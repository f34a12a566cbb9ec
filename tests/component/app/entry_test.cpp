// The process entry's promises that the e2e single-instance and closing scripts cannot provoke:
// every escaping exception shown in the application's error box, the mutex released on that
// path too, and 0 returned. Each test uses a mutex name of its own, so a real copy of the tool
// running beside the tests is not touched.
#include "app/Application.h"
#include "app/Entry.h"

#include "base/Handles.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

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
// from: the error box names it, then the process ends with 0 and the mutex released.
TEST(Entry, FaultInTheProgramsOwnCodeEndsInTheErrorBoxWithTheMutexReleasedAndExitCode0)
{
    const std::pair<const char*, const char*> CASES[] = {
        {"overflow", "Error|Stack overflow at address "},
        {"null", "Error|Access violation at address "},
    };
    for (const auto& [mode, start] : CASES) {
        TempFolder folder("fatal");
        const std::string name = TestMutexName(mode);
        const std::string boxes = folder / "boxes.txt";
        ChildProcess probe("\"" + BuiltFile("fatal_probe.exe") + "\" " + name + " \"" + boxes + "\" " + mode);
        ASSERT_TRUE(probe.Started()) << "error " << probe.Error;
        EXPECT_EQ(probe.Wait(60000).value_or(~0u), 0u) << mode;
        EXPECT_FALSE(MutexExists(name)) << mode;
        const std::vector<std::string> lines = SplitLines(ReadText(boxes));
        ASSERT_EQ(lines.size(), 1u) << mode << ": " << ReadText(boxes);
        EXPECT_EQ(lines[0].rfind(start, 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(" in module 'fatal_probe.exe'."), std::string::npos) << lines[0];
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
