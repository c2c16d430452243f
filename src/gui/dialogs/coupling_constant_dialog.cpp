// The Coupling Constant dialog widget.
#include "gui/dialogs/coupling_constant_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pelvaron::gui {

CouplingConstantDialogWidget::CouplingConstantDialogWidget(simulation::CouplingConstantDialog& model,
                                                           QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Coupling Constant"));

    auto* pair = new QLabel(QString::fromStdString(model_.pairText()), this);
    pair->setObjectName(QStringLiteral("pair"));
    coupling_ = new QLineEdit(QString::fromStdString(model_.valueText()), this);
    coupling_->setObjectName(QStringLiteral("coupling"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Coupling Constant:   J"), this), 0, 0);
    grid->addWidget(pair, 0, 1);
    grid->addWidget(coupling_, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Hz"), this), 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    coupling_->selectAll();
    coupling_->setFocus();
}

void CouplingConstantDialogWidget::accept() {
    model_.ok(coupling_->text().toStdString());
    QDialog::accept();
}

}  // namespace pelvaron::gui
