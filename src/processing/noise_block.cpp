// The bookkeeping each FFT leaves for the signal-to-noise measurement.
#include "processing/noise_block.h"

#include <algorithm>
#include <cmath>

namespace pelvaron::processing {

int findNoiseBlock(const Spectrum& s) {
    const int blocks = std::clamp(s.nData, 0, kCapacity) / (2 * kNoiseBlockSize);
    int best = 0;
    double bestRange = 0.0;
    for (int b = 0; b < blocks; ++b) {
        const int start = kNoiseBlockSize * b;
        double lo = s.specData[start];
        double hi = lo;
        for (int i = start + 2; i < start + kNoiseBlockSize; i += 2) {
            lo = std::min(lo, s.specData[i]);
            hi = std::max(hi, s.specData[i]);
        }
        const double range = hi - lo;
        if (b == 0 || range < bestRange) {
            best = b;
            bestRange = range;
        }
    }
    return best;
}

void refreshSignalToNoiseMarks(Spectrum& s) {
    s.noiseBlock = findNoiseBlock(s);
    // The same search as findPeak, kept apart so that the phase pivot stays where it is.
    const int n = std::clamp(s.nData, 0, kCapacity);
    int best = 0;
    double bestValue = s.specData[0];
    for (int i = 0; i < n - 1; i += 2) {
        if (std::fabs(s.specData[i]) >= std::fabs(bestValue)) {
            best = i;
            bestValue = s.specData[i];
        }
    }
    s.snPeakIndex = best;
    s.snPeakValue = bestValue;
    s.snMarksValid = 1;
}

void ensureSignalToNoiseMarks(Spectrum& s) {
    if (!s.snMarksValid) refreshSignalToNoiseMarks(s);
}

}  // namespace pelvaron::processing
