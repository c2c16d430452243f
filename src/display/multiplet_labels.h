// The multiplet ranges marked on the spectrum: each with its delta and multiplicity above its
// lines and a thin bar across its extent; solvent and reference ranges in grey.
#pragma once

#include <string>
#include <vector>

#include "display/peak_labels.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

struct MultipletLabel {
    std::string text;    ///< "8.12 dd"; a solvent or reference range's kind in place of the pattern
    platform::Point at;  ///< top-left corner of the text
    int width = 0;       ///< of the text, pixels
    int barLeft = 0;     ///< the range's extent in view, pixels
    int barRight = 0;
    int barY = 0;        ///< row of the bar: just above the range's highest point as drawn
    bool signal = true;  ///< false: solvent or reference, drawn grey
};

/// The labels of the ranges of doc.multiplets that reach into the view (the geometry of the peak
/// labels: the trace's mapping and, as the highest place for a text, the band's top). A text sits
/// above its bar, centred on the range's delta and kept inside the view; one that would overlap a
/// text placed before it moves up above that one. Texts are measured on `surface`.
[[nodiscard]] std::vector<MultipletLabel> placeMultipletLabels(const Document& doc,
                                                               const platform::Surface& surface,
                                                               const PeakLabelView& view);

/// Draws the labels while `multiplets.labelsShown`; returns them.
std::vector<MultipletLabel> drawMultipletLabels(platform::Surface& surface, const Document& doc,
                                                const PeakLabelView& view);

}  // namespace pelvaron::display
