// Conversions through the time scale; every division is in double precision.
#include "document/units.h"

namespace pelvaron::units {

double indexToT(const Document& doc, double i) { return i * doc.spectrum.acqPars.AQ / doc.spectrum.nData; }

double tToIndex(const Document& doc, double t) { return doc.spectrum.nData * t / doc.spectrum.acqPars.AQ; }

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

}  // namespace pelvaron::units
