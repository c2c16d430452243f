// The processing steps of the baseline corrections and data operations, with their checks.
#include "processing/data_steps.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "base/format.h"
#include "base/numeric.h"
#include "document/units.h"
#include "processing/baseline.h"
#include "processing/data_ops.h"

namespace pelvaron::processing {

namespace {

std::string stepText(const char* step, const std::string& what) {
    return std::string("Step \"") + step + "\": " + what;
}

const char* unitName(int unit) { return unit == kHz ? "Hz" : "ppm"; }

/// The data have an axis to place ppm and Hz on: points, a spectral width, a frequency and an
/// acquisition time.
bool haveAxis(const Document& doc, const char* step, std::string& error) {
    const AcqParams& a = doc.spectrum.acqPars;
    if (doc.spectrum.nData >= 4 && doc.spectrum.nData <= kCapacity && a.SW > 0 && a.SF > 0 && a.AQ > 0 &&
        std::isfinite(a.SW) && std::isfinite(a.SF) && std::isfinite(a.AQ))
        return true;
    error = stepText(step, "the data have no frequency axis");
    return false;
}

/// The time-scale position of `v` (in `unit`) when it lies between the first and the last point;
/// otherwise false with a message naming the data's range.
bool positionOf(const Document& doc, double v, int unit, const char* step, double& t, std::string& error) {
    const double first = units::tToUnit(doc, 0.0, unit);
    const double last = units::tToUnit(doc, units::indexToT(doc, doc.spectrum.nData - 2), unit);
    const double lo = std::min(first, last);
    const double hi = std::max(first, last);
    // Half a millionth of the range for the rounding of a value copied from a listing.
    const double slack = (hi - lo) * 5e-7;
    if (!std::isfinite(v) || v < lo - slack || v > hi + slack) {
        error = stepText(step, cformat("%g %s lies outside the data (%.4f ... %.4f %s)", v, unitName(unit),
                                       first, last, unitName(unit)));
        return false;
    }
    t = std::clamp(units::unitToT(doc, v, unit), 0.0, units::indexToT(doc, doc.spectrum.nData - 2));
    return true;
}

/// Complex point number p of a time, lowered to even and doubled, as the suppress tool does.
int suppressIndex(const Document& doc, double t) {
    int p = truncToInt(t * doc.spectrum.nData / 2.0 / doc.spectrum.acqPars.AQ);
    if (p % 2 != 0) --p;
    return 2 * p;
}

}  // namespace

bool straightBaselineStep(Document& doc, std::string& error) {
    if (doc.spectrum.nData < 16 || doc.spectrum.nData > kCapacity) {
        error = stepText("baseline", "the straight line needs at least 8 points");
        return false;
    }
    removeLinearDrift(doc);
    return true;
}

bool polynomialBaselineStep(Document& doc, std::span<const double> c, std::string& error) {
    if (c.empty() || c.size() > static_cast<std::size_t>(kBaselineOrders)) {
        error = stepText("polybaseline", "one to five coefficients c0/c1/c2/c3/c4");
        return false;
    }
    BaselineCoefficients coefficients{};
    for (std::size_t j = 0; j < c.size(); ++j) {
        if (!std::isfinite(c[j])) {
            error = stepText("polybaseline", "the coefficients must be finite numbers");
            return false;
        }
        coefficients[j] = c[j];
    }
    subtractPolynomialBaseline(doc, coefficients);
    return true;
}

bool multiPointBaselineStep(Document& doc, std::span<const double> ppm, std::string& error) {
    if (ppm.size() > static_cast<std::size_t>(kMaxBaselinePoints)) {
        error = stepText("mpbaseline", cformat("at most %d points", kMaxBaselinePoints));
        return false;
    }
    if (!haveAxis(doc, "mpbaseline", error)) return false;
    std::vector<double> times;
    for (const double v : ppm) {
        double t = 0.0;
        if (!positionOf(doc, v, kPpm, "mpbaseline", t, error)) return false;
        times.push_back(t);
    }
    multiPointBaseline(doc, times);
    return true;
}

bool referenceStep(Document& doc, double at, double value, int unit, std::string& error) {
    if (unit != kPpm && unit != kHz) {
        error = stepText("reference", "the values must be in ppm or Hz");
        return false;
    }
    if (doc.spectrum.xUnits != kPpm && doc.spectrum.xUnits != kHz) {
        error = stepText("reference", "To reference the units must be in Hertz or  ppm");
        return false;
    }
    if (!haveAxis(doc, "reference", error)) return false;
    double t = 0.0;
    if (!positionOf(doc, at, unit, "reference", t, error)) return false;
    if (!std::isfinite(value)) {
        error = stepText("reference", "the new value must be a finite number");
        return false;
    }
    // The pick as a click there makes it: the even index at or after the position.
    int p = truncToInt(doc.spectrum.nData * t / doc.spectrum.acqPars.AQ);
    if (p % 2 != 0) ++p;
    p = std::min(p, doc.spectrum.nData - 2);
    // As the dialog: a position given its own value keeps the reference exactly.
    if (value == at) return true;
    if (!setReference(doc, t, p, unit, value)) {
        error = stepText("reference", "the new reference is not a number");
        return false;
    }
    return true;
}

bool shiftStep(Document& doc, double count, std::string& error) {
    const int half = std::clamp(doc.spectrum.nData, 0, kCapacity) / 2;
    if (!std::isfinite(count) || count != std::trunc(count)) {
        error = stepText("shift", "the count must be a whole number of points");
        return false;
    }
    if (std::fabs(count) > half) {
        error = stepText("shift", cformat("at most %d points either way", half));
        return false;
    }
    shiftData(doc, static_cast<int>(std::fabs(count)), count > 0);
    return true;
}

bool suppressStep(Document& doc, double fromPpm, double toPpm, bool byNoise, std::string& error) {
    if (!haveAxis(doc, "suppress", error)) return false;
    double t0 = 0.0;
    double t1 = 0.0;
    if (!positionOf(doc, fromPpm, kPpm, "suppress", t0, error) ||
        !positionOf(doc, toPpm, kPpm, "suppress", t1, error))
        return false;
    int a = suppressIndex(doc, t0);
    int b = suppressIndex(doc, t1);
    if (b < a) std::swap(a, b);
    takeUndoSnapshot(doc);
    suppressRegion(doc, a, b, byNoise);
    return true;
}

bool parseValueWithUnit(std::string_view text, double& value, int& unit) {
    const std::string s(text);
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || errno == ERANGE || !std::isfinite(v)) return false;
    const std::string suffix = lowerAscii(end);
    if (suffix.empty() || suffix == "ppm") {
        unit = kPpm;
    } else if (suffix == "hz") {
        unit = kHz;
    } else {
        return false;
    }
    value = v;
    return true;
}

}  // namespace pelvaron::processing
