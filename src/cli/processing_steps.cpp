// Steps that run the processing commands: the same core routines and dialog logic as the
// window's menus, with the arguments typed where the person would type them.
#include <string>

#include "cli/steps.h"
#include "base/format.h"
#include "processing/data_ops.h"
#include "processing/data_steps.h"
#include "processing/fourier_dialog.h"
#include "processing/phase.h"
#include "processing/phase_dialog.h"
#include "processing/recorded.h"
#include "processing/window_function_dialog.h"

namespace pelvaron::cli {

namespace {

using processing::WindowFunctionDialog;

/// An edit box holding exactly `v`.
std::string boxText(double v) { return cformat("%.17g", v); }

/// Apodize with `window`: the dialog opens, `fill` types the parameters, OK. A refused value
/// fails the step after the dialog's own message.
template <class Fill>
Step windowStep(Window window, int args, Fill fill) {
    return {args, args,
            [window, fill](Document& doc, platform::UserInterface& ui, const StepArgs& a, std::string&) {
                WindowFunctionDialog dialog(doc, ui);
                dialog.open();
                dialog.selected = window;
                fill(dialog, a);
                return dialog.ok();
            }};
}

/// The Fourier transform with the dialog's proposals; with a size, that entry of the size list
/// is double-clicked first (a size in complex points, zero filling or truncating the data).
bool fourierStep(Document& doc, const StepArgs& args, std::string& error) {
    processing::FourierDialog dialog(doc);
    int entry = -1;
    if (!args.empty()) {
        const double points = args[0];
        for (int k = 0; k < static_cast<int>(dialog.kSizeList.size()); ++k) {
            if (2.0 * points == static_cast<double>(1 << (k + 7))) entry = k;
        }
        if (entry < 0) {
            error = "Step \"ft=" + cformat("%g", points) +
                    "\": the size must be 64, 128, 256, ... or " +
                    std::to_string(processing::kMaxTransformSize / 2) + " complex points";
            return false;
        }
    }
    dialog.open();
    if (entry >= 0) dialog.chooseSize(entry);
    if (!dialog.ok()) {
        dialog.cancel();
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

    table["polybaseline"] = {1, 5, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
                                 return processing::polynomialBaselineStep(doc, a, error);
                             }};
    table["mpbaseline"] = {1, 300, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
                               return processing::multiPointBaselineStep(doc, a, error);
                           }};
    table["shift"] = {1, 1, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
                          return processing::shiftStep(doc, a[0], error);
                      }};
    // AT/VALUE, each "7.26", "7.26ppm" or "2178Hz"; both in one unit.
    table["reference"].minArgs = table["reference"].maxArgs = 2;
    table["reference"].runTexts = [](Document& doc, platform::UserInterface&, const StepTexts& a, std::string& error) {
        double at = 0.0, value = 0.0;
        int unitAt = 0, unitValue = 0;
        if (!processing::parseValueWithUnit(a[0], at, unitAt) || !processing::parseValueWithUnit(a[1], value, unitValue) ||
            unitAt != unitValue) {
            error = "Step \"reference\": expected AT/VALUE, both in ppm or both in Hz (e.g. 2.29/2.36 or 916Hz/944Hz)";
            return false;
        }
        return processing::referenceStep(doc, at, value, unitAt, error);
    };
    // FROM/TO in ppm, and "noise" to fill from the noise block instead of zeros.
    table["suppress"].minArgs = 2;
    table["suppress"].maxArgs = 3;
    table["suppress"].runTexts = [](Document& doc, platform::UserInterface&, const StepTexts& a, std::string& error) {
        double from = 0.0, to = 0.0;
        int unitFrom = 0, unitTo = 0;
        if (!processing::parseValueWithUnit(a[0], from, unitFrom) || !processing::parseValueWithUnit(a[1], to, unitTo) ||
            unitFrom != kPpm || unitTo != kPpm || (a.size() == 3 && a[2] != "noise")) {
            error = "Step \"suppress\": expected FROM/TO in ppm, or FROM/TO/noise";
            return false;
        }
        return processing::suppressStep(doc, from, to, a.size() == 3, error);
    };

    table["em"] = windowStep(Window::Exponential, 1,
                             [](WindowFunctionDialog& d, const StepArgs& a) { d.lbExpText = boxText(a[0]); });
    table["gm"] = windowStep(Window::Gaussian, 2, [](WindowFunctionDialog& d, const StepArgs& a) {
        d.lbGaussText = boxText(a[0]);
        d.shiftText = boxText(a[1]);
    });
    table["traf"] = windowStep(Window::Traficante, 1, [](WindowFunctionDialog& d, const StepArgs& a) {
        d.lbTrafText = boxText(a[0]);
    });
    table["lg"] = windowStep(Window::LorentzGauss, 2, [](WindowFunctionDialog& d, const StepArgs& a) {
        d.lbLgText = boxText(a[0]);
        d.gbText = boxText(a[1]);
    });
    table["sine"] = windowStep(
        Window::Sine, 1, [](WindowFunctionDialog& d, const StepArgs& a) { d.sineDegText = boxText(a[0]); });
    table["sine2"] = windowStep(Window::SineSquared, 1, [](WindowFunctionDialog& d, const StepArgs& a) {
        d.sine2DegText = boxText(a[0]);
    });
    table["hanning"] = windowStep(Window::Hanning, 0, [](WindowFunctionDialog&, const StepArgs&) {});
    table["hamming"] = windowStep(Window::Hamming, 0, [](WindowFunctionDialog&, const StepArgs&) {});

    table["ft"] = {0, 1, [](Document& doc, platform::UserInterface&, const StepArgs& a, std::string& error) {
                       return fourierStep(doc, a, error);
                   }};
    // The processing the experiment's procs records; its refusal is the command's own message.
    table["recorded"] = {0, 0, [](Document& doc, platform::UserInterface& ui, const StepArgs&, std::string& error) {
                             if (processing::processAsRecorded(doc, ui)) return true;
                             error = "Step \"recorded\": the data cannot be processed as recorded";
                             return false;
                         }};
    // Total phase about the present pivot, as typed into the Phase Correction boxes and Apply,
    // then OK.
    table["phase"] = {2, 2, [](Document& doc, platform::UserInterface& ui, const StepArgs& a, std::string&) {
                          processing::PhaseDialog dialog(doc, ui);
                          dialog.open();
                          dialog.apply(boxText(a[0]), boxText(a[1]));
                          dialog.ok();
                          return true;
                      }};
    table["autophase"] = {0, 0,
                          [](Document& doc, platform::UserInterface& ui, const StepArgs&, std::string&) {
                              processing::autophaseCommand(doc, ui);
                              return true;
                          }};
}

}  // namespace pelvaron::cli
