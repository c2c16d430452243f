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

    const WindowCheck check = checkWindow(w);
    if (check.lbNegated) {
        platform::report(ui_, kNegativeLbNotice);
        w.lbLg = check.settings.lbLg;
    }
    if (check.problem) {
        platform::report(ui_, windowMessage(*check.problem));
        return false;
    }
    applyWindow(doc_.spectrum, w);
    doc_.notify(kDataChanged);
    return true;
}

}  // namespace pelvaron::processing
