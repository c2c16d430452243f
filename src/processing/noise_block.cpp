// The bookkeeping each FFT leaves for the signal-to-noise measurement.
#include "processing/noise_block.h"

#include <algorithm>
#include <cmath>

namespace pelvaron::processing {

int findNoiseBlock(const Document& doc) {
    const int blocks = std::clamp(doc.spectrum.nData, 0, kCapacity) / (2 * kNoiseBlockSize);
    int best = 0;
    double bestRange = 0.0;
    for (int b = 0; b < blocks; ++b) {
        const int start = kNoiseBlockSize * b;
        double lo = doc.spectrum.specData[start];
        double hi = lo;
        for (int i = start + 2; i < start + kNoiseBlockSize; i += 2) {
            lo = std::min(lo, doc.spectrum.specData[i]);
            hi = std::max(hi, doc.spectrum.specData[i]);
        }
        const double range = hi - lo;
        if (b == 0 || range < bestRange) {
            best = b;
            bestRange = range;
        }
    }
    return best;
}

void refreshSignalToNoiseMarks(Document& doc) {
    Spectrum& s = doc.spectrum;
    s.noiseBlock = findNoiseBlock(doc);
    // The same search as findPeak, kept apart so that the phase pivot stays where it is.
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    int best = 0;
    double bestValue = doc.spectrum.specData[0];
    for (int i = 0; i < n - 1; i += 2) {
        if (std::fabs(doc.spectrum.specData[i]) >= std::fabs(bestValue)) {
            best = i;
            bestValue = doc.spectrum.specData[i];
        }
    }
    s.snPeakIndex = best;
    s.snPeakValue = bestValue;
    s.snMarksValid = 1;
}

void ensureSignalToNoiseMarks(Document& doc) {
    if (!doc.spectrum.snMarksValid) refreshSignalToNoiseMarks(doc);
}

}  // namespace pelvaron::processing
