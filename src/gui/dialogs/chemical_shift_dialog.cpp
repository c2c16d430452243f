// The Chemical Shift dialog widget.
#include "gui/dialogs/chemical_shift_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pelvaron::gui {

ChemicalShiftDialogWidget::ChemicalShiftDialogWidget(simulation::ChemicalShiftDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Chemical Shift"));

    auto* nucleus = new QLabel(QString::fromStdString(model_.nucleusText()), this);
    nucleus->setObjectName(QStringLiteral("nucleus"));
    shift_ = new QLineEdit(QString::fromStdString(model_.valueText()), this);
    shift_->setObjectName(QStringLiteral("shift"));
    auto* unit = new QLabel(QString::fromStdString(model_.unitLabel()), this);
    unit->setObjectName(QStringLiteral("unit"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Input Shift of Nuc:"), this), 0, 0);
    grid->addWidget(nucleus, 0, 1);
    grid->addWidget(shift_, 1, 0);
    grid->addWidget(unit, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    shift_->selectAll();
    shift_->setFocus();
}

void ChemicalShiftDialogWidget::accept() {
    model_.ok(shift_->text().toStdString());
    QDialog::accept();
}

}  // namespace pelvaron::gui
