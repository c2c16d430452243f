// The screenshots of what the window keeps between starts, written into `out`; false when one
// could not be taken.
#pragma once

#include <QDir>

namespace pelvaron::screenshots {

/// recent-files-1280x800.png: File > Open Recent open over the example, with files of a settings
/// file of its own.
bool desktopShots(const QDir& out);

}  // namespace pelvaron::screenshots
