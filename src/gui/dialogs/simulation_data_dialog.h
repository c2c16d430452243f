// The "Simulation data" dialog: the simulated spectrum's window, resolution, width and units,
// and the ring of nucleus buttons with the shift and coupling lists of the subsystem being
// entered, over simulation::SimulationDataDialog. It opens Chemical Shift and Coupling Constant
// itself; the flow around it (the next subsystem after New) is the caller's.
#pragma once

#include <QSize>
#include <vector>

#include "gui/dialogs/centered_dialog.h"
#include "simulation/simulation_dialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace pelvaron::gui {

class SimulationDataDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model and lays out its fields, lists and ring. When the model cannot open (it
    /// has said why), exec() returns kFailed at once without showing anything.
    SimulationDataDialogWidget(simulation::SimulationDataDialog& model, Document& doc,
                               platform::UserInterface& ui, QWidget* owner);

    /// The model's result: kOk, kCancelled, kNewSubsystem, or kFailed when it could not open.
    int exec() override;
    void open() override;

    /// "OK": the spectrum is computed and the dialog closes, unless the model refused a field.
    void accept() override;
    /// "Cancel", Escape, the title bar. While an existing subsystem is edited there is no Cancel
    /// and this is "OK".
    void reject() override;

    /// The edits and units as they stand now.
    [[nodiscard]] simulation::SimulationFields fields() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    simulation::SimulationDataDialog& model_;
    Document& doc_;
    platform::UserInterface& ui_;
    bool opened_ = false;

    QLineEdit* sf_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* points_ = nullptr;
    QLineEdit* lineWidth_ = nullptr;
    QLineEdit* threshold_ = nullptr;
    QLabel* unit_ = nullptr;
    QRadioButton* hertz_ = nullptr;
    QRadioButton* ppm_ = nullptr;
    QListWidget* shifts_ = nullptr;
    QListWidget* couplings_ = nullptr;
    QCheckBox* fitWidth_ = nullptr;
    QLabel* widthSigma_ = nullptr;
    /// A line's check box was just toggled: the click that did it opens no dialog.
    bool checkToggled_ = false;
    std::vector<QPushButton*> nuclei_;
    QSize nucleusSize_;

    // The controls around the ring, each placed as one block.
    QWidget* fieldsBlock_ = nullptr;
    QWidget* shiftsBlock_ = nullptr;
    QWidget* couplingsBlock_ = nullptr;
    QWidget* bottomBlock_ = nullptr;

    void unitsToggled(bool ppm);
    /// Opens Chemical Shift or Coupling Constant for a click's request.
    void edit(const simulation::EditRequest& request);
    /// The lines, each with its check box (checked: the fit moves the value), and the width's sigma.
    void refreshLists();
    /// A line's check box toggled: the model holds or frees its value.
    void lineChecked(QListWidget* list, QListWidgetItem* item);
    /// The dialog's size: big enough that the ring, laid out on it, stays clear of the blocks.
    [[nodiscard]] QSize fittingSize() const;
    /// The ring and the blocks around it, for the dialog's present size.
    void arrange();
};

}  // namespace pelvaron::gui
