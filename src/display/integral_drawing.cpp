// Integral curves and labels.
#include "display/integral_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "analysis/integral_dialogs.h"
#include "analysis/integrals.h"
#include "base/numeric.h"
#include "display/paint.h"
#include "display/tools.h"

namespace pelvaron::display {

namespace {

/// Pixels beyond which a label's end is held: far outside any view, and the label arithmetic
/// stays well inside int.
constexpr double kFarPixel = 1 << 24;

int integralCount(const Document& doc) { return std::clamp(doc.integrals.integralCount, 0, kMaxIntegrals); }

}  // namespace

bool drawIntegralCurves(platform::Surface& surface, const Document& doc, const Rect& rect, int baseY,
                        const ViewTransform& view, double scale, double vScale) {
    const IntegralState& in = doc.integrals;
    const double aq = doc.spectrum.acqPars.AQ;
    if (doc.spectrum.nData < 2 || !(aq > 0.0)) return integralCount(doc) == 0;
    const double f = scale * vScale / 4.0;
    const double maxAbs =
        std::fabs(doc.spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(doc.spectrum.peakValue);
    const bool corrected = in.integralBaselineCorr == 1;
    auto row = [&](double sum) {
        return std::clamp(truncToInt(baseY - sum / maxAbs * f), rect.top, rect.bottom);
    };

    std::vector<platform::Point> path;
    for (int k = 0; k < integralCount(doc); ++k) {
        const auto s = static_cast<std::size_t>(k);
        const analysis::IntegralSpan span =
            analysis::integralSpan(doc.spectrum, in.integralStart[s], in.integralEnd[s]);
        if (span.empty()) return false;
        const double x0 = rect.left + std::trunc(view.pixelOfIndex(2.0 * in.integralStart[s]));
        path.clear();
        // The curve starts at the region's first value; |peakValue| keeps it on the curve's side
        // when the tallest line points down.
        path.push_back({truncToInt(std::clamp(x0, double(rect.left), double(rect.right))),
                        row(doc.spectrum.specData[span.first])});
        double sum = 0.0;
        for (int m = 0; span.first + 2 * m <= span.last; ++m) {
            sum += doc.spectrum.specData[span.first + 2 * m] - (corrected ? span.baseline(m) : 0.0);
            const double x = x0 + std::trunc(view.pixelsOfIndices(2.0 * m));
            if (x >= rect.right) break;  // x only grows: the rest of the region is off the right edge
            if (x > rect.left) path.push_back({truncToInt(x), row(sum)});
        }
        if (path.size() >= 2) surface.drawPolyline(path);
    }
    return true;
}

void drawIntegralValues(platform::Surface& surface, Document& doc, const View& view) {
    IntegralState& in = doc.integrals;
    const double aq = doc.spectrum.acqPars.AQ;
    if (doc.spectrum.nData < 2 || !(aq > 0.0)) return;
    const int h = view.clientHeight;
    const int cw = surface.textMetrics().averageCharWidth;
    const int y0 = truncToInt(h * 0.81);
    const int d = truncToInt(h * 0.0125);
    const int y1 = y0 + d;
    const int y2 = y1 + d;
    const int e = truncToInt(h * 0.01);
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    auto pixelOf = [&](double position) {
        const double x = transform.pixelOfIndex(2.0 * position);
        return std::isfinite(x) ? std::clamp(x, -kFarPixel, kFarPixel) : 0.0;
    };

    for (int k = 0; k < integralCount(doc); ++k) {
        const auto s = static_cast<std::size_t>(k);
        const double xs = pixelOf(in.integralStart[s]);
        const double xe = pixelOf(in.integralEnd[s]);
        const int xm = truncToInt(xs + xe) / 2;
        in.integralLabelLeft[s] = xm - cw / 2 - 5;
        in.integralLabelRight[s] = xm + cw / 2 + 5;

        const std::string text = analysis::integralLabelText(doc, k);
        const int width = static_cast<int>(text.size()) * cw;
        const platform::Point bracket[] = {
            {truncToInt(xs), y0}, {truncToInt(xs), y1}, {xm, y2}, {truncToInt(xe), y1}, {truncToInt(xe), y0}};
        surface.drawPolyline(bracket);
        // Neighbouring labels alternate between two rows so that narrow regions stay legible.
        const int ly = y2 + (k % 2 == 0 ? 3 * e : e);
        surface.drawText({xm - width / 2, ly}, text, palette::kBlack);
        surface.drawLine({xm, y2}, {xm, ly});
    }
}

}  // namespace pelvaron::display
