// A command dispatcher over the display tests' small loaded document, with a dialog host that
// answers from a script and records what it was asked.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../display/display_fixture.h"
#include "app/dispatcher.h"

namespace pelvaron::testing {

/// The scripts of one kind of dialog: each run takes the next one; none left is `none` (Cancel).
template <typename Model, typename Result = bool>
struct Scripted {
    std::deque<std::function<Result(Model&)>> scripts;
    int runs = 0;
    Result none{};
    void push(std::function<Result(Model&)> script) { scripts.push_back(std::move(script)); }
    Result run(Model& model) {
        ++runs;
        if (scripts.empty()) return none;
        auto script = std::move(scripts.front());
        scripts.pop_front();
        return script(model);
    }
};

class ScriptedDialogHost : public app::DialogHost {
public:
    Scripted<display::SetLimitsDialog> setLimits;
    Scripted<display::ScaleFactorDialog> scaleFactor;
    Scripted<app::FileTypeDialogModel> fileType;
    Scripted<processing::ReferenceDialog> reference;
    Scripted<processing::SuppressPeaksDialog> suppress;
    Scripted<analysis::HydrogensDialog> hydrogens;
    /// The report's scripts return true to reopen it (the model's kReopen).
    Scripted<analysis::PeakPickingDialog> peakReport;
    std::vector<std::string> signalToNoiseShown;
    int closeRequests = 0, focusRequests = 0, measureJShown = 0, measureJRefreshes = 0;

    bool runUnitsDialog(display::UnitsDialog&) override { return false; }
    bool runSetLimitsDialog(display::SetLimitsDialog& m) override { return setLimits.run(m); }
    bool runScaleFactorDialog(display::ScaleFactorDialog& m) override { return scaleFactor.run(m); }
    bool runFileTypeDialog(app::FileTypeDialogModel& m) override { return fileType.run(m); }
    void showParametersDialog(const app::ParametersFields&) override {}
    bool runCommentDialog(app::CommentEntry&) override { return false; }
    bool runWindowFunctionDialog(processing::WindowFunctionDialog&) override { return false; }
    bool runFourierDialog(processing::FourierDialog&) override { return false; }
    void showPhaseDialog() override {}  // modeless: the window reports its closing
    void showInteractiveApodizationDialog() override { ++apodizationShown; }
    bool runJcampOptionsDialog(io::JcampOptionsDialog&) override { return false; }
    void showDataPointsDialog(io::DataPointsDialog&) override {}
    bool runBaselineDialog(processing::BaselineDialog&) override { return false; }
    void showMultiPointBaselineDialog() override {}
    bool runReferenceDialog(processing::ReferenceDialog& m) override { return reference.run(m); }
    bool runShiftDataDialog(processing::ShiftDataDialog&) override { return false; }
    bool runSuppressPeaksDialog(processing::SuppressPeaksDialog& m) override { return suppress.run(m); }
    void showSignalToNoiseDialog(const std::string& text) override { signalToNoiseShown.push_back(text); }
    bool runHydrogensDialog(analysis::HydrogensDialog& m) override { return hydrogens.run(m); }
    bool runIntegralFactorDialog(analysis::IntegralFactorDialog&) override { return false; }
    int runPeakPickingDialog(analysis::PeakPickingDialog& m) override {
        return peakReport.run(m) ? analysis::PeakPickingDialog::kReopen
                                 : analysis::PeakPickingDialog::kClosed;
    }
    void showMeasureJDialog() override { ++measureJShown; }
    void refreshMeasureJDialog() override { ++measureJRefreshes; }
    int multipletReportShown = 0;
    void showMultipletReport() override { ++multipletReportShown; }
    // The page and the clipboard: counted, with the page factors each one found.
    Scripted<output::PrinterOptionsDialog> printerOptions;
    int pagesPrinted = 0, pagesCopied = 0, viewsCopied = 0, picturesExported = 0;
    double lastPageBaseFactor = 0.0, lastPageAxisScale = 0.0;
    display::View* pageView = nullptr;  ///< whose factors are noted
    void notePage(int& count) {
        ++count;
        if (pageView)
            lastPageBaseFactor = pageView->print.pageBaseFactor,
            lastPageAxisScale = pageView->print.pageAxisScale;
    }
    bool printPage() override { return notePage(pagesPrinted), true; }
    bool copyPageToClipboard() override { return notePage(pagesCopied), true; }
    bool copyViewToClipboard() override { return ++viewsCopied, true; }
    bool exportPicture() override { return notePage(picturesExported), true; }
    std::vector<std::pair<std::string, std::string>> textsCopied;  ///< text, html
    bool copyText(const std::string& text, const std::string& html) override {
        return textsCopied.emplace_back(text, html), true;
    }
    bool runPrinterOptionsDialog(output::PrinterOptionsDialog& m) override { return printerOptions.run(m); }
    std::vector<int> expansionWindowsOpened;
    bool twoSetControls = false;
    void openExpansionWindow(int slot) override { expansionWindowsOpened.push_back(slot); }
    void showTwoSetControls(bool show) override { twoSetControls = show; }
    Scripted<simulation::InputParametersDialog, int> inputParameters{
        {}, 0, simulation::InputParametersDialog::kCancelled};
    Scripted<simulation::SimulationDataDialog, int> simulationData{
        {}, 0, simulation::SimulationDataDialog::kCancelled};
    Scripted<simulation::SelectSubsystemDialog> selectSubsystem;
    int interactiveShown = 0;
    int apodizationShown = 0;
    int runInputParametersDialog(simulation::InputParametersDialog& m) override { return inputParameters.run(m); }
    int runSimulationDataDialog(simulation::SimulationDataDialog& m) override {
        return m.open() ? simulationData.run(m) : simulation::SimulationDataDialog::kFailed;
    }
    bool runSelectSubsystemDialog(simulation::SelectSubsystemDialog& m) override { return selectSubsystem.run(m); }
    void showInteractiveSimDialog() override { ++interactiveShown; }
    void showHelp() override {}
    void showAbout() override {}
    void requestClose() override { ++closeRequests; }
    void focusMainWindow() override { ++focusRequests; }
};

/// The display tests' document as after a load (or only its client area) and a dispatcher, whose
/// view shows it and whose document menus are enabled after a load, as the window's would be.
struct AppFixture {
    RecordingUserInterface ui;
    ScriptedDialogHost host;
    std::unique_ptr<Document> doc;
    app::CommandDispatcher dispatcher;
    display::View& view = dispatcher.view();

    explicit AppFixture(bool loaded = true)
        : doc(loaded ? makeDocument(ui) : std::make_unique<Document>()), dispatcher(*doc, ui, host) {
        display::initClientArea(view, 1000, 800);
        if (loaded) display::showNewData(view, *doc), dispatcher.menus().enableDocumentMenus(true);
        host.pageView = &view;
    }
};

}  // namespace pelvaron::testing
