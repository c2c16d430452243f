// Placement of the peak labels: greedy by intensity, in rows, never overlapping.
#include "display/peak_labels.h"

#include <algorithm>
#include <cmath>

#include "analysis/peaks.h"
#include "base/format.h"
#include "base/numeric.h"
#include "display/paint.h"
#include "display/trace.h"
#include "display/view_transform.h"

namespace pelvaron::display {

namespace {

/// Pixels kept free between two texts of a row, and the shortest tick.
constexpr int kGap = 4;
constexpr int kMinTick = 4;

struct Candidate {
    int x = 0;
    int peakRow = 0;
    double priority = 0.0;
    int index = 0;
    std::string text;
};

}  // namespace

PeakLabelView mainPeakLabelView(const Spectrum& spectrum, const View& view) {
    PeakLabelView v;
    v.rect = view.plotRect;
    v.rect.left = 0;
    v.rect.right = view.clientWidth;
    int top = view.plotRect.top;
    if (view.dualZoom) top = std::max(top, view.tools.overviewBottom + 2);
    if (view.addSubMode) top = std::max(top, 64);
    v.bandTop = top + 4;
    const ViewTransform transform = ViewTransform::mainView(spectrum, view);
    ViewTransform::IndexRange range = transform.indexRange();
    v.i0 = std::clamp(range.i0, 0, std::max(spectrum.nData, 0));
    v.i1 = std::clamp(range.i1, 0, std::max(spectrum.nData, 0));
    v.pxPerIndex = spectrum.nData > 0 ? transform.pixelsPerIndex() : 0.0;
    v.baseY = view.baselineY;
    v.maxAbs = std::fabs(spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(spectrum.peakValue);
    v.vScale = view.vScale;
    return v;
}

std::vector<PeakLabel> placePeakLabels(const Document& doc, const platform::Surface& surface,
                                       const PeakLabelView& view) {
    std::vector<PeakLabel> placed;
    const PeakState& ps = doc.peaks;
    const int count = std::clamp(doc.spectrum.nData, 0, kCapacity);
    const int entries = std::clamp(ps.peakCount, 0, kMaxPeakEntries);
    if (entries == 0 || view.rows < 1 || !(view.pxPerIndex > 0.0)) return placed;

    std::vector<Candidate> candidates;
    for (int e = 0; e < entries; ++e) {
        const PeakEntry& entry = ps.peakList[static_cast<std::size_t>(e)];
        if (entry.index < view.i0 || entry.index >= view.i1 || entry.index >= count) continue;
        const analysis::PeakValues values = analysis::peakValues(doc, entry);
        const int x = view.rect.left + truncToInt((values.index - view.i0) * view.pxPerIndex);
        if (x < view.rect.left || x >= view.rect.right) continue;
        // The tick reaches the trace as it is drawn now, whatever processing came after the pick.
        const int row =
            traceRow(doc.spectrum.specData[entry.index], view.maxAbs, view.baseY, view.vScale, view.rect);
        candidates.push_back({x, std::min(row, view.baseY), std::fabs(values.intensity), entry.index,
                              cformat("%.3lf", values.ppm)});
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.priority != b.priority ? a.priority > b.priority : a.index < b.index;
    });

    const int lineHeight = std::max(surface.textMetrics().height, 1);
    for (const Candidate& c : candidates) {
        const int width = surface.textExtent(c.text).width;
        // Near the plot's edges the text moves inwards; its tick stays on the peak.
        const int left = std::max(view.rect.left, std::min(c.x - width / 2, view.rect.right - width));
        const int right = left + width;
        for (int row = 0; row < view.rows; ++row) {
            const bool blocked = std::any_of(placed.begin(), placed.end(), [&](const PeakLabel& o) {
                if (o.row == row) return left < o.at.x + o.width + kGap && o.at.x < right + kGap;
                // A tick of a row above crosses this row; this tick crosses the rows below.
                if (o.row < row) return o.x >= left - 1 && o.x <= right + 1;
                return c.x >= o.at.x - 1 && c.x <= o.at.x + o.width + 1;
            });
            if (blocked) continue;
            PeakLabel label;
            label.text = c.text;
            label.at = {left, view.bandTop + row * (lineHeight + 2)};
            label.width = width;
            label.row = row;
            label.x = c.x;
            label.tickTop = label.at.y + lineHeight + 1;
            label.tickBottom = std::min(std::max(label.tickTop + kMinTick, c.peakRow - 3), view.rect.bottom);
            placed.push_back(std::move(label));
            break;
        }
    }
    return placed;
}

std::vector<PeakLabel> drawPeakLabels(platform::Surface& surface, const Document& doc,
                                      const PeakLabelView& view) {
    if (!doc.peaks.peakLabelsShown) return {};
    std::vector<PeakLabel> labels = placePeakLabels(doc, surface, view);
    surface.setPen(palette::kGreyPen);
    for (const PeakLabel& l : labels) {
        surface.drawLine({l.x, l.tickTop}, {l.x, l.tickBottom});
        surface.drawText(l.at, l.text, palette::kBlack);
    }
    return labels;
}

}  // namespace pelvaron::display
