// The modeless "Measure J" dialog: the distances between the cursors clicked on the plot, over
// analysis::MeasureJDialog, which it owns for as long as it is open.
#pragma once

#include "analysis/j_measure.h"
#include "display/view.h"
#include "gui/dialogs/centered_dialog.h"

class QListWidget;

namespace pelvaron::gui {

class MeasureJDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Starts the measurement (the document menus grayed, the cursors shown). Show it with
    /// show(): it is modeless.
    MeasureJDialogWidget(Document& doc, display::View& view, platform::UserInterface& ui, QWidget* owner);

    /// "OK": the measurement ends (no cursors, the tool off, the menus back); the dialog closes.
    void accept() override;
    /// Escape and the title bar end the measurement as "OK" does: the menus must come back.
    void reject() override;

public slots:
    /// Shows the model's lines again, after a click on the plot placed a cursor.
    void refresh();

private:
    analysis::MeasureJDialog model_;
    display::View& view_;
    QListWidget* list_ = nullptr;
    /// The measurement has ended; a second close does nothing.
    bool ended_ = false;
};

}  // namespace pelvaron::gui
