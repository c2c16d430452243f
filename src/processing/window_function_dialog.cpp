// The "Window Function Parameters" dialog's logic.
#include "processing/window_function_dialog.h"

#include "base/format.h"

namespace pelvaron::processing {

std::vector<Message> windowMessages(const WindowCheck& check) {
    std::vector<Message> said;
    if (check.lbNegated) said.push_back(kNegativeLbNotice);
    if (check.problem) said.push_back(windowMessage(*check.problem));
    return said;
}

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

WindowCheck WindowFunctionDialog::ok() {
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
    if (check.lbNegated) w.lbLg = check.settings.lbLg;
    if (check.problem) return check;
    applyWindow(doc_.spectrum, w);
    doc_.notify(kDataChanged);
    return check;
}

}  // namespace pelvaron::processing
