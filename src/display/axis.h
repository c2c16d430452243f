// The horizontal axis under the plot (ticks, labels, panel), the grid and the overview band of
// the dual display zoom.
#pragma once

#include <string>

#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

/// One row of the tick table: chosen from the range of axis values shown.
struct TickRow {
    double step = 500.0;        ///< distance of two ticks, axis units
    double labelEvery = 500.0;  ///< distance of two labelled (major) ticks
    int decimals = 0;           ///< digits after the point in the labels (0..3)
    bool labelAll = false;      ///< every tick is major (ranges of 33000 and above)
};

/// The tick row for a range of axis values (|vL - vR|, any unit): the row with the smallest
/// bound that `range` lies below; 33000 and above labels every tick at a step of 500.
[[nodiscard]] TickRow tickRowFor(double range);

/// A tick label: `value` printed with 0..3 decimals; a value that prints as zero is "0",
/// "0.0", ... and never carries a minus sign.
[[nodiscard]] std::string axisLabel(double value, int decimals);

/// Axis values at the two ends of an index range, in the document's `xUnits`.
struct AxisEnds {
    double vL = 0.0;    ///< value at i0
    double vR = 0.0;    ///< value at i1
    int direction = 1;  ///< +1: values grow left to right from rect.left (seconds, points);
                        ///< -1: they grow right to left from xEnd (ppm, Hz)
};
[[nodiscard]] AxisEnds axisEnds(const Document& doc, int i0, int i1);

/// Geometry and style of one axis.
struct AxisParams {
    int i0 = 0, i1 = 0;       ///< index range shown (doubles); ordered by drawAxis
    int xEnd = 0;             ///< right end of the axis line and origin of ppm/Hz ticks
    int height = 0;           ///< the rows are measured up from this height
    Rect rect;                ///< ticks and labels only strictly inside left..right
    double scale = 1.0;       ///< printing scale: the rows lie 0.09/0.08/0.07 * S / scale up
    bool shadowStyle = true;  ///< white shadows under ticks and labels, dark grey labels
    bool panelStyle = true;   ///< the panel below the axis, ticks in grey
    int screenHeight = 0;     ///< S, pixels; 0 or less stands for the view's clientHeight
    bool showGrid = false;    ///< grid lines at every tick, rows for minor ticks
    /// Pen of the axis line and ticks without the panel style (the panel style draws grey).
    platform::Pen linePen = {{0, 0, 0}, 1, platform::PenStyle::Solid};
};

/// Rows of the axis for a height, screen height and scale.
struct AxisRows {
    int axisY = 0;   ///< the axis line: trunc(height - 0.09 * S / scale)
    int minorY = 0;  ///< minor ticks end: trunc(height - 0.08 * S / scale)
    int majorY = 0;  ///< major ticks end and labels start: trunc(height - 0.07 * S / scale)
};
[[nodiscard]] AxisRows axisRows(int height, int screenHeight, double scale);

/// Draws the axis: panel, axis line, minor and major ticks, labels in the surface's current
/// font (labels that would cross either edge of `rect` are left out, their ticks are drawn),
/// and the grid when asked.
void drawAxis(platform::Surface& surface, const Document& doc, const View& view, const AxisParams& params);

/// A vertical dotted grey grid line at x from row y up to the top of `plotRect`.
void drawGridLine(platform::Surface& surface, const View& view, int x, int y);
/// Ten dotted light-grey rows across `plotRect`, spaced from trunc(clientHeight - 3.5 * line
/// height) upwards.
void drawGridRows(platform::Surface& surface, const View& view);

/// The overview band of the dual display zoom: (0, 0, clientWidth, trunc(0.25 * clientHeight))
/// in the panel colour, the zoomed part i0..i1 highlighted unless `fullView`, and the whole of
/// specData drawn into it with the trace pen.
void drawOverview(platform::Surface& surface, const Document& doc, const View& view, int i0, int i1);

}  // namespace pelvaron::display
