// Centring dialogs over their owner.
#include "gui/dialog_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace pelvaron::gui {

QPoint centeredPosition(const QRect& owner, const QSize& size, const QRect& screen) {
    int x = owner.left() + (owner.width() - size.width()) / 2;
    int y = owner.top() + (owner.height() - size.height()) / 2;
    // Right and bottom edges first, so that a dialog larger than the screen keeps its top-left
    // corner (and its title bar) visible.
    x = std::max(std::min(x, screen.right() + 1 - size.width()), screen.left());
    y = std::max(std::min(y, screen.bottom() + 1 - size.height()), screen.top());
    return {x, y};
}

void centerDialogOnOwner(QWidget* dialog, QWidget* owner) {
    if (dialog == nullptr || owner == nullptr) return;
    QWidget* window = owner->window();
    const QRect ownerRect = window->frameGeometry();
    const QScreen* screen = window->screen();
    const QRect screenRect = screen != nullptr ? screen->geometry() : ownerRect;
    const QSize size = dialog->frameGeometry().size().expandedTo(dialog->sizeHint());
    dialog->move(centeredPosition(ownerRect, size, screenRect));
}

}  // namespace pelvaron::gui
