// TFormMain's window part against Wine's Win32: what the layout table cannot say (styles, tab
// order, status panels), what the first show does, progress by the timer, hover and result
// outlines, labels, waits that do not spin, and cursors. Where each control sits and what it
// reads is proven on the real program by the e2e window layout, and progress on the screen
// while a run blocks by the e2e painting script.
#include "app/FormMain.h"

#include "base/Handles.h"
#include "tests/support/ControlText.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

void MouseAt(HWND window, int x, int y) { SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

int VisibleHoverShapes(const TFormMain& form)
{
    int n = 0;
    for (const TShape& shape : form.Shape)
        n += shape.Visible;
    return n;
}

} // namespace

TEST(FormMain, StylesTabOrderAndStatusPanels)
{
    TFormMain form;
    LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    HWND memo = form.MemoError.Window;
    const LONG memoStyle = GetWindowLongA(memo, GWL_STYLE);
    EXPECT_EQ(memoStyle & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);

    // Tab order: Exit, A, B, C, D, the list, and round again.
    HWND order[] = {form.ButtonExit, form.ButtonOrba[0], form.ButtonOrba[1], form.ButtonOrba[2],
                    form.ButtonOrba[3], memo, form.ButtonExit};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(GetNextDlgTabItem(form.Handle(), order[i], FALSE), order[i + 1]) << i;

    int parts[2] = {};
    EXPECT_EQ(SendMessageA(form.StatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], 506);
    EXPECT_EQ(parts[1], -1);
}

TEST(FormMain, NothingReportsBeforeTheFirstShowThenReadyInBlue)
{
    TFormMain form;
    form.ShowStatus("Detect FPAG TYPE...", COLOR_RED);
    form.SetProgress(40);
    EXPECT_EQ(form.PanelText[0], "");
    EXPECT_EQ(form.PanelText[1], "");
    EXPECT_EQ(form.StatusColor, COLOR_BLACK);

    // What was asked before the first show does not come out at it.
    form.Show();
    EXPECT_EQ(form.PanelText[0], "Ready");
    EXPECT_EQ(form.StatusColor, COLOR_BLUE);
    EXPECT_EQ(form.PanelText[1], "0");

    // Later shows leave what the run reported.
    form.ShowStatus("ORBA-A NG", COLOR_RED);
    ShowWindow(form.Handle(), SW_HIDE);
    form.Show();
    EXPECT_EQ(form.PanelText[0], "ORBA-A NG");
    EXPECT_EQ(form.StatusColor, COLOR_RED);
}

TEST(FormMain, TimerAdvancesTheEstimateUntilStopped)
{
    TFormMain form;
    form.Show();
    form.StartProgress();
    EXPECT_EQ(form.PanelText[1], "0");
    // As if the run had started 600 of its 1000 seconds ago: 60 % for the next ten seconds,
    // however late the timer comes on a busy machine.
    form.ExpectedRunMs = 1000000;
    form.ProgressStartTick = GetTickCount() - 600000;
    for (DWORD start = GetTickCount(); form.PanelText[1] == "0" && GetTickCount() - start < 5000;)
        form.WaitMs(50);
    EXPECT_EQ(form.PanelText[1], "60");
    EXPECT_EQ(form.LastProgress, 60);

    // A direct report from the run does not move the estimate's own last value.
    form.SetProgress(96);
    EXPECT_EQ(form.LastProgress, 60);

    form.StopProgress();
    EXPECT_EQ(form.PanelText[1], "0");
    form.ProgressStartTick = GetTickCount() - 900000;
    form.WaitMs(300);
    EXPECT_EQ(form.PanelText[1], "0");
}

TEST(FormMain, HoverOutlineFollowsTheConnectorButtons)
{
    TFormMain form;
    MouseAt(form.ButtonOrba[0], 10, 10);
    EXPECT_TRUE(form.Shape[0].Visible);
    EXPECT_EQ(form.Shape[0].PenColor, COLOR_YELLOW);
    EXPECT_EQ(VisibleHoverShapes(form), 1);
    // Another button shows its own outline and leaves the first.
    MouseAt(form.ButtonOrba[3], 10, 10);
    EXPECT_TRUE(form.Shape[3].Visible);
    EXPECT_TRUE(form.Shape[0].Visible);

    // Over the picture they hide too, but not where a visible outline takes the mouse.
    MouseAt(form.ButtonOrba[2], 5, 5);
    MouseAt(form.Handle(), 120, 400); // inside ShapeC
    EXPECT_TRUE(form.Shape[2].Visible);
    form.ShapeOrba[1].Set(true, COLOR_GREEN);
    MouseAt(form.Handle(), 380, 400); // inside ShapeOrbaB, ShapeB hidden
    EXPECT_TRUE(form.Shape[2].Visible);
    MouseAt(form.Handle(), 250, 300); // the bare picture
    EXPECT_EQ(VisibleHoverShapes(form), 0);
    EXPECT_TRUE(form.ShapeOrba[1].Visible);
}

