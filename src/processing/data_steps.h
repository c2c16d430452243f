// The baseline corrections and data operations as the command line's processing steps run them:
// typed arguments, positions in ppm (or Hz) of the data's own axis, checked against the data.
// Each returns false with a message in `error` and the data untouched when the input is bad.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "document/document.h"

namespace pelvaron::processing {

/// `baseline`: the straight line through the means of the first and the last eight points.
[[nodiscard]] bool straightBaselineStep(Document& doc, std::string& error);

/// `polybaseline=c0/c1/c2/c3/c4`: subtracts the baseline polynomial of up to five coefficients in
/// data units (missing ones are 0).
[[nodiscard]] bool polynomialBaselineStep(Document& doc, std::span<const double> c, std::string& error);

/// `mpbaseline=PPM/PPM/...`: the broken line through the points at these positions (at most
/// 300, each within the data), plus the first and the last point.
[[nodiscard]] bool multiPointBaselineStep(Document& doc, std::span<const double> ppm, std::string& error);

/// `reference=AT/VALUE`: the position AT reads VALUE afterwards; both in `unit` (kPpm or kHz). As
/// in the window, the units must be ppm or Hz (a spectrum).
[[nodiscard]] bool referenceStep(Document& doc, double at, double value, int unit, std::string& error);

/// `shift=N`: N complex points towards the end, or towards the start when negative; |N| at most
/// nData/2. Takes the Undo snapshot.
[[nodiscard]] bool shiftStep(Document& doc, double count, std::string& error);

/// `suppress=FROM/TO[/noise]`: the region between two ppm positions (either order, each within the
/// data) becomes zeros, or the noise block of the last FFT. Takes the Undo snapshot.
[[nodiscard]] bool suppressStep(Document& doc, double fromPpm, double toPpm, bool byNoise,
                                std::string& error);

/// Reads a position or value with an optional unit: "7.26" and "7.26ppm" are ppm, "2178.5Hz" Hz
/// (the unit's case is free). False for anything else.
[[nodiscard]] bool parseValueWithUnit(std::string_view text, double& value, int& unit);

}  // namespace pelvaron::processing
