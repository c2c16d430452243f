// Baseline correction: the polynomial of the manual correction with its dialog (five scroll bars
// and a preview curve over the plot), and the broken line through points picked on the plot.
// None of the corrections takes an Undo snapshot.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "document/document.h"
#include "platform/surface.h"
#include "platform/user_interface.h"
#include "processing/phase_dialog.h"

namespace pelvaron::processing {

/// c0 ... c4 of the baseline polynomial.
using BaselineCoefficients = std::array<double, kBaselineOrders>;

/// Fills curve[0 ... nData/2-1] with c0 + c1 x/H + c2 x^2/H^2 + c3 x^3/H^3 + c4 x^4/H^4 for complex
/// point k, H = nData/4 (integer), x = k-H+1 below H and k-H from H on (0 occurs twice).
/// nData is clamped to the capacity.
void baselinePolynomial(DataBuffer& curve, int nData, const BaselineCoefficients& c);

/// Subtracts the polynomial of `c` (in data units) from the real and the imaginary part of every
/// point; workCurve holds the polynomial afterwards.
void subtractPolynomialBaseline(Document& doc, const BaselineCoefficients& c);

/// Where the preview is drawn: columns 0 ... width-1, zero at row baselineY, rows kept within
/// top ... bottom, |peakValue| drawn vScale rows high (the main plot's).
struct PreviewGeometry {
    int width = 0;
    int baselineY = 0;
    int top = 0;
    int bottom = 0;
    double vScale = 75.0;
};

/// The preview polyline of a pixel curve (curve[k] rows below the zero row for complex point k):
/// one vertex per column j while j*step < nData/2, step = (nData/2)/width, at the row of point
/// trunc(j*step). Empty for a width or a size of 0.
[[nodiscard]] std::vector<platform::Point> baselinePreviewPolyline(const DataBuffer& curve, int nData,
                                                                   const PreviewGeometry& g);

/// One step of the preview, drawn inverting: `erase` is the polyline drawn last (empty before the
/// first drawing), `draw` the new one.
struct PreviewUpdate {
    std::vector<platform::Point> erase;
    std::vector<platform::Point> draw;
};

/// The "Manual Baseline Correction" dialog without its widgets: scroll bars "Order 0" ...
/// "Order 4" (-150 ... 150), "Ok" and "Cancel". Positions live in doc.baseline, the curve in
/// workCurve.
class BaselineDialog {
public:
    static constexpr int kPositionLimit = 150;

    BaselineDialog(Document& doc, const PreviewGeometry& plot) : plot(plot), doc_(doc) {}

    /// The main plot the preview is drawn on.
    PreviewGeometry plot;

    /// All positions 0, nothing drawn yet, workCurve cleared.
    void open();

    /// Line -1/+1, page -5/+5, thumb to `thumb`; clamped to -150 ... 150. Then the preview on the
    /// main window's plot. An order outside 0 ... 4 changes nothing and draws nothing.
    PreviewUpdate scroll(int order, ScrollAction action, int thumb = 0);

    /// Redraws the preview of the present positions (in pixels) on `g`.
    PreviewUpdate preview(const PreviewGeometry& g);

    [[nodiscard]] int position(int order) const;
    /// The polyline on the plot now (empty before the first drawing).
    [[nodiscard]] const std::vector<platform::Point>& drawnPreview() const { return drawn_; }

    /// Subtracts the polynomial whose coefficient j is -pos_j * |peakValue| / plot.vScale (a row d
    /// pixels below the zero row stands for -d*|peakValue|/vScale).
    void ok();
    /// The preview goes; the data are untouched.
    void cancel();

private:
    Document& doc_;
    std::vector<platform::Point> drawn_;
};

/// Sorts ascending in place by selection: for each position the smallest of the rest (the first
/// of equal values) is swapped in.
void sortAscending(std::span<double> values);

/// The broken-line correction through the abscissae `times` (seconds scale, any order): knots at
/// index 0, at N*t/AQ of each sorted point and at N-2; each segment subtracts the straight line
/// through its two knots' real parts (as they stood before) from both parts of its points; the
/// last point becomes 0.
void multiPointBaseline(Document& doc, std::span<const double> times);

/// The "Multiple Point Baseline Correction" dialog (modeless) without its widgets: "Apply" and
/// "Cancel". Its points live in doc.baseline, so that the plot's clicks (display::addBaselinePoint)
/// reach it through a model made on the spot; the window arms the plot's point pick while the
/// dialog is open.
class MultiPointBaseline {
public:
    explicit MultiPointBaseline(Document& doc) : doc_(doc) {}

    /// No points.
    void open();
    /// Appends the abscissa t (seconds scale). A 301st point or a t that is not a number is
    /// ignored: false.
    bool addPoint(double t);
    /// The correction through the points, the points dropped.
    void apply();
    /// The points dropped; the data are untouched.
    void cancel();

    [[nodiscard]] int pointCount() const { return doc_.baseline.baselinePointCount; }

private:
    Document& doc_;
};

}  // namespace pelvaron::processing
