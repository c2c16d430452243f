// The main window: menus, toolbar, status bar, scroll bars and the plot, over the command
// dispatcher. It follows the document through one change notice and runs the dispatcher's
// dialogs.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "app/dialog_host.h"
#include "app/dispatcher.h"
#include "document/document.h"
#include "gui/help_window.h"
#include "gui/qt_user_interface.h"
#include "output/page_setup.h"

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QShortcut;
class QToolBar;

namespace pelvaron::gui {

class ExpansionWindow;
class InteractiveSimDialogWidget;
class SimulationTuner;
class MeasureJDialogWidget;
class MultipletReportDock;
class MultiPointBaselineWidget;
class PhaseDialogWidget;
class InteractiveApodizationDialogWidget;
class DesktopSettings;
class PlotView;
class TwoSetStrip;

class MainWindow : public QMainWindow, public app::DialogHost, public DocumentObserver {
    Q_OBJECT
public:
    /// With `settings` the window keeps its size and place, the recent files (File > Open Recent),
    /// the file dialogs' folders and Import's format in them; without, it keeps nothing.
    explicit MainWindow(Document& doc, QWidget* parent = nullptr, DesktopSettings* settings = nullptr);
    ~MainWindow() override;
    /// A change notice of the document: shown at once (showDocument).
    void documentChanged(const Document& doc, ChangeSet changes) override;

    [[nodiscard]] app::CommandDispatcher& dispatcher() { return *dispatcher_; }
    [[nodiscard]] QtUserInterface& userInterface() { return *ui_; }
    [[nodiscard]] PlotView* plotView() const { return plot_; }
    [[nodiscard]] QScrollBar* horizontalBar() const { return hBar_; }
    /// The menu action of command `id`, or null when no command serves it.
    [[nodiscard]] QAction* action(int id) const;
    [[nodiscard]] QToolBar* toolBar() const { return toolBar_; }
    /// File > Open Recent, or null without settings.
    [[nodiscard]] QMenu* recentMenu() const { return recentMenu_; }
    /// Puts the window where the settings last saw it; false when they hold no usable place.
    bool restoreSavedGeometry();
    [[nodiscard]] QString statusText(int part) const;
    [[nodiscard]] HelpWindow* helpWindow() const { return help_; }
    /// The open Phase Correction dialog, or null.
    [[nodiscard]] PhaseDialogWidget* phaseDialog() const;
    /// The open Interactive Apodization dialog, or null.
    [[nodiscard]] InteractiveApodizationDialogWidget* apodizationDialog() const;
    /// The open Measure J and Multiple Point Baseline dialogs, or null.
    [[nodiscard]] MeasureJDialogWidget* measureJDialog() const;
    [[nodiscard]] MultiPointBaselineWidget* multiPointBaselineDialog() const;
    /// The Multiplet Report beside the plot (hidden once closed), or null before it was first made.
    [[nodiscard]] MultipletReportDock* multipletReport() const;
    /// The open expansion windows, and the two-set display's strip (null when it is off).
    [[nodiscard]] std::vector<ExpansionWindow*> expansionWindows() const;
    [[nodiscard]] TwoSetStrip* twoSetStrip() const;

    /// Adds a command of a subsystem; its menu item and toolbar button appear.
    void registerCommand(int id, app::CommandHandler handler);

