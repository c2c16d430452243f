// The modeless "Interactive Apodization" dialog: six picture buttons for the window functions,
// the LB (or degrees) and GB scroll bars with their boxes, the S/N box and OK/Cancel over
// processing::InteractiveApodizationDialog, which it owns for as long as it is open.
#pragma once

#include <array>

#include "display/view.h"
#include "gui/dialogs/centered_dialog.h"
#include "platform/user_interface.h"
#include "processing/interactive_apodization.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace pelvaron::gui {

class ApoFunctionButton;

class InteractiveApodizationDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (S/N shown, Undo snapshot) and fills the controls. Show it with show().
    InteractiveApodizationDialogWidget(Document& doc, display::View& view, platform::UserInterface& ui,
                                       QWidget* owner);

    void accept() override;
    void reject() override;

    [[nodiscard]] const processing::InteractiveApodizationDialog& model() const { return model_; }

private:
    void choose(int function);
    void lbScrolled(int action);
    void gbScrolled(int action);
    void showState();
    /// The scroll range follows a size the movement zero filled to (the window's scroll bar with
    /// it).
    void followSize(int sizeBefore);
    /// Shows why a movement was refused, unless it was said for the movement before.
    void tell(const Status<processing::ApoRefusal>& step);

    processing::InteractiveApodizationDialog model_;
    const Document& doc_;
    display::View& view_;
    platform::UserInterface& ui_;
    int hScrollRangeAtOpen_ = 0;                                               ///< what Cancel gives back
    std::array<ApoFunctionButton*, processing::kApoFunctionCount> buttons_{};  ///< by ApoFunction code
    QScrollBar* lbBar_ = nullptr;
    QScrollBar* gbBar_ = nullptr;
    QLineEdit* lbBox_ = nullptr;
    QLineEdit* gbBox_ = nullptr;
    QLineEdit* snBox_ = nullptr;
    QLabel* lbLabel_ = nullptr;
    QLabel* gbLabel_ = nullptr;
};

}  // namespace pelvaron::gui
