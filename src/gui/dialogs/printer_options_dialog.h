// The "Printer Options" dialog: three check boxes over output::PrinterOptionsDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "output/printer_options_dialog.h"

class QCheckBox;

namespace pelvaron::gui {

class PrinterOptionsDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    PrinterOptionsDialogWidget(output::PrinterOptionsDialog& model, display::View& view, QWidget* owner);

    void accept() override;

private:
    output::PrinterOptionsDialog& model_;
    display::View& view_;
};

}  // namespace pelvaron::gui
