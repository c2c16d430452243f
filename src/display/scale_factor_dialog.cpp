// The Scale Y factor dialog and the range check of its command.
#include "display/scale_factor_dialog.h"

#include "base/format.h"

namespace pelvaron::display {

ScaleFactorDialog::ScaleFactorDialog(const Document& doc) : text_(cformat("%.2lf", doc.yScaleFactor)) {}

void ScaleFactorDialog::ok(Document& doc) const { doc.yScaleFactor = parseLeadingDouble(text_); }

bool acceptScaleFactor(const Document& doc, platform::UserInterface& ui) {
    if (doc.yScaleFactor >= 1.0 && doc.yScaleFactor <= 10.0) return true;
    ui.message("The scale factor must be a value between 1 and 10", "Warnning", platform::Icon::Information);
    return false;
}

}  // namespace pelvaron::display
