// The "Number of Hydrogens" dialog: the value the clicked integral is to show, over
// analysis::HydrogensDialog.
#pragma once

#include "analysis/integral_dialogs.h"
#include "gui/dialogs/centered_dialog.h"

class QLineEdit;

namespace pelvaron::gui {

class HydrogensDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Shows the clicked integral's value as it was displayed (the model is open once made).
    HydrogensDialogWidget(analysis::HydrogensDialog& model, Document& doc, QWidget* owner);

    /// "OK": the typed number becomes the reference integral's value.
    void accept() override;
    /// "Cancel", Escape, the title bar: the labels read as before the click.
    void reject() override;

private:
    analysis::HydrogensDialog& model_;
    Document& doc_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace pelvaron::gui
