// The Signal to Noise Ratio dialog widget.
#include "gui/dialogs/signal_to_noise_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelvaron::gui {

SignalToNoiseDialogWidget::SignalToNoiseDialogWidget(const QString& snText, QWidget* owner)
    : CenteredDialog(owner) {
    setWindowTitle(QStringLiteral("Signal to Noise Ratio"));

    auto* edit = new QLineEdit(snText, this);
    edit->setObjectName(QStringLiteral("sn"));
    // The ratio can be selected and copied, not changed.
    edit->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("S/N"), this));
    layout->addWidget(edit);
    layout->addWidget(buttons);
}

}  // namespace pelvaron::gui
