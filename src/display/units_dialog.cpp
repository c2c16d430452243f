// The Units dialog's radio states and what OK stores.
#include "display/units_dialog.h"

namespace pelvaron::display {

UnitsDialog::UnitsDialog(const Document& doc) : checked_(doc.spectrum.xUnits) {}

int UnitsDialog::selected() const { return isUnitCode(checked_) ? checked_ : 0; }

void UnitsDialog::select(int unit) {
    if (isUnitCode(unit)) checked_ = unit;
}

void UnitsDialog::ok(Document& doc) const {
    if (const int unit = selected(); unit != 0) doc.spectrum.xUnits = static_cast<Units>(unit);
    doc.notify(kAxisChanged);
}

}  // namespace pelvaron::display
