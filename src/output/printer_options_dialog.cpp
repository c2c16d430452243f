// The Printer Options dialog model.
#include "output/printer_options_dialog.h"

namespace pelvaron::output {

PrinterOptionsDialog::PrinterOptionsDialog(const Document& doc)
    : colour_(doc.print.printColour != 0),
      parameters_(doc.print.printParams != 0),
      borders_(doc.print.printExpBorders != 0) {}

void PrinterOptionsDialog::ok(Document& doc) const {
    doc.print.printColour = colour_ ? 1 : 0;
    doc.print.printParams = parameters_ ? 1 : 0;
    doc.print.printExpBorders = borders_ ? 1 : 0;
}

}  // namespace pelvaron::output
