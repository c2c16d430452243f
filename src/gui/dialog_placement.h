// Placing dialogs: centred over their owner and kept on the screen.
#pragma once

#include <QRect>

class QWidget;

namespace pelvaron::gui {

/// The top-left corner that centres a `size` box over `owner` and keeps it within `screen`.
[[nodiscard]] QPoint centeredPosition(const QRect& owner, const QSize& size, const QRect& screen);

/// Centres `dialog` over `owner`'s window rectangle, then clamps it into the screen, without
/// changing its size. Without an owner the dialog stays where it is.
void centerDialogOnOwner(QWidget* dialog, QWidget* owner);

}  // namespace pelvaron::gui
