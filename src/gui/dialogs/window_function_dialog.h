// The "Window Function Parameters" dialog: eight radio buttons with their parameter boxes and
// OK/Cancel over processing::WindowFunctionDialog.
#pragma once

#include <string>
#include <vector>

#include "gui/dialogs/centered_dialog.h"
#include "platform/user_interface.h"
#include "processing/window_function_dialog.h"

class QButtonGroup;
class QLineEdit;

namespace pelvaron::gui {

class WindowFunctionDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (Undo snapshot, stored values) and fills the controls from it.
    WindowFunctionDialogWidget(processing::WindowFunctionDialog& model, platform::UserInterface& ui,
                               QWidget* owner);

    /// Applies the window; a value the model refuses keeps the dialog open after its message.
    void accept() override;

private:
    QLineEdit* addEdit(const char* name, std::string& text);

    processing::WindowFunctionDialog& model_;
    platform::UserInterface& ui_;
    QButtonGroup* choices_ = nullptr;
};

}  // namespace pelvaron::gui
