// The Phase Correction dialog widget. Scroll bars report what was done to them (line, page,
// thumb); the model decides the new position and the widget only shows it.
#include "gui/dialogs/phase_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_scroll_bar.h"

namespace pelvaron::gui {

using processing::PhaseDialog;
using processing::ScrollAction;

PhaseDialogWidget::PhaseDialogWidget(Document& doc, QWidget* owner) : CenteredDialog(owner), model_(doc) {
    setModal(false);
    setWindowTitle(QStringLiteral("Phase Correction"));
    model_.open();

    order0_ = dialogScrollBar("order0", -PhaseDialog::kOrderLimit, PhaseDialog::kOrderLimit, 100, 1000, this);
    order1_ = dialogScrollBar("order1", -PhaseDialog::kOrderLimit, PhaseDialog::kOrderLimit, 100, 1000, this);
    pivot_ = dialogScrollBar("pivot", 0, model_.pivotMaximum(), 2, 10, this);
    order0Edit_ = new QLineEdit(this);
    order0Edit_->setObjectName(QStringLiteral("order0Text"));
    order1Edit_ = new QLineEdit(this);
    order1Edit_->setObjectName(QStringLiteral("order1Text"));
    {
        const QSignalBlocker b0(order0Edit_);
        const QSignalBlocker b1(order1Edit_);
        order0Edit_->setText(QString::fromStdString(model_.order0Text()));
        order1Edit_->setText(QString::fromStdString(model_.order1Text()));
    }
    showPositions();
    connect(order0_, &QScrollBar::actionTriggered, this, [this](int a) { orderScrolled(order0_, a, true); });
    connect(order1_, &QScrollBar::actionTriggered, this, [this](int a) { orderScrolled(order1_, a, false); });
    connect(pivot_, &QScrollBar::actionTriggered, this, [this](int a) { pivotScrolled(a); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Order 0"), this), 0, 0);
    grid->addWidget(order0_, 0, 1);
    grid->addWidget(order0Edit_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Order 1"), this), 1, 0);
    grid->addWidget(order1_, 1, 1);
    grid->addWidget(order1Edit_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Displace  Pivot Point"), this), 2, 0);
    grid->addWidget(pivot_, 2, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    QPushButton* applyButton = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::ApplyRole);
    applyButton->setObjectName(QStringLiteral("apply"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void PhaseDialogWidget::orderScrolled(QScrollBar* bar, int action, bool first) {
    ScrollAction what;
    if (!toScrollAction(action, what)) return;
    // The bar has moved its slider already; the model starts from its own position instead.
    const int thumb = bar->sliderPosition();
    if (first) {
        model_.scrollOrder0(what, thumb);
        const QSignalBlocker blocker(order0Edit_);
        order0Edit_->setText(QString::fromStdString(model_.order0Text()));
    } else {
        model_.scrollOrder1(what, thumb);
        const QSignalBlocker blocker(order1Edit_);
        order1Edit_->setText(QString::fromStdString(model_.order1Text()));
    }
    showPositions();
}

void PhaseDialogWidget::pivotScrolled(int action) {
    ScrollAction what;
    if (!toScrollAction(action, what)) return;
    model_.scrollPivot(what, pivot_->sliderPosition());
    showPositions();
}

void PhaseDialogWidget::apply() {
    model_.apply(order0Edit_->text().toStdString(), order1Edit_->text().toStdString());
    showPositions();
}

void PhaseDialogWidget::showPositions() {
    const QSignalBlocker b0(order0_);
    const QSignalBlocker b1(order1_);
    const QSignalBlocker b2(pivot_);
    order0_->setSliderPosition(model_.order0Position());
    order1_->setSliderPosition(model_.order1Position());
    pivot_->setSliderPosition(model_.pivotPosition());
}

void PhaseDialogWidget::accept() {
    model_.ok();
    QDialog::accept();
}

void PhaseDialogWidget::reject() {
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
