// The Simulation menu's screenshots, written into `out`; false when one could not be taken; and
// the grab that every screenshot uses.
#pragma once

#include <QDir>

class QWidget;

namespace pelvaron::screenshots {

bool simulationShots(const QDir& out);

/// Grabs `w` once its events have been handled and writes it to `path`, saying so.
bool save(QWidget* w, const QString& path);

}  // namespace pelvaron::screenshots
