// Spin systems for the fit's tests and benchmark, written as shifts and coupled pairs.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "simulation/fit.h"

namespace pelvaron::testing {

/// One subsystem of the given shifts (Hz), its pairs {i, j, J} (0-based nuclei, Hz) coupled both
/// ways, and its line width (Hz).
inline simulation::FitSubsystem coupled(std::vector<double> shifts,
                                        const std::vector<std::array<double, 3>>& pairs, double width) {
    simulation::FitSubsystem s;
    s.couplings.assign(shifts.size(), std::vector<double>(shifts.size(), 0.0));
    for (const auto& [i, j, value] : pairs)
        s.couplings[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
            s.couplings[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = value;
    s.shifts = std::move(shifts);
    s.lineWidth = width;
    return s;
}

}  // namespace pelvaron::testing
