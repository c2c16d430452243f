// The axis under the plot: tick table, major and minor ticks, labels, panel; the grid; the
// overview band.
#include "display/axis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "base/format.h"
#include "base/numeric.h"
#include "display/paint.h"
#include "display/trace.h"

namespace pelvaron::display {

namespace {

struct TickTableRow {
    double below;
    TickRow row;
};

// Ordered from the smallest bound: the first bound the range lies below wins.
constexpr std::array<TickTableRow, 19> kTickTable{{
    {0.05, {0.001, 0.0025, 3, false}}, {0.1, {0.002, 0.01, 3, false}}, {0.2, {0.004, 0.01, 2, false}},
    {0.5, {0.01, 0.05, 2, false}},     {1, {0.02, 0.05, 2, false}},    {2, {0.04, 0.1, 2, false}},
    {5, {0.04, 0.1, 1, false}},        {10, {0.1, 0.5, 1, false}},     {20, {0.2, 1, 0, false}},
    {50, {0.4, 0.5, 0, false}},        {100, {2, 10, 0, false}},       {200, {1, 10, 0, false}},
    {500, {5, 25, 0, false}},          {1000, {20, 100, 0, false}},    {2000, {40, 200, 0, false}},
    {3000, {50, 200, 0, false}},       {6000, {100, 500, 0, false}},   {10000, {200, 1000, 0, false}},
    {33000, {500, 2000, 0, false}},
}};

bool isMajor(double w, const TickRow& row) {
    if (row.labelAll) return true;
    const double q = w * (1.0 / row.labelEvery);
    const double k = std::trunc(q + std::copysign(0.0005, w));
    return std::fabs(q - k) < 0.0005;
}

}  // namespace

TickRow tickRowFor(double range) {
    for (const auto& entry : kTickTable) {
        if (range < entry.below) return entry.row;
    }
    return TickRow{500, 500, 0, true};
}

std::string axisLabel(double value, int decimals) {
    static constexpr std::array<const char*, 4> kFormats{"%.0lf", "%.1lf", "%.2lf", "%.3lf"};
    std::string text = cformat(kFormats[static_cast<std::size_t>(std::clamp(decimals, 0, 3))], value);
    // A negative value that rounds to zero would print as "-0"; the label is the plain zero.
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

AxisEnds axisEnds(const Document& doc, int i0, int i1) {
    const double n = doc.spectrum.nData;
    const double aq = doc.spectrum.acqPars.AQ;
    const double sw = doc.spectrum.acqPars.SW;
    const double sf = doc.spectrum.acqPars.SF;
    AxisEnds e;
    auto value = [&](int i) -> double {
        switch (doc.spectrum.xUnits) {
            case kPpm: return (doc.spectrum.refIndex - i) / (n / (sw / sf));
            case kHz: return (doc.spectrum.refIndex - i) / (n / sw);
            case kPoints: return static_cast<double>(i / 2);
            default: return i / (n / aq);
        }
    };
    e.vL = value(i0);
    e.vR = value(i1);
    e.direction = (doc.spectrum.xUnits == kPpm || doc.spectrum.xUnits == kHz) ? -1 : 1;
    return e;
}

AxisRows axisRows(int height, int screenHeight, double scale) {
    const double s = screenHeight / scale;
    return AxisRows{truncToInt(height - 0.09 * s), truncToInt(height - 0.08 * s),
                    truncToInt(height - 0.07 * s)};
}

void drawAxis(platform::Surface& surface, const Document& doc, const View& view, const AxisParams& p) {
    const int i0 = std::min(p.i0, p.i1);
    const int i1 = std::max(p.i0, p.i1);
    const Rect& rect = p.rect;
    const AxisEnds ends = axisEnds(doc, i0, i1);
    const double range = std::fabs(ends.vL - ends.vR);
    const TickRow row = tickRowFor(range);
    const double step = row.step;

    const double first = (std::trunc(ends.vL / step) + 1.0) * step;
    double last = std::trunc(ends.vR / step) * step;
    if (parseLeadingDouble(cformat("%.5lf", ends.vR)) == std::trunc(ends.vR / step)) last = ends.vR - step;
    const double tickSpan = std::fabs(last - first) / step;
    // Ticks denser than a few per pixel show nothing but cost a formatted number each: a range
    // that absurd (or not a number) draws the axis line alone.
    const double maxTicks = 8.0 * std::max(rect.right - rect.left, 1) + 16.0;
    const int n = std::isfinite(tickSpan) && tickSpan < maxTicks ? truncToInt(tickSpan) : -2;
    const double u = std::max(range / (rect.right - rect.left), 1e-9);

    const bool rightToLeft = ends.direction < 0;
    const int origin = rightToLeft ? p.xEnd : rect.left;
    const double originValue = rightToLeft ? ends.vR : ends.vL;
    double v = rightToLeft ? last : first;

    const int screenHeight = p.screenHeight > 0 ? p.screenHeight : view.clientHeight;
    const AxisRows rows = axisRows(p.height, screenHeight, p.scale);
    const platform::Pen tickPen = p.panelStyle ? palette::kGreyPen : p.linePen;

    if (p.panelStyle) {
        surface.fillRect(Rect{0, rows.axisY - 1, p.xEnd, rect.bottom}, surface.panelColor());
        surface.setPen(palette::kGreyPen);
        surface.drawLine({0, rect.bottom - 2}, {p.xEnd, rect.bottom - 2});
        surface.setPen(palette::kWhitePen);
        surface.drawLine({0, rect.bottom - 1}, {p.xEnd, rect.bottom - 1});
    }
    surface.setPen(tickPen);
    surface.drawLine({rect.left, rows.axisY}, {p.xEnd, rows.axisY});

    const int charWidth = surface.textMetrics().averageCharWidth;
    const platform::Color labelColor = p.shadowStyle ? palette::kLabelGrey : palette::kBlack;
    bool gridRows = false;
    for (int k = 0; k < n + 2; ++k, v += step) {
        const double tick = std::fabs(v) < 0.0005 ? 0.0 : v;
        const double w = parseLeadingDouble(cformat("%.8lf", tick));
        const double offset = (v - originValue) / u;
        if (!std::isfinite(offset)) continue;
        const int x = origin + ends.direction * truncToInt(offset);
        const bool major = isMajor(w, row);
        const bool inside = rect.left < x && x < rect.right;
        if (inside) {
            if (major) {
                const std::string label = axisLabel(w, row.decimals);
                const int width = static_cast<int>(label.size()) * charWidth;
                if (x - width / 2 > rect.left && x + width / 2 < rect.right) {
                    if (p.shadowStyle)
                        surface.drawText({x - width / 2, rows.majorY + 1}, label, palette::kWhite);
                    surface.drawText({x - width / 2 - 1, rows.majorY}, label, labelColor);
                }
            }
            const int tickEnd = major ? rows.majorY : rows.minorY;
            surface.setPen(tickPen);
            surface.drawLine({x, rows.axisY}, {x, tickEnd});
            if (p.shadowStyle) {
                surface.setPen(palette::kWhitePen);
                surface.drawLine({x + 1, rows.axisY}, {x + 1, tickEnd});
            }
            if (p.showGrid) drawGridLine(surface, view, x, rows.axisY);
        }
        if (p.showGrid && !major) gridRows = true;
    }
    // The rows are the same for every minor tick: drawing them once gives the same picture.
    if (gridRows) drawGridRows(surface, view);
    surface.setPen(tickPen);
}

void drawGridLine(platform::Surface& surface, const View& view, int x, int y) {
    surface.setPen(palette::kGridPen);
    surface.drawLine({x, y}, {x, view.plotRect.top});
}

void drawGridRows(platform::Surface& surface, const View& view) {
    const platform::TextMetrics tm = surface.textMetrics();
    const int h = tm.height + tm.externalLeading;
    const int y0 = truncToInt(view.clientHeight - 3.5 * h);
    const int d = (y0 - view.plotRect.top) / 10;
    surface.setPen(palette::kGridRowPen);
    for (int k = 1; k <= 10; ++k) {
        const int y = y0 - k * d;
        surface.drawLine({view.plotRect.left, y}, {view.plotRect.right, y});
    }
}

void drawOverview(platform::Surface& surface, const Document& doc, const View& view, int i0, int i1) {
    const int w = view.clientWidth;
    const int bottom = truncToInt(0.25 * view.clientHeight);
    const Rect band{0, 0, w, bottom};
    surface.fillRect(band, surface.panelColor());
    if (doc.spectrum.nData <= 0) return;

    const int left = truncToInt(static_cast<double>(i0) * w / doc.spectrum.nData);
    const int right = truncToInt(static_cast<double>(i1) * w / doc.spectrum.nData);
    if (!view.fullView && left >= 0 && right <= w) {
        surface.fillRect(Rect{left, 0, right, bottom}, palette::kHighlight);
        surface.setPen(palette::kBlackPen);
        surface.drawLine({left, 0}, {left, bottom});
        surface.drawLine({right, 0}, {right, bottom});
    }

    TraceParams t;
    t.i0 = 0;
    t.i1 = doc.spectrum.nData;
    t.maxAbs = std::fabs(doc.spectrum.peakValue) < 1e-6 ? 1.0 : std::fabs(doc.spectrum.peakValue);
    t.baseY = truncToInt(0.2 * view.clientHeight);
    t.pxPerIndex = static_cast<double>(w) / doc.spectrum.nData;
    t.rect = band;
    t.mode = TraceMode::Overview;
    t.vScale = view.vScale;
    surface.setPen(palette::kTracePen);
    drawTrace(
        surface, doc, view,
        std::span<const double>(doc.spectrum.specData.data(), static_cast<std::size_t>(doc.spectrum.nData)),
        t);
}

}  // namespace pelvaron::display
