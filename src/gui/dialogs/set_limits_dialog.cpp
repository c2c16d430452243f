// The Set limits dialog widget.
#include "gui/dialogs/set_limits_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

SetLimitsDialogWidget::SetLimitsDialogWidget(display::SetLimitsDialog& model, const Document& doc,
                                             display::View& view, platform::UserInterface& ui, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc), view_(view), ui_(ui) {
    setWindowTitle(QStringLiteral("Set limits"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    from_ = new QLineEdit(this);
    from_->setObjectName(QStringLiteral("from"));
    to_ = new QLineEdit(this);
    to_->setObjectName(QStringLiteral("to"));
    {
        const QSignalBlocker blockFrom(from_);
        const QSignalBlocker blockTo(to_);
        from_->setText(QString::fromStdString(model_.fromText()));
        to_->setText(QString::fromStdString(model_.toText()));
    }
    connect(from_, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setFromText(t.toStdString()); });
    connect(to_, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setToText(t.toStdString()); });
    form->addRow(QStringLiteral("From ..."), from_);
    form->addRow(QStringLiteral("To ..."), to_);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    from_->selectAll();
}

void SetLimitsDialogWidget::accept() {
    if (model_.ok(doc_, view_, ui_)) QDialog::accept();
}

void SetLimitsDialogWidget::reject() {
    model_.cancel(view_);
    QDialog::reject();
}

}  // namespace pelvaron::gui
