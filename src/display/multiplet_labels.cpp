// Placement of the multiplet labels: above each range's lines, moved up out of each other's way.
#include "display/multiplet_labels.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"
#include "display/paint.h"
#include "display/trace.h"
#include "document/units.h"

namespace pelvaron::display {

namespace {

/// Pixels between the highest point and the bar, between the bar and its text, and kept free
/// between two texts.
constexpr int kAboveLines = 4;
constexpr int kAboveBar = 2;
constexpr int kGap = 4;
/// How far the bar's ends turn down, marking where the range stops.
constexpr int kEndTick = 3;

/// Beyond any surface, so that pixel arithmetic stays inside int.
constexpr double kFar = 1 << 24;

std::string labelText(const MultipletRange& r, int digits) {
    const std::string delta = cformat("%.*f", std::clamp(digits, 0, 6), r.deltaPpm);
    switch (r.kind) {
        case RangeKind::Solvent: return delta + " solvent";
        case RangeKind::Reference: return delta + " reference";
        case RangeKind::Signal: break;
    }
    return r.pattern.multiplicity.empty() ? delta : delta + " " + r.pattern.multiplicity;
}

}  // namespace

std::vector<MultipletLabel> placeMultipletLabels(const Document& doc, const platform::Surface& surface,
                                                 const PeakLabelView& view) {
    std::vector<MultipletLabel> placed;
    const Spectrum& s = doc.spectrum;
    const int count = std::clamp(s.nData, 0, kCapacity);
    if (count < 2 || !(s.acqPars.AQ > 0.0) || !(view.pxPerIndex > 0.0)) return placed;

    auto indexOf = [&](double ppm) { return units::tToIndex(doc, units::unitToT(doc, ppm, kPpm)); };
    auto xOf = [&](double index) {
        const double x = view.rect.left + (index - view.i0) * view.pxPerIndex;
        // A ppm falls between pixels: the nearest, so that an end at a column's edge stays on it.
        return static_cast<int>(std::lround(std::isfinite(x) ? std::clamp(x, -kFar, kFar) : -kFar));
    };
    const int lineHeight = std::max(surface.textMetrics().height, 1);

    for (const MultipletRange& r : doc.multiplets.ranges) {
        const double ia = indexOf(r.fromPpm);
        const double ib = indexOf(r.toPpm);
        const int left = xOf(std::min(ia, ib));
        const int right = xOf(std::max(ia, ib));
        if (right < view.rect.left || left >= view.rect.right) continue;

        // The highest point of the range as the trace draws it (real parts only).
        const int first = std::clamp(static_cast<int>(std::ceil(std::min(ia, ib))), view.i0, view.i1);
        const int last = std::clamp(static_cast<int>(std::floor(std::max(ia, ib))), view.i0, view.i1);
        double highest = 0.0;
        for (int i = first + (first % 2); i <= last && i < count; i += 2)
            if (std::isfinite(s.specData[i])) highest = std::max(highest, s.specData[i]);
        const int top = traceRow(highest, view.maxAbs, view.baseY, view.vScale, view.rect);

        MultipletLabel label;
        label.text = labelText(r, doc.multiplets.format.deltaDigits);
        label.width = surface.textExtent(label.text).width;
        label.signal = r.kind == RangeKind::Signal;
        label.barLeft = std::max(left, view.rect.left);
        label.barRight = std::min(right, view.rect.right - 1);
        label.barY = std::max(top - kAboveLines, view.bandTop + lineHeight + kAboveBar);
        // Near the view's edges the text moves inwards; the bar stays on the range.
        const int centre = xOf(indexOf(r.deltaPpm));
        const int x =
            std::max(view.rect.left, std::min(centre - label.width / 2, view.rect.right - label.width));
        int y = label.barY - kAboveBar - lineHeight;
        // Up above every text in the way, until none is (or the band's top is reached).
        for (bool moved = true; moved && y > view.bandTop;) {
            moved = false;
            for (const MultipletLabel& o : placed) {
                const bool across = x < o.at.x + o.width + kGap && o.at.x < x + label.width + kGap;
                const bool level = y < o.at.y + lineHeight + kAboveBar && o.at.y < y + lineHeight + kAboveBar;
                if (across && level) {
                    y = o.at.y - lineHeight - kAboveBar;
                    moved = true;
                }
            }
        }
        label.at = {x, std::max(y, view.bandTop)};
        placed.push_back(std::move(label));
    }
    return placed;
}

std::vector<MultipletLabel> drawMultipletLabels(platform::Surface& surface, const Document& doc,
                                                const PeakLabelView& view) {
    if (!doc.multiplets.labelsShown) return {};
    std::vector<MultipletLabel> labels = placeMultipletLabels(doc, surface, view);
    for (const MultipletLabel& l : labels) {
        surface.setPen(l.signal ? palette::kBlackPen : palette::kGreyPen);
        surface.drawLine({l.barLeft, l.barY + kEndTick}, {l.barLeft, l.barY});
        surface.drawLine({l.barLeft, l.barY}, {l.barRight, l.barY});
        surface.drawLine({l.barRight, l.barY}, {l.barRight, l.barY + kEndTick});
        surface.drawText(l.at, l.text, l.signal ? palette::kBlack : palette::kGrey);
    }
    return labels;
}

}  // namespace pelvaron::display
