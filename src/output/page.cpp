// The page's layers, in the order they are drawn; every geometry is the page's own.
#include "output/page.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <span>
#include <vector>

#include "analysis/integrals.h"
#include "analysis/multiplets.h"
#include "base/format.h"
#include "base/numeric.h"
#include "display/axis.h"
#include "display/comments.h"
#include "display/integral_drawing.h"
#include "display/multiplet_labels.h"
#include "display/paint.h"
#include "display/trace.h"
#include "document/units.h"

namespace pelvaron::output {

namespace palette = display::palette;

namespace {

/// Height of the axis labels of an expansion window on the screen, pixels.
constexpr int kInsetAxisFontPixels = 8;
/// Where the legend's line runs across the page, as a fraction of its bottom.
constexpr double kLegendLine = 0.96;

double verticalFactor(const display::View& view, const Rect& page) {
    return view.clientHeight > 0 ? static_cast<double>(page.height()) / view.clientHeight : 1.0;
}

double maxAbsOf(const Document& doc) {
    return std::fabs(doc.spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(doc.spectrum.peakValue);
}

/// The integral labels under the page's spectrum: brackets from both ends to the middle and
/// the values on two alternating rows, each part drawn only inside the page's width.
void drawPageIntegralValues(platform::Surface& surface, const Document& doc, const display::View& view,
                            const Rect& page) {
    const IntegralState& in = doc.integrals;
    const int L = page.left, R = page.right, B = page.bottom;
    const double w = page.width();
    const int h = page.height();
    const int cw = surface.textMetrics().averageCharWidth;
    const int y0 = truncToInt(0.83 * B);
    const int d = truncToInt(0.0125 * h);
    const int y1 = y0 + d;
    const int y2 = y1 + d;
    const int e = truncToInt(0.01 * h);
    // Far beyond any page, so that the sums below stay inside int.
    constexpr double kFar = 1 << 24;
    const display::ViewTransform transform = display::ViewTransform::mainView(doc.spectrum, view, w);
    auto xOf = [&](double p) {
        const double x = L + transform.pixelOfIndex(2.0 * p);
        return std::isfinite(x) ? std::clamp(x, -kFar, kFar) : 0.0;
    };
    auto inside = [&](int x) { return L < x && x < R; };

    const int count = std::clamp(in.integralCount, 0, kMaxIntegrals);
    std::vector<platform::Point> bracket;
    for (int k = 0; k < count; ++k) {
        const auto s = static_cast<std::size_t>(k);
        const int xs = truncToInt(xOf(in.integralStart[s]));
        const int xe = truncToInt(xOf(in.integralEnd[s]));
        const int xm = truncToInt(xOf(in.integralStart[s]) + xOf(in.integralEnd[s])) / 2;
        bracket.clear();
        bracket.push_back({std::clamp(xs, L, R), y0});
        if (inside(xs)) bracket.push_back({xs, y1});
        if (inside(xm)) bracket.push_back({xm, y2});
        if (inside(xe)) {
            bracket.push_back({xe, y1});
            bracket.push_back({xe, y0});
        }
        if (bracket.size() >= 2) surface.drawPolyline(bracket);

        const std::string text = analysis::integralLabelText(doc, k);
        const int width = static_cast<int>(text.size()) * cw;
        const int x = xm - width / 2;
        const int y = y2 + (k % 2 == 0 ? 3 * e : e);
        if (inside(x) && inside(xm)) {
            surface.drawText({x, y}, text, palette::kBlack);
            surface.drawLine({xm, y2}, {xm, y});
        }
    }
}

/// One expansion window as an inset: border, trace, axis and integral curves.
void drawInset(platform::Surface& surface, const Document& doc, const display::View& view, int slot,
               const Rect& page, double vf, int screenHeight) {
    const display::ExpansionSlot& w = view.expansions.windows[static_cast<std::size_t>(slot)];
    const bool colour = view.print.printColour != 0;
    const Rect inset = insetRect(view, slot, page);
    if (view.print.printExpBorders) {
        surface.setPen(palette::kBlackPen);
        surface.drawRect(inset);
    }
    const int i0 = std::clamp(std::min(w.expLeftIndex, w.expRightIndex), 0, doc.spectrum.nData);
    const int i1 = std::clamp(std::max(w.expLeftIndex, w.expRightIndex), 0, doc.spectrum.nData);
    // A window that shows no range has nothing to draw (and nothing to divide by).
    if (i1 <= i0 || !(doc.spectrum.acqPars.SW > 0.0)) return;
    const double psy = view.print.pageScaleY;

    display::TraceParams trace;
    trace.i0 = i0;
    trace.i1 = i1;
    trace.maxAbs = maxAbsOf(doc);
    trace.baseY = inset.top + truncToInt((w.expBaselineHandle.bottom + w.captionHeight) * psy);
    trace.pxPerIndex = static_cast<double>(inset.width()) / (i1 - i0);
    trace.rect = inset;
    trace.mode = display::TraceMode::Plain;
    trace.vScale = w.expVScale;
    trace.extra = vf;
    surface.setPen(colour ? palette::kTracePen : palette::kBlackPen);
    display::drawTrace(
        surface, doc, view,
        std::span<const double>(doc.spectrum.specData.data(), static_cast<std::size_t>(doc.spectrum.nData)),
        trace);

    // The expansion window's own 8-pixel axis font, scaled as the inset is: at 28 pixels scaled
    // the labels stood taller than the inset's axis panel and ran into each other.
    surface.setFont(platform::Font{"Courier New", truncToInt(kInsetAxisFontPixels * psy)});
    surface.setPen(palette::kBlackPen);
    display::AxisParams axis;
    axis.i0 = i0;
    axis.i1 = i1;
    axis.xEnd = inset.right;
    axis.height = inset.bottom;
    axis.rect = inset;
    axis.scale = 3.5;
    axis.shadowStyle = false;
    axis.panelStyle = false;
    axis.screenHeight = screenHeight;
    display::drawAxis(surface, doc, view, axis);

    const IntegralState& in = doc.integrals;
    if (in.integralsShown && in.showIntegralCurves) {
        surface.setPen(colour ? palette::kMarkPen : palette::kBlackPen);
        const double sw2 = 2.0 * doc.spectrum.acqPars.SW;
        const double zoom = doc.spectrum.acqPars.AQ / ((i1 - i0) / sw2);
        const display::ViewTransform transform(doc.spectrum, i0 / sw2, i1 / sw2, zoom, inset.width());
        (void)display::drawIntegralCurves(surface, doc, inset,
                                          inset.top + truncToInt((w.expIntegralY + w.captionHeight) * psy),
                                          transform, w.expIntegralScale * psy, w.expVScale);
    }
}

}  // namespace

platform::Font pageFont(const display::View& view, const Rect& page) {
    return {"Courier New", truncToInt(12 * verticalFactor(view, page))};
}

Rect insetRect(const display::View& view, int slot, const Rect& page) {
    const display::ExpansionSlot& w = view.expansions.windows[static_cast<std::size_t>(slot)];
    const double psx = view.print.pageScaleX;
    const double psy = view.print.pageScaleY;
    // The window's rectangle moved down by the rows of its caption and frame.
    const int top = w.frame.top + w.captionHeight;
    const int bottom = w.frame.bottom + w.captionHeight;
    Rect r{truncToInt(w.frame.left * psx), truncToInt(top * psy + page.top), truncToInt(w.frame.right * psx),
           truncToInt(bottom * psy + page.top)};
    // A screen wider than the paper (1280 pixels at 96 dpi are 34 cm, A4 is 21 or 29.7) puts a
    // window near its right or lower edge off the page: the inset is moved back onto it, its size
    // kept (and held to the page's).
    const auto fit = [](int& lo, int& hi, int min, int max) {
        const int size = std::min(hi - lo, max - min);
        if (hi > max) lo = max - size;
        if (lo < min) lo = min;
        hi = lo + size;
    };
    fit(r.left, r.right, page.left, page.right);
    fit(r.top, r.bottom, page.top, page.bottom);
    return r;
}

display::PeakLabelView pagePeakLabelView(const Document& doc, const display::View& view, const Rect& page,
                                         int lineHeight) {
    const double vf = verticalFactor(view, page);
    display::PeakLabelView v;
    v.rect = page;
    // Below the legend's header row (file name and date).
    v.bandTop = page.top + truncToInt(0.01 * page.height()) + 2 * lineHeight;
    const display::ViewTransform transform =
        display::ViewTransform::mainView(doc.spectrum, view, page.width());
    const display::ViewTransform::IndexRange range = transform.indexRange();
    v.i0 = std::clamp(range.i0, 0, std::max(doc.spectrum.nData, 0));
    v.i1 = std::clamp(range.i1, 0, std::max(doc.spectrum.nData, 0));
    v.pxPerIndex = doc.spectrum.nData > 0 ? transform.pixelsPerIndex() : 0.0;
    v.baseY = truncToInt(view.baselineY * vf + page.top * view.print.pageBaseFactor);
    v.maxAbs = maxAbsOf(doc);
    v.vScale = view.vScale * vf;
    return v;
}

std::vector<std::string> wrapText(const platform::Surface& surface, const std::string& text, int width) {
    std::vector<std::string> rows;
    std::string row;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        const std::string longer = row.empty() ? word : row + " " + word;
        if (!row.empty() && surface.textExtent(longer).width > width) {
            rows.push_back(std::move(row));
            row = word;
        } else {
            row = longer;
        }
    }
    if (!row.empty()) rows.push_back(std::move(row));
    return rows;
}

ReportLineRows reportLineRows(platform::Surface& surface, const std::string& line, const Rect& page,
                              const platform::Font& font) {
    ReportLineRows out;
    out.plot = page;
    if (line.empty()) return out;
    surface.setFont(font);
    const platform::TextMetrics m = surface.textMetrics();
    const int lineHeight = std::max(m.height + m.externalLeading, 1);
    out.rows = wrapText(surface, line, page.width() - 60);
    out.left = page.left + 30;
    // The rows end half a row above the legend's line. The spectrum keeps the band of its own
    // legend for its axis labels, whose text reaches nearly to that band's line: it ends where
    // that line comes a row above the report's rows.
    out.top = truncToInt(kLegendLine * page.bottom) - lineHeight / 2 -
              static_cast<int>(out.rows.size()) * lineHeight;
    out.lineHeight = lineHeight;
    out.plot.bottom = std::max(page.top + 1, truncToInt((out.top - lineHeight) / kLegendLine));
    return out;
}

void renderPage(platform::Surface& surface, Document& doc, const display::View& view, const Rect& page) {
    const display::PrintState& print = view.print;
    const bool colour = print.printColour != 0;
    surface.setPen(palette::kBlackPen);
    if (!doc.haveDocument || doc.spectrum.nData < 2 || !(doc.spectrum.acqPars.AQ > 0.0)) {
        surface.drawRect(page);
        return;
    }
    // With a multiplet report the spectrum leaves room for its line above the legend.
    const MultipletState& multiplets = doc.multiplets;
    const ReportLineRows report = reportLineRows(surface,
                                                 multiplets.labelsShown && !multiplets.ranges.empty()
                                                     ? analysis::reportLine(doc.spectrum, multiplets)
                                                     : "",
                                                 page, pageFont(view, page));
    const Rect& plot = report.plot;
    const int L = plot.left, T = plot.top, R = plot.right, B = plot.bottom;

    // The axis rows are measured against the page's bottom instead of the screen's height.
    const int screenHeight = B;
    const display::ViewTransform transform = display::ViewTransform::mainView(doc.spectrum, view, R - L);
    display::ViewTransform::IndexRange range = transform.indexRange();
    range.i0 = std::clamp(range.i0, 0, doc.spectrum.nData);
    range.i1 = std::clamp(range.i1, 0, doc.spectrum.nData);
    const double px = transform.pixelsPerIndex();
    const double vf = verticalFactor(view, plot);
    const platform::Font font = pageFont(view, page);
    surface.setFont(font);
    const int y0 = truncToInt(view.baselineY * vf + T * print.pageBaseFactor);

    surface.drawRect(page);

    display::TraceParams trace;
    trace.i0 = range.i0;
    trace.i1 = range.i1;
    trace.maxAbs = maxAbsOf(doc);
    trace.baseY = y0;
    trace.pxPerIndex = px;
    trace.rect = plot;
    trace.mode = display::TraceMode::Plain;
    trace.vScale = view.vScale;
    trace.extra = vf;
    surface.setPen(colour ? palette::kTracePen : palette::kBlackPen);
    display::drawTrace(
        surface, doc, view,
        std::span<const double>(doc.spectrum.specData.data(), static_cast<std::size_t>(doc.spectrum.nData)),
        trace);

    surface.setPen(palette::kBlackPen);
    display::AxisParams axis;
    axis.i0 = range.i0;
    axis.i1 = range.i1;
    axis.xEnd = R;
    axis.height = B - T;
    axis.rect = plot;
    axis.scale = print.pageAxisScale;
    axis.shadowStyle = false;
    axis.panelStyle = false;
    axis.screenHeight = screenHeight;
    display::drawAxis(surface, doc, view, axis);

    const IntegralState& in = doc.integrals;
    if (in.integralsShown) {
        surface.setPen(colour ? palette::kMarkPen : palette::kBlackPen);
        if (in.showIntegralValues) drawPageIntegralValues(surface, doc, view, plot);
        if (in.showIntegralCurves) {
            const int b = view.integralBaseY + truncToInt(T / vf);
            (void)display::drawIntegralCurves(
                surface, doc, plot, truncToInt(b * vf),
                display::ViewTransform::mainView(doc.spectrum, view, plot.width()), in.integralScale * vf,
                view.vScale);
        }
    }

    // The multiplet ranges, marked as over the plot.
    if (doc.multiplets.labelsShown)
        (void)display::drawMultipletLabels(
            surface, doc,
            pagePeakLabelView(doc, view, plot,
                              surface.textMetrics().height + surface.textMetrics().externalLeading));

    // The peaks picked in the view, labelled as over the plot, in the page's font.
    // Their ticks are grey as over the plot in colour, black like the rest of the page without.
    if (doc.peaks.peakLabelsShown && doc.peaks.peakCount > 0) {
        const platform::TextMetrics m = surface.textMetrics();
        const std::vector<display::PeakLabel> labels = display::placePeakLabels(
            doc, surface, pagePeakLabelView(doc, view, plot, m.height + m.externalLeading));
        surface.setPen(colour ? palette::kGreyPen : palette::kBlackPen);
        for (const display::PeakLabel& l : labels) {
            surface.drawLine({l.x, l.tickTop}, {l.x, l.tickBottom});
            surface.drawText(l.at, l.text, palette::kBlack);
        }
    }

    for (int s = 0; s < display::kMaxExpansions; ++s)
        if (view.expansionUsed[static_cast<std::size_t>(s)] == 1)
            drawInset(surface, doc, view, s, plot, vf, screenHeight);

    surface.setPen(palette::kBlackPen);
    if (print.printParams) {
        // The page's font again: the insets' axis font must not carry over into the legend.
        surface.setFont(font);
        drawParameterLegend(surface, doc, view, page);
    }
    if (!report.rows.empty()) surface.setFont(font);
    for (std::size_t k = 0; k < report.rows.size(); ++k)
        surface.drawText({report.left, report.top + static_cast<int>(k) * report.lineHeight}, report.rows[k],
                         palette::kBlack);
    surface.setFont(platform::Font{});
    display::drawComments(surface, doc.comments, print.pageScaleX, print.pageScaleY);
}

std::array<std::string, 5> legendTexts(const Document& doc) {
    const AcqParams& a = doc.spectrum.acqPars;
    std::string units;
    switch (doc.spectrum.xUnits) {
        case kSeconds: units = "Units: Seconds"; break;
        case kPpm: units = "Scale units: ppm"; break;
        case kHz: units = "Scale units: Hertzs"; break;
        default: units = "Scale units: Points"; break;
    }
    return {cformat("SF: %.2lf MHz", a.SF), cformat("SW: %.2lf Hz", a.SW), cformat("AQ: %.2lf seconds", a.AQ),
            cformat("TD: %d points", static_cast<int>(a.TD)), units};
}

std::string legendFileText(const Document& doc) {
    return doc.fileTitle.empty() ? "" : "File: " + doc.fileTitle;
}

std::string legendDateText() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return std::string("Date: ") + text;
}

