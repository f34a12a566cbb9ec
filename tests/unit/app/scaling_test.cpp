// The window on monitors of 96, 120 and 144 dpi with roomy and small work areas: the layout's
// own pixels at 96 dpi, scaled edges above it, and a window that always fits the work area of
// a laptop's screen with its taskbar. The frames are Wine's at each DPI.
#include "app/Scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TFrame FRAME_96 = {3, 22, 3, 3};
constexpr TFrame FRAME_120 = {3, 27, 3, 3};
constexpr TFrame FRAME_144 = {3, 31, 3, 3};

void ExpectBounds(const TBounds& actual, const TBounds& expected)
{
    EXPECT_EQ(actual.Left, expected.Left);
    EXPECT_EQ(actual.Top, expected.Top);
    EXPECT_EQ(actual.Width, expected.Width);
    EXPECT_EQ(actual.Height, expected.Height);
}

} // namespace

TEST(Scaling, At96DpiEveryRectangleIsTheLayoutsOwnCentredInTheWorkArea)
{
    std::vector<TBounds> all = {IMAGE_KV7, LABEL_RESULT, LABEL_ERROR, MEMO_ERROR, BUTTON_EXIT, STATUS_BAR};
    for (int i = 0; i < 4; ++i)
        all.insert(all.end(), {SHAPE_HOVER[i], SHAPE_RESULT[i], BUTTON_ORBA[i]});
    for (const TBounds& bounds : all)
        ExpectBounds(ScaleBounds(bounds, 96), bounds);
    // Centred in the work area above a 40-pixel taskbar, not on the screen.
    const TWindowFit fit = FitOpening(96, FRAME_96, {0, 0, 1920, 1040});
    EXPECT_EQ(fit.Dpi, 96);
    ExpectBounds(fit.Window, {607, 207, 706, 625});
}

TEST(Scaling, RoomyMonitorsTakeTheirDpiWithEdgesThatStillMeet)
{
    EXPECT_EQ(FitOpening(120, FRAME_120, {0, 0, 1920, 1030}).Dpi, 120);
    EXPECT_EQ(FitOpening(144, FRAME_144, {0, 0, 1920, 1020}).Dpi, 144);
    ExpectBounds(ScaleBounds(STATUS_BAR, 144), {0, 872, 1050, 28});
    ExpectBounds(ScaleBounds(BUTTON_ORBA[1], 120), {658, 114, 200, 50});
    // A result outline stays 8 pixels (at 96 dpi) inside its hover outline; the bar ends at
    // the client area's bottom.
    EXPECT_EQ(ScaleBounds(SHAPE_RESULT[2], 120).Left - ScaleBounds(SHAPE_HOVER[2], 120).Left, 10);
    EXPECT_EQ(ScaleBounds(STATUS_BAR, 120).Bottom(), ScaleLength(CLIENT_HEIGHT, 120));
}

TEST(Scaling, ALaptopScreenCapsTheScaleSoTheWholeWindowFits)
{
    // 1366 x 768 at 150 %: 900 client lines cannot fit; 117 dpi is the most that does.
    TWindowFit fit = FitOpening(144, FRAME_144, {0, 0, 1366, 768});
    EXPECT_EQ(fit.Dpi, 117);
    ExpectBounds(fit.Window, {253, 1, 859, 765});
    EXPECT_GT(ScaleLength(CLIENT_HEIGHT, 118) + 34, 768);
    // The same screen left of the primary one: the same window, on it.
    ExpectBounds(FitOpening(144, FRAME_144, {-1366, 0, 1366, 768}).Window, {-1113, 1, 859, 765});
    // 1366 x 768 at 125 % with its taskbar at the top.
    fit = FitOpening(120, FRAME_120, {0, 40, 1366, 728});
    EXPECT_EQ(fit.Dpi, 111);
    ExpectBounds(fit.Window, {275, 42, 815, 724});
    // Smaller than the layout at 96 dpi: the layout's own size, its title bar in the work area.
    fit = FitOpening(96, FRAME_96, {0, 0, 1024, 560});
    EXPECT_EQ(fit.Dpi, 96);
    EXPECT_EQ(fit.Window.Top, 0);
}

TEST(Scaling, AMoveToASmallScaledMonitorKeepsTheSuggestedPlaceAtTheSizeThatFits)
{
    const TWindowFit fit = FitMoved(144, FRAME_144, {1920, 0, 1366, 768}, {2020, 2, 1059, 934});
    EXPECT_EQ(fit.Dpi, 117);
    ExpectBounds(fit.Window, {2020, 2, 859, 765});
    // Back on a roomy monitor the suggested rectangle is taken as it is.
    ExpectBounds(FitMoved(96, FRAME_96, {0, 0, 1920, 1040}, {100, 50, 706, 625}).Window, {100, 50, 706, 625});
}
