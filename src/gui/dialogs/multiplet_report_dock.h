// The Multiplet Report beside the plot: the list of ranges (delta, multiplicity, J, protons) with
// its buttons and the report line under it, over analysis::MultipletReportDialog.
#pragma once

#include <QDockWidget>

#include "analysis/multiplet_report_dialog.h"
#include "app/dialog_host.h"
#include "display/view.h"

class QCheckBox;
class QSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace pelvaron::gui {

class MultipletReportDock : public QDockWidget {
    Q_OBJECT
public:
    /// The list's columns.
    enum Column { kDelta, kMultiplicity, kCouplings, kCount, kColumns };

    /// `host` takes the copies to the clipboard.
    MultipletReportDock(Document& doc, display::View& view, app::DialogHost& host, QWidget* owner);

    /// Shows the ranges, the line, the labels' box and the tool buttons as they now stand.
    void refresh();
    /// Copy (the button, or Ctrl+C while the report has the focus): the line on the clipboard as
    /// text and as rich text; false without a line.
    bool copy();

    [[nodiscard]] QTableWidget* table() const { return table_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Closing keeps the report; the tools of its buttons are put down.
    void closeEvent(QCloseEvent* event) override;

private:
    analysis::MultipletReportDialog model_;
    display::View& view_;
    app::DialogHost& host_;
    QTableWidget* table_ = nullptr;
    QLabel* line_ = nullptr;
    QPushButton* merge_ = nullptr;
    QPushButton* split_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* copy_ = nullptr;
    QCheckBox* labels_ = nullptr;
    QSpinBox* deltaDigits_ = nullptr;  ///< decimals of each delta in the line
    QSpinBox* jDigits_ = nullptr;      ///< decimals of each J

    /// The rows selected, in increasing order.
    [[nodiscard]] std::vector<int> selectedRows() const;
    void cellEdited(int row, int column);
    void chooseTool(display::Tool tool, bool on);
    void mergeSelected();
    void deleteSelected();
    void updateButtons();
    /// Ctrl+C (and the platform's Copy key) as a key event.
    [[nodiscard]] bool handleCopyKey(QEvent* event);
};

}  // namespace pelvaron::gui