void drawParameterLegend(platform::Surface& surface, const Document& doc, const display::View& view,
                         const Rect& rect) {
    const int L = rect.left, R = rect.right, B = rect.bottom;
    const int lineY = truncToInt(kLegendLine * B);
    surface.drawLine({L, lineY}, {R, lineY});
    const int y = truncToInt(0.97 * B);
    const std::array<std::string, 5> texts = legendTexts(doc);
    // On a narrow page (A4 portrait) the page's font would run a text into the next one and the
    // last one over the frame: there the font is made just small enough for each to fit its fifth.
    const double room = (R - L) / 5.0 - 30;
    int widest = 0;
    for (const std::string& text : texts) widest = std::max(widest, surface.textExtent(text).width);
    if (widest > room && room > 0) {
        const platform::Font font = pageFont(view, rect);
        surface.setFont({font.family, std::max(1, truncToInt(font.pixelHeight * room / widest))});
    }
    double x = L + 30;
    for (const std::string& text : texts) {
        surface.drawText({truncToInt(x), y}, text, palette::kBlack);
        x = std::trunc(x + (R - L) / 5.0);
    }

    // The header row: which file and when, where the spectrum leaves the page free.
    const int top = rect.top + truncToInt(0.01 * rect.height());
    const std::string file = legendFileText(doc);
    if (!file.empty()) surface.drawText({L + 30, top}, file, palette::kBlack);
    const std::string date = legendDateText();
    surface.drawText({R - 30 - surface.textExtent(date).width, top}, date, palette::kBlack);
}

}  // namespace pelvaron::output
