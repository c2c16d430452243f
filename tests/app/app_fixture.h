// A command dispatcher over a small loaded document, with a dialog host that answers from a
// script and records what it was asked.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "app/dispatcher.h"
#include "document/document.h"
#include "processing/phase_dialog.h"
#include "recording_ui.h"

namespace pelvaron::testing {

/// The scripts of one kind of dialog: each run takes the next one; none left is Cancel.
template <typename Model>
struct Scripted {
    std::deque<std::function<bool(Model&)>> scripts;
    int runs = 0;
    void push(std::function<bool(Model&)> script) { scripts.push_back(std::move(script)); }
    bool run(Model& model) {
        ++runs;
        if (scripts.empty()) return false;
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
    /// The modeless Phase Correction dialog: opened as the window opens it, kept until the test
    /// closes it; showing it again while it is open only counts.
    std::optional<processing::PhaseDialog> phase;
    int phaseShown = 0, closeRequests = 0, focusRequests = 0;
    Document* doc = nullptr;
    platform::UserInterface* ui = nullptr;

    bool runUnitsDialog(display::UnitsDialog&) override { return false; }
    bool runSetLimitsDialog(display::SetLimitsDialog& m) override { return setLimits.run(m); }
    bool runScaleFactorDialog(display::ScaleFactorDialog& m) override { return scaleFactor.run(m); }
    bool runFileTypeDialog(app::FileTypeDialogModel& m) override { return fileType.run(m); }
    void showParametersDialog(const app::ParametersFields&) override {}
    bool runCommentDialog(app::CommentEntry&) override { return false; }
    bool runWindowFunctionDialog(processing::WindowFunctionDialog&) override { return false; }
    bool runFourierDialog(processing::FourierDialog&) override { return false; }
    void showPhaseDialog() override {
        ++phaseShown;
        if (phase) return;
        phase.emplace(*doc, *ui);
        phase->open();
    }
    bool runJcampOptionsDialog(io::JcampOptionsDialog&) override { return false; }
    void showDataPointsDialog(io::DataPointsDialog&) override {}
    void showHelp() override {}
    void showAbout() override {}
    void requestClose() override { ++closeRequests; }
    void focusMainWindow() override { ++focusRequests; }
};

/// A document as after a load (1000 x 800 client area, TD 2000, SW 1000 Hz, SF 100 MHz: AQ 1 s,
/// one line of 50 at double index 200) and a dispatcher whose document menus are enabled, as the
/// window's would be.
struct AppFixture {
    RecordingUserInterface ui;
    ScriptedDialogHost host;
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    app::CommandDispatcher dispatcher{*doc, ui, host};

    explicit AppFixture(bool loaded = true) {
        host.doc = doc.get();
        host.ui = &ui;
        doc->initClientArea(1000, 800);
        if (!loaded) return;
        doc->acqPars.aqMode = 1;
        doc->acqPars.complexData = 1;
        doc->acqPars.TD = 2000;
        doc->acqPars.SW = 1000.0;
        doc->acqPars.SF = 100.0;
        for (int i = 0; i < 2000; ++i) doc->specData[i] = 0.01 * (i % 7) - 0.02;
        doc->specData[200] = 50.0;
        setupDocument(*doc, ui);
        dispatcher.menus().enableDocumentMenus(true);
    }

    [[nodiscard]] std::vector<double> data() const {
        return {doc->specData.begin(), doc->specData.begin() + doc->nData};
    }
    [[nodiscard]] bool holds(const std::vector<double>& data) const {
        return std::equal(data.begin(), data.end(), doc->specData.begin());
    }
};

}  // namespace pelvaron::testing
