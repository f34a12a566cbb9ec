// Every text of the window against the background it is drawn on, in the system colours of
// Windows' high-contrast themes (Windows 10's High Contrast Black and White; Windows 11's
// Aquatic, Desert, Dusk and Night sky, the files of High Contrast Black, White, #1 and #2): at
// least 4.5:1 by the relative luminance of sRGB colours. Outside high contrast the window's
// own colours stay.
#include "app/Layout.h"
#include "app/TextInk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double Luminance(unsigned long color)
{
    double weighted = 0;
    for (auto [shift, weight] : {std::pair{0, 0.2126}, {8, 0.7152}, {16, 0.0722}}) {
        const double c = static_cast<double>((color >> shift) & 0xFF) / 255.0;
        weighted += weight * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return weighted;
}

double Contrast(unsigned long a, unsigned long b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Window, window text, button face, button text, inactive caption, as 0xRRGGBB. No text sits
// on the caption colour in high contrast; each theme's is the opposite of its window colour,
// so that a text left on it would show.
constexpr unsigned long THEMES[][5] = {
    {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF}, // High Contrast Black
    {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x000000}, // High Contrast White
    {0x202020, 0xFFFFFF, 0x202020, 0xFFFFFF, 0xFFFFFF}, // Aquatic
    {0xFFFAEF, 0x3D3D3D, 0xFFFAEF, 0x202020, 0x202020}, // Desert
    {0x2D3236, 0xFFFFFF, 0x2D3236, 0xB6F6F0, 0xFFFFFF}, // Dusk
    {0x000000, 0xFFFFFF, 0x000000, 0xFFEE32, 0xFFFFFF}, // Night sky
};

TScheme SchemeOf(const unsigned long (&theme)[5], bool highContrast)
{
    TScheme scheme{highContrast, {}};
    for (int slot = 0; slot < 5; ++slot)
        scheme.Colors[slot] = Rgb((theme[slot] >> 16) & 0xFF, (theme[slot] >> 8) & 0xFF, theme[slot] & 0xFF);
    return scheme;
}

// Each text of the window in each colour it is shown in.
constexpr std::pair<TTextPlace, unsigned long> TEXTS[] = {
    {TTextPlace::StatusPanel, COLOR_BLUE}, {TTextPlace::StatusPanel, COLOR_RED},
    {TTextPlace::StatusPanel, COLOR_GREEN}, {TTextPlace::Surface, COLOR_GREEN}, // result PASS
    {TTextPlace::Surface, COLOR_RED},                                           // result NG
    {TTextPlace::Surface, COLOR_MAROON},                                        // list heading
    {TTextPlace::List, COLOR_MAROON},                                           // pin list
};

} // namespace

TEST(TextInk, EveryTextIsReadableInEveryHighContrastTheme)
{
    for (const auto& theme : THEMES) {
        const TScheme scheme = SchemeOf(theme, true);
        for (auto [place, color] : TEXTS) {
            const TInk ink = InkOf(place, color, scheme);
            EXPECT_GE(Contrast(ink.Text, scheme[ink.Background]), 4.5) << std::hex << theme[0] << " " << color;
            EXPECT_EQ(ink.Background, BackgroundOf(place, true));
        }
    }
}

TEST(TextInk, OutsideHighContrastTheWindowsOwnColoursStayOnTheirBackgrounds)
{
    const TScheme scheme = SchemeOf(THEMES[0], false);
    for (auto [place, color] : TEXTS)
        EXPECT_EQ(InkOf(place, color, scheme).Text, color);
    EXPECT_EQ(BackgroundOf(TTextPlace::StatusPanel, false), TSchemeSlot::ButtonFace);
    EXPECT_EQ(BackgroundOf(TTextPlace::Surface, false), TSchemeSlot::InactiveCaption);
    EXPECT_EQ(BackgroundOf(TTextPlace::List, false), TSchemeSlot::Window);
}
