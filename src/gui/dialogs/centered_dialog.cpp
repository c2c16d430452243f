// Dialogs centred over their owner.
#include "gui/dialogs/centered_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_placement.h"

namespace pelvaron::gui {

CenteredDialog::CenteredDialog(QWidget* owner) : QDialog(owner) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void CenteredDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    adjustSize();
    centerDialogOnOwner(this, parentWidget());
}

QDialogButtonBox* okCancelButtons(QDialog* dialog) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QGroupBox* helpBox(const QString& text, QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("Help"), parent);
    box->setObjectName(QStringLiteral("help"));
    auto* label = new QLabel(text, box);
    label->setObjectName(QStringLiteral("helpText"));
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(label);
    return box;
}

QPushButton* dialogButton(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace pelvaron::gui
