// The status bar's panels drawn into a memory bitmap and read back pixel by pixel: the bar
// grows from the left, and its centred label is white over the bar and blue beside it.
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

TEST(ProgressPanelPainter, ZeroOrNoNumberDrawsNothingAndNoNumberDrawsOutsideTheRectangle)
{
    UniqueFont font = BarFont();
    for (const char* text : {"0", "", "abc", "5x"}) {
        Surface surface;
        PaintProgressPanel(surface.Get(), PANEL, text, font.Get());
        EXPECT_EQ(surface.Count(0, PANEL_WIDTH, UNTOUCHED), PANEL_WIDTH * PANEL_HEIGHT) << text;
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

TEST(ProgressPanelPainter, FullBarIsBlueWithAWhiteLabelInTheMiddle)
{
    UniqueFont font = BarFont();
    Surface surface;
    PaintProgressPanel(surface.Get(), PANEL, "100", font.Get());
    EXPECT_EQ(surface.Count(0, PANEL_WIDTH, UNTOUCHED), 0);
    EXPECT_EQ(surface.At(0, 0), COLOR_BLUE);
    EXPECT_EQ(surface.At(PANEL_WIDTH - 1, PANEL_HEIGHT - 1), COLOR_BLUE);
    EXPECT_GT(surface.Count(PANEL_WIDTH / 2 - 20, PANEL_WIDTH / 2 + 20, COLOR_WHITE), 10);
    EXPECT_EQ(surface.Count(0, 40, COLOR_WHITE) + surface.Count(PANEL_WIDTH - 40, PANEL_WIDTH, COLOR_WHITE), 0);
}

TEST(ProgressPanelPainter, HalfBarSplitsTheLabelsColours)
{
    UniqueFont font = BarFont();
    Surface surface;
    PaintProgressPanel(surface.Get(), PANEL, "50", font.Get());
    const int split = PANEL_WIDTH / 2;
    EXPECT_EQ(surface.At(split - 1, 0), COLOR_BLUE);
    EXPECT_EQ(surface.At(split, 0), COLOR_WHITE);
    // "50%" straddles the split: white ink on the bar's side, blue ink on the other.
    EXPECT_GT(surface.Count(split - 20, split, COLOR_WHITE), 3);
    EXPECT_GT(surface.Count(split, split + 20, COLOR_BLUE), 3);
    // Away from the label each side is one plain colour.
    EXPECT_EQ(surface.Count(0, split - 30, COLOR_BLUE), (split - 30) * PANEL_HEIGHT);
    EXPECT_EQ(surface.Count(split + 30, PANEL_WIDTH, COLOR_WHITE), (PANEL_WIDTH - split - 30) * PANEL_HEIGHT);
}

TEST(StatusPanelPainter, TextInItsColourOnTheBarsFace)
{
    UniqueFont font = BarFont();
    Surface surface;
    PaintStatusPanel(surface.Get(), PANEL, "Ready", COLOR_BLUE, font.Get());
    EXPECT_GT(surface.Count(0, 40, COLOR_BLUE), 5);
    EXPECT_GT(surface.Count(0, 40, GetSysColor(COLOR_BTNFACE)), 20);
    // Drawn from the top-left corner, not centred: the far end is untouched.
    EXPECT_EQ(surface.Count(100, PANEL_WIDTH, UNTOUCHED), (PANEL_WIDTH - 100) * PANEL_HEIGHT);
}
