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

class ScriptedDialogHost : public app::DialogHost {
public:
    // Each dialog runs the next script of its kind on the model; no script: Cancel.
    std::deque<std::function<bool(display::UnitsDialog&)>> units;
    std::deque<std::function<bool(display::SetLimitsDialog&)>> setLimits;
    std::deque<std::function<bool(display::ScaleFactorDialog&)>> scaleFactor;
    std::deque<std::function<bool(app::FileTypeDialogModel&)>> fileType;
    std::deque<std::function<bool(app::CommentEntry&)>> comment;
    std::deque<std::function<bool(processing::WindowFunctionDialog&)>> windowFunction;
    std::deque<std::function<bool(processing::FourierDialog&)>> fourier;
    std::deque<std::function<bool(io::JcampOptionsDialog&)>> jcampOptions;
    std::deque<std::function<bool(io::DataPointsDialog&)>> dataPoints;

    int unitsRuns = 0, setLimitsRuns = 0, scaleFactorRuns = 0, fileTypeRuns = 0, commentRuns = 0;
    int windowFunctionRuns = 0, fourierRuns = 0, jcampOptionsRuns = 0, dataPointsRuns = 0;
    /// The modeless Phase Correction dialog: opened as the window opens it, kept until the test
    /// closes it (closePhaseDialog); showing it again while it is open only counts.
    std::optional<processing::PhaseDialog> phase;
    int phaseShown = 0;
    int helpShown = 0, aboutShown = 0, closeRequests = 0, focusRequests = 0;
    std::vector<app::ParametersFields> parametersShown;

    bool runUnitsDialog(display::UnitsDialog& model) override { return run(units, model, unitsRuns); }
    bool runSetLimitsDialog(display::SetLimitsDialog& model) override {
        return run(setLimits, model, setLimitsRuns);
    }
    bool runScaleFactorDialog(display::ScaleFactorDialog& model) override {
        return run(scaleFactor, model, scaleFactorRuns);
    }
    bool runFileTypeDialog(app::FileTypeDialogModel& model) override {
        return run(fileType, model, fileTypeRuns);
    }
    void showParametersDialog(const app::ParametersFields& fields) override {
        parametersShown.push_back(fields);
    }
    bool runCommentDialog(app::CommentEntry& entry) override { return run(comment, entry, commentRuns); }
    bool runWindowFunctionDialog(processing::WindowFunctionDialog& model) override {
        return run(windowFunction, model, windowFunctionRuns);
    }
    bool runFourierDialog(processing::FourierDialog& model) override {
        return run(fourier, model, fourierRuns);
    }
    void showPhaseDialog() override {
        ++phaseShown;
        if (phase) return;
        phase.emplace(*doc_, *ui_);
        phase->open();
    }
    bool runJcampOptionsDialog(io::JcampOptionsDialog& model) override {
        return run(jcampOptions, model, jcampOptionsRuns);
    }
    void showDataPointsDialog(io::DataPointsDialog& model) override {
        run(dataPoints, model, dataPointsRuns);
    }
    void showHelp() override { ++helpShown; }
    void showAbout() override { ++aboutShown; }
    void requestClose() override { ++closeRequests; }
    void focusMainWindow() override { ++focusRequests; }

    /// What the phase dialog works on.
    void bind(Document& doc, platform::UserInterface& ui) {
        doc_ = &doc;
        ui_ = &ui;
    }

private:
    Document* doc_ = nullptr;
    platform::UserInterface* ui_ = nullptr;

    template <typename Script, typename Model>
    static bool run(std::deque<Script>& scripts, Model& model, int& runs) {
        ++runs;
        if (scripts.empty()) return false;
        auto script = std::move(scripts.front());
        scripts.pop_front();
        return script(model);
    }
};

/// A document as after a load (1000 x 800 client area, TD 2000, SW 1000 Hz, SF 100 MHz: AQ 1 s)
/// and a dispatcher whose document menus are enabled, as the window's would be.
struct AppFixture {
    RecordingUserInterface ui;
    ScriptedDialogHost host;
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    app::CommandDispatcher dispatcher{*doc, ui, host};

    explicit AppFixture(bool loaded = true) {
        host.bind(*doc, ui);
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

    /// OK or Cancel of the open phase dialog, as the window reports them.
    void closePhaseDialog(bool ok) {
        if (ok)
            host.phase->ok();
        else
            host.phase->cancel();
        host.phase.reset();
        dispatcher.setPhaseDialogOpen(false);
    }
};

}  // namespace pelvaron::testing
