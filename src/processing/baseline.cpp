// The baseline polynomial, the manual dialog with its preview, and the multiple-point correction.
#include "processing/baseline.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/numeric.h"

namespace pelvaron::processing {

namespace {

int valuesInUse(const Document& doc) { return std::clamp(doc.spectrum.nData, 0, kCapacity); }

/// The highest even index that names a real part: N-2, lowered by one for an odd N (no such size
/// is ever loaded; the pair x[N-2], x[N-1] would then split a point).
int lastRealIndex(int n) { return std::max(0, (n - 2) - (n - 2) % 2); }

/// The display's own scale: |peakValue|, or 1.0 when that is too small to divide by.
double displayMagnitude(const Document& doc) {
    const double m = std::fabs(doc.spectrum.peakValue);
    return m < kTinyPeak ? 1.0 : m;
}

void subtractCurve(Document& doc, const DataBuffer& curve) {
    const int points = valuesInUse(doc) / 2;
    for (int k = 0; k < points; ++k) {
        doc.spectrum.specData[2 * k] -= curve[k];
        doc.spectrum.specData[2 * k + 1] -= curve[k];
    }
}

}  // namespace

void baselinePolynomial(DataBuffer& curve, int nData, const BaselineCoefficients& c) {
    const int n = std::clamp(nData, 0, kCapacity);
    const int points = n / 2;
    const int h = n / 4;
    for (int k = 0; k < points; ++k) {
        const int x = k < h ? k - h + 1 : k - h;
        // A single point has H = 0: its abscissa is 0 and its value c0.
        const double u = h > 0 ? static_cast<double>(x) / h : 0.0;
        curve[k] = c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * c[4])));
    }
}

void subtractPolynomialBaseline(Document& doc, const BaselineCoefficients& c) {
    baselinePolynomial(doc.workCurve, doc.spectrum.nData, c);
    subtractCurve(doc, doc.workCurve);
}

std::vector<platform::Point> baselinePreviewPolyline(const DataBuffer& curve, int nData,
                                                     const PreviewGeometry& g) {
    std::vector<platform::Point> line;
    const int points = std::clamp(nData, 0, kCapacity) / 2;
    if (g.width <= 0 || points == 0) return line;
    const double step = static_cast<double>(points) / g.width;
    line.reserve(static_cast<std::size_t>(g.width) + 1);
    // The first vertex is also the start: its row is clamped like every other, so that the curve
    // never leaves the plot.
    for (int j = 0; j * step < points; ++j) {
        const int k = static_cast<int>(j * step);
        const double row =
            std::clamp(g.baselineY + curve[k], static_cast<double>(g.top), static_cast<double>(g.bottom));
        line.push_back({j, truncToInt(row)});
    }
    return line;
}

void BaselineDialog::open() {
    doc_.baseline.baselinePos.fill(0);
    doc_.baseline.baselineFirstDraw = 1;
    doc_.workCurve.fill(0.0, valuesInUse(doc_) / 2);
    drawn_.clear();
}

PreviewUpdate BaselineDialog::scroll(int order, ScrollAction action, int thumb) {
    if (order < 0 || order >= kBaselineOrders) return {};
    int& pos = doc_.baseline.baselinePos[static_cast<std::size_t>(order)];
    long next = pos;
    switch (action) {
        case ScrollAction::LineLeft: next -= 1; break;
        case ScrollAction::LineRight: next += 1; break;
        case ScrollAction::PageLeft: next -= 5; break;
        case ScrollAction::PageRight: next += 5; break;
        case ScrollAction::Thumb: next = thumb; break;
    }
    pos = static_cast<int>(std::clamp<long>(next, -kPositionLimit, kPositionLimit));
    return preview(plot);
}

