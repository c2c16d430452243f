// The time scale t (0 at the first point, AQ at the end) and its conversions to data indices,
// window pixels, seconds, Hz, ppm and points; the index range of the view; the cursor read-out.
#pragma once

#include <string>

#include "document/document.h"

namespace pelvaron::units {

/// t of a data index (doubles).
[[nodiscard]] double indexToT(const Document& doc, double i);
/// Data index (fractional) of a t.
[[nodiscard]] double tToIndex(const Document& doc, double t);
/// t under window pixel x of a view `width` pixels wide.
[[nodiscard]] double pixelToT(const Document& doc, double x, int width);
/// Window pixel of a t.
[[nodiscard]] double tToPixel(const Document& doc, double t, int width);

/// The value of t in unit code `unit` (1 seconds, 2 ppm, 3 Hz, 4 points).
[[nodiscard]] double tToUnit(const Document& doc, double t, int unit);
/// The t of a value `v` given in unit code `unit`.
[[nodiscard]] double unitToT(const Document& doc, double v, int unit);

/// Indices of the first and last real part in view; both even.
struct IndexRange {
    int i0 = 0;
    int i1 = 0;
};
[[nodiscard]] IndexRange viewIndexRange(const Document& doc);

/// The text of the status-bar read-out for the mouse at window pixel x.
[[nodiscard]] std::string readoutText(const Document& doc, int x);

}  // namespace pelvaron::units
