// The status bar's panels drawn into a memory bitmap and read back pixel by pixel: the bar
// grows from the left, its centred label is white over the bar and blue beside it, and each
// panel covers whatever it showed before.
#include "app/Layout.h"
#include "app/StatusPainter.h"

#include "base/Handles.h"

#include <gtest/gtest.h>

namespace {

constexpr int PANEL_WIDTH = 192;
constexpr int PANEL_HEIGHT = 19;
constexpr COLORREF UNTOUCHED = RGB(0xFF, 0x00, 0xFF);

// A 32-bit top-down bitmap whose pixels the test reads directly.
class Surface {
public:
    Surface()
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = PANEL_WIDTH;
        info.bmiHeader.biHeight = -PANEL_HEIGHT;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        Dc.Reset(CreateCompatibleDC(nullptr));
        void* bits = nullptr;
        Bitmap.Reset(CreateDIBSection(Dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        Pixels = static_cast<const DWORD*>(bits);
        Selected = SelectObject(Dc.Get(), Bitmap.Get());
        UniqueBrush fill(CreateSolidBrush(UNTOUCHED));
        RECT all = {0, 0, PANEL_WIDTH, PANEL_HEIGHT};
        FillRect(Dc.Get(), &all, fill.Get());
        GdiFlush();
    }
    ~Surface() { SelectObject(Dc.Get(), Selected); }

    HDC Get() const { return Dc.Get(); }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        DWORD p = Pixels[y * PANEL_WIDTH + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Counts the pixels of one colour in columns [x0, x1).
    int Count(int x0, int x1, COLORREF colour) const
    {
        int n = 0;
        for (int y = 0; y < PANEL_HEIGHT; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) == colour;
        return n;
    }

private:
    UniqueMemoryDc Dc;
    UniqueBitmap Bitmap;
    const DWORD* Pixels = nullptr;
    HGDIOBJ Selected = nullptr;
};

UniqueFont BarFont()
{
    return UniqueFont(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial"));
}

const RECT PANEL = {0, 0, PANEL_WIDTH, PANEL_HEIGHT};

} // namespace

// The bar does not erase a panel before its painter runs (Wine's does, Windows' need not): a
// panel at 0 must cover the bar it showed before with the bar's own colour.
TEST(ProgressPanelPainter, ZeroOrNoNumberCoversAnEarlierBarWithTheBarsFace)
{
    UniqueFont font = BarFont();
    for (const char* text : {"0", "", "abc", "5x"}) {
        Surface surface;
        PaintProgressPanel(surface.Get(), PANEL, "100", font.Get());
        PaintProgressPanel(surface.Get(), PANEL, text, font.Get());
        EXPECT_EQ(surface.Count(0, PANEL_WIDTH, GetSysColor(COLOR_BTNFACE)), PANEL_WIDTH * PANEL_HEIGHT) << text;
    }
    Surface surface;
    RECT inner = {40, 2, 150, 17};
    for (const char* text : {"-30", "250", "100"})
        PaintProgressPanel(surface.Get(), inner, text, font.Get());
    EXPECT_EQ(surface.Count(0, 40, UNTOUCHED), 40 * PANEL_HEIGHT);
    EXPECT_EQ(surface.Count(150, PANEL_WIDTH, UNTOUCHED), (PANEL_WIDTH - 150) * PANEL_HEIGHT);
    EXPECT_EQ(surface.At(60, 0), UNTOUCHED);
    EXPECT_EQ(surface.At(60, 18), UNTOUCHED);
}

TEST(StatusPanelPainter, TextInItsColourOnTheBarsFaceOverTheWholePanel)
{
    UniqueFont font = BarFont();
    Surface surface;
    // A longer text in another colour first: none of it may remain beside the shorter one.
    PaintStatusPanel(surface.Get(), PANEL, "Inspection Prepare...", COLOR_RED, GetSysColor(COLOR_BTNFACE), font.Get());
    PaintStatusPanel(surface.Get(), PANEL, "Ready", COLOR_BLUE, GetSysColor(COLOR_BTNFACE), font.Get());
    EXPECT_GT(surface.Count(0, 40, COLOR_BLUE), 5);
    EXPECT_EQ(surface.Count(0, PANEL_WIDTH, COLOR_RED), 0);
    EXPECT_EQ(surface.Count(0, PANEL_WIDTH, UNTOUCHED), 0);
    // Drawn from the top-left corner, not centred: the far end is the bar's plain face.
    EXPECT_EQ(surface.Count(100, PANEL_WIDTH, GetSysColor(COLOR_BTNFACE)), (PANEL_WIDTH - 100) * PANEL_HEIGHT);
}
