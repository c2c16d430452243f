// The whole plot of the main window drawn onto a Surface, layer by layer, from the document.
#pragma once

#include <vector>

#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

/// The colours and pens every drawing of the plot shares.
namespace palette {
inline constexpr platform::Color kWhite{255, 255, 255};
inline constexpr platform::Color kBlack{0, 0, 0};
inline constexpr platform::Color kGrey{128, 128, 128};
inline constexpr platform::Color kLightGrey{198, 198, 198};
/// Axis labels drawn over their white shadow.
inline constexpr platform::Color kLabelGrey{98, 98, 98};
/// Fill of the zoomed part of the overview band.
inline constexpr platform::Color kHighlight{128, 128, 128};
inline constexpr platform::Pen kTracePen{{0, 0, 255}, 1, platform::PenStyle::Solid};
inline constexpr platform::Pen kMarkPen{{255, 0, 0}, 1, platform::PenStyle::Solid};
inline constexpr platform::Pen kGreyPen{kGrey, 1, platform::PenStyle::Solid};
inline constexpr platform::Pen kBlackPen{kBlack, 1, platform::PenStyle::Solid};
inline constexpr platform::Pen kWhitePen{kWhite, 1, platform::PenStyle::Solid};
inline constexpr platform::Pen kGridPen{kGrey, 1, platform::PenStyle::Dot};
inline constexpr platform::Pen kGridRowPen{kLightGrey, 1, platform::PenStyle::Dot};
/// The residual of a fit, under the two sets of Compare.
inline constexpr platform::Pen kResidualPen{{0, 140, 0}, 1, platform::PenStyle::Solid};
}  // namespace palette

/// What painting needs beyond the document.
struct PaintParams {
    /// Screen height recorded at start-up, pixels (S); it fixes the rows of the axis. A value
    /// of 0 or less stands for the view's `clientHeight`.
    int screenHeight = 0;
};

/// Draws every layer of the main plot as `view` shows it onto `surface` (normally the off-screen image of
/// screen size): white background, the second data set in Add/Subtract mode, the trace (in Compare with the
/// residual of the last fit under it, as the view asks), the overview band,
/// the axis with its grid, integral values and curves, J cursors, baseline-pick marks, the picked peaks'
/// labels, the multiplet ranges' labels, the Add/Subtract strip, the comment boxes. Without a document
/// (`haveDocument` 0) only the white background is drawn. The pivot line follows `doc.transform.showPivot`.
/// Drawing the integral labels writes their hit boxes into the document, so that a click finds the label
/// where it was last drawn.
void paintDocument(platform::Surface& surface, Document& doc, const View& view, const PaintParams& params);

// The layers of the analysis tools, each drawn by paintDocument at its place in the layer order
// with the mark pen selected.

/// Integral values (with their hit boxes) and curves, as the View options say; drawn only while
/// `integrals.integralsShown`.
void drawIntegralLayer(platform::Surface& surface, Document& doc, const View& view);

/// The row of the residual's zero: halfway from the lower of the two sets' zero rows to the plot's
/// bottom.
[[nodiscard]] int fitResidualRow(const View& view);

/// In the two-set display with `showFitResidual`: over each region of the last fit, the measured
/// set less the simulation and the fitted offset, on the main trace's scale, about a grey zero
/// line at fitResidualRow. Nothing without a fit that stands.
void drawFitResidual(platform::Surface& surface, const Document& doc, const View& view);
/// J-measurement cursors (drawn only while `jState.jShown`).
void drawJCursorLayer(platform::Surface& surface, const Document& doc, const View& view);
/// Marks of the multiple-point baseline tool (drawn only while `mouse.baselinePick`).
void drawBaselinePickMarks(platform::Surface& surface, const Document& doc, const View& view);

/// The 10-pixel tick drawn over each picked point while the points are collected.
struct BaselineMark {
    platform::Point top;
    platform::Point bottom;
};

/// The ticks of the picked points on the main window's plot: column of t, row of the real part
/// at the point under it.
[[nodiscard]] std::vector<BaselineMark> baselinePickMarks(const Document& doc, const View& view);

/// The Add/Subtract control strip: the panel across the top of the plot and its three labels
/// in 14-pixel Arial. Drawn by paintDocument when `addSubMode` is 1.
void drawAddSubtractStrip(platform::Surface& surface, const View& view);

}  // namespace pelvaron::display
