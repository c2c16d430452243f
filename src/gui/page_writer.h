// The printed page as a picture: PDF (QPdfWriter), SVG (QSvgGenerator) or PNG (QImage at a
// chosen resolution), in memory for the clipboard or as a file; used by the window and by
// `pelvaron-cli render --page`.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <string>

#include "document/document.h"
#include "output/page_setup.h"

namespace pelvaron::gui {

/// Which part of the picture the page fills: the printed rectangle within the margins (print,
/// picture files) or the whole of it (the clipboard's picture).
enum class PageArea { Printed, Whole };

/// Resolution of the screen the page's scale factors are measured against.
struct ScreenDpi {
    double x = output::kDefaultScreenDpi;
    double y = output::kDefaultScreenDpi;
};

/// Draws the page with output::renderPage on a painter open on a `width` x `height` pixel device
/// of `dpiX` x `dpiY`; sets view.print.pageScaleX/Y from those over the screen's first.
void paintPage(QPainter& painter, Document& doc, display::View& view, int width, int height, double dpiX,
               double dpiY, ScreenDpi screen, PageArea area);

[[nodiscard]] QByteArray pagePdf(Document& doc, display::View& view, const output::PageSetup& setup,
                                 ScreenDpi screen, PageArea area);
[[nodiscard]] QByteArray pageSvg(Document& doc, display::View& view, const output::PageSetup& setup,
                                 ScreenDpi screen, PageArea area);
/// A null image when one of its size cannot be made.
[[nodiscard]] QImage pageImage(Document& doc, display::View& view, const output::PageSetup& setup,
                               ScreenDpi screen, PageArea area);

/// Writes the printed page to `path` as the extension says (.pdf, .svg, .png). Another
/// extension, or a file that cannot be written, leaves nothing on disk and returns false with
/// the reason in `error`.
[[nodiscard]] bool writePageFile(Document& doc, display::View& view, const std::string& path,
                                 const output::PageSetup& setup, ScreenDpi screen, std::string& error);

}  // namespace pelvaron::gui
