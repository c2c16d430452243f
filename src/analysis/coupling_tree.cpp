// The coupling tree fit. (Placeholder until the fit lands: every group of lines is "m".)
#include "analysis/coupling_tree.h"

#include <algorithm>

namespace pelvaron::analysis {

CouplingPattern fitCouplingTree(std::span<const MultipletLine> lines, const CouplingSettings&) {
    CouplingPattern p;
    p.multiplicity.assign(1, lines.size() == 1 ? 's' : 'm');
    double sum = 0.0, weight = 0.0;
    for (const MultipletLine& l : lines) sum += l.hz * l.height, weight += l.height;
    if (weight > 0.0) p.centreHz = sum / weight;
    return p;
}

}  // namespace pelvaron::analysis
