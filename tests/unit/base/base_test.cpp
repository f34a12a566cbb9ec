// The ground floor's promises: boxes go through the hook with the kind's caption, trace lines
// stay on one line, input left from a run goes but the frame's stays, handles are released
// when their owner goes.
#include "base/Box.h"
#include "base/Handles.h"
#include "base/PathSpelling.h"
#include "base/PendingInput.h"
#include "base/Pump.h"
#include "base/Trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Box, HookSeesCaptionTextAndButtonsAndAnswers)
{
    std::vector<TBoxRequest> seen;
    SetBoxHook([&](const TBoxRequest& r) {
        seen.push_back(r);
        return r.Buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    });
    EXPECT_EQ(ShowBox(BoxKind::Warning, BoxButtons::YesNo, "Go on?"), BoxAnswer::No);
    EXPECT_EQ(ShowBox(BoxKind::Error, BoxButtons::Ok, "Broken"), BoxAnswer::Ok);
    EXPECT_EQ(ShowBox(BoxKind::Information, BoxButtons::Ok, "Hi"), BoxAnswer::Ok);
    SetBoxHook(nullptr);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Caption, "Warning");
    EXPECT_EQ(seen[1].Caption, "Error");
    EXPECT_EQ(seen[2].Caption, "Information");
    EXPECT_EQ(seen[0].Text, "Go on?");
}

TEST(Trace, QuoteKeepsEveryLineOnOneLine)
{
    EXPECT_EQ(TraceQuote("a\nb\r\"c\"\\\x01"), "\"a\\nb\\r\\\"c\\\"\\\\\\x01\"");
    EXPECT_EQ(TraceColor(RGB(0, 0x80, 0)), "008000");
    EXPECT_EQ(TraceColor(RGB(0xFF, 0, 0x0A)), "FF000A");
}

TEST(Trace, WatchesKeepTheFailuresTracedWhileTheyLive)
{
    TTraceWatch outer;
    TraceFailure("before %d", 1);
    {
        TTraceWatch inner;
        Trace("an event, not a failure");
        TraceFailure("inside");
        EXPECT_EQ(inner.Failures(), std::vector<std::string>{"inside"});
    }
    TraceFailure("after");
    EXPECT_EQ(outer.Failures(), (std::vector<std::string>{"before 1", "inside", "after"}));
}

TEST(Pump, QuitTakenInsideANestedPumpIsKeptForTheMainLoop)
{
    PostQuitMessage(7);
    PumpPendingMessages();
    EXPECT_FALSE(RunOneMessage());
}

TEST(PendingInput, ClicksAndKeysGoTheFramesCloseStays)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT posted[] = {WM_LBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR, WM_NCLBUTTONDOWN, WM_LBUTTONUP, WM_APP};
    for (UINT message : posted)
        PostMessageA(window, message, message == WM_SYSKEYDOWN ? VK_F4 : 0, 0);
    DropPendingInput();
    std::vector<UINT> left;
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
        left.push_back(message.message);
    DestroyWindow(window);
    EXPECT_EQ(left, (std::vector<UINT>{WM_SYSKEYDOWN, WM_NCLBUTTONDOWN, WM_APP}));
}

TEST(Handles, EventIsClosedWithItsOwner)
{
    HANDLE raw;
    {
        UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event);
        raw = event.Get();
    }
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

// Windows' UTF-8 setting makes the ANSI and OEM code pages 65001, which Wine cannot be set to:
// the spelling is given the number, as the program gives it what GetACP and GetOEMCP answer.
TEST(PathSpelling, Utf8CodePageSpellsEveryLetter)
{
    const std::wstring folder = L"C:\\\u68C0\u6D4B\u5DE5\u5177 KV7\\J\u00FCrgen\\";
    const std::string utf8 = "C:\\\xE6\xA3\x80\xE6\xB5\x8B\xE5\xB7\xA5\xE5\x85\xB7 KV7\\J\xC3\xBCrgen\\";
    for (const TSpelledPath& spelled : {SpellPath(folder, CP_UTF8), SpellForBatch(folder, CP_UTF8)}) {
        EXPECT_EQ(spelled.Text, utf8);
        EXPECT_EQ(spelled.Failure, "");
    }
    EXPECT_EQ(SpellPath(L"C:\\Temp\\", CP_UTF8).Text, "C:\\Temp\\");
    // A lone surrogate has no spelling, and a folder that does not exist has no short name.
    EXPECT_NE(SpellPath(L"C:\\x\xD800y\\", CP_UTF8).Failure, "");
}
