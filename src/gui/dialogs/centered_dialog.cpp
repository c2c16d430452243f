// Dialogs centred over their owner.
#include "gui/dialogs/centered_dialog.h"

#include "gui/dialog_placement.h"

namespace pelvaron::gui {

CenteredDialog::CenteredDialog(QWidget* owner) : QDialog(owner) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void CenteredDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    adjustSize();
    centerDialogOnOwner(this, parentWidget());
}

}  // namespace pelvaron::gui