    // app::DialogHost
    bool runUnitsDialog(display::UnitsDialog& model) override;
    bool runSetLimitsDialog(display::SetLimitsDialog& model) override;
    bool runScaleFactorDialog(display::ScaleFactorDialog& model) override;
    bool runFileTypeDialog(app::FileTypeDialogModel& model) override;
    void showParametersDialog(const app::ParametersFields& fields) override;
    bool runCommentDialog(app::CommentEntry& entry) override;
    bool runWindowFunctionDialog(processing::WindowFunctionDialog& model) override;
    bool runFourierDialog(processing::FourierDialog& model) override;
    void showPhaseDialog() override;
    void showInteractiveApodizationDialog() override;
    bool runJcampOptionsDialog(io::JcampOptionsDialog& model) override;
    void showDataPointsDialog(io::DataPointsDialog& model) override;
    bool runBaselineDialog(processing::BaselineDialog& model) override;
    void showMultiPointBaselineDialog() override;
    bool runReferenceDialog(processing::ReferenceDialog& model) override;
    bool runShiftDataDialog(processing::ShiftDataDialog& model) override;
    bool runSuppressPeaksDialog(processing::SuppressPeaksDialog& model) override;
    void showSignalToNoiseDialog(const std::string& text) override;
    bool runHydrogensDialog(analysis::HydrogensDialog& model) override;
    bool runIntegralFactorDialog(analysis::IntegralFactorDialog& model) override;
    int runPeakPickingDialog(analysis::PeakPickingDialog& model) override;
    void showMeasureJDialog() override;
    void refreshMeasureJDialog() override;
    void showMultipletReport() override;
    int runInputParametersDialog(simulation::InputParametersDialog& model) override;
    int runSimulationDataDialog(simulation::SimulationDataDialog& model) override;
    bool runSelectSubsystemDialog(simulation::SelectSubsystemDialog& model) override;
    void showInteractiveSimDialog() override;
    void openExpansionWindow(int slot) override;
    void showTwoSetControls(bool show) override;
    void showHelp() override;
    void showAbout() override;
    void requestClose() override;
    void focusMainWindow() override;
    // The printed page and the clipboard (main_window_page.cpp).
    bool printPage() override;
    bool copyPageToClipboard() override;
    bool copyViewToClipboard() override;
    bool exportPicture() override;
    bool copyText(const std::string& text, const std::string& html) override;
    bool runPrinterOptionsDialog(output::PrinterOptionsDialog& model) override;
    /// Paper and orientation of the pictures: A4 portrait until a print dialog chooses others.
    [[nodiscard]] const output::PageSetup& pageSetup() const { return pageSetup_; }

private:
    output::PageSetup pageSetup_;

public:

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    /// The one place that follows the document: plot, expansion windows, scroll bars, check marks.
    void showDocument();
    /// A fit of the simulation started or ended: Interactive Sim. waits for it and then shows
    /// what it left.
    void fitStateChanged(bool running);
    /// Interactive Sim.'s Fit: the strip's, over Compare to current spc.
    void fitFromInteractiveSim();
    void enableDocumentMenus(bool enable);

private:
    /// Adds File > Open Recent after Import (buildMenus calls it) and fills it (refreshRecentMenu).
    void addRecentMenu();
    void refreshRecentMenu();
    void openRecent(const QString& path);

    /// The main plot's view, which the dispatcher owns.
    [[nodiscard]] display::View& view() { return dispatcher_->view(); }

    Document& doc_;
    DesktopSettings* settings_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QtUserInterface* ui_ = nullptr;
    std::unique_ptr<app::CommandDispatcher> dispatcher_;
    PlotView* plot_ = nullptr;
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* status_[2] = {nullptr, nullptr};
    QLabel* reference_ = nullptr;  ///< where the data set's reference came from
    bool statusSized_ = false;
    std::map<int, QAction*> actions_;
    std::vector<QMenu*> menus_;
    std::map<int, QShortcut*> shortcuts_;
    QPointer<HelpWindow> help_;
    QPointer<PhaseDialogWidget> phase_;
    QPointer<InteractiveApodizationDialogWidget> apodization_;
    QPointer<MeasureJDialogWidget> measureJ_;
    QPointer<MultiPointBaselineWidget> multiPoint_;
    QPointer<MultipletReportDock> multiplets_;
    QPointer<TwoSetStrip> twoSet_;
    QPointer<InteractiveSimDialogWidget> interactiveSim_;
    SimulationTuner* tuner_ = nullptr;  ///< the Interactive Sim. dialog's recomputations
    int screenHeight_ = 0;
    void closeExpansionWindows();
    /// The Multiplet Report's tool buttons show the plot's tool after a command.
    void followTool();

    void buildMenus();
    void buildToolbar();
    void buildAccelerators();
    void syncMenus();
    void horizontalAction(int action);
    void verticalAction(int action);
};

}  // namespace pelvaron::gui
