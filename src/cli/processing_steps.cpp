// Steps that run the processing commands: the processing functions the window's commands run,
// called with their settings.
#include <string>

#include "base/format.h"
#include "cli/steps.h"
#include "processing/auto_baseline.h"
#include "processing/auto_phase.h"
#include "processing/auto_process.h"
#include "processing/data_ops.h"
#include "processing/data_steps.h"
#include "processing/phase.h"
#include "processing/recorded.h"
#include "processing/transform.h"
#include "processing/window_functions.h"

namespace pelvaron::cli {

namespace {

using processing::WindowSettings;

/// Apodize with `window`; `fill` puts the step's arguments into the settings. A positive LB of the
/// Lorentzian/Gaussian is negated with the program's notice; a refused value fails the step after
/// the program's message.
template <class Fill>
Step windowStep(Window window, int args, Fill fill) {
    return {args, args,
            [window, fill](Document& doc, platform::UserInterface& ui, const StepArgs& a, std::string&) {
                // Apodize keeps what it was given, as the dialog's boxes do, refused or not.
                WindowSettings settings = doc.window;
                settings.selected = window;
                fill(settings, a);
                const processing::WindowCheck check = processing::checkWindow(settings);
                doc.window = check.settings;
                if (check.lbNegated) platform::report(ui, processing::kNegativeLbNotice);
                if (check.problem) {
                    platform::report(ui, processing::windowMessage(*check.problem));
                    return false;
                }
                takeUndoSnapshot(doc);
                processing::applyWindow(doc.spectrum, check.settings);
                return true;
            }};
}

/// The Fourier transform with the options it proposes for the data; with a size (complex
/// points), the data are zero filled or truncated to it first.
bool fourierStep(Document& doc, const StepArgs& args, std::string& error) {
    Spectrum& s = doc.spectrum;
    std::optional<int> size;
    if (!args.empty()) {
        size = processing::transformSizeOfPoints(args[0]);
        if (!size) {
            error = "Step \"ft=" + cformat("%g", args[0]) + "\": the size must be 64, 128, 256, ... or " +
                    std::to_string(processing::kMaxTransformSize / 2) + " complex points";
            return false;
        }
    }
    const processing::TransformSettings settings =
        processing::proposedTransform(s, doc.transform.ftRotateCount);
    const int nData = s.nData, td = s.acqPars.TD;
    processing::roundUpToTransformSize(s);
    if (size) processing::chooseTransformSize(s, *size);
    if (!processing::fourierTransform(doc, settings)) {
        s.noteSpecExtent(s.nData);
        s.nData = nData;
        s.acqPars.TD = td;
        error = "Step \"ft\": the data cannot be transformed";
        return false;
    }
    return true;
}

}  // namespace

void addProcessingSteps(StepTable& table) {
    table["invert"] = {0, 0, [](Document& doc, platform::UserInterface&, const StepArgs&, std::string&) {
                           processing::invertData(doc);
                           return true;
                       }};
    table["baseline"] = {0, 0, [](Document& doc, platform::UserInterface&, const StepArgs&, std::string&) {
                             processing::removeLinearDrift(doc);
                             return true;
                         }};

    table["polybaseline"] = {
        1, 5, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
            return processing::polynomialBaselineStep(doc, a, error);
        }};
    table["mpbaseline"] = {
        1, 300, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
            return processing::multiPointBaselineStep(doc, a, error);
        }};
    table["shift"] = {1, 1,
                      [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
                          return processing::shiftStep(doc, a[0], error);
                      }};
    // AT/VALUE, each "7.26", "7.26ppm" or "2178Hz"; both in one unit.
    table["reference"].minArgs = table["reference"].maxArgs = 2;
    table["reference"].runTexts = [](Document& doc, platform::UserInterface&, const StepTexts& a,
                                     std::string& error) {
        double at = 0.0, value = 0.0;
        int unitAt = 0, unitValue = 0;
        if (!processing::parseValueWithUnit(a[0], at, unitAt) ||
            !processing::parseValueWithUnit(a[1], value, unitValue) || unitAt != unitValue) {
            error =
                "Step \"reference\": expected AT/VALUE, both in ppm or both in Hz (e.g. 2.29/2.36 or "
                "916Hz/944Hz)";
            return false;
        }
        return processing::referenceStep(doc, at, value, unitAt, error);
    };
    // FROM/TO in ppm, and "noise" to fill from the noise block instead of zeros.
    table["suppress"].minArgs = 2;
    table["suppress"].maxArgs = 3;
    table["suppress"].runTexts = [](Document& doc, platform::UserInterface&, const StepTexts& a,
                                    std::string& error) {
        double from = 0.0, to = 0.0;
        int unitFrom = 0, unitTo = 0;
        if (!processing::parseValueWithUnit(a[0], from, unitFrom) ||
            !processing::parseValueWithUnit(a[1], to, unitTo) || unitFrom != kPpm || unitTo != kPpm ||
            (a.size() == 3 && a[2] != "noise")) {
            error = "Step \"suppress\": expected FROM/TO in ppm, or FROM/TO/noise";
            return false;
        }
        return processing::suppressStep(doc, from, to, a.size() == 3, error);
    };

    table["em"] =
        windowStep(Window::Exponential, 1, [](WindowSettings& w, const StepArgs& a) { w.lbExp = a[0]; });
    table["gm"] = windowStep(Window::Gaussian, 2, [](WindowSettings& w, const StepArgs& a) {
        w.lbGauss = a[0];
        w.shift = a[1];
    });
    table["traf"] =
        windowStep(Window::Traficante, 1, [](WindowSettings& w, const StepArgs& a) { w.lbTraf = a[0]; });
    table["lg"] = windowStep(Window::LorentzGauss, 2, [](WindowSettings& w, const StepArgs& a) {
        w.lbLg = a[0];
        w.gb = a[1];
    });
    table["sine"] =
        windowStep(Window::Sine, 1, [](WindowSettings& w, const StepArgs& a) { w.sineDeg = a[0]; });
    table["sine2"] =
        windowStep(Window::SineSquared, 1, [](WindowSettings& w, const StepArgs& a) { w.sine2Deg = a[0]; });
    table["hanning"] = windowStep(Window::Hanning, 0, [](WindowSettings&, const StepArgs&) {});
    table["hamming"] = windowStep(Window::Hamming, 0, [](WindowSettings&, const StepArgs&) {});

    table["ft"] = {0, 1, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
                       return fourierStep(doc, a, error);
                   }};
    // The processing the experiment's procs records; its refusal is the command's own message.
    table["recorded"] = {0, 0,
                         [](Document& doc, platform::UserInterface& ui, const StepArgs&, std::string& error) {
                             const auto done = processing::processAsRecorded(doc);
                             if (done) {
                                 if (const auto note = processing::recordedNote(*done))
                                     platform::report(ui, *note);
                                 return true;
                             }
                             if (const auto m = processing::recordedMessage(done.error()))
                                 platform::report(ui, *m);
                             error = "Step \"recorded\": the data cannot be processed as recorded";
                             return false;
                         }};
    // Total phase about the present pivot, as Phase Correction's typed orders and OK leave it.
    table["phase"] = {2, 2, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string&) {
                          takeUndoSnapshot(doc);
                          processing::applyPhase(doc.spectrum, {a[0], a[1]});
                          return true;
                      }};
    // Alone the documented Autophase; "full" finds the zero and the first order from the lines.
    table["autophase"].maxArgs = 1;
    table["autophase"].runTexts = [](Document& doc, platform::UserInterface& ui, const StepTexts& a,
                                     std::string& error) {
        if (a.empty()) return processing::autophaseUpright(doc.spectrum), true;
        if (a[0] != "full") {
            error = "Step \"autophase\": expected autophase or autophase=full";
            return false;
        }
        const auto done = processing::autoPhaseFull(doc.spectrum);
        if (done) return true;
        platform::report(ui, processing::autoPhaseMessage(done.error()));
        error = "Step \"autophase=full\": the phase cannot be found";
        return false;
    };
    // Zero filling, the transform, the automatic phase and baseline; a window is the steps' before.
    table["auto"] = {0, 0,
                     [](Document& doc, platform::UserInterface& ui, const StepArgs&, std::string& error) {
                         const auto done = processing::autoProcess(doc);
                         if (done) return true;
                         platform::report(ui, processing::autoProcessMessage(done.error()));
                         error = "Step \"auto\": the data cannot be processed automatically";
                         return false;
                     }};
    table["autobaseline"] = {
        0, 0, [](Document& doc, platform::UserInterface& ui, const StepArgs&, std::string& error) {
            const auto done = processing::autoBaseline(doc.spectrum);
            if (done) return true;
            platform::report(ui, processing::autoBaselineMessage(done.error()));
            error = "Step \"autobaseline\": no baseline can be found";
            return false;
        }};
}

}  // namespace pelvaron::cli
