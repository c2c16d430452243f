// The Printer Options dialog model.
#include "output/printer_options_dialog.h"

namespace pelvaron::output {

PrinterOptionsDialog::PrinterOptionsDialog(const display::View& view)
    : colour_(view.print.printColour != 0),
      parameters_(view.print.printParams != 0),
      borders_(view.print.printExpBorders != 0) {}

void PrinterOptionsDialog::ok(display::View& view) const {
    view.print.printColour = colour_ ? 1 : 0;
    view.print.printParams = parameters_ ? 1 : 0;
    view.print.printExpBorders = borders_ ? 1 : 0;
}

}  // namespace pelvaron::output
