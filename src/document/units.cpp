// Conversions through the time scale; every division is in double precision and conversions to
// integers truncate toward zero.
#include "document/units.h"

#include "base/format.h"
#include "base/numeric.h"

namespace pelvaron::units {

double indexToT(const Document& doc, double i) { return i * doc.spectrum.acqPars.AQ / doc.spectrum.nData; }

double tToIndex(const Document& doc, double t) { return doc.spectrum.nData * t / doc.spectrum.acqPars.AQ; }

double pixelToT(const Document& doc, double x, int width) {
    return x * doc.spectrum.acqPars.AQ / width / doc.viewZoom + doc.viewLeft;
}

double tToPixel(const Document& doc, double t, int width) {
    return (t - doc.viewLeft) * doc.viewZoom * width / doc.spectrum.acqPars.AQ;
}

double tToUnit(const Document& doc, double t, int unit) {
    const double aq = doc.spectrum.acqPars.AQ;
    const double sw = doc.spectrum.acqPars.SW;
    switch (unit) {
        case kPpm: return sw * (1.0 - t / aq) / doc.spectrum.acqPars.SF + doc.spectrum.offsetPpm;
        case kHz: return sw * (1.0 - t / aq) + doc.spectrum.offsetHz;
        case kPoints: return doc.spectrum.nData * t / (2.0 * aq);
        default: return t;
    }
}

double unitToT(const Document& doc, double v, int unit) {
    const double aq = doc.spectrum.acqPars.AQ;
    const double sw = doc.spectrum.acqPars.SW;
    switch (unit) {
        case kPpm: return (sw - (v - doc.spectrum.offsetPpm) * doc.spectrum.acqPars.SF) / sw * aq;
        case kHz: return (sw - (v - doc.spectrum.offsetHz)) / sw * aq;
        case kPoints: return v / doc.spectrum.nData * 2.0 * aq;
        default: return v;
    }
}

IndexRange viewIndexRange(const Document& doc) {
    IndexRange r;
    r.i0 = truncToInt(doc.spectrum.nData * doc.viewLeft / doc.spectrum.acqPars.AQ);
    r.i1 = truncToInt(doc.spectrum.nData * doc.viewRight / doc.spectrum.acqPars.AQ);
    if (r.i0 % 2 != 0) --r.i0;
    if (r.i1 % 2 != 0) --r.i1;
    return r;
}

std::string readoutText(const Document& doc, int x) {
    const double aq = doc.spectrum.acqPars.AQ;
    const double sw = doc.spectrum.acqPars.SW;
    const double sf = doc.spectrum.acqPars.SF;
    const double t = x * aq / doc.clientWidth / doc.viewZoom + doc.viewLeft;
    const double r = (sw - sw * t / aq) / sf;
    const double p = doc.spectrum.nData * t / 2.0 / aq;
    std::string text;
    switch (doc.spectrum.xUnits) {
        case kSeconds: text = cformat("Second %.3lf     ", t); break;
        case kPpm: text = cformat("ppm %.3lf     ", r + doc.spectrum.offsetPpm); break;
        case kHz: text = cformat("Hertz %.3lf     ", r * sf + doc.spectrum.offsetHz); break;
        case kPoints: text = cformat("Point %.0lf     ", p); break;
        default: break;
    }
    int j = truncToInt(2.0 * p);
    if (j % 2 != 0) --j;
    // The read-out is shown for any mouse position; outside the data it reads the nearest end.
    if (j < 0) j = 0;
    if (j > kCapacity - 2) j = kCapacity - 2;
    text += cformat("Int.=%.3lf", doc.spectrum.specData[j]);
    return text;
}

}  // namespace pelvaron::units
