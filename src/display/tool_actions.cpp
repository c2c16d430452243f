// The actions of the region tools, handed to the subsystem that owns each.
#include "display/tool_actions.h"

#include <algorithm>
#include <cmath>

#include "analysis/integrals.h"
#include "analysis/j_measure.h"
#include "analysis/multiplet_report_dialog.h"
#include "analysis/multiplets.h"
#include "analysis/peaks.h"
#include "base/numeric.h"
#include "display/view_transform.h"
#include "document/units.h"
#include "processing/baseline.h"

namespace pelvaron::display {

bool integrateRegion(Document& doc, const View& view, platform::UserInterface& ui, double x0, double x1) {
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    // Positions are complex points; without a view they are not finite and nothing is added.
    return analysis::createIntegralAt(doc, ui, transform.indexAtPixel(x0) / 2.0,
                                      transform.indexAtPixel(x1) / 2.0, doc.integrals.integralRestart);
}

void pickPeakRegion(Document& doc, platform::UserInterface& ui, int iL, int iR, double threshold) {
    analysis::pickPeaksInRegion(doc, ui, iL, iR, threshold);
    doc.notify(kOverlaysChanged);
}

void placeJCursorAt(Document& doc, const View& view, int x) {
    // Without a view there is no point under the mouse.
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    if (!transform.valid()) return;
    // The cursor sits on the real part at or before the pixel.
    int p = truncToInt(transform.indexAtPixel(x));
    if (p % 2 != 0) --p;
    // The new line, if any, is in jState.jLines, which the open Measure J dialog shows.
    (void)analysis::placeJCursor(doc, p);
    doc.notify(kOverlaysChanged);
}

namespace {

/// The ppm under plot pixel x; not finite without a view.
double ppmAtPixel(const Document& doc, const View& view, int x) {
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    return transform.valid() ? units::tToUnit(doc, transform.tAtPixel(x), kPpm) : NAN;
}

}  // namespace

bool addMultipletRangeAt(Document& doc, const View& view, int x0, int x1) {
    const double a = ppmAtPixel(doc, view, x0);
    const double b = ppmAtPixel(doc, view, x1);
    if (!std::isfinite(a) || !std::isfinite(b) || a == b) return false;
    if (!analysis::addRange(doc.spectrum, doc.multiplets, a, b)) return false;
    doc.notify(kOverlaysChanged);
    return true;
}

bool splitMultipletAt(Document& doc, const View& view, int x) {
    const double ppm = ppmAtPixel(doc, view, x);
    const int range = std::isfinite(ppm) ? analysis::multipletRangeAt(doc.multiplets, ppm) : -1;
    if (range < 0 || !analysis::splitRange(doc.spectrum, doc.multiplets, range, ppm)) return false;
    doc.notify(kOverlaysChanged);
    return true;
}

processing::PreviewGeometry baselinePreview(const View& view) {
    return {view.clientWidth, view.baselineY, view.plotRect.top, view.plotRect.bottom, view.vScale};
}

void addBaselinePoint(Document& doc, double t) {
    // Beyond the 300 points the list holds, further clicks are ignored.
    (void)processing::MultiPointBaseline(doc).addPoint(t);
}

int hitIntegralLabel(Document& doc, int x) {
    const IntegralState& in = doc.integrals;
    if (in.integralsExist != 1) return -1;
    // The first from the left of the list wins; the height is not tested.
    const int count = std::clamp(in.integralCount, 0, kMaxIntegrals);
    for (int k = 0; k < count; ++k) {
        const auto s = static_cast<std::size_t>(k);
        if (in.integralLabelLeft[s] <= x && x <= in.integralLabelRight[s]) {
            analysis::makeReferenceIntegral(doc, k);
            return k;
        }
    }
    return -1;
}

void deleteIntegralAt(Document& doc, platform::UserInterface& /*ui*/, int index) {
    IntegralState& in = doc.integrals;
    if (index < 0 || index >= in.integralCount) return;
    // The integral deleted is the reference; the one before comes back after it.
    if (index != in.refIntegral) {
        in.prevRefIntegral = in.refIntegral;
        in.refIntegral = index;
    }
    analysis::deleteIntegral(doc);
}

}  // namespace pelvaron::display
