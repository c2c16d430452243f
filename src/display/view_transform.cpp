// Conversions of a view; conversions to integers truncate toward zero.
#include "display/view_transform.h"

#include "base/format.h"
#include "base/numeric.h"

namespace pelvaron::display {

ViewTransform::ViewTransform(const Spectrum& spectrum, double left, double right, double zoom, double width)
    : n_(spectrum.nData), aq_(spectrum.acqPars.AQ), left_(left), right_(right), zoom_(zoom), width_(width) {}

ViewTransform ViewTransform::mainView(const Spectrum& spectrum, const View& view) {
    return mainView(spectrum, view, view.clientWidth);
}

ViewTransform ViewTransform::mainView(const Spectrum& spectrum, const View& view, double width) {
    return ViewTransform(spectrum, view.viewLeft, view.viewRight, view.viewZoom, width);
}

int ViewTransform::firstIndex() const { return truncToInt(indexOfT(left_)); }

ViewTransform::IndexRange ViewTransform::indexRange() const {
    IndexRange r;
    r.i0 = firstIndex();
    r.i1 = truncToInt(indexOfT(right_));
    if (r.i0 % 2 != 0) --r.i0;
    if (r.i1 % 2 != 0) --r.i1;
    return r;
}

std::string readoutText(const Spectrum& s, const View& view, int x) {
    const double aq = s.acqPars.AQ;
    const double sw = s.acqPars.SW;
    const double sf = s.acqPars.SF;
    const double t = ViewTransform::mainView(s, view).tAtPixel(x);
    const double r = (sw - sw * t / aq) / sf;
    const double p = s.nData * t / 2.0 / aq;
    std::string text;
    switch (s.xUnits) {
        case kSeconds: text = cformat("Second %.3lf     ", t); break;
        case kPpm: text = cformat("ppm %.3lf     ", r + s.offsetPpm); break;
        case kHz: text = cformat("Hertz %.3lf     ", r * sf + s.offsetHz); break;
        case kPoints: text = cformat("Point %.0lf     ", p); break;
        default: break;
    }
    int j = truncToInt(2.0 * p);
    if (j % 2 != 0) --j;
    // The read-out is shown for any mouse position; outside the data it reads the nearest end.
    if (j < 0) j = 0;
    if (j > kCapacity - 2) j = kCapacity - 2;
    text += cformat("Int.=%.3lf", s.specData[j]);
    return text;
}

}  // namespace pelvaron::display
