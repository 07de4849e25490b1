// Range-safe conversions from floating point to integers. A float from a host, a program or an
// editor may be anything (NaN, infinities, huge values); converting those directly is undefined.
#pragma once

#include <cmath>
#include <cstdint>

namespace quorvel {

// Truncates toward zero and limits the result to lowest..highest; NaN gives fallback.
constexpr std::int32_t truncateInRange(double value, std::int32_t lowest, std::int32_t highest,
                                       std::int32_t fallback) {
    if (value != value) return fallback;
    if (value <= static_cast<double>(lowest)) return lowest;
    if (value >= static_cast<double>(highest)) return highest;
    return static_cast<std::int32_t>(value);
}

// Truncation toward zero over the whole int32 range; NaN gives 0.
constexpr std::int32_t truncateToInt32(double value) {
    return truncateInRange(value, INT32_MIN, INT32_MAX, 0);
}

// A value from the host's set-parameter entry: finite values and infinities are limited to
// 0 to 1; NaN is refused so the parameter keeps its value.
inline bool bringIntoParameterRange(float& value) {
    if (std::isnan(value)) return false;
    if (value < 0.0f) value = 0.0f;
    if (value > 1.0f) value = 1.0f;
    return true;
}

// The nearest whole number of a non-negative value, a half going up; out of range is limited.
inline std::int32_t nearestWhole(double value) {
    return truncateInRange(std::floor(value + 0.5), 0, INT32_MAX, 0);
}

} // namespace quorvel
