// The Units dialog's four radio states and what OK stores.
#include "display/units_dialog.h"

namespace pelvaron::display {

UnitsDialog::UnitsDialog(const Document& doc)
    : seconds_(doc.unitSeconds), ppm_(doc.unitPpm), hz_(doc.unitHz), points_(doc.unitPoints) {}

int UnitsDialog::selected() const {
    if (seconds_) return kSeconds;
    if (ppm_) return kPpm;
    if (hz_) return kHz;
    if (points_) return kPoints;
    return 0;
}

void UnitsDialog::select(int unit) {
    if (unit < kSeconds || unit > kPoints) return;
    seconds_ = unit == kSeconds;
    ppm_ = unit == kPpm;
    hz_ = unit == kHz;
    points_ = unit == kPoints;
}

void UnitsDialog::ok(Document& doc, platform::UserInterface& ui) const {
    doc.unitSeconds = seconds_;
    doc.unitPpm = ppm_;
    doc.unitHz = hz_;
    doc.unitPoints = points_;
    if (const int unit = selected(); unit != 0) doc.xUnits = unit;
    ui.requestRepaint();
}

}  // namespace pelvaron::display
