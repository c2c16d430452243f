// The Units dialog widget.
#include "gui/dialogs/units_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

UnitsDialogWidget::UnitsDialogWidget(display::UnitsDialog& model, Document& doc, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc) {
    setWindowTitle(QStringLiteral("Units"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QButtonGroup(this);
    const char* captions[] = {"Seconds", "ppm", "Hertz", "Points"};
    const char* names[] = {"seconds", "ppm", "hertz", "points"};
    for (int i = 0; i < 4; ++i) {
        buttons_[i] = new QRadioButton(QString::fromLatin1(captions[i]), this);
        buttons_[i]->setObjectName(QString::fromLatin1(names[i]));
        group->addButton(buttons_[i], i + 1);
        layout->addWidget(buttons_[i]);
    }
    {
        const QSignalBlocker blocker(group);
        const int unit = model_.selected();
        if (unit >= 1 && unit <= 4) buttons_[unit - 1]->setChecked(true);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int unit) { model_.select(unit); });
    layout->addWidget(okCancelButtons(this));
}

void UnitsDialogWidget::accept() {
    model_.ok(doc_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
