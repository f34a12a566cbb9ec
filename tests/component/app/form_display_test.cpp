// TFormMain on a monitor of another DPI and in a high-contrast scheme. Wine draws every monitor
// at one DPI and never moves a window to another, so the test tells the window of a move the
// way Windows does (WM_DPICHANGED, with the new DPI and the suggested rectangle); the window's
// opening DPI is proven on the real program by the e2e script at 144 dpi. Wine cannot be put
// into high contrast either, so the scheme is given to the window as the system would report it.
#include "app/FormMain.h"

#include "base/Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

TBounds ClientBounds(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ExpectAt(HWND control, const TBounds& layout, int dpi)
{
    const TBounds actual = ClientBounds(control);
    const TBounds expected = ScaleBounds(layout, dpi);
    EXPECT_EQ(actual.Left, expected.Left) << dpi;
    EXPECT_EQ(actual.Top, expected.Top) << dpi;
    EXPECT_EQ(actual.Width, expected.Width) << dpi;
    EXPECT_EQ(actual.Height, expected.Height) << dpi;
}

int FontHeight(HWND control)
{
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// How many pixels of the colour the window shows in a rectangle of its client area.
int CountOnScreen(HWND window, const RECT& area, COLORREF color)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueMemoryDc copy(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateDIBSection(copy.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(copy.Get(), bitmap.Get());
    HDC dc = GetDC(window);
    BitBlt(copy.Get(), 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    SelectObject(copy.Get(), old);
    const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int n = 0;
    for (int i = 0; i < width * height; ++i)
        n += (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == wanted;
    return n;
}

void ExpectLaidOutAt(TFormMain& form, int dpi)
{
    ExpectAt(form.ButtonExit, BUTTON_EXIT, dpi);
    for (int i = 0; i < 4; ++i)
        ExpectAt(form.ButtonOrba[i], BUTTON_ORBA[i], dpi);
    ExpectAt(form.MemoError.Window, MEMO_ERROR, dpi);
    ExpectAt(form.LabelError.Window, LABEL_ERROR, dpi);
    ExpectAt(form.LabelResult.Window, LABEL_RESULT, dpi);
    ExpectAt(form.StatusBar, STATUS_BAR, dpi);
    int parts[2] = {};
    SendMessageA(form.StatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    EXPECT_EQ(parts[0], ScaleLength(STATUS_PANEL0_WIDTH, dpi));
    EXPECT_EQ(FontHeight(form.ButtonOrba[0]), -ScaleLength(19, dpi));
    EXPECT_EQ(FontHeight(form.MemoError.Window), -ScaleLength(13, dpi));
    EXPECT_EQ(form.ShapeOrba[2].Bounds.Left, ScaleBounds(SHAPE_RESULT[2], dpi).Left);
    EXPECT_EQ(form.ShapeOrba[2].PenWidth, ScaleLength(SHAPE_PEN_WIDTH, dpi));
}

} // namespace

TEST(FormDisplay, AMoveTo144DpiScalesEverythingAndBackTo96RestoresTheLayout)
{
    TFormMain form;
    form.Show();
    RECT opened;
    GetWindowRect(form.Handle(), &opened);
    const RECT suggested = {10, 10, 10 + 1056, 10 + 934};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ExpectLaidOutAt(form, 144);
    RECT moved;
    GetWindowRect(form.Handle(), &moved);
    EXPECT_EQ(moved.left, 10);
    EXPECT_EQ(moved.top, 10);
    // The picture fills its scaled place, not its own 508 x 580 pixels with the surface beside it.
    UpdateWindow(form.Handle());
    const RECT besideTheOldPicture = {600, 700, 700, 860};
    EXPECT_EQ(CountOnScreen(form.Handle(), besideTheOldPicture, GetSysColor(COLOR_INACTIVECAPTION)), 0);

    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&opened));
    ExpectLaidOutAt(form, 96);
    UpdateWindow(form.Handle());
    EXPECT_GT(CountOnScreen(form.Handle(), {510, 560, 520, 580}, GetSysColor(COLOR_INACTIVECAPTION)), 0);
}

TEST(FormDisplay, HighContrastDrawsEveryTextInTheThemesColours)
{
    TFormMain form;
    form.Show();
    TScheme scheme = TFormMain::ReadScheme();
    scheme.HighContrast = true;
    form.ApplyScheme(scheme);
    form.ShowStatus("ORBA-C NG", COLOR_RED);
    form.LabelResult.SetCaption("NG");
    form.LabelResult.SetState(true, COLOR_RED);

    const RECT panel = {2, 2, 200, 17};
    UpdateWindow(form.StatusBar);
    EXPECT_EQ(CountOnScreen(form.StatusBar, panel, COLOR_RED), 0);
    EXPECT_GT(CountOnScreen(form.StatusBar, panel, GetSysColor(COLOR_BTNTEXT)), 5);
    // The labels and the list: the colours they are given to paint with.
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    for (HWND control : {form.LabelResult.Window, form.LabelError.Window, form.MemoError.Window}) {
        SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                     reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(GetTextColor(dc.Get()), GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(GetBkColor(dc.Get()), GetSysColor(COLOR_WINDOW));
    }

    // Out of high contrast the verdict is red again.
    scheme.HighContrast = false;
    form.ApplyScheme(scheme);
    form.ShowStatus("ORBA-C NG", COLOR_RED);
    UpdateWindow(form.StatusBar);
    EXPECT_GT(CountOnScreen(form.StatusBar, panel, COLOR_RED), 5);
    SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                 reinterpret_cast<LPARAM>(form.LabelResult.Window));
    EXPECT_EQ(GetTextColor(dc.Get()), COLOR_RED);
}
