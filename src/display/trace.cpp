// Drawing of one trace: every point when there are few, one min/max stroke per pixel column
// when there are more points than columns.
#include "display/trace.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "base/numeric.h"
#include "display/paint.h"

namespace pelvaron::display {

int traceRow(double value, double maxAbs, int baseY, double scale, const Rect& rect) {
    double y = baseY - value / maxAbs * scale;
    if (std::isnan(y)) y = baseY;
    y = std::clamp(y, static_cast<double>(rect.top), static_cast<double>(rect.bottom));
    return truncToInt(y);
}

void drawTrace(platform::Surface& surface, const Document& doc, const View& view,
               std::span<const double> data, const TraceParams& p) {
    int i0 = p.i0;
    int i1 = p.i1;
    if (i1 < i0) std::swap(i0, i1);
    const int size = static_cast<int>(std::min<std::size_t>(data.size(), kCapacity));
    i0 = std::max(i0, 0);
    i1 = std::min(i1, size);

    const double factor = p.useFactor ? view.secondFactor / 100.0 : 1.0;
    const double maxAbs = p.maxAbs > 0.0 ? p.maxAbs : 1.0;
    const double scale = p.vScale * p.extra * factor;
    const int xStart = truncToInt(p.shift * p.pxPerIndex) + p.rect.left;
    auto rowOf = [&](int i) {
        return traceRow(data[static_cast<std::size_t>(i)], maxAbs, p.baseY, scale, p.rect);
    };
    auto columnOf = [&](int i) { return truncToInt((i - i0) * p.pxPerIndex); };

    if (i0 < i1) {
        if (view.dotDisplay) {
            for (int i = i0; i < i1; i += 2)
                surface.setPixel({xStart + columnOf(i), rowOf(i)}, palette::kBlack);
        } else if ((i1 - i0) / 2 <= p.rect.right) {
            std::vector<platform::Point> line;
            line.reserve(static_cast<std::size_t>((i1 - i0) / 2 + 1));
            for (int i = i0; i < i1; i += 2) line.push_back({xStart + columnOf(i), rowOf(i)});
            surface.drawPolyline(line);
        } else {
            // One stroke per column, from the extreme met first to the other; the strokes and
            // the connections between them form one path.
            std::vector<platform::Point> line;
            line.reserve(2 * static_cast<std::size_t>(std::max(p.rect.right, 0)) + 8);
            line.push_back({xStart, rowOf(i0)});
            int column = 1;
            double maxValue = data[static_cast<std::size_t>(i0)];
            double minValue = maxValue;
            int maxIndex = i0;
            int minIndex = i0;
            for (int i = i0; i < i1; i += 2) {
                const double v = data[static_cast<std::size_t>(i)];
                if (columnOf(i) >= column) {
                    const int x = xStart + column - 1;
                    const int yMax = traceRow(maxValue, maxAbs, p.baseY, scale, p.rect);
                    const int yMin = traceRow(minValue, maxAbs, p.baseY, scale, p.rect);
                    if (maxIndex <= minIndex) {
                        line.push_back({x, yMax});
                        line.push_back({x, yMin});
                    } else {
                        line.push_back({x, yMin});
                        line.push_back({x, yMax});
                    }
                    ++column;
                    maxValue = minValue = v;
                    maxIndex = minIndex = i;
                } else {
                    if (v > maxValue) {
                        maxValue = v;
                        maxIndex = i;
                    }
                    if (v < minValue) {
                        minValue = v;
                        minIndex = i;
                    }
                }
            }
            surface.drawPolyline(line);
        }
    }

    if (doc.transform.showPivot && p.mode == TraceMode::Main) {
        const int x = truncToInt((doc.spectrum.peakIndex - i0) * p.pxPerIndex);
        surface.setPen(palette::kMarkPen);
        surface.drawLine({x, view.plotRect.top}, {x, view.plotRect.bottom});
    }
}

}  // namespace pelvaron::display
