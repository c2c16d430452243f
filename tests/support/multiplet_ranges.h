// Multiplet ranges made by hand, for the tests of what shows, edits and prints them.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

#include "document/multiplet_state.h"

namespace pelvaron::testing {

/// A range from `from` down to `to` ppm centred on `delta` (their middle when not given).
inline MultipletRange multipletRange(double from, double to, const char* multiplicity,
                                     std::vector<double> J = {}, int nH = 1,
                                     RangeKind kind = RangeKind::Signal, double delta = NAN) {
    MultipletRange r;
    r.fromPpm = from;
    r.toPpm = to;
    r.deltaPpm = std::isnan(delta) ? (from + to) / 2 : delta;
    r.pattern.multiplicity = multiplicity;
    r.pattern.J = std::move(J);
    r.nH = nH;
    r.kind = kind;
    return r;
}

}  // namespace pelvaron::testing
