// The Shift Data dialog widget.
#include "gui/dialogs/shift_data_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelvaron::gui {

ShiftDataDialogWidget::ShiftDataDialogWidget(processing::ShiftDataDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Shift Data"));
    model_.open();

    auto* right = new QRadioButton(QStringLiteral("Right Shift data"), this);
    right->setObjectName(QStringLiteral("rightShift"));
    left_ = new QRadioButton(QStringLiteral("Left Shift data"), this);
    left_->setObjectName(QStringLiteral("leftShift"));
    auto* group = new QButtonGroup(this);
    group->addButton(right);
    group->addButton(left_);
    (model_.leftShift ? left_ : right)->setChecked(true);

    count_ = new QLineEdit(QString::fromStdString(model_.countText), this);
    count_->setObjectName(QStringLiteral("count"));

    auto* grid = new QGridLayout;
    grid->addWidget(right, 0, 0);
    grid->addWidget(left_, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Number of Data Points to Shift:"), this), 2, 0);
    grid->addWidget(count_, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    count_->setFocus();
}

void ShiftDataDialogWidget::accept() {
    model_.leftShift = left_->isChecked();
    model_.countText = count_->text().toStdString();
    model_.ok();
    QDialog::accept();
}

void ShiftDataDialogWidget::reject() {
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
