// The Set limits dialog: the two limits in the present unit, converted to the time scale on OK.
#include "display/set_limits_dialog.h"

#include <cmath>
#include <utility>

#include "base/format.h"
#include "base/numeric.h"
#include "document/units.h"

namespace pelvaron::display {

namespace {

std::string limitText(const Document& doc, double t) {
    switch (doc.spectrum.xUnits) {
        case kPpm: return cformat("%.3lf", units::tToUnit(doc, t, kPpm));
        case kHz: return cformat("%.3lf", units::tToUnit(doc, t, kPpm) * doc.spectrum.acqPars.SF);
        case kPoints: return cformat("%.0lf", units::tToUnit(doc, t, kPoints));
        default: return cformat("%.3lf", t);
    }
}

}  // namespace

SetLimitsDialog::SetLimitsDialog(const Document& doc, const View& view)
    : savedLeft_(view.viewLeft),
      savedRight_(view.viewRight),
      from_(limitText(doc, view.viewLeft)),
      to_(limitText(doc, view.viewRight)) {}

bool SetLimitsDialog::ok(const Document& doc, View& view, platform::UserInterface& ui) {
    const int unit =
        doc.spectrum.xUnits >= kSeconds && doc.spectrum.xUnits <= kPoints ? doc.spectrum.xUnits : kSeconds;
    double left = units::unitToT(doc, parseLeadingDouble(from_), unit);
    double right = units::unitToT(doc, parseLeadingDouble(to_), unit);
    if (right < left) std::swap(left, right);
    const double aq = doc.spectrum.acqPars.AQ;
    // Refused limits are not stored: a repaint while the dialog stays open would otherwise draw
    // a view outside the data.
    if (!(std::isfinite(left) && std::isfinite(right) && left >= 0.0 && right <= aq)) {
        ui.message("Error", "Limits exceeded", platform::Icon::Exclamation);
        return false;
    }
    view.viewLeft = left;
    view.viewRight = right;
    view.tools.anchorX = truncToInt(left / aq * view.clientWidth);
    view.tools.dragX = truncToInt(right / aq * view.clientWidth);
    return true;
}

void SetLimitsDialog::cancel(View& view) const {
    view.viewLeft = savedLeft_;
    view.viewRight = savedRight_;
}

}  // namespace pelvaron::display
