// Conversions through the time scale; every division is in double precision and conversions to
// integers truncate toward zero.
#include "document/units.h"

#include "document/format.h"
#include "document/numeric.h"

namespace pelvaron::units {

double indexToT(const Document& doc, double i) { return i * doc.acqPars.AQ / doc.nData; }

double tToIndex(const Document& doc, double t) { return doc.nData * t / doc.acqPars.AQ; }

double pixelToT(const Document& doc, double x, int width) {
    return x * doc.acqPars.AQ / width / doc.viewZoom + doc.viewLeft;
}

double tToPixel(const Document& doc, double t, int width) {
    return (t - doc.viewLeft) * doc.viewZoom * width / doc.acqPars.AQ;
}

double tToUnit(const Document& doc, double t, int unit) {
    const double aq = doc.acqPars.AQ;
    const double sw = doc.acqPars.SW;
    switch (unit) {
        case kPpm: return sw * (1.0 - t / aq) / doc.acqPars.SF + doc.offsetPpm;
        case kHz: return sw * (1.0 - t / aq) + doc.offsetHz;
        case kPoints: return doc.nData * t / (2.0 * aq);
        default: return t;
    }
}

double unitToT(const Document& doc, double v, int unit) {
    const double aq = doc.acqPars.AQ;
    const double sw = doc.acqPars.SW;
    switch (unit) {
        case kPpm: return (sw - (v - doc.offsetPpm) * doc.acqPars.SF) / sw * aq;
        case kHz: return (sw - (v - doc.offsetHz)) / sw * aq;
        case kPoints: return v / doc.nData * 2.0 * aq;
        default: return v;
    }
}

IndexRange viewIndexRange(const Document& doc) {
    IndexRange r;
    r.i0 = truncToInt(doc.nData * doc.viewLeft / doc.acqPars.AQ);
    r.i1 = truncToInt(doc.nData * doc.viewRight / doc.acqPars.AQ);
    if (r.i0 % 2 != 0) --r.i0;
    if (r.i1 % 2 != 0) --r.i1;
    return r;
}

std::string readoutText(const Document& doc, int x) {
    const double aq = doc.acqPars.AQ;
    const double sw = doc.acqPars.SW;
    const double sf = doc.acqPars.SF;
    const double t = x * aq / doc.clientWidth / doc.viewZoom + doc.viewLeft;
    const double r = (sw - sw * t / aq) / sf;
    const double p = doc.nData * t / 2.0 / aq;
    std::string text;
    switch (doc.xUnits) {
        case kSeconds: text = cformat("Second %.3lf     ", t); break;
        case kPpm: text = cformat("ppm %.3lf     ", r + doc.offsetPpm); break;
        case kHz: text = cformat("Hertz %.3lf     ", r * sf + doc.offsetHz); break;
        case kPoints: text = cformat("Point %.0lf     ", p); break;
        default: break;
    }
    int j = truncToInt(2.0 * p);
    if (j % 2 != 0) --j;
    // The read-out is shown for any mouse position; outside the data it reads the nearest end.
    if (j < 0) j = 0;
    if (j > kCapacity - 2) j = kCapacity - 2;
    text += cformat("Int.=%.3lf", doc.specData[j]);
    return text;
}

}  // namespace pelvaron::units
