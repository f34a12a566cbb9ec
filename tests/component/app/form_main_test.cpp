// TFormMain's window part against Wine's Win32: the window and its controls where the layout
// puts them, what the first show does, status and progress, the progress timer, hover
// outlines, hints, labels, button enabling and waits that do not spin.
#include "app/ControlIds.h"
#include "app/FormMain.h"

#include "base/Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TBounds ChildBounds(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool operator==(const TBounds& a, const TBounds& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

void MouseAt(HWND window, int x, int y) { SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

int VisibleHoverShapes(const TFormMain& form)
{
    int n = 0;
    for (const TShape& shape : form.Shape)
        n += shape.Visible;
    return n;
}

} // namespace

TEST(FormMain, WindowAndControlsAreLaidOutAsDesigned)
{
    TFormMain form;
    HWND window = form.Handle();
    ASSERT_TRUE(window);
    EXPECT_EQ(ClassOf(window), FORM_MAIN_CLASS);
    EXPECT_EQ(TextOf(window), "Paldrix KV7 ORBA Inspection Tool V1.0.8");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 700);
    EXPECT_EQ(client.bottom, 600);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    const struct {
        int Id;
        const char* Class;
        TBounds Bounds;
        const char* Text;
    } controls[] = {
        {ID_BUTTON_ORBA_A, "Button", {526, 35, 160, 40}, "Test ORBA-A"},
        {ID_BUTTON_ORBA_B, "Button", {526, 91, 160, 40}, "Test ORBA-B"},
        {ID_BUTTON_ORBA_C, "Button", {526, 147, 160, 40}, "Test ORBA-C"},
        {ID_BUTTON_ORBA_D, "Button", {526, 203, 160, 40}, "Test ORBA-D"},
        {ID_BUTTON_EXIT, "Button", {526, 523, 160, 40}, "Exit"},
        {ID_LABEL_ERROR, "Static", {528, 256, 122, 16}, "Invalid Lookback Pin:"},
        {ID_LABEL_RESULT, "Static", {528, 488, 110, 19}, ""},
        {ID_MEMO_ERROR, "Edit", {528, 272, 153, 201}, ""},
        {ID_STATUS_BAR, "msctls_statusbar32", {0, 581, 700, 19}, nullptr},
    };
    for (const auto& expected : controls) {
        HWND control = GetDlgItem(window, expected.Id);
        ASSERT_TRUE(control) << expected.Id;
        EXPECT_EQ(ClassOf(control), expected.Class) << expected.Id;
        EXPECT_TRUE(ChildBounds(control) == expected.Bounds) << expected.Id;
        if (expected.Text) {
            EXPECT_EQ(TextOf(control), expected.Text) << expected.Id;
        }
    }
    HWND memo = GetDlgItem(window, ID_MEMO_ERROR);
    LONG memoStyle = GetWindowLongA(memo, GWL_STYLE);
    EXPECT_TRUE(memoStyle & ES_MULTILINE);
    EXPECT_TRUE(memoStyle & ES_READONLY);
    EXPECT_TRUE(memoStyle & WS_VSCROLL);

    // Tab order: Exit, A, B, C, D, the list, and round again.
    HWND order[] = {form.ButtonExit, form.ButtonOrba[0], form.ButtonOrba[1], form.ButtonOrba[2],
                    form.ButtonOrba[3], memo, form.ButtonExit};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(GetNextDlgTabItem(window, order[i], FALSE), order[i + 1]) << i;

    // The status bar's two panels split at 506 and run to its right end.
    int parts[2] = {};
    EXPECT_EQ(SendMessageA(form.StatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], 506);
    EXPECT_EQ(parts[1], -1);
}

TEST(FormMain, FieldsStartWithTheirInitialValues)
{
    TFormMain form;
    EXPECT_GE(form.SpeedFactor, 0.3f);
    EXPECT_LE(form.SpeedFactor, 3.0f);
    EXPECT_TRUE(form.WarnBeforeTest);
    EXPECT_FALSE(form.Busy);
    EXPECT_EQ(form.StatusColor, COLOR_BLACK);
    EXPECT_EQ(form.ExpectedRunMs, 28000u);
    EXPECT_EQ(form.ProgressStartTick, 0u);
    EXPECT_EQ(form.LastProgress, -1);
    EXPECT_TRUE(form.NotShownYet);
    for (const TShape& shape : form.ShapeOrba) {
        EXPECT_FALSE(shape.Visible);
        EXPECT_EQ(shape.PenColor, COLOR_AQUA);
    }
    EXPECT_EQ(VisibleHoverShapes(form), 0);
}

TEST(FormMain, NothingReportsBeforeTheFirstShowThenReadyInBlue)
{
    TFormMain form;
    form.ShowStatus("Detect FPAG TYPE...", COLOR_RED);
    form.SetProgress(40);
    EXPECT_EQ(form.PanelText[0], "");
    EXPECT_EQ(form.PanelText[1], "");
    EXPECT_EQ(form.StatusColor, COLOR_BLACK);

    form.Show();
    EXPECT_FALSE(form.NotShownYet);
    EXPECT_EQ(form.PanelText[0], "Ready");
    EXPECT_EQ(form.StatusColor, COLOR_BLUE);
    EXPECT_EQ(form.PanelText[1], "0");
    EXPECT_EQ(form.LabelResult.Caption, "");

    // Later shows leave what the run reported.
    form.ShowStatus("ORBA-A NG", COLOR_RED);
    ShowWindow(form.Handle(), SW_HIDE);
    form.Show();
    EXPECT_EQ(form.PanelText[0], "ORBA-A NG");
    EXPECT_EQ(form.StatusColor, COLOR_RED);
}

