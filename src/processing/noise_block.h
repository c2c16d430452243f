// What the signal-to-noise measurement needs from the last FFT: the quietest block of the first
// half of the data and the largest real part.
#pragma once

#include "document/document.h"

namespace pelvaron::processing {

/// Doubles in one noise block (64 complex points).
inline constexpr int kNoiseBlockSize = 128;

/// The block b of the first half of the data (doubles 128*b ... 128*b+127, b < nData/256) whose
/// 64 real parts have the smallest range; the first such block wins ties. 0 when no whole block
/// fits.
[[nodiscard]] int findNoiseBlock(const Spectrum& s);

/// Refreshes noiseBlock, snPeakIndex and snPeakValue from the present data, as the end of every
/// FFT does; peakIndex is not touched.
void refreshSignalToNoiseMarks(Spectrum& s);

/// Refreshes the marks when no FFT has noted them since the data set was loaded (a spectrum read
/// from a file), so that the ratio never reads the places of a former data set.
void ensureSignalToNoiseMarks(Spectrum& s);

}  // namespace pelvaron::processing
