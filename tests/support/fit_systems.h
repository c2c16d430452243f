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

/// Six strongly coupled spins (shifts 400 ... 431 Hz, ortho 7.4-7.9 Hz, meta 1.2-1.7 Hz, one para
/// 0.6 Hz), lines 0.7 Hz wide.
inline simulation::FitSubsystem sixStronglyCoupled() {
    return coupled({400.0, 406.0, 411.0, 420.0, 424.0, 431.0},
                   {{{0, 1, 7.8}},
                    {{1, 2, 7.5}},
                    {{2, 3, 7.9}},
                    {{3, 4, 7.4}},
                    {{4, 5, 7.7}},
                    {{0, 2, 1.5}},
                    {{1, 3, 1.3}},
                    {{2, 4, 1.7}},
                    {{3, 5, 1.2}},
                    {{0, 5, 0.6}}},
                   0.7);
}

}  // namespace pelvaron::testing
