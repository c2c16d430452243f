// The modeless "Interactive Sim." dialog: a shift, a coupling or the line width of the chosen
// subsystem tuned step by step, the spectrum recomputed after each step, over
// simulation::InteractiveSimDialog, which it owns for as long as it is open; and its help.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "simulation/simulation_dialogs.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pelvaron::gui {

class InteractiveSimDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Starts tuning the subsystem chosen in Select Subsystem. Show it with show(): it is
    /// modeless. `doc`, `ui` and `runner` must outlive it.
    InteractiveSimDialogWidget(Document& doc, platform::UserInterface& ui, simulation::TuningRunner& runner,
                               QWidget* owner);
    /// A dialog destroyed while still open ends the tuning as Close does.
    ~InteractiveSimDialogWidget() override;

    /// "Close", Escape and the title bar end the tuning, once.
    void accept() override;
    void reject() override;

    /// While a fit of the simulation runs, the steps that would change it wait: Inc, Dec, Apply
    /// and Fit are off.
    void setFitting(bool running);

public slots:
    /// Shows the model's lines, parameter and value again.
    void refresh();

signals:
    /// "Fit": the simulation fitted to the measured spectrum it is compared with.
    void fitRequested();

private:
    /// Shows what the last step found.
    void tell();

    simulation::InteractiveSimDialog model_;
    Document& doc_;
    platform::UserInterface& ui_;
    QListWidget* shifts_ = nullptr;
    QListWidget* couplings_ = nullptr;
    QListWidget* width_ = nullptr;
    QLabel* parameterLabel_ = nullptr;
    QLineEdit* parameter_ = nullptr;
    QLineEdit* increment_ = nullptr;
    QPushButton* inc_ = nullptr;
    QPushButton* dec_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* fit_ = nullptr;
    /// The tuning has ended; a second close does nothing.
    bool ended_ = false;

    /// A line of one of the lists chosen: the others lose their selection.
    void choose(QListWidget* list, int row);
    void showParameter();
    void end();
};

/// "Help on Interactive Simulation": how to choose, set and step a parameter.
class InteractiveSimHelpDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    explicit InteractiveSimHelpDialogWidget(QWidget* owner);
};

}  // namespace pelvaron::gui
