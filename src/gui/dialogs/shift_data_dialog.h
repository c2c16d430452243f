// The "Shift Data" dialog: the direction and the number of points, over
// processing::ShiftDataDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "processing/data_ops.h"

class QLineEdit;
class QRadioButton;

namespace pelvaron::gui {

class ShiftDataDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model; the radio buttons show the direction chosen last.
    ShiftDataDialogWidget(processing::ShiftDataDialog& model, QWidget* owner);

    /// "OK": shifts by the typed count in the chosen direction.
    void accept() override;
    /// "Cancel": nothing changes.
    void reject() override;

private:
    processing::ShiftDataDialog& model_;
    QRadioButton* left_ = nullptr;
    QLineEdit* count_ = nullptr;
};

}  // namespace pelvaron::gui
