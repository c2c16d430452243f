// The Number of Hydrogens dialog widget.
#include "gui/dialogs/hydrogens_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pelvaron::gui {

HydrogensDialogWidget::HydrogensDialogWidget(analysis::HydrogensDialog& model, Document& doc, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc) {
    setWindowTitle(QStringLiteral("Number of Hydrogens"));

    edit_ = new QLineEdit(QString::fromStdString(model_.text()), this);
    edit_->setObjectName(QStringLiteral("hydrogens"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(okCancelButtons(this));
    edit_->selectAll();
}

void HydrogensDialogWidget::accept() {
    model_.setText(edit_->text().toStdString());
    model_.ok(doc_);
    QDialog::accept();
}

void HydrogensDialogWidget::reject() {
    analysis::HydrogensDialog::cancel(doc_);
    QDialog::reject();
}

}  // namespace pelvaron::gui
