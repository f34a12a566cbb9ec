// TFormMain on a monitor of another DPI and in a high-contrast scheme. Wine draws every monitor
// at one DPI and moves no window to another, so the test tells the window of a move as Windows
// does (WM_DPICHANGED: the new DPI, the suggested rectangle); the DPI it opens at is proven on
// the real program by the e2e script at 144 dpi. Wine cannot be put into high contrast either,
// so the scheme is given to the window as the system would report it.
#include "app/FormMain.h"

#include "base/Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

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
    SelectObject(copy.Get(), old);
    const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int n = 0;
    for (int i = 0; i < width * height; ++i)
        n += (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == wanted;
    return n;
}

void ExpectLaidOutAt(TFormMain& form, int dpi)
{
    const std::pair<HWND, TBounds> controls[] = {
        {form.ButtonExit, BUTTON_EXIT},        {form.ButtonOrba[3], BUTTON_ORBA[3]},
        {form.MemoError.Window, MEMO_ERROR},   {form.LabelError.Window, LABEL_ERROR},
        {form.LabelResult.Window, LABEL_RESULT}, {form.StatusBar, STATUS_BAR},
    };
    for (auto [control, layout] : controls) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
        const TBounds at = ScaleBounds(layout, dpi);
        const RECT expected = {at.Left, at.Top, at.Right(), at.Bottom()};
        EXPECT_TRUE(EqualRect(&r, &expected)) << dpi << " dpi: " << r.left << "," << r.top << " " << r.right;
    }
    int parts[2] = {};
    SendMessageA(form.StatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    EXPECT_EQ(parts[0], ScaleLength(STATUS_PANEL0_WIDTH, dpi));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.ButtonOrba[0], WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -ScaleLength(19, dpi));
    EXPECT_EQ(form.ShapeOrba[2].Bounds.Top, ScaleBounds(SHAPE_RESULT[2], dpi).Top);
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
    // The picture fills its scaled place, not its own 508 x 580 pixels with the surface beside.
    UpdateWindow(form.Handle());
    const COLORREF surface = GetSysColor(COLOR_INACTIVECAPTION);
    EXPECT_EQ(CountOnScreen(form.Handle(), {600, 700, 700, 860}, surface), 0);

    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&opened));
    ExpectLaidOutAt(form, 96);
    UpdateWindow(form.Handle());
    EXPECT_GT(CountOnScreen(form.Handle(), {510, 560, 520, 580}, surface), 0);
}

TEST(FormDisplay, HighContrastDrawsEveryTextInTheThemesColours)
{
    TFormMain form;
    form.Show();
    TScheme scheme = TFormMain::ReadScheme();
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    for (bool highContrast : {true, false}) {
        scheme.HighContrast = highContrast;
        form.ApplyScheme(scheme);
        form.ShowStatus(highContrast ? "ORBA-C NG" : "ORBA-D NG", COLOR_RED);
        form.LabelResult.SetState(true, COLOR_RED);
        UpdateWindow(form.StatusBar);
        const RECT panel = {2, 2, 200, 17};
        EXPECT_EQ(CountOnScreen(form.StatusBar, panel, COLOR_RED) > 5, !highContrast);
        EXPECT_EQ(CountOnScreen(form.StatusBar, panel, GetSysColor(COLOR_BTNTEXT)) > 5, highContrast);
        for (HWND control : {form.LabelResult.Window, form.LabelError.Window, form.MemoError.Window}) {
            SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                         reinterpret_cast<LPARAM>(control));
            if (highContrast) {
                EXPECT_EQ(GetTextColor(dc.Get()), GetSysColor(COLOR_WINDOWTEXT));
                EXPECT_EQ(GetBkColor(dc.Get()), GetSysColor(COLOR_WINDOW));
            } else {
                EXPECT_NE(GetTextColor(dc.Get()), GetSysColor(COLOR_WINDOWTEXT));
            }
        }
    }
}
