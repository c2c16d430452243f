// The modeless "Multiple Point Baseline Correction" dialog: "Apply" and "Cancel" over
// processing::MultiPointBaseline while the person clicks the baseline's points on the plot.
#pragma once

#include "display/view.h"
#include "gui/dialogs/centered_dialog.h"
#include "processing/baseline.h"

namespace pelvaron::gui {

class MultiPointBaselineWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Starts picking (pick mode on, no points). Show it with show(): it is modeless.
    MultiPointBaselineWidget(Document& doc, display::View& view, QWidget* owner);

    /// "Apply": the correction through the picked points; the dialog closes.
    void accept() override;
    /// "Cancel", Escape, the title bar: picking ends, the data stay.
    void reject() override;

private:
    processing::MultiPointBaseline model_;
    display::View& view_;
    /// Apply or Cancel has run: the points are gone, and neither may run again.
    bool ended_ = false;
};

}  // namespace pelvaron::gui