TEST(FormMain, ResultOutlineCarriesItsHintOnlyWhileVisible)
{
    TFormMain form;
    TShape& shape = form.ShapeOrba[2];
    const std::string hint = "Invalid paired loopback pin:\n(3-4) (51-52) ";
    shape.SetHint(hint);
    shape.Set(true, COLOR_RED);

    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = form.Handle();
    tool.uId = shape.ToolId;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageA(form.HintTooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    const RECT outline = {112, 336, 140, 553};
    EXPECT_TRUE(EqualRect(&tool.rect, &outline));
    EXPECT_EQ(std::string(text), hint);

    // Hiding keeps the pen colour and takes the hint's area away.
    shape.Set(false, shape.PenColor);
    EXPECT_EQ(shape.PenColor, COLOR_RED);
    ASSERT_TRUE(SendMessageA(form.HintTooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_TRUE(IsRectEmpty(&tool.rect));
}

TEST(FormMain, LabelsShowWhatTheRunSets)
{
    // The labels share one style, which takes the mouse: the e2e hover script rests on one.
    TFormMain form;
    // A caption longer than the label widens it; a hidden label keeps its colour.
    RECT before, after;
    GetWindowRect(form.LabelResult.Window, &before);
    form.LabelResult.SetCaption("Inspecting... and a caption longer than the label");
    GetWindowRect(form.LabelResult.Window, &after);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_EQ(TextOf(form.LabelResult.Window), form.LabelResult.Caption);
    form.LabelResult.SetState(true, COLOR_GREEN);
    form.LabelResult.SetState(false, COLOR_RED);
    EXPECT_FALSE(IsWindowVisible(form.LabelResult.Window));
    EXPECT_EQ(form.LabelResult.Color, COLOR_GREEN);
    // The list's heading keeps its laid-out size when it is hidden and shown again.
    GetWindowRect(form.LabelError.Window, &before);
    form.LabelError.SetState(false, COLOR_MAROON);
    form.LabelError.SetState(true, COLOR_MAROON);
    GetWindowRect(form.LabelError.Window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(FormMain, WaitsDispatchWithoutSpinning)
{
    TFormMain form;
    DWORD start = GetTickCount();
    form.WaitMs(0);
    EXPECT_GT(GetTickCount() - start, 0u);

    // A message posted before the wait is handled inside it.
    MouseAt(form.ButtonOrba[1], 1, 1);
    PostMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(600, 83));
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelBefore, &userBefore);
    start = GetTickCount();
    form.WaitMs(500);
    DWORD waited = GetTickCount() - start;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelAfter, &userAfter);
    EXPECT_FALSE(form.Shape[1].Visible);
    EXPECT_GT(waited, 500u);

    // Processor time can only come out lower than the wall time on a busy machine, so this
    // bound cannot fail for a wait that blocks.
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    ULONGLONG busyMs = (ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore)) / 10000;
    EXPECT_LT(busyMs, 250u) << "a 500 ms wait kept the processor busy";
}

TEST(FormMain, CursorsFollowTheControlsAndTheRun)
{
    TFormMain form;
    form.Show();
    form.ShapeOrba[0].Set(true, COLOR_GREEN);
    auto cursorOver = [&](HWND under, POINT client) {
        ClientToScreen(form.Handle(), &client);
        SetCursorPos(client.x, client.y);
        SetCursor(nullptr);
        SendMessageA(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    HCURSOR help = LoadCursorA(nullptr, IDC_HELP);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    const POINT surface = {600, 83};
    const POINT onResultOutline = {380, 100};

    EXPECT_EQ(cursorOver(form.ButtonOrba[2], {600, 160}), hand);
    EXPECT_EQ(cursorOver(form.MemoError.Window, {600, 300}), hand);
    EXPECT_EQ(cursorOver(form.Handle(), surface), arrow);
    EXPECT_EQ(cursorOver(form.Handle(), onResultOutline), help);

    form.SetFormCursor(IDC_WAIT);
    EXPECT_EQ(cursorOver(form.Handle(), surface), wait);
    EXPECT_EQ(cursorOver(form.LabelResult.Window, {530, 490}), wait);
    EXPECT_EQ(cursorOver(form.ButtonExit, {600, 540}), hand);
    EXPECT_EQ(cursorOver(form.Handle(), onResultOutline), help);
    form.SetFormCursor(nullptr);
    EXPECT_EQ(cursorOver(form.Handle(), surface), arrow);
}
