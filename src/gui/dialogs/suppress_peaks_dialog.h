// The "Supress Peaks" dialog: what the picked region is filled with, over
// processing::SuppressPeaksDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "processing/data_ops.h"

class QRadioButton;

namespace pelvaron::gui {

class SuppressPeaksDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (Undo snapshot); the radio buttons show the choice made last.
    SuppressPeaksDialogWidget(processing::SuppressPeaksDialog& model, QWidget* owner);

    /// "OK": the region becomes noise or zeros.
    void accept() override;
    /// "Cancel": the data stay.
    void reject() override;

private:
    processing::SuppressPeaksDialog& model_;
    QRadioButton* zeros_ = nullptr;
};

}  // namespace pelvaron::gui
