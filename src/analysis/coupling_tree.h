// The first-order pattern of one multiplet: its multiplicity and coupling constants from a coupling
// tree fitted to the positions and heights of its refined lines. A pattern that no first-order tree
// explains within the lines' own precision is "m": never a forced pattern.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "document/multiplet_state.h"

namespace pelvaron::analysis {

/// What decides between patterns.
struct CouplingSettings {
    /// The narrowest width the lines may have, Hz: a coupling below about half of it cannot be
    /// resolved and is not reported. 0: taken from the lines.
    double lineWidthHz = 0.0;
    /// The spectrum's digital resolution, Hz per point: no position is asked to be closer than
    /// this. 0: not known.
    double resolutionHz = 0.0;
    /// Lines wider than this (Hz) that stand alone make a "br s".
    double broadHz = 5.0;
};

/// The pattern of `lines` (any order; heights > 0). Depends on the lines alone: the same lines give
/// the same pattern wherever the range that holds them ends. No lines: "m" at 0 Hz.
[[nodiscard]] CouplingPattern fitCouplingTree(std::span<const MultipletLine> lines,
                                              const CouplingSettings& settings = {});

}  // namespace pelvaron::analysis
