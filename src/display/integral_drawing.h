// The integrals drawn onto a Surface: running-sum curves over the spectrum and bracketed value
// labels below it. The main view, the expansion windows and the printed page share the curves.
#pragma once

#include "display/view_transform.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

/// Draws the running sum of every integral into `rect` with the current pen: the curve of a
/// region starts at its left end and rises from row `baseY` by sum / |peakValue| x scale x
/// vScale / 4 pixels (rows held inside the rectangle, segments drawn only strictly inside its
/// left and right edges). `view` places the columns from the rectangle's left edge (the main
/// view, an expansion window's, the printed page's). The baseline correction follows the present
/// `integralBaselineCorr`. A region narrower than one point stops the drawing of it and of every
/// later integral: then returns false.
bool drawIntegralCurves(platform::Surface& surface, const Document& doc, const Rect& rect, int baseY,
                        const ViewTransform& view, double scale, double vScale);

/// Draws the labels of the main view: under each region a bracket with the current pen, from
/// both ends down to its middle, and the displayed value ("%.2lf", black) below it, even and odd
/// integrals on two alternating rows, each with a leader from the bracket. Writes each label's
/// hit box (the middle +- half a character + 5 pixels) into the document.
void drawIntegralValues(platform::Surface& surface, Document& doc, const View& view);

}  // namespace pelvaron::display
