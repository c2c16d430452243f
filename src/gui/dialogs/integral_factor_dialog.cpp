// The Integral Factor Scale dialog widget.
#include "gui/dialogs/integral_factor_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelvaron::gui {

IntegralFactorDialogWidget::IntegralFactorDialogWidget(analysis::IntegralFactorDialog& model, Document& doc,
                                                       QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc) {
    setWindowTitle(QStringLiteral("Integral Factor Scale"));

    edit_ = new QLineEdit(QString::fromStdString(model_.text()), this);
    edit_->setObjectName(QStringLiteral("factor"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    edit_->selectAll();
}

void IntegralFactorDialogWidget::accept() {
    model_.setText(edit_->text().toStdString());
    model_.ok(doc_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
