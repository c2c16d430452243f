// The "Reference" dialog: the value at the picked position now and the value it is to have, over
// processing::ReferenceDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "processing/data_ops.h"

class QLineEdit;

namespace pelvaron::gui {

class ReferenceDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (the value at the pick in the present unit, in both boxes).
    ReferenceDialogWidget(processing::ReferenceDialog& model, QWidget* owner);

    /// "OK": the number in "New Reference" is put at the pick.
    void accept() override;
    /// "Cancel", Escape, the title bar: the reference stays; the pick ends.
    void reject() override;

private:
    processing::ReferenceDialog& model_;
    QLineEdit* newEdit_ = nullptr;
};

}  // namespace pelvaron::gui
