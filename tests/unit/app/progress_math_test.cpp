// The progress estimate, the run-time product, the speed factor and the progress panel's
// geometry, checked exactly: these numbers are what the operator watches during a run.
#include "app/ProgressMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// What a 100 ms timer shows over a run, starting from a fresh StartProgress.
std::vector<std::pair<uint32_t, int32_t>> RunTimer(uint32_t expectedRunMs, uint32_t untilMs)
{
    std::vector<std::pair<uint32_t, int32_t>> shown;
    int32_t last = -1;
    for (uint32_t elapsed = 0; elapsed <= untilMs; elapsed += 100) {
        if (auto percent = ProgressStep(elapsed, expectedRunMs, last)) {
            shown.emplace_back(elapsed, *percent);
            last = *percent;
        }
    }
    return shown;
}

int32_t ShownAt(const std::vector<std::pair<uint32_t, int32_t>>& shown, uint32_t elapsed)
{
    int32_t value = -1;
    for (auto [at, percent] : shown)
        if (at <= elapsed)
            value = percent;
    return value;
}

} // namespace

TEST(ProgressEstimate, FiftySecondRunRisesByOneAndStopsAtTheCap)
{
    auto shown = RunTimer(50000, 60000);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), std::make_pair(0u, 0));
    EXPECT_EQ(ShownAt(shown, 400), 0);
    EXPECT_EQ(ShownAt(shown, 500), 1);
    EXPECT_EQ(ShownAt(shown, 24900), 49);
    EXPECT_EQ(ShownAt(shown, 25000), 50);
    EXPECT_EQ(ShownAt(shown, 47400), 94);
    EXPECT_EQ(ShownAt(shown, 47500), 95);
    EXPECT_EQ(shown.back(), std::make_pair(47500u, 95));
    // Repaints only when it rises: one per percent from 0 to 95.
    EXPECT_EQ(shown.size(), 96u);
}

TEST(ProgressEstimate, NeverGoesDownNorRepeats)
{
    EXPECT_FALSE(ProgressStep(1000, 50000, 50).has_value());
    EXPECT_FALSE(ProgressStep(25000, 50000, 50).has_value());
    EXPECT_FALSE(ProgressStep(100000, 50000, 95).has_value());
    EXPECT_EQ(ProgressStep(100000, 50000, 94), 95);
    // A direct SetProgress(96) by the run does not move LastProgress; the cap still rules.
    EXPECT_EQ(ProgressStep(49000, 50000, 90), 95);
}

TEST(ProgressEstimate, ArithmeticIsUnsigned32Bit)
{
    // elapsed x 100 wraps past 2^32 like the original counter arithmetic does.
    EXPECT_EQ(ProgressStep(42949673u, 1, -1), 4);
    EXPECT_EQ(ProgressStep(42949672u, 100, -1), 95);
    // An estimate of zero cannot divide; it counts as overdue.
    EXPECT_EQ(ProgressStep(0, 0, -1), 95);
}

TEST(RunEstimate, ProductIsTruncatedInExtendedPrecision)
{
    EXPECT_EQ(RunEstimateMs(1.0f), 47599u);
    EXPECT_EQ(RunEstimateMs(0.3f), 14280u);
    EXPECT_EQ(RunEstimateMs(3.0f), 142799u);
    EXPECT_EQ(RunEstimateMs(CalibrationFactor(156)), 47599u);
}

TEST(Calibration, FactorIsElapsedOver156AndClamped)
{
    EXPECT_FLOAT_EQ(CalibrationFactor(156), 1.0f);
    EXPECT_FLOAT_EQ(CalibrationFactor(78), 0.5f);
    EXPECT_FLOAT_EQ(CalibrationFactor(312), 2.0f);
    EXPECT_FLOAT_EQ(CalibrationFactor(47), static_cast<float>(47.0L / 156.0L));
    EXPECT_EQ(CalibrationFactor(10), 0.3f);
    EXPECT_EQ(CalibrationFactor(0), 0.3f);
    EXPECT_EQ(CalibrationFactor(46), 0.3f);
    EXPECT_EQ(CalibrationFactor(468), 3.0f);
    EXPECT_EQ(CalibrationFactor(600), 3.0f);
    EXPECT_EQ(CalibrationFactor(UINT32_MAX), 3.0f);
}

TEST(ProgressPanel, TextParsesOnlyAsAWholeInteger)
{
    EXPECT_EQ(ParsePanelPercent("37"), 37);
    EXPECT_EQ(ParsePanelPercent("100"), 100);
    EXPECT_EQ(ParsePanelPercent("-5"), -5);
    EXPECT_EQ(ParsePanelPercent(""), 0);
    EXPECT_EQ(ParsePanelPercent("abc"), 0);
    EXPECT_EQ(ParsePanelPercent("12x"), 0);
    EXPECT_EQ(ParsePanelPercent(" 12"), 0);
    EXPECT_EQ(ParsePanelPercent("99999999999"), 0);
}

TEST(ProgressPanel, SplitAndCentredLabel)
{
    // The progress panel of the window: x 508..698, 15 pixels high.
    auto half = ProgressGeometry(508, 2, 698, 17, 50, 24, 13);
    EXPECT_EQ(half.Split, 603);
    EXPECT_EQ(half.LabelX, 508 + (190 - 24) / 2);
    EXPECT_EQ(half.LabelY, 2 + (15 - 13) / 2);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, 1, 24, 13).Split, 509);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, 37, 24, 13).Split, 508 + 190 * 37 / 100);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, 100, 24, 13).Split, 698);
    // Halving truncates toward zero when the label is wider than the panel.
    EXPECT_EQ(ProgressGeometry(0, 0, 10, 10, 50, 31, 13).LabelX, -10);
    EXPECT_EQ(ProgressGeometry(0, 0, 10, 10, 50, 31, 13).LabelY, -1);
}

TEST(ProgressPanel, BarStaysInsideThePanelWhateverTheNumber)
{
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, 150, 24, 13).Split, 698);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, -20, 24, 13).Split, 508);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, INT_MAX, 24, 13).Split, 698);
    EXPECT_EQ(ProgressGeometry(508, 2, 698, 17, INT_MIN, 24, 13).Split, 508);
}
