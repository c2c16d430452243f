// The printed page: the view's spectrum, axis, integrals, peak and multiplet labels, the expansion
// windows as insets, the multiplet report's line, the acquisition-parameter legend and the
// comments, drawn onto any Surface
// and rectangle (the printer, the picture files, the clipboard's picture).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "display/peak_labels.h"
#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::output {

/// Draws the page of the main `view` into `page` (the printed part of the target, its pixels), with
/// the factors of view.print (pageBaseFactor, pageAxisScale, pageScaleX/Y) and the Printer Options. The main
/// view is scaled by the page's height over the client height; an expansion window (each slot whose
/// expansionUsed is 1) stands where it stands over the plot, scaled by the resolution ratio.
/// While the multiplet labels are shown the report's line stands above the legend and the
/// spectrum is drawn above it (reportLineRows). Without a loaded document only the frame is drawn.
void renderPage(platform::Surface& surface, Document& doc, const display::View& view, const Rect& page);

/// The legend: a line across at 0.96 of the bottom with the five acquisition texts below it,
/// and a header row at the top of `rect` with the file's name (left) and the date (right).
void drawParameterLegend(platform::Surface& surface, const Document& doc, const display::View& view,
                         const Rect& rect);

/// The five texts of the legend's bottom row: SF, SW, AQ, TD and the scale's units.
[[nodiscard]] std::array<std::string, 5> legendTexts(const Document& doc);
/// The header texts of the legend: "File: <fileTitle>" (empty when there is no name) and
/// "Date: " with today's date as YYYY-MM-DD.
[[nodiscard]] std::string legendFileText(const Document& doc);
[[nodiscard]] std::string legendDateText();

/// Where an expansion window stands on the page: its frame, moved down by its caption, scaled
/// by pageScaleX/Y and moved down by the page's top; one that would cross the page's edge is moved
/// back inside it.
[[nodiscard]] Rect insetRect(const display::View& view, int slot, const Rect& page);

/// The font of the page's texts: "Courier New", 12 pixels scaled by the page's height over the
/// client height.
[[nodiscard]] platform::Font pageFont(const display::View& view, const Rect& page);

/// The picked peaks' labels on the page: the page's trace geometry, the band below the
/// legend's header row.
[[nodiscard]] display::PeakLabelView pagePeakLabelView(const Document& doc, const display::View& view,
                                                       const Rect& page, int lineHeight);

/// `text` broken at its blanks into rows no wider than `width` on `surface` (in its present font);
/// a word wider than that has a row of its own.
[[nodiscard]] std::vector<std::string> wrapText(const platform::Surface& surface, const std::string& text,
                                                int width);

/// Where the multiplet report's line goes on a page (while its labels are shown): its rows, their
/// first row's top and height, and the rectangle left to the spectrum, which ends where the rows
/// begin.
struct ReportLineRows {
    std::vector<std::string> rows;
    int left = 0;
    int top = 0;
    int lineHeight = 0;
    Rect plot;
};
/// The rows of the report `line` on `page` in `font` (the page's), which the surface then has; an
/// empty line has none and leaves the whole page to the spectrum.
[[nodiscard]] ReportLineRows reportLineRows(platform::Surface& surface, const std::string& line,
                                            const Rect& page, const platform::Font& font);

}  // namespace pelvaron::output
