// The Select Subsystem dialog widget.
#include "gui/dialogs/select_subsystem_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/line_list.h"

namespace pelvaron::gui {

SelectSubsystemDialogWidget::SelectSubsystemDialogWidget(simulation::SelectSubsystemDialog& model,
                                                         QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Select Subsystem"));

    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("subsystems"));
    list->setMinimumSize(200, 120);
    showLines(list, model_.lines());
    current_ = new QLineEdit(QString::fromStdString(model_.currentText()), this);
    current_->setObjectName(QStringLiteral("current"));
    current_->setReadOnly(true);
    {
        // The chosen subsystem is marked; the model already holds it as the selection.
        const QSignalBlocker blocker(list);
        list->setCurrentRow(current_->text().toInt() - 1);
    }
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        model_.select(row);
        current_->setText(QString::fromStdString(model_.currentText()));
    });

    auto* current = new QHBoxLayout;
    current->addWidget(new QLabel(QStringLiteral("Current Subsystem:"), this));
    current->addWidget(current_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(current);
    layout->addWidget(okCancelButtons(this));
}

void SelectSubsystemDialogWidget::accept() {
    if (model_.ok()) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

}  // namespace pelvaron::gui
