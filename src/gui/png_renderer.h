// Rendering a document to an image or a PNG file with the window's own drawing code, without a
// window: used by the window itself, by `pelvaron-cli render` and by the benchmarks.
#pragma once

#include <memory>
#include <string>

#include <QGuiApplication>
#include <QImage>

#include "display/view.h"
#include "document/document.h"

namespace pelvaron::gui {

/// Rows of the client area above the plot view (the toolbar's) and below it (the status
/// bar's): the drawing code places the plot between them.
inline constexpr int kTopRows = 28;
inline constexpr int kBottomRows = 19;

/// Fonts and images need a QGuiApplication. Returns one made here (offscreen when there is no
/// display) when none exists yet, or null when the program already has one.
[[nodiscard]] std::unique_ptr<QGuiApplication> ensureGuiApplication();

/// Paints the whole document as `view` shows it into `image` (its size is the view's client
/// area) with display::paintDocument; `screenHeight` places the axis rows (0: the client height).
void paintDocumentImage(Document& doc, const display::View& view, QImage& image, int screenHeight);

/// Lays the view out for a plot of `width` x `height` pixels, as a window of that size would:
/// client area, plot rectangle, baselines (the integrals' row included).
void layoutPlot(display::View& view, int width, int height);

/// layoutPlot, then paints the document and returns the plot's pixels.
[[nodiscard]] QImage renderPlot(Document& doc, display::View& view, int width, int height);

/// renderPlot written as a PNG file; false when the file cannot be written.
[[nodiscard]] bool renderPlotToPng(Document& doc, display::View& view, int width, int height,
                                   const std::string& path);

}  // namespace pelvaron::gui
