// The Units dialog without its widget: four radio buttons choosing the unit of the axis and the
// read-out.
#pragma once

#include "document/document.h"

namespace pelvaron::display {

class UnitsDialog {
public:
    /// Opening: the radio of the axis's present unit is checked.
    explicit UnitsDialog(const Document& doc);

    /// The checked radio as a unit code (1 seconds, 2 ppm, 3 Hz, 4 points), 0 if none is.
    [[nodiscard]] int selected() const;
    /// Checks the radio of unit code 1..4 and clears the others; other codes are ignored.
    void select(int unit);

    /// OK: sets xUnits to the checked unit (an axis notice). Any unit
    /// may be chosen for any data (seconds for a spectrum, ppm for an FID).
    void ok(Document& doc) const;
    // Cancel changes nothing: the widget just closes.

private:
    int checked_ = kSeconds;  ///< the unit code of the checked radio; 0 when none is
};

}  // namespace pelvaron::display
