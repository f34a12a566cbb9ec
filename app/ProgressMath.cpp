#include "ProgressMath.h"

#include <algorithm>
#include <charconv>

std::optional<int32_t> ProgressStep(uint32_t elapsedMs, uint32_t expectedRunMs, int32_t lastProgress)
{
    // A zero estimate would divide by zero; it can only mean the run is already overdue.
    uint32_t percent = expectedRunMs == 0 ? PROGRESS_ESTIMATE_CAP : elapsedMs * 100u / expectedRunMs;
    int32_t shown = static_cast<int32_t>(std::min<uint32_t>(percent, PROGRESS_ESTIMATE_CAP));
    if (shown > lastProgress)
        return shown;
    return std::nullopt;
}

uint32_t RunEstimateMs(float speedFactor)
{
    // 1.7 is the double nearest to it, so a factor of 1.0 gives 47599, not 47600.
    constexpr double RUN_SCALE = 1.7;
    long double product = static_cast<long double>(speedFactor) * REFERENCE_RUN_MS;
    product *= static_cast<long double>(RUN_SCALE);
    return static_cast<uint32_t>(product);
}

uint32_t UnscaledRunEstimateMs(float speedFactor)
{
    // The product of a float and 28000 is exact in a double, so the truncation is too.
    return static_cast<uint32_t>(static_cast<double>(speedFactor) * REFERENCE_RUN_MS);
}

float CalibrationFactor(uint32_t elapsedMs)
{
    // 156 ms is how long the reference machine takes for the calibration loop.
    float factor = static_cast<float>(static_cast<long double>(elapsedMs) * (1.0L / 156.0L));
    if (factor < SPEED_FACTOR_MIN)
        return SPEED_FACTOR_MIN;
    if (factor > SPEED_FACTOR_MAX)
        return SPEED_FACTOR_MAX;
    return factor;
}

int32_t ParsePanelPercent(std::string_view text)
{
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return 0;
    return value;
}

TProgressGeometry ProgressGeometry(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   int32_t percent, int32_t labelWidth, int32_t labelHeight)
{
    // Wider than int32 on purpose: a huge percentage must not overflow, and the bar stays
    // inside the panel whatever number the panel holds.
    int64_t split = left + static_cast<int64_t>(right - left) * percent / 100;
    split = std::clamp<int64_t>(split, left, right);
    return {static_cast<int32_t>(split), left + (right - left - labelWidth) / 2,
            top + (bottom - top - labelHeight) / 2};
}
