// The Simulation menu's screenshots, written into `out`; false when one could not be taken.
#pragma once

#include <QDir>

namespace pelvaron::screenshots {

bool simulationShots(const QDir& out);

}  // namespace pelvaron::screenshots
