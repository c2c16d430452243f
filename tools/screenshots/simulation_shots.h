// The Simulation menu's screenshots, written into `out`; false when one could not be taken; and
// the grab and the zoom that every screenshot uses.
#pragma once

#include <QDir>

class QWidget;

namespace pelvaron {
struct Document;
namespace gui {
class MainWindow;
}
}  // namespace pelvaron

namespace pelvaron::screenshots {

bool simulationShots(const QDir& out);

/// Grabs `w` once its events have been handled and writes it to `path`, saying so.
bool save(QWidget* w, const QString& path);

/// Zooms the window's plot from `from` to `to` ppm with the Zoom tool, as a drag would.
void zoomInto(const Document& doc, gui::MainWindow& window, double from, double to);

}  // namespace pelvaron::screenshots
