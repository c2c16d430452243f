// The Multiple Point Baseline Correction dialog widget.
#include "gui/dialogs/multi_point_baseline_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "display/tools.h"

namespace pelvaron::gui {

MultiPointBaselineWidget::MultiPointBaselineWidget(Document& doc, display::View& view, QWidget* owner)
    : CenteredDialog(owner), model_(doc), view_(view) {
    setModal(false);
    setWindowTitle(QStringLiteral("Multiple Point Baseline Correction"));
    model_.open();
    display::setBaselinePick(view_, true);

    auto* help = helpBox(QStringLiteral("Click on the points of the spectrum that will define the baseline, "
                                        "then click on the Apply button."),
                         this);
    help->setMinimumWidth(280);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("apply"));
    apply->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(buttons);
}

void MultiPointBaselineWidget::accept() {
    if (ended_) return;
    ended_ = true;
    display::setBaselinePick(view_, false);
    model_.apply();
    QDialog::accept();
}

void MultiPointBaselineWidget::reject() {
    if (ended_) return;
    ended_ = true;
    display::setBaselinePick(view_, false);
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
