// The progress estimate, the run-time product, the speed factor and the progress panel's
// geometry, checked against numbers worked out by hand: they are what the operator watches.
#include "app/ProgressMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(ProgressEstimate, FiftySecondRunRisesByOneAndStopsAtTheCap)
{
    // What a 100 ms timer shows over a minute, repainting only when the number rises.
    std::vector<std::pair<uint32_t, int32_t>> shown;
    int32_t last = -1;
    for (uint32_t elapsed = 0; elapsed <= 60000; elapsed += 100) {
        if (auto percent = ProgressStep(elapsed, 50000, last))
            shown.emplace_back(elapsed, last = *percent);
    }
    ASSERT_EQ(shown.size(), 96u); // 0 to 95, once each
    EXPECT_EQ(shown[0], std::make_pair(0u, 0));
    EXPECT_EQ(shown[1], std::make_pair(500u, 1));
    EXPECT_EQ(shown[50], std::make_pair(25000u, 50));
    EXPECT_EQ(shown[95], std::make_pair(47500u, 95));
}

TEST(ProgressEstimate, NeverGoesDownNorRepeatsAndWrapsLikeTheTickCounter)
{
    EXPECT_FALSE(ProgressStep(1000, 50000, 50).has_value());
    EXPECT_FALSE(ProgressStep(25000, 50000, 50).has_value());
    EXPECT_FALSE(ProgressStep(100000, 50000, 95).has_value());
    // A direct SetProgress(96) by the run does not move LastProgress; the cap still rules.
    EXPECT_EQ(ProgressStep(49000, 50000, 90), 95);
    // elapsed x 100 wraps past 2^32; an estimate of zero counts as overdue.
    EXPECT_EQ(ProgressStep(42949673u, 1, -1), 4);
    EXPECT_EQ(ProgressStep(0, 0, -1), 95);
}

TEST(RunEstimate, ProductIsTruncatedInExtendedPrecision)
{
    EXPECT_EQ(RunEstimateMs(1.0f), 47599u);
    EXPECT_EQ(RunEstimateMs(0.3f), 14280u);
    EXPECT_EQ(RunEstimateMs(3.0f), 142799u);
    EXPECT_EQ(UnscaledRunEstimateMs(1.0f), 28000u);
    EXPECT_EQ(UnscaledRunEstimateMs(0.3f), 8400u);
}

TEST(Calibration, FactorIsElapsedOver156AndKeptBetweenTheLimits)
{
    EXPECT_EQ(RunEstimateMs(CalibrationFactor(156)), 47599u);
    EXPECT_FLOAT_EQ(CalibrationFactor(78), 0.5f);
    EXPECT_FLOAT_EQ(CalibrationFactor(312), 2.0f);
    EXPECT_EQ(CalibrationFactor(46), 0.3f);
    EXPECT_EQ(CalibrationFactor(0), 0.3f);
    EXPECT_EQ(CalibrationFactor(469), 3.0f);
    EXPECT_EQ(CalibrationFactor(UINT32_MAX), 3.0f);
}

TEST(ProgressPanel, TextParsesOnlyAsAWholeInteger)
{
    EXPECT_EQ(ParsePanelPercent("37"), 37);
    EXPECT_EQ(ParsePanelPercent("-5"), -5);
    for (const char* text : {"", "abc", "12x", " 12", "99999999999"})
        EXPECT_EQ(ParsePanelPercent(text), 0) << text;
}

TEST(ProgressPanel, SplitCentredLabelAndABarThatStaysInside)
{
    // The progress panel of the window: x 508..698, 15 pixels high, a 24 x 13 label.
    auto half = ProgressGeometry(508, 2, 698, 17, 50, 24, 13);
    EXPECT_EQ(half.Split, 603);
    EXPECT_EQ(half.LabelX, 591);
    EXPECT_EQ(half.LabelY, 3);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, 1, 24, 13).Split, 509);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, 37, 24, 13).Split, 578);
    // Halving truncates toward zero when the label is wider than the panel.
    EXPECT_EQ(ProgressGeometry(0, 0, 10, 10, 50, 31, 13).LabelX, -10);
    // Whatever the panel's text says, no overflow and no bar outside.
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, INT_MAX, 24, 13).Split, 698);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, INT_MIN, 24, 13).Split, 508);
}
