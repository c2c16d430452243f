// Dialogs centred over their owner.
#include "gui/dialogs/centered_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>

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

QDialogButtonBox* okCancelButtons(QDialog* dialog) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

}  // namespace pelvaron::gui
