// State of the baseline corrections: the scroll positions of the manual dialog and the points
// the multiple-point correction collects while its dialog is open.
#pragma once

#include <array>

namespace pelvaron {

/// Polynomial orders 0 ... 4 of the manual correction.
inline constexpr int kBaselineOrders = 5;
/// Points the multiple-point correction holds; further clicks are ignored.
inline constexpr int kMaxBaselinePoints = 300;

struct BaselineState {
    std::array<int, kBaselineOrders> baselinePos{};           ///< "Order 0" ... "Order 4", -150 ... 150
    int baselineFirstDraw = 1;                                ///< no preview drawn since the dialog opened
    std::array<double, kMaxBaselinePoints> baselinePoints{};  ///< picked abscissae, seconds scale
    int baselinePointCount = 0;
};

}  // namespace pelvaron
