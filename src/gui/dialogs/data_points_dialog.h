// The "Display Data Points (Reals)" dialog: the list of the displayed real values over
// io::DataPointsDialog, with "Export as   ASCII" and "Ok".
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "io/data_points_dialog.h"

namespace pelvaron::gui {

class DataPointsDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model on the document's present view and lists its lines.
    DataPointsDialogWidget(io::DataPointsDialog& model, Document& doc, platform::UserInterface& ui,
                           QWidget* owner);

private:
    io::DataPointsDialog& model_;
    Document& doc_;
    platform::UserInterface& ui_;
};

}  // namespace pelvaron::gui
