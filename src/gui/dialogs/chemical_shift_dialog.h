// The "Chemical Shift" dialog: the shift of one nucleus of the subsystem being entered, over
// simulation::ChemicalShiftDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "simulation/simulation_dialogs.h"

class QLineEdit;

namespace pelvaron::gui {

class ChemicalShiftDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Shows the nucleus number and its shift in the units the model was made for.
    ChemicalShiftDialogWidget(simulation::ChemicalShiftDialog& model, QWidget* owner);

    /// "OK": the typed shift is stored.
    void accept() override;

private:
    simulation::ChemicalShiftDialog& model_;
    QLineEdit* shift_ = nullptr;
};

}  // namespace pelvaron::gui
