// The Scale Y factor dialog widget.
#include "gui/dialogs/scale_factor_dialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace pelvaron::gui {

ScaleFactorDialogWidget::ScaleFactorDialogWidget(display::ScaleFactorDialog& model, display::View& view,
                                                 QWidget* owner)
    : CenteredDialog(owner), model_(model), view_(view) {
    setWindowTitle(QStringLiteral("SCALE Y FACTOR"));
    auto* layout = new QHBoxLayout(this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("factor"));
    {
        const QSignalBlocker blocker(edit_);
        edit_->setText(QString::fromStdString(model_.text()));
    }
    connect(edit_, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setText(t.toStdString()); });
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(edit_);
    layout->addWidget(ok);
    edit_->selectAll();
}

void ScaleFactorDialogWidget::accept() {
    model_.ok(view_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
