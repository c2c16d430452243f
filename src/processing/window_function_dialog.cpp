// The "Window Function Parameters" dialog's logic.
#include "processing/window_function_dialog.h"

#include "base/format.h"
#include "processing/window_functions.h"

namespace pelvaron::processing {

void WindowFunctionDialog::open() {
    takeUndoSnapshot(doc_);
    const WindowParams& w = doc_.window;
    selected = w.selected;
    lbExpText = cformat("%.2lf", w.lbExp);
    lbGaussText = cformat("%.2lf", w.lbGauss);
    shiftText = cformat("%.2lf", w.shift);
    lbLgText = cformat("%.2lf", w.lbLg);
    gbText = cformat("%.2lf", w.gb);
    lbTrafText = cformat("%.2lf", w.lbTraf);
    sineDegText = cformat("%.2lf", w.sineDeg);
    sine2DegText = cformat("%.2lf", w.sine2Deg);
}

bool WindowFunctionDialog::ok() {
    WindowParams& w = doc_.window;
    w.selected = selected;
    w.lbExp = parseLeadingDouble(lbExpText);
    w.lbGauss = parseLeadingDouble(lbGaussText);
    w.shift = parseLeadingDouble(shiftText);
    w.lbLg = parseLeadingDouble(lbLgText);
    w.gb = parseLeadingDouble(gbText);
    w.lbTraf = parseLeadingDouble(lbTrafText);
    w.sineDeg = parseLeadingDouble(sineDegText);
    w.sine2Deg = parseLeadingDouble(sine2DegText);

    // The ranges are written so that a value that is not a number fails them too.
    if (w.selected == Window::Gaussian && !(w.shift >= 0.0 && w.shift <= 1.0)) {
        ui_.message("Shift must be a value between 0 and 1", "error", platform::Icon::Exclamation);
        return false;
    }
    if (w.selected == Window::LorentzGauss) {
        if (w.lbLg > 0.0) {
            ui_.message(
                "LB must be negative for the Lorentzian/Gaussian function\n"
                "Pelvaron will use the negative of that value.",
                "Error", platform::Icon::Information);
            w.lbLg = -w.lbLg;
        }
        // GB = 0 would divide by zero in the Gaussian term: refused like any other GB outside
        // the range.
        if (!(w.gb > 0.0 && w.gb <= 1.0)) {
            ui_.message("GB must be a number between 0 and 1", "Error", platform::Icon::Information);
            return false;
        }
    }
    applyWindow(doc_);
    ui_.requestRepaint();
    return true;
}

}  // namespace pelvaron::processing
