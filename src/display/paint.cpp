// The layer order of the main plot: everything is redrawn on every paint.
#include "display/paint.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "base/numeric.h"
#include "display/axis.h"
#include "display/comments.h"
#include "display/integral_drawing.h"
#include "display/j_cursors.h"
#include "display/multiplet_labels.h"
#include "display/peak_labels.h"
#include "display/trace.h"
#include "display/view_transform.h"
#include "simulation/fit_session.h"

namespace pelvaron::display {

void paintDocument(platform::Surface& surface, Document& doc, const View& view, const PaintParams& params) {
    surface.fillRect(Rect{0, 0, surface.width(), surface.height()}, palette::kWhite);
    surface.setFont(platform::Font{});
    if (!doc.haveDocument || doc.spectrum.nData < 2 || !(doc.spectrum.acqPars.AQ > 0.0)) return;

    const int width = view.clientWidth;
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    const double pxPerIndex = transform.pixelsPerIndex();
    const double maxAbs =
        std::fabs(doc.spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(doc.spectrum.peakValue);
    ViewTransform::IndexRange range = transform.indexRange();
    // Limits a half-finished entry left outside the data must not make the drawing read there.
    range.i0 = std::clamp(range.i0, 0, doc.spectrum.nData);
    range.i1 = std::clamp(range.i1, 0, doc.spectrum.nData);
    const std::size_t count = static_cast<std::size_t>(doc.spectrum.nData);

    // The main trace and the second data set share the view's geometry.
    auto traceIn = [&](int baseY, TraceMode mode) {
        TraceParams p;
        p.i0 = range.i0;
        p.i1 = range.i1;
        p.maxAbs = maxAbs;
        p.baseY = baseY;
        p.pxPerIndex = pxPerIndex;
        p.rect = view.plotRect;
        p.mode = mode;
        p.vScale = view.vScale;
        return p;
    };

    if (view.addSubMode) {
        TraceParams second = traceIn(view.secondBaselineY, TraceMode::Second);
        second.shift = view.secondShift;
        second.useFactor = true;
        surface.setPen(palette::kMarkPen);
        drawTrace(surface, doc, view, std::span<const double>(doc.secondData.data(), count), second);
        surface.fillRect(Rect{0, view.plotRect.top, width, 58}, surface.panelColor());
        surface.setPen(palette::kGreyPen);
        surface.drawLine({0, 58}, {width, 58});
        surface.setPen(palette::kBlackPen);
        surface.drawLine({0, 59}, {width, 59});
    }

    const TraceParams main = traceIn(view.baselineY, TraceMode::Main);
    surface.setPen(palette::kTracePen);
    drawTrace(surface, doc, view, std::span<const double>(doc.spectrum.specData.data(), count), main);
    if (view.addSubMode && view.showFitResidual) drawFitResidual(surface, doc, view);

    if (view.dualZoom) {
        drawOverview(surface, doc, view, range.i0, range.i1);
        const int bottom = truncToInt(0.25 * view.clientHeight);
        surface.setPen(palette::kGreyPen);
        surface.drawLine({0, bottom}, {width, bottom});
        surface.setPen(palette::kBlackPen);
        surface.drawLine({0, bottom + 1}, {width, bottom + 1});
    }

    AxisParams axis;
    axis.i0 = range.i0;
    axis.i1 = range.i1;
    axis.xEnd = width;
    axis.height = view.clientHeight;
    axis.rect = view.plotRect;
    axis.scale = 1.0;
    axis.shadowStyle = true;
    axis.panelStyle = true;
    axis.screenHeight = params.screenHeight;
    axis.showGrid = view.showGrid != 0;
    drawAxis(surface, doc, view, axis);

    surface.setPen(palette::kMarkPen);
    if (doc.integrals.integralsShown) drawIntegralLayer(surface, doc, view);
    if (doc.jState.jShown) drawJCursorLayer(surface, doc, view);
    if (view.mouse.baselinePick) drawBaselinePickMarks(surface, doc, view);
    if (doc.peaks.peakLabelsShown) (void)drawPeakLabels(surface, doc, mainPeakLabelView(doc.spectrum, view));
    if (doc.multiplets.labelsShown)
        (void)drawMultipletLabels(surface, doc, mainPeakLabelView(doc.spectrum, view));
    surface.setPen(palette::kMarkPen);
    if (view.addSubMode) drawAddSubtractStrip(surface, view);
    surface.setPen(palette::kMarkPen);
    drawComments(surface, doc.comments, 1.0, 1.0);
}

void drawIntegralLayer(platform::Surface& surface, Document& doc, const View& view) {
    const IntegralState& in = doc.integrals;
    // The values first: their drawing refreshes the labels' hit boxes.
    if (in.showIntegralValues) drawIntegralValues(surface, doc, view);
    if (in.showIntegralCurves) {
        (void)drawIntegralCurves(surface, doc, view.plotRect, view.integralBaseY,
                                 ViewTransform::mainView(doc.spectrum, view, view.plotRect.width()),
                                 in.integralScale, view.vScale);
    }
}

int fitResidualRow(const View& view) {
    const int lower = std::max(view.baselineY, view.secondBaselineY);
    return lower + std::max(0, view.plotRect.bottom - lower) / 2;
}

void drawFitResidual(platform::Surface& surface, const Document& doc, const View& view) {
    const auto& ranges = simulation::fitResidual(doc);
    if (ranges.empty()) return;
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    ViewTransform::IndexRange shown = transform.indexRange();
    shown.i0 = std::clamp(shown.i0, 0, doc.spectrum.nData);
    shown.i1 = std::clamp(shown.i1, 0, doc.spectrum.nData);
    const int y = fitResidualRow(view);
    TraceParams p;
    p.maxAbs = std::fabs(doc.spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(doc.spectrum.peakValue);
    p.baseY = y;
    p.pxPerIndex = transform.pixelsPerIndex();
    p.rect = view.plotRect;
    p.mode = TraceMode::Plain;
    p.vScale = view.vScale;
    std::vector<double> curve;
    for (const auto& r : ranges) {
        const int count = static_cast<int>(r.residual.size());
        p.i0 = std::max(2 * r.first, shown.i0);
        p.i1 = std::min(2 * (r.first + count), shown.i1);
        if (p.i0 >= p.i1) continue;
        // Laid out as data from the region's first point; the trace's x counts from its first
        // index, shifted to where that index is in view.
        curve.assign(2 * static_cast<std::size_t>(count), 0.0);
        for (int k = 0; k < count; ++k)
            curve[2 * static_cast<std::size_t>(k)] = r.residual[static_cast<std::size_t>(k)];
        p.shift = p.i0 - shown.i0;
        p.i0 -= 2 * r.first;
        p.i1 -= 2 * r.first;
        const int x0 = truncToInt(p.shift * p.pxPerIndex) + view.plotRect.left;
        const int x1 = x0 + truncToInt((p.i1 - p.i0) * p.pxPerIndex);
        surface.setPen(palette::kGreyPen);
        surface.drawLine({x0, y}, {x1, y});
        surface.setPen(palette::kResidualPen);
        drawTrace(surface, doc, view, curve, p);
    }
}

void drawJCursorLayer(platform::Surface& surface, const Document& doc, const View& view) {
    drawJCursors(surface, doc, view);
}

void drawBaselinePickMarks(platform::Surface& surface, const Document& doc, const View& view) {
    for (const BaselineMark& mark : baselinePickMarks(doc, view)) surface.drawLine(mark.top, mark.bottom);
}

std::vector<BaselineMark> baselinePickMarks(const Document& doc, const View& view) {
    std::vector<BaselineMark> marks;
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    // The highest even index that names a real part.
    const int lastReal = std::max(0, (n - 2) - (n - 2) % 2);
    const double magnitude = std::fabs(doc.spectrum.peakValue);
    const double scale = view.vScale / (magnitude < kTinyPeak ? 1.0 : magnitude);
    const int count = std::clamp(doc.baseline.baselinePointCount, 0, kMaxBaselinePoints);
    for (int p = 0; p < count; ++p) {
        const double t = doc.baseline.baselinePoints[static_cast<std::size_t>(p)];
        const int x = truncToInt(transform.pixelOfT(t));
        int i = truncToInt(transform.indexOfT(t));
        if (i % 2 != 0) --i;
        // A point picked beside the data is drawn at the height of the nearest end.
        i = std::clamp(i, 0, lastReal);
        // Rows far off the plot are held at +-1e7, so that the tick's lower end cannot overflow.
        const int y = truncToInt(std::clamp(view.baselineY - doc.spectrum.specData[i] * scale, -1e7, 1e7));
        marks.push_back({{x, y}, {x, y + 10}});
    }
    return marks;
}

void drawAddSubtractStrip(platform::Surface& surface, const View& view) {
    surface.fillRect(Rect{0, view.plotRect.top, view.clientWidth, 64}, surface.panelColor());
    surface.setFont(platform::Font{"Arial", 14});
    surface.drawText({247, 50}, "Horizontal Shift", palette::kBlack);
    surface.drawText({387, 50}, "Vertical Offset", palette::kBlack);
    surface.drawText({527, 50}, "Change Intensity", palette::kBlack);
    surface.setFont(platform::Font{});
}

}  // namespace pelvaron::display
