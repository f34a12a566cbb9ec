// Every text of the window against the background it is drawn on, in the system colours of
// Windows' high-contrast themes (Windows 10's High Contrast Black and White; Windows 11's
// Aquatic, Desert, Dusk and Night sky, the same theme files as High Contrast Black, White, #1
// and #2): at least 4.5:1, the ratio of relative luminances of sRGB colours that text needs.
// Outside high contrast the window's own colours stay.
#include "app/Layout.h"
#include "app/TextInk.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Channel(unsigned long color, int shift)
{
    const double c = static_cast<double>((color >> shift) & 0xFF) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(unsigned long color)
{
    return 0.2126 * Channel(color, 0) + 0.7152 * Channel(color, 8) + 0.0722 * Channel(color, 16);
}

double Contrast(unsigned long a, unsigned long b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

// From 0xRRGGBB, as the themes are written.
constexpr unsigned long Hex(unsigned long rgb) { return Rgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

struct TTheme {
    const char* Name;
    unsigned long Window, WindowText, ButtonFace, ButtonText, InactiveCaption;
};

// The caption colour is the one slot no text of the window sits on in high contrast; it is
// given as the theme's window colour's opposite, so that a text left on it would show.
constexpr TTheme THEMES[] = {
    {"High Contrast Black", 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF},
    {"High Contrast White", 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x000000},
    {"Aquatic", 0x202020, 0xFFFFFF, 0x202020, 0xFFFFFF, 0xFFFFFF},
    {"Desert", 0xFFFAEF, 0x3D3D3D, 0xFFFAEF, 0x202020, 0x202020},
    {"Dusk", 0x2D3236, 0xFFFFFF, 0x2D3236, 0xB6F6F0, 0xFFFFFF},
    {"Night sky", 0x000000, 0xFFFFFF, 0x000000, 0xFFEE32, 0xFFFFFF},
};

TScheme SchemeOf(const TTheme& theme, bool highContrast)
{
    TScheme scheme;
    scheme.HighContrast = highContrast;
    scheme.Colors[static_cast<int>(TSchemeSlot::Window)] = Hex(theme.Window);
    scheme.Colors[static_cast<int>(TSchemeSlot::WindowText)] = Hex(theme.WindowText);
    scheme.Colors[static_cast<int>(TSchemeSlot::ButtonFace)] = Hex(theme.ButtonFace);
    scheme.Colors[static_cast<int>(TSchemeSlot::ButtonText)] = Hex(theme.ButtonText);
    scheme.Colors[static_cast<int>(TSchemeSlot::InactiveCaption)] = Hex(theme.InactiveCaption);
    return scheme;
}

struct TText {
    const char* Name;
    TTextPlace Place;
    unsigned long Color;
};

// Each text of the window in each colour it is shown in.
constexpr TText TEXTS[] = {
    {"status in progress", TTextPlace::StatusPanel, COLOR_BLUE},
    {"status failed", TTextPlace::StatusPanel, COLOR_RED},
    {"status passed", TTextPlace::StatusPanel, COLOR_GREEN},
    {"result PASS", TTextPlace::Surface, COLOR_GREEN},
    {"result NG", TTextPlace::Surface, COLOR_RED},
    {"list heading", TTextPlace::Surface, COLOR_MAROON},
    {"pin list", TTextPlace::List, COLOR_MAROON},
};

} // namespace

TEST(TextInk, EveryTextIsReadableInEveryHighContrastTheme)
{
    for (const TTheme& theme : THEMES) {
        const TScheme scheme = SchemeOf(theme, true);
        for (const TText& text : TEXTS) {
            const TInk ink = InkOf(text.Place, text.Color, scheme);
            EXPECT_GE(Contrast(ink.Text, scheme[ink.Background]), 4.5) << theme.Name << ", " << text.Name;
            EXPECT_EQ(ink.Background, BackgroundOf(text.Place, true)) << theme.Name << ", " << text.Name;
        }
    }
}

TEST(TextInk, OutsideHighContrastTheWindowsOwnColoursStayOnTheirBackgrounds)
{
    const TScheme scheme = SchemeOf(THEMES[0], false);
    for (const TText& text : TEXTS)
        EXPECT_EQ(InkOf(text.Place, text.Color, scheme).Text, text.Color) << text.Name;
    EXPECT_EQ(BackgroundOf(TTextPlace::StatusPanel, false), TSchemeSlot::ButtonFace);
    EXPECT_EQ(BackgroundOf(TTextPlace::Surface, false), TSchemeSlot::InactiveCaption);
    EXPECT_EQ(BackgroundOf(TTextPlace::List, false), TSchemeSlot::Window);
}