TEST(FormMain, ProgressIsOnTheScreenWhenSetProgressReturns)
{
    TFormMain form;
    form.Show();
    form.WaitMs(100);
    RECT panel;
    SendMessageA(form.StatusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&panel));
    // Near the panel's left end, clear of the centred label.
    POINT probe = {panel.left + 6, (panel.top + panel.bottom) / 2};
    auto pixel = [&] {
        HDC dc = GetDC(form.StatusBar);
        COLORREF colour = GetPixel(dc, probe.x, probe.y);
        ReleaseDC(form.StatusBar, dc);
        return colour;
    };
    form.SetProgress(100);
    EXPECT_EQ(pixel(), COLOR_BLUE);
    form.SetProgress(0);
    EXPECT_NE(pixel(), COLOR_BLUE);
}

TEST(FormMain, TimerAdvancesTheEstimateUntilStopped)
{
    TFormMain form;
    form.Show();
    form.StartProgress();
    EXPECT_EQ(form.LastProgress, -1);
    EXPECT_EQ(form.PanelText[1], "0");
    // As if the run had started 30 of its 50 seconds ago.
    form.ExpectedRunMs = 50000;
    form.ProgressStartTick = GetTickCount() - 30000;
    form.WaitMs(400);
    EXPECT_EQ(form.PanelText[1], "60");
    EXPECT_EQ(form.LastProgress, 60);

    // A direct report from the run does not move the estimate's own last value.
    form.SetProgress(96);
    EXPECT_EQ(form.LastProgress, 60);

    form.StopProgress();
    EXPECT_EQ(form.PanelText[1], "0");
    form.ProgressStartTick = GetTickCount() - 45000;
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

    // Bare window surface between two buttons hides them all.
    MouseAt(form.Handle(), 600, 83);
    EXPECT_EQ(VisibleHoverShapes(form), 0);

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
    EXPECT_EQ(tool.rect.left, 112);
    EXPECT_EQ(tool.rect.top, 336);
    EXPECT_EQ(tool.rect.right, 140);
    EXPECT_EQ(tool.rect.bottom, 553);
    EXPECT_EQ(std::string(text), hint);

    // Hiding keeps the pen colour and takes the hint's area away.
    shape.Set(false, shape.PenColor);
    EXPECT_EQ(shape.PenColor, COLOR_RED);
    ASSERT_TRUE(SendMessageA(form.HintTooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_TRUE(IsRectEmpty(&tool.rect));
}

TEST(FormMain, LabelsAndListShowWhatTheRunSets)
{
    TFormMain form;
    // Labels take the mouse, so moving over them leaves the hover outlines alone.
    for (HWND label : {form.LabelResult.Window, form.LabelError.Window}) {
        POINT inside = {2, 2};
        ClientToScreen(label, &inside);
        EXPECT_EQ(SendMessageA(label, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    }
    form.LabelResult.SetCaption("Inspecting... and a caption longer than the label");
    EXPECT_GT(ChildBounds(form.LabelResult.Window).Width, 110);
    EXPECT_EQ(TextOf(form.LabelResult.Window), form.LabelResult.Caption);
    form.LabelResult.SetState(true, COLOR_GREEN);
    EXPECT_EQ(form.LabelResult.Color, COLOR_GREEN);
    form.LabelResult.SetState(false, COLOR_RED);
    EXPECT_FALSE(IsWindowVisible(form.LabelResult.Window));
    EXPECT_EQ(form.LabelResult.Color, COLOR_GREEN);
    // The list's heading keeps its laid-out size when it is shown or hidden.
    form.LabelError.SetState(false, COLOR_MAROON);
    form.LabelError.SetState(true, COLOR_MAROON);
    EXPECT_TRUE(ChildBounds(form.LabelError.Window) == LABEL_ERROR);

    form.MemoError.AppendLine("[001]pin 003-004");
    form.MemoError.AppendLine("[002]pin 051-052");
    EXPECT_EQ(TextOf(form.MemoError.Window), "[001]pin 003-004\r\n[002]pin 051-052\r\n");
    form.MemoError.Clear();
    EXPECT_EQ(TextOf(form.MemoError.Window), "");
    form.MemoError.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(form.MemoError.Window));
}

TEST(FormMain, EnableButtonsSwitchesAllFiveAndKeepsTheirCaptions)
{
    TFormMain form;
    HWND buttons[] = {form.ButtonOrba[0], form.ButtonOrba[1], form.ButtonOrba[2], form.ButtonOrba[3],
                      form.ButtonExit};
    form.EnableButtons(false);
    for (HWND button : buttons)
        EXPECT_FALSE(IsWindowEnabled(button));
    EXPECT_EQ(TextOf(form.ButtonOrba[1]), "Test ORBA-B");
    EXPECT_EQ(TextOf(form.ButtonExit), "Exit");
    form.EnableButtons(true);
    for (HWND button : buttons)
        EXPECT_TRUE(IsWindowEnabled(button));
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
