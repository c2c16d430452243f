// State of the Fourier transform, phase correction and signal-to-noise bookkeeping that lives
// between commands.
#pragma once

namespace pelvaron {

struct TransformState {
    int showPivot = 0;  ///< the phase pivot line is drawn (Phase Correction is open)
};

}  // namespace pelvaron
