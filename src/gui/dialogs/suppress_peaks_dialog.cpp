// The Supress Peaks dialog widget.
#include "gui/dialogs/suppress_peaks_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelvaron::gui {

SuppressPeaksDialogWidget::SuppressPeaksDialogWidget(processing::SuppressPeaksDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Supress Peaks"));
    model_.open();

    auto* noise = new QRadioButton(QStringLiteral("Substitute by noise"), this);
    noise->setObjectName(QStringLiteral("byNoise"));
    zeros_ = new QRadioButton(QStringLiteral("Substitute by zeros"), this);
    zeros_->setObjectName(QStringLiteral("byZeros"));
    auto* group = new QButtonGroup(this);
    group->addButton(noise);
    group->addButton(zeros_);
    (model_.byZeros ? zeros_ : noise)->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(noise);
    layout->addWidget(zeros_);
    layout->addWidget(okCancelButtons(this));
}

void SuppressPeaksDialogWidget::accept() {
    model_.byZeros = zeros_->isChecked();
    model_.ok();
    QDialog::accept();
}

void SuppressPeaksDialogWidget::reject() {
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
