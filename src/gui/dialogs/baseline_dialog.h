// The "Manual Baseline Correction" dialog: five scroll bars, the coefficients of orders 0 ... 4,
// over processing::BaselineDialog; the window draws the preview curve it reports.
#pragma once

#include <QPoint>
#include <QVector>
#include <array>

#include "gui/dialogs/centered_dialog.h"
#include "processing/baseline.h"

class QScrollBar;

namespace pelvaron::gui {

class BaselineDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (positions 0, nothing drawn) and shows its positions. Modal.
    BaselineDialogWidget(processing::BaselineDialog& model, QWidget* owner);

    /// "Ok": subtracts the polynomial; the preview goes.
    void accept() override;
    /// "Cancel", Escape, the title bar: the data stay; the preview goes.
    void reject() override;

signals:
    /// The preview curve to show over the plot now, in plot pixels; empty: no preview.
    void previewChanged(QVector<QPoint> polyline);

private:
    void scrolled(int order, int action);

    processing::BaselineDialog& model_;
    std::array<QScrollBar*, kBaselineOrders> bars_{};
};

}  // namespace pelvaron::gui
