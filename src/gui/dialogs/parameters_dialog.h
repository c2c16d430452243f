// The "Data Acquisition Parameters" dialog: read-only texts and OK.
#pragma once

#include "app/parameters_dialog.h"
#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

class ParametersDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    ParametersDialogWidget(const app::ParametersFields& fields, QWidget* owner);
};

}  // namespace pelvaron::gui
