// One data set drawn as a trace: a polyline, dots, or one min/max stroke per pixel column when
// there are more points than columns.
#pragma once

#include <span>

#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

/// Which trace is drawn: only the main trace may carry the phase pivot line.
/// Plain carries nothing beyond the trace (the printed page and its insets).
enum class TraceMode : int { Plain = 0, Main = 1, Overview = 2, Second = 3 };

/// Geometry of one trace.
struct TraceParams {
    int i0 = 0;               ///< first data index (doubles); swapped with i1 when larger
    int i1 = 0;               ///< end index (exclusive); clamped to the data's size
    double maxAbs = 1.0;      ///< the data value that rises vScale pixels (values <= 0 read as 1)
    int baseY = 0;            ///< pixel row of zero intensity
    double pxPerIndex = 1.0;  ///< pixels per data index (doubles, not points)
    int shift = 0;            ///< horizontal shift, data indices
    bool useFactor = false;   ///< scale by the view's secondFactor / 100 (the second data set)
    Rect rect;                ///< ordinates are clamped into top..bottom; x starts at left
    TraceMode mode = TraceMode::Main;
    double vScale = 75.0;  ///< pixels of a value equal to maxAbs
    double extra = 1.0;    ///< further vertical factor (printing, expansions)
};

/// Draws the real parts data[i0], data[i0+2], ... below i1 with the surface's current pen.
/// With the view's `dotDisplay` each point is one black pixel. With more points than `rect.right`
/// each pixel column becomes one vertical stroke from its first extreme to the other, all
/// emitted as one polyline, so the cost is bounded by the width; the last, still open column
/// is not drawn. In Main mode with `doc.transform.showPivot`, the pivot line at `peakIndex` is
/// drawn with the mark pen over the height of the view's `plotRect` (the mark pen stays selected).
void drawTrace(platform::Surface& surface, const Document& doc, const View& view,
               std::span<const double> data, const TraceParams& params);

/// The pixel row of a data value: baseY - value / maxAbs * scale, clamped into top..bottom and
/// truncated toward zero. A value that is not a number lies on baseY (clamped).
[[nodiscard]] int traceRow(double value, double maxAbs, int baseY, double scale, const Rect& rect);

}  // namespace pelvaron::display
