// Picked peaks marked on the spectrum: each with its ppm above the trace and a tick down to the
// peak, the labels stacked in a few rows and thinned so that none overlaps another or a tick.
#pragma once

#include <string>
#include <vector>

#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

/// Where the labels go: the trace's mapping of the view and the band they are stacked in.
struct PeakLabelView {
    Rect rect;                ///< labels and ticks stay inside it; x of index i0 is rect.left
    int bandTop = 0;          ///< top row of the first row of labels
    int rows = 3;             ///< rows of labels stacked downwards from bandTop
    int i0 = 0;               ///< first data index in view (even)
    int i1 = 0;               ///< end of the view (exclusive)
    double pxPerIndex = 1.0;  ///< pixels per data index (doubles)
    int baseY = 0;            ///< row of zero intensity
    double maxAbs = 1.0;      ///< the value that rises vScale pixels
    double vScale = 75.0;
};

/// The main plot's view as paintDocument draws the trace; the band starts below the overview
/// band (dual display) or the Add/Subtract strip when they are shown.
[[nodiscard]] PeakLabelView mainPeakLabelView(const Spectrum& spectrum, const View& view);

struct PeakLabel {
    std::string text;    ///< the peak's ppm, "%.3lf" (the report's value)
    platform::Point at;  ///< top-left corner of the text
    int width = 0;       ///< of the text, pixels
    int row = 0;         ///< 0 is the top row
    int x = 0;           ///< column of the peak and of its tick
    int tickTop = 0;     ///< the tick runs from just below the text ...
    int tickBottom = 0;  ///< ... to just above the peak (or the zero line, for negative lines)
};

/// The labels of the picked peaks in view. Larger peaks (by the report's intensity) are placed
/// first, each in the first row where its text keeps a gap to the texts of that row and no tick
/// crosses it; a peak that finds no room is not labelled. Texts are measured on `surface`.
[[nodiscard]] std::vector<PeakLabel> placePeakLabels(const Document& doc, const platform::Surface& surface,
                                                     const PeakLabelView& view);

/// Draws the labels (black text, grey ticks) while `peaks.peakLabelsShown`; returns them.
std::vector<PeakLabel> drawPeakLabels(platform::Surface& surface, const Document& doc,
                                      const PeakLabelView& view);

}  // namespace pelvaron::display