PreviewUpdate BaselineDialog::preview(const PreviewGeometry& g) {
    PreviewUpdate update;
    // The polyline drawn last is kept as drawn: erasing it stays right if the plot changed since.
    if (!doc_.baseline.baselineFirstDraw) update.erase = std::move(drawn_);
    BaselineCoefficients c{};
    for (int j = 0; j < kBaselineOrders; ++j) c[static_cast<std::size_t>(j)] = position(j);
    baselinePolynomial(doc_.workCurve, doc_.spectrum.nData, c);
    update.draw = baselinePreviewPolyline(doc_.workCurve, doc_.spectrum.nData, g);
    drawn_ = update.draw;
    doc_.baseline.baselineFirstDraw = 0;
    return update;
}

int BaselineDialog::position(int order) const {
    if (order < 0 || order >= kBaselineOrders) return 0;
    return doc_.baseline.baselinePos[static_cast<std::size_t>(order)];
}

void BaselineDialog::ok() {
    // The rows are read as the trace is drawn, so data whose |peakValue| the display replaces by
    // 1.0 are corrected by what the preview showed.
    const double perPixel = displayMagnitude(doc_) / plot.vScale;
    BaselineCoefficients c{};
    for (int j = 0; j < kBaselineOrders; ++j) c[static_cast<std::size_t>(j)] = -position(j) * perPixel;
    subtractPolynomialBaseline(doc_, c);
    doc_.notify(kDataChanged | kOverlaysChanged);
}

void BaselineDialog::cancel() { doc_.notify(kOverlaysChanged); }

void sortAscending(std::span<double> values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::size_t smallest = i;
        for (std::size_t j = i + 1; j < values.size(); ++j) {
            if (values[j] < values[smallest]) smallest = j;
        }
        std::swap(values[i], values[smallest]);
    }
}

void multiPointBaseline(Document& doc, std::span<const double> times) {
    const int n = valuesInUse(doc);
    if (n < 2) return;
    const int last = lastRealIndex(n);
    std::vector<double> sorted(times.begin(), times.end());
    sortAscending(sorted);

    std::vector<int> knots;
    knots.reserve(sorted.size() + 2);
    knots.push_back(0);
    for (const double t : sorted) {
        int i = truncToInt(n * t / doc.spectrum.acqPars.AQ);
        if (i % 2 != 0) --i;
        // A point left or right of the data (a click beside the trace, a step's ppm at the very
        // edge) is held at the first or the last point: its segment ends there instead of
        // reaching outside the data.
        knots.push_back(std::clamp(i, 0, last));
    }
    knots.push_back(last);

    double* x = doc.spectrum.specData.data();
    for (std::size_t j = 0; j + 1 < knots.size(); ++j) {
        const int a = knots[j];
        const int b = knots[j + 1];
        const double ya = x[a];
        const double yb = x[b];
        double s = b != a ? (yb - ya) / (b - a) : yb - ya;
        s *= 2.0;
        int m = 0;
        for (int i = a; i < b - 1; i += 2, ++m) {
            const double v = ya + m * s;
            x[i] -= v;
            x[i + 1] -= v;
        }
    }
    x[last] = 0.0;
    x[last + 1] = 0.0;
}

void MultiPointBaseline::open() { doc_.baseline.baselinePointCount = 0; }

bool MultiPointBaseline::addPoint(double t) {
    BaselineState& b = doc_.baseline;
    // The list holds 300 points; clicks beyond that are ignored, as are abscissae that are not
    // numbers (AQ of 0).
    if (!std::isfinite(t) || b.baselinePointCount >= kMaxBaselinePoints) return false;
    b.baselinePoints[static_cast<std::size_t>(b.baselinePointCount++)] = t;
    return true;
}

void MultiPointBaseline::apply() {
    multiPointBaseline(
        doc_, std::span(doc_.baseline.baselinePoints.data(), static_cast<std::size_t>(pointCount())));
    doc_.baseline.baselinePointCount = 0;
    doc_.notify(kDataChanged | kOverlaysChanged);
}

void MultiPointBaseline::cancel() {
    doc_.baseline.baselinePointCount = 0;
    doc_.notify(kOverlaysChanged);
}

}  // namespace pelvaron::processing
