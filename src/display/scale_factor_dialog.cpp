// The Scale Y factor dialog and the range check of its command.
#include "display/scale_factor_dialog.h"

#include "base/format.h"

namespace pelvaron::display {

ScaleFactorDialog::ScaleFactorDialog(const View& view) : text_(cformat("%.2lf", view.yScaleFactor)) {}

void ScaleFactorDialog::ok(View& view) const { view.yScaleFactor = parseLeadingDouble(text_); }

bool acceptScaleFactor(const View& view, platform::UserInterface& ui) {
    if (view.yScaleFactor >= 1.0 && view.yScaleFactor <= 10.0) return true;
    ui.message("The scale factor must be a value between 1 and 10", "Warnning", platform::Icon::Information);
    return false;
}

}  // namespace pelvaron::display
