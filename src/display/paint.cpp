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
#include "display/peak_labels.h"
#include "display/trace.h"
#include "document/units.h"
#include "processing/baseline.h"

namespace pelvaron::display {

void paintDocument(platform::Surface& surface, Document& doc, const PaintParams& params) {
    surface.fillRect(Rect{0, 0, surface.width(), surface.height()}, palette::kWhite);
    surface.setFont(platform::Font{});
    if (!doc.haveDocument || doc.spectrum.nData < 2 || !(doc.spectrum.acqPars.AQ > 0.0)) return;

    const int width = doc.clientWidth;
    const double pxPerIndex = static_cast<double>(width) / doc.spectrum.nData * doc.viewZoom;
    const double maxAbs =
        std::fabs(doc.spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(doc.spectrum.peakValue);
    units::IndexRange range = units::viewIndexRange(doc);
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
        p.rect = doc.plotRect;
        p.mode = mode;
        p.vScale = doc.vScale;
        return p;
    };

    if (doc.addSubMode) {
        TraceParams second = traceIn(doc.secondBaselineY, TraceMode::Second);
        second.shift = doc.secondShift;
        second.useFactor = true;
        surface.setPen(palette::kMarkPen);
        drawTrace(surface, doc, std::span<const double>(doc.secondData.data(), count), second);
        surface.fillRect(Rect{0, doc.plotRect.top, width, 58}, surface.panelColor());
        surface.setPen(palette::kGreyPen);
        surface.drawLine({0, 58}, {width, 58});
        surface.setPen(palette::kBlackPen);
        surface.drawLine({0, 59}, {width, 59});
    }

    const TraceParams main = traceIn(doc.baselineY, TraceMode::Main);
    surface.setPen(palette::kTracePen);
    drawTrace(surface, doc, std::span<const double>(doc.spectrum.specData.data(), count), main);

    if (doc.dualZoom) {
        drawOverview(surface, doc, range.i0, range.i1);
        const int bottom = truncToInt(0.25 * doc.clientHeight);
        surface.setPen(palette::kGreyPen);
        surface.drawLine({0, bottom}, {width, bottom});
        surface.setPen(palette::kBlackPen);
        surface.drawLine({0, bottom + 1}, {width, bottom + 1});
    }

    AxisParams axis;
    axis.i0 = range.i0;
    axis.i1 = range.i1;
    axis.xEnd = width;
    axis.height = doc.clientHeight;
    axis.rect = doc.plotRect;
    axis.scale = 1.0;
    axis.shadowStyle = true;
    axis.panelStyle = true;
    axis.screenHeight = params.screenHeight;
    axis.showGrid = doc.showGrid != 0;
    drawAxis(surface, doc, axis);

    surface.setPen(palette::kMarkPen);
    if (doc.integrals.integralsShown) drawIntegralLayer(surface, doc);
    if (doc.jState.jShown) drawJCursorLayer(surface, doc);
    if (doc.tools.baselinePickMode) drawBaselinePickMarks(surface, doc);
    if (doc.peaks.peakLabelsShown) (void)drawPeakLabels(surface, doc, mainPeakLabelView(doc));
    surface.setPen(palette::kMarkPen);
    if (doc.addSubMode) drawAddSubtractStrip(surface, doc);
    surface.setPen(palette::kMarkPen);
    drawComments(surface, doc.comments, 1.0, 1.0);
}

void drawIntegralLayer(platform::Surface& surface, Document& doc) {
    const IntegralState& in = doc.integrals;
    // The values first: their drawing refreshes the labels' hit boxes.
    if (in.showIntegralValues) drawIntegralValues(surface, doc);
    if (in.showIntegralCurves) {
        (void)drawIntegralCurves(surface, doc, doc.plotRect, in.integralBaseY, doc.viewLeft, in.integralScale,
                                 doc.vScale);
    }
}

void drawJCursorLayer(platform::Surface& surface, const Document& doc) { drawJCursors(surface, doc); }

void drawBaselinePickMarks(platform::Surface& surface, const Document& doc) {
    for (const processing::BaselineMark& mark : processing::baselinePickMarks(doc))
        surface.drawLine(mark.top, mark.bottom);
}

void drawAddSubtractStrip(platform::Surface& surface, const Document& doc) {
    surface.fillRect(Rect{0, doc.plotRect.top, doc.clientWidth, 64}, surface.panelColor());
    surface.setFont(platform::Font{"Arial", 14});
    surface.drawText({247, 50}, "Horizontal Shift", palette::kBlack);
    surface.drawText({387, 50}, "Vertical Offset", palette::kBlack);
    surface.drawText({527, 50}, "Change Intensity", palette::kBlack);
    surface.setFont(platform::Font{});
}

}  // namespace pelvaron::display
