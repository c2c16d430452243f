// The time scale t (0 at the first point, AQ at the end) and its conversions to data indices,
// seconds, Hz, ppm and points. The pixels of a view are display::ViewTransform's.
#pragma once

#include "document/document.h"

namespace pelvaron::units {

/// t of a data index (doubles).
[[nodiscard]] double indexToT(const Document& doc, double i);
/// Data index (fractional) of a t.
[[nodiscard]] double tToIndex(const Document& doc, double t);

/// The value of t in unit code `unit` (1 seconds, 2 ppm, 3 Hz, 4 points).
[[nodiscard]] double tToUnit(const Document& doc, double t, int unit);
/// The t of a value `v` given in unit code `unit`.
[[nodiscard]] double unitToT(const Document& doc, double v, int unit);

}  // namespace pelvaron::units
