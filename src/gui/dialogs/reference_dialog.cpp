// The Reference dialog widget.
#include "gui/dialogs/reference_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pelvaron::gui {

ReferenceDialogWidget::ReferenceDialogWidget(processing::ReferenceDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Reference"));
    model_.open();

    auto* current = new QLineEdit(QString::fromStdString(model_.currentText()), this);
    current->setObjectName(QStringLiteral("currentReference"));
    current->setEnabled(false);
    newEdit_ = new QLineEdit(QString::fromStdString(model_.newText), this);
    newEdit_->setObjectName(QStringLiteral("newReference"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Current Reference"), this), 0, 0);
    grid->addWidget(current, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("New Reference"), this), 1, 0);
    grid->addWidget(newEdit_, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    newEdit_->setFocus();
    newEdit_->selectAll();
}

void ReferenceDialogWidget::accept() {
    model_.newText = newEdit_->text().toStdString();
    model_.ok();
    QDialog::accept();
}

void ReferenceDialogWidget::reject() {
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
