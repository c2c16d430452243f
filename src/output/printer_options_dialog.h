// The Printer Options dialog without its widget: three check boxes for colour, the parameter
// legend and the borders of the expansion insets.
#pragma once

#include "display/view.h"

namespace pelvaron::output {

class PrinterOptionsDialog {
public:
    /// Opening: the boxes take printColour, printParams and printExpBorders.
    explicit PrinterOptionsDialog(const display::View& view);

    [[nodiscard]] bool colour() const { return colour_; }
    [[nodiscard]] bool parameters() const { return parameters_; }
    [[nodiscard]] bool expansionBorders() const { return borders_; }
    void setColour(bool on) { colour_ = on; }
    void setParameters(bool on) { parameters_ = on; }
    void setExpansionBorders(bool on) { borders_ = on; }

    /// OK: stores the three boxes as 0 or 1. Cancel changes nothing: the widget just closes.
    void ok(display::View& view) const;

private:
    bool colour_ = false;
    bool parameters_ = true;
    bool borders_ = false;
};

}  // namespace pelvaron::output
