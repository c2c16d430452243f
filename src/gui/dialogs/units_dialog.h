// The "Units" dialog: four radio buttons over display::UnitsDialog.
#pragma once

#include <array>

#include "display/units_dialog.h"
#include "gui/dialogs/centered_dialog.h"

class QRadioButton;

namespace pelvaron::gui {

class UnitsDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    UnitsDialogWidget(display::UnitsDialog& model, Document& doc, QWidget* owner);

    void accept() override;

private:
    display::UnitsDialog& model_;
    Document& doc_;
    std::array<QRadioButton*, 4> buttons_{};  ///< seconds, ppm, Hz, points
};

}  // namespace pelvaron::gui
