// The integral list of the document: regions summed over the real parts, relative labels, the
// label hit test and deletion.
#include "analysis/integrals.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "base/format.h"
#include "base/numeric.h"
#include "document/units.h"

namespace pelvaron::analysis {

namespace {

/// The slot of integral k in the fixed arrays; indices the list never holds read its nearest end.
std::size_t slot(int k) { return static_cast<std::size_t>(std::clamp(k, 0, kMaxIntegrals - 1)); }

/// The last even index of the data, or -1 without one whole point.
int lastRealIndex(const Document& doc) { return (std::clamp(doc.spectrum.nData, 0, kCapacity) / 2 - 1) * 2; }

/// A complex-point position as the even index of its real part: truncated, an odd point lowered
/// by one, doubled.
long long realIndexOf(double position) {
    long long point = truncToInt(position);
    if (point % 2 != 0) --point;
    return 2 * point;
}

/// A ppm that prints as 0.0000 must not print as -0.0000.
double unsignedZero(double ppm) { return std::fabs(ppm) < 5e-5 ? 0.0 : ppm; }

}  // namespace

IntegralSpan integralSpan(const Document& doc, double start, double end) {
    IntegralSpan span;
    const int lastReal = lastRealIndex(doc);
    if (lastReal < 0) return span;
    span.first = static_cast<int>(std::clamp<long long>(realIndexOf(start), 0, lastReal));
    span.last = static_cast<int>(std::clamp<long long>(realIndexOf(end), 0, lastReal));
    // A baseline window reaching past either end of the data repeats the data's end point for the
    // points it lacks; inside the data it always takes five points, even beyond a narrow region.
    const double* x = doc.spectrum.specData.data();
    double left = 0.0;
    double right = 0.0;
    for (int i = 0; i < kBaselineWindowPoints; ++i) {
        left += x[std::min(span.first + 2 * i, lastReal)];
        right += x[std::max(span.last - 2 * i, 0)];
    }
    span.left = left / kBaselineWindowPoints;
    span.right = right / kBaselineWindowPoints;
    if (!span.empty()) span.slope = (span.right - span.left) / (span.last - span.first) * 2.0;
    return span;
}

double integralPosition(const Document& doc, double x) {
    return units::tToIndex(doc, units::pixelToT(doc, x, doc.clientWidth)) / 2.0;
}

bool createIntegral(Document& doc, platform::UserInterface& ui, double xStart, double xEnd, int restart) {
    return createIntegralAt(doc, ui, integralPosition(doc, xStart), integralPosition(doc, xEnd), restart);
}

bool createIntegralAt(Document& doc, platform::UserInterface& ui, double start, double end, int restart) {
    IntegralState& in = doc.integrals;
    if (restart == 1) in.integralCount = 0;
    in.integralCount = std::clamp(in.integralCount, 0, kMaxIntegrals);
    if (in.integralCount >= kMaxIntegrals) {
        ui.message("Error", "Too many integrals", platform::Icon::Exclamation);
        return false;
    }
    in.integralsShown = 1;
    // The drawing loops run over the integrals that exist: a failed attempt leaves no entry
    // behind for them to show.
    in.lastIntegral = std::max(in.integralCount - 1, 0);

    // A view without geometry (no data, no width) maps to no position at all.
    if (!std::isfinite(start) || !std::isfinite(end)) return false;
    if (start > end) std::swap(start, end);
    // The region is cut to the data: stored ends always name points that exist.
    const double lastPoint = std::max(std::clamp(doc.spectrum.nData, 0, kCapacity) / 2 - 1, 0);
    start = std::clamp(start, 0.0, lastPoint);
    end = std::clamp(end, 0.0, lastPoint);
    const IntegralSpan span = integralSpan(doc, start, end);
    if (span.empty()) return false;

    const bool corrected = in.integralBaselineCorr == 1;
    double sum = 0.0;
    for (int m = 0; span.first + 2 * m <= span.last; ++m)
        sum += doc.spectrum.specData[span.first + 2 * m] - (corrected ? span.baseline(m) : 0.0);
    // Data holding non-numbers (or values near the double range) give 0, so that no label or
    // ratio ever reads "inf" or "nan".
    if (!std::isfinite(sum)) sum = 0.0;

    const std::size_t k = slot(in.integralCount);
    in.integralStart[k] = start;
    in.integralEnd[k] = end;
    in.integralValue[k] = sum;
    // No hit box until the labels are drawn: the box of an earlier list must not catch clicks.
    in.integralLabelLeft[k] = 0;
    in.integralLabelRight[k] = -1;
    in.lastIntegral = in.integralCount;
    in.integralsExist = 1;
    ++in.integralCount;
    return true;
}

double relativeIntegralValue(const Document& doc, int k, int reference) {
    const IntegralState& in = doc.integrals;
    const double v = in.refIntegralValue * in.integralValue[slot(k)] / in.integralValue[slot(reference)];
    // A reference of value 0 leaves the ratios undefined: they read 0, never "inf" or "nan".
    return std::isfinite(v) ? v : 0.0;
}

double displayedIntegralValue(const Document& doc, int k) {
    return relativeIntegralValue(doc, k, doc.integrals.refIntegral);
}

std::string integralLabelText(const Document& doc, int k) {
    return cformat("%.2lf", displayedIntegralValue(doc, k));
}

bool hitIntegralLabel(Document& doc, int x) {
    IntegralState& in = doc.integrals;
    if (in.integralsExist != 1) return false;
    const int count = std::clamp(in.integralCount, 0, kMaxIntegrals);
    for (int k = 0; k < count; ++k) {
        if (in.integralLabelLeft[slot(k)] <= x && x <= in.integralLabelRight[slot(k)]) {
            in.prevRefIntegral = in.refIntegral;
            in.refIntegral = k;
            return true;
        }
    }
    return false;
}

void deleteIntegral(Document& doc) {
    IntegralState& in = doc.integrals;
    const int last = std::clamp(in.lastIntegral, 0, kMaxIntegrals - 1);
    for (int k = std::clamp(in.refIntegral, 0, kMaxIntegrals - 1); k < last; ++k) {
        const std::size_t to = slot(k), from = slot(k + 1);
        in.integralValue[to] = in.integralValue[from];
        in.integralStart[to] = in.integralStart[from];
        in.integralEnd[to] = in.integralEnd[from];
        in.integralLabelLeft[to] = in.integralLabelLeft[from];
        in.integralLabelRight[to] = in.integralLabelRight[from];
    }
    in.refIntegral = in.prevRefIntegral;
    if (in.integralCount >= 1) {
        in.lastIntegral = last - 1;
        --in.integralCount;
    }
    // The earlier reference is kept by its index; when that index now lies past the list (it
    // was the last entry, moved down by one) it would name a stale slot: the last entry stands in.
    if (in.integralCount >= 1) in.refIntegral = std::clamp(in.refIntegral, 0, in.integralCount - 1);
    if (in.integralCount <= 0) {
        in.integralCount = 0;
        in.lastIntegral = 0;
        in.integralsShown = 0;
        in.integralsExist = 0;
        in.integralRestart = 1;
        in.refIntegral = 0;
        in.refIntegralValue = 1.0;
    }
}

IntegrateResult integrateRegions(Document& doc, platform::UserInterface& ui,
                                 const IntegrateRequest& request) {
    using Status = IntegrateResult::Status;
    IntegrateResult result;
    const int count = static_cast<int>(std::min<std::size_t>(request.regions.size(), kMaxIntegrals + 1));
    if (count == 0) {
        ui.message("No region to integrate", "Error", platform::Icon::Exclamation);
        result.status = Status::UsageError;
        return result;
    }
    if (count > kMaxIntegrals) {
        ui.message("Error", "Too many integrals", platform::Icon::Exclamation);
        result.status = Status::UsageError;
        return result;
    }
    if (request.referenceIntegral < 1 || request.referenceIntegral > count) {
        ui.message(cformat("The reference integral must lie between 1 and %d", count), "Error",
                   platform::Icon::Exclamation);
        result.status = Status::UsageError;
        return result;
    }

    IntegralState& in = doc.integrals;
    in.integralBaselineCorr = request.baselineCorrection ? 1 : 0;
    auto positionOf = [&](double ppm) { return units::tToIndex(doc, units::unitToT(doc, ppm, kPpm)) / 2.0; };
    for (int i = 0; i < count; ++i) {
        const PpmRegion& r = request.regions[static_cast<std::size_t>(i)];
        if (!createIntegralAt(doc, ui, positionOf(r.from), positionOf(r.to), i == 0 ? 1 : 0)) {
            ui.message(cformat("The region %.4f/%.4f holds no data points", r.from, r.to), "Error",
                       platform::Icon::Exclamation);
            result.status = Status::DataError;
            return result;
        }
    }
    in.integralRestart = 0;
    in.refIntegral = in.prevRefIntegral = request.referenceIntegral - 1;
    in.refIntegralValue = request.referenceValue;

    auto ppmOf = [&](double position) {
        return unsignedZero(units::tToUnit(doc, units::indexToT(doc, 2.0 * position), kPpm));
    };
    for (int k = 0; k < in.integralCount; ++k) {
        const std::size_t s = slot(k);
        result.lines.push_back(cformat("%d %.4f %.4f %.10g %.2f", k + 1, ppmOf(in.integralStart[s]),
                                       ppmOf(in.integralEnd[s]), in.integralValue[s],
                                       displayedIntegralValue(doc, k)));
    }
    return result;
}

}  // namespace pelvaron::analysis
