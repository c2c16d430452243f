// The scroll bars of the dialogs that set values by scrolling (phase, manual baseline): they
// report what was done to them as the models' ScrollAction and answer the keys as a dialog's
// scroll bar does.
#pragma once

#include <QScrollBar>

#include "processing/phase_dialog.h"

namespace pelvaron::gui {

/// The model's name for a scroll-bar action; false for actions it does not know (ends, none).
bool toScrollAction(int action, processing::ScrollAction& out);

/// A horizontal scroll bar named `name` whose keys move it as a dialog's scroll bar moves: Left,
/// Up and Page Up toward the minimum, Right, Down and Page Down toward the maximum (Qt's own
/// horizontal bar turns Left and Right round); Home and End do nothing. It takes the focus.
QScrollBar* dialogScrollBar(const char* name, int minimum, int maximum, int line, int page, QWidget* parent);

}  // namespace pelvaron::gui
