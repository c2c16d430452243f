// The numerical constants whose exact digits are part of what the program computes. Spectra,
// phases and simulated line shapes saved, printed or compared by earlier versions of Pelvaron were
// made with these values; changing a digit here moves every such result in its last places.
#pragma once

namespace pelvaron::legacy {

/// pi as the phase rotation (degrees to radians), the Gaussian window and the nucleus ring of the
/// Simulation data dialog have always written it. Phases entered in degrees and stored in files
/// reproduce the same spectra only with this value.
inline constexpr double kShortPi = 3.14159;

/// pi to double precision, as the other window functions and the real FFT use it.
inline constexpr double kPi = 3.141592653589793;

/// 2 pi as the complex FFT's twiddle recurrence writes it (one digit short of double precision):
/// the transform's output is compared digit for digit against its own earlier results.
inline constexpr double kFftTwoPi = 6.28318530717959;

/// 2 pi as the Lorentzian line shape of the simulation divides by it: simulated spectra keep
/// their heights to the last digit.
inline constexpr double kLineShapeTwoPi = 6.28318;

/// Degrees to radians with the phase rotation's pi.
inline constexpr double kPhaseRadiansPerDegree = kShortPi / 180.0;

}  // namespace pelvaron::legacy
