// The Fast Fourier Transform dialog widget.
#include "gui/dialogs/fourier_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

namespace {

QCheckBox* checkBox(const char* text, const char* name, int checked, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    const QSignalBlocker blocker(box);
    box->setChecked(checked != 0);
    return box;
}

}  // namespace

FourierDialogWidget::FourierDialogWidget(processing::FourierDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Fast Fourier Transform"));
    model_.open();

    real_ = checkBox("Real", "real", model_.real, this);
    drift_ = checkBox("Drift Correction", "driftCorrection", model_.driftCorr, this);
    quadrature_ = checkBox("Quadrature", "quadrature", model_.quadrature, this);
    inverse_ = checkBox("Inverse", "inverse", model_.inverse, this);
    rotate_ = checkBox("Rotate Data", "rotateData", model_.rotate, this);
    connect(real_, &QCheckBox::toggled, this, [this](bool on) { model_.real = on ? 1 : 0; });
    connect(drift_, &QCheckBox::toggled, this, [this](bool on) { model_.driftCorr = on ? 1 : 0; });
    connect(quadrature_, &QCheckBox::toggled, this, [this](bool on) { model_.quadrature = on ? 1 : 0; });
    connect(inverse_, &QCheckBox::toggled, this, [this](bool on) { model_.inverse = on ? 1 : 0; });
    connect(rotate_, &QCheckBox::toggled, this, [this](bool on) { model_.rotate = on ? 1 : 0; });

    rotateCount_ = new QLineEdit(this);
    rotateCount_->setObjectName(QStringLiteral("rotateCount"));
    {
        const QSignalBlocker blocker(rotateCount_);
        rotateCount_->setText(QString::fromStdString(model_.rotateCountText));
    }
    connect(rotateCount_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.rotateCountText = text.toStdString(); });

    // The size box only shows the count; what is typed there is never read.
    points_ = new QLineEdit(this);
    points_->setObjectName(QStringLiteral("points"));
    points_->setReadOnly(true);
    points_->setText(QString::fromStdString(model_.pointsText()));
    sizes_ = new QListWidget(this);
    sizes_->setObjectName(QStringLiteral("sizes"));
    for (const char* size : processing::FourierDialog::kSizeList) sizes_->addItem(QString::fromLatin1(size));
    connect(sizes_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        model_.chooseSize(sizes_->row(item));
        points_->setText(QString::fromStdString(model_.pointsText()));
    });

    auto* options = new QGridLayout;
    options->addWidget(real_, 0, 0);
    options->addWidget(drift_, 1, 0);
    options->addWidget(quadrature_, 2, 0);
    options->addWidget(inverse_, 3, 0);
    options->addWidget(rotate_, 4, 0);
    options->addWidget(rotateCount_, 4, 1);
    options->addWidget(new QLabel(QStringLiteral("Points"), this), 0, 2);
    options->addWidget(points_, 1, 2);
    options->addWidget(sizes_, 2, 2, 3, 1);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(buttons);
}

void FourierDialogWidget::accept() {
    // Only a document that was never set up can fail here; the dialog closes either way.
    (void)model_.ok();
    QDialog::accept();
}

void FourierDialogWidget::reject() {
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
