/*
 * The arithmetic behind the progress indicator and the speed calibration, apart from any
 * window so it can be checked exactly in both builds. Milliseconds are unsigned 32-bit and
 * wrap like the tick counter they come from.
 */
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The estimate never shows more than this; only the run itself shows 96 and 100.
inline constexpr int32_t PROGRESS_ESTIMATE_CAP = 95;

// One timer tick of the estimate: the percentage to show, or nothing when it has not risen
// above the last one shown. percent = elapsed * 100 / expected in unsigned 32-bit arithmetic.
std::optional<int32_t> ProgressStep(uint32_t elapsedMs, uint32_t expectedRunMs, int32_t lastProgress);

// A run's time on the reference machine, before any scaling: what the estimate starts from.
inline constexpr uint32_t REFERENCE_RUN_MS = 28000;

// The run time counted as 100 %: speed factor x 28000 x 1.7 in extended precision, truncated.
uint32_t RunEstimateMs(float speedFactor);

// The same without the factor 1.7, as a run on the smaller model counts: speed factor x 28000,
// truncated.
uint32_t UnscaledRunEstimateMs(float speedFactor);

// The speed calibration loop's length and the machine it is scaled to.
inline constexpr uint32_t CALIBRATION_COUNT = 65535000;
inline constexpr float SPEED_FACTOR_MIN = 0.3f;
inline constexpr float SPEED_FACTOR_MAX = 3.0f;

// The speed factor from the loop's elapsed time: elapsed / 156 ms, clamped to 0.3 .. 3.0.
float CalibrationFactor(uint32_t elapsedMs);

// The progress panel's text back as a number: a whole decimal integer, or 0 for anything else.
int32_t ParsePanelPercent(std::string_view text);

// Where the progress panel splits into bar and background, and where its label goes.
struct TProgressGeometry {
    int32_t Split;  // x where the blue bar ends, inside [left, right]
    int32_t LabelX; // label centred in the whole panel
    int32_t LabelY;
};
TProgressGeometry ProgressGeometry(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   int32_t percent, int32_t labelWidth, int32_t labelHeight);
