// Copies of a spectrum, the peak search and the phase's half turn.
#include "document/spectrum.h"

#include <cmath>

namespace pelvaron {

namespace {

/// Copies the first `count` doubles of `from` and zeros `to` from there up to `clearTo`.
void copyBuffer(DataBuffer& to, const DataBuffer& from, int count, int clearTo) {
    to.copyFrom(from, count);
    if (clearTo > count) std::fill(to.begin() + count, to.begin() + std::min(clearTo, kCapacity), 0.0);
}

}  // namespace

Spectrum::Spectrum(const Spectrum& other) { *this = other; }

Spectrum& Spectrum::operator=(const Spectrum& other) {
    if (this == &other) return *this;
    // Beyond specInUse() both buffers of `other` hold nothing of its data; what this one held
    // there is cleared so that the copy is the same data set, not a mixture.
    const int count = other.specInUse();
    const int clearTo = specInUse();
    copyBuffer(specData, other.specData, count, clearTo);
    copyBuffer(phaseSource, other.phaseSource, count, clearTo);
    static_cast<SpectrumDescription&>(*this) = other;
    return *this;
}

void Spectrum::swapBuffers(Spectrum& other) noexcept {
    specData.swap(other.specData);
    phaseSource.swap(other.phaseSource);
    const int mine = specInUse();
    specExtent = other.specInUse();
    other.specExtent = mine;
}

void Spectrum::clearSpecData() {
    specData.fill(0.0, specInUse());
    specExtent = 0;
}

double findPeak(Spectrum& s) {
    int best = 0;
    double bestValue = s.specData[0];
    for (int i = 0; i < s.nData - 1; i += 2) {
        if (std::fabs(s.specData[i]) >= std::fabs(bestValue)) {
            best = i;
            bestValue = s.specData[i];
        }
    }
    s.peakIndex = best;
    return bestValue;
}

void copyTransformFlags(const SpectrumDescription& from, SpectrumDescription& to) {
    to.ftReal = from.ftReal;
    to.ftDriftCorr = from.ftDriftCorr;
    to.ftQuadrature = from.ftQuadrature;
    to.ftInverse = from.ftInverse;
    to.negateImag = from.negateImag;
    to.delayFraction = from.delayFraction;
    to.delayCentred = from.delayCentred;
}

void addHalfTurn(Spectrum& s) {
    s.phase0 += 180.0;
    if (s.phase0 > 180.0) s.phase0 -= 360.0;
}

}  // namespace pelvaron
