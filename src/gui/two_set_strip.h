// The control strip of the two-set display over the top of the plot: the buttons "1+2", "1-2",
// "swap", "OK", "Quit" and "x10", which send their commands through the dispatcher, and the
// shift, vertical offset and factor bars, which drive display/two_set. The panel and the bars'
// labels under them are drawn with the plot. Over a simulation (Compare to current spc.) it also
// fits the simulation to the measured set: "Fit", "Cancel", "Undo fit", the "Residual" box and the
// fit's progress.
#pragma once

#include <QWidget>
#include <vector>

#include "app/dispatcher.h"
#include "display/two_set.h"
#include "document/document.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace pelvaron::gui {

class SimulationFitter;

class TwoSetStrip : public QWidget {
    Q_OBJECT
public:
    /// Placed over the plot widget `plot`, whose first row is document row `topRows`.
    TwoSetStrip(Document& doc, display::View& view, platform::UserInterface& ui,
                app::CommandDispatcher& dispatcher, int topRows, QWidget* plot);
    /// A fit still running is cancelled: its values never land.
    ~TwoSetStrip() override;

    /// Ranges and positions of the bars from the view (the factor bar's range grows by x10); the
    /// fit's controls from the document.
    void sync();
    [[nodiscard]] QScrollBar* bar(display::TwoSetBar which) const;

    /// The working set is a simulation laid over the measured one: the fit's controls show.
    [[nodiscard]] bool comparing() const;
    /// Fit: the simulation fitted over the regions shown, beside the window; refused with a
    /// message without a simulation, with the sets swapped, or while a fit runs.
    void fit();
    void cancelFit();
    /// The display ends: a running fit is cancelled and whatever it found is dropped.
    void abandonFit();
    void undoFit();
    [[nodiscard]] bool fitting() const;
    [[nodiscard]] SimulationFitter* fitter() const { return fitter_; }

signals:
    /// A fit started, or ended (its values landed or not).
    void fittingChanged(bool running);

private:
    Document& doc_;
    display::View& view_;
    platform::UserInterface& ui_;
    app::CommandDispatcher& dispatcher_;
    QScrollBar* bars_[3] = {nullptr, nullptr, nullptr};
    std::vector<QPushButton*> commands_;  ///< the display's own buttons, idle while a fit runs
    QPushButton* fit_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* undo_ = nullptr;
    QCheckBox* residual_ = nullptr;
    QLabel* progress_ = nullptr;
    SimulationFitter* fitter_ = nullptr;
    bool swapped_ = false;  ///< swap has put the measured set first
    bool abandoned_ = false;

    void scrolled(display::TwoSetBar which, int action);
    void fitProgress(int iteration, double rms);
    void fitFinished();
    void showFitControls();
};

}  // namespace pelvaron::gui
