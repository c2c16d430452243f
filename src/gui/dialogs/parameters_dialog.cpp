// The Data Acquisition Parameters dialog widget.
#include "gui/dialogs/parameters_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace pelvaron::gui {

namespace {

QLineEdit* readOnlyField(const std::string& text, const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

}  // namespace

ParametersDialogWidget::ParametersDialogWidget(const app::ParametersFields& fields, QWidget* owner)
    : CenteredDialog(owner) {
    setWindowTitle(QStringLiteral("Data Acquisition Parameters"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addRow = [&](const char* caption, QWidget* field, QWidget* extra = nullptr) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        grid->addWidget(field, row, 1);
        if (extra != nullptr) grid->addWidget(extra, row, 2);
        ++row;
    };
    addRow("Spectrum Frequency  SF:", readOnlyField(fields.sf, "sf", this),
           new QLabel(QStringLiteral("MHz"), this));
    auto* swPpm = new QWidget(this);
    auto* swLayout = new QHBoxLayout(swPpm);
    swLayout->setContentsMargins(0, 0, 0, 0);
    swLayout->addWidget(new QLabel(QStringLiteral("Hz"), swPpm));
    swLayout->addWidget(readOnlyField(fields.swPpm, "swPpm", swPpm));
    swLayout->addWidget(new QLabel(QStringLiteral("ppm"), swPpm));
    addRow("Spectral Width SW:", readOnlyField(fields.sw, "sw", this), swPpm);
    addRow("Acquisition Time AQ:", readOnlyField(fields.aq, "aq", this),
           new QLabel(QStringLiteral("s"), this));
    addRow("Transform Domain TD:", readOnlyField(fields.td, "td", this));
    addRow("Acquisition Mode :", readOnlyField(fields.mode, "mode", this));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(box, row, 0, 1, 3);
}

}  // namespace pelvaron::gui
