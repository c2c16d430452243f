// The Printer Options dialog widget.
#include "gui/dialogs/printer_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace pelvaron::gui {

PrinterOptionsDialogWidget::PrinterOptionsDialogWidget(output::PrinterOptionsDialog& model,
                                                       display::View& view, QWidget* owner)
    : CenteredDialog(owner), model_(model), view_(view) {
    setWindowTitle(QStringLiteral("Printer Options"));
    auto* layout = new QVBoxLayout(this);
    auto box = [&](const char* caption, const char* name, bool checked) {
        auto* check = new QCheckBox(QString::fromLatin1(caption), this);
        check->setObjectName(QString::fromLatin1(name));
        check->setChecked(checked);
        layout->addWidget(check);
        return check;
    };
    connect(box("Print (or Export Metafile) in Colour", "colour", model_.colour()), &QCheckBox::toggled, this,
            [this](bool on) { model_.setColour(on); });
    connect(box("Print Acquisition Parameters", "parameters", model_.parameters()), &QCheckBox::toggled, this,
            [this](bool on) { model_.setParameters(on); });
    connect(box("Print Border of Expansions", "borders", model_.expansionBorders()), &QCheckBox::toggled,
            this, [this](bool on) { model_.setExpansionBorders(on); });
    layout->addWidget(okCancelButtons(this));
}

void PrinterOptionsDialogWidget::accept() {
    model_.ok(view_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
