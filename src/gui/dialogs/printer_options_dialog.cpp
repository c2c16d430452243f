// The Printer Options dialog widget.
#include "gui/dialogs/printer_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace pelvaron::gui {

PrinterOptionsDialogWidget::PrinterOptionsDialogWidget(output::PrinterOptionsDialog& model, Document& doc,
                                                       QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc) {
    setWindowTitle(QStringLiteral("Printer Options"));
    auto* layout = new QVBoxLayout(this);
    auto box = [&](const char* caption, const char* name, bool checked,
                   void (output::PrinterOptionsDialog::*set)(bool)) {
        auto* check = new QCheckBox(QString::fromLatin1(caption), this);
        check->setObjectName(QString::fromLatin1(name));
        check->setChecked(checked);
        connect(check, &QCheckBox::toggled, this, [this, set](bool on) { (model_.*set)(on); });
        layout->addWidget(check);
    };
    box("Print (or Export Metafile) in Colour", "colour", model_.colour(),
        &output::PrinterOptionsDialog::setColour);
    box("Print Acquisition Parameters", "parameters", model_.parameters(),
        &output::PrinterOptionsDialog::setParameters);
    box("Print Border of Expansions", "borders", model_.expansionBorders(),
        &output::PrinterOptionsDialog::setExpansionBorders);
    layout->addWidget(okCancelButtons(this));
}

void PrinterOptionsDialogWidget::accept() {
    model_.ok(doc_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
