// The "PEAK PICKING" report: the picked peaks region by region, the threshold, the interpolation
// check box, printing and the ASCII export, over analysis::PeakPickingDialog.
#pragma once

#include "analysis/peaks.h"
#include "gui/dialogs/centered_dialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace pelvaron::gui {

class PeakPickingDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model and shows its threshold, check box and lines. exec() returns the model's
    /// result: PeakPickingDialog::kReopen after "Clear All" or a click on the check box (the
    /// command then opens the report again), kClosed otherwise.
    PeakPickingDialogWidget(analysis::PeakPickingDialog& model, QWidget* owner);

    /// "OK": keeps the check box's state.
    void accept() override;
    /// "Cancel", Escape, the title bar.
    void reject() override;

private:
    analysis::PeakPickingDialog& model_;
    QLineEdit* threshold_ = nullptr;
    QCheckBox* interpolate_ = nullptr;
};

}  // namespace pelvaron::gui
