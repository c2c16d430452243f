// Conversions from double to int as the program does them: truncation toward zero, with values
// beyond the int range (or not a number) held at a defined value instead of undefined behaviour.
#pragma once

#include <cmath>
#include <limits>

namespace pelvaron {

/// trunc(v) as an int; NaN gives 0, values outside the int range saturate.
inline int truncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace pelvaron
