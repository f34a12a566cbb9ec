// The ground floor's promises: boxes go through the hook with the kind's caption, trace lines
// stay on one line, handles are released when their owner goes.
#include "base/Box.h"
#include "base/Handles.h"
#include "base/Pump.h"
#include "base/Trace.h"

#include <gtest/gtest.h>

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

TEST(Pump, QuitTakenInsideANestedPumpIsKeptForTheMainLoop)
{
    PostQuitMessage(7);
    PumpPendingMessages();
    EXPECT_FALSE(RunOneMessage());
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
