// The spectrum value: one data set (FID or spectrum) with everything that describes it — size,
// acquisition parameters, transform flags, phase and its unphased copy, the filter's delay, the
// reference and where it came from. It is a value: the document holds the current one and Undo
// another, and whatever must try processing without touching the person's data works on a copy.
#pragma once

#include <algorithm>
#include <string>

#include "document/acq_params.h"
#include "document/data_buffer.h"
#include "document/recorded_state.h"
#include "document/reference_source.h"

namespace pelvaron {

/// Units of the axis and the read-out. The codes are those of the Units dialog's radios.
enum Units : int { kSeconds = 1, kPpm = 2, kHz = 3, kPoints = 4 };

/// Whether a number typed or stored as a unit code names one of the four units.
[[nodiscard]] constexpr bool isUnitCode(int code) { return code >= kSeconds && code <= kPoints; }

/// Displays divide by |peakValue| and use 1.0 instead below this magnitude.
inline constexpr double kTinyPeak = 1e-7;

/// Everything of a spectrum but its two buffers: plain values, copied as they stand.
struct SpectrumDescription {
    int nData = kCapacity;  ///< doubles in use
    /// specData[max(specExtent, nData) ...] are all 0: clearing before a load need go no further.
    /// Whatever leaves values beyond a smaller nData (the transform's size list, a longer
    /// simulation) notes them (noteSpecExtent) before nData shrinks.
    int specExtent = 0;

    AcqParams acqPars;
    /// Group delay of the digital filter in points ("##$GRPDLY="); 0 when the data carry none.
    /// Kept beside DECIM/DSPFVS but not part of the 72-byte block.
    double groupDelay = 0.0;
    /// Where offsetHz came from; set by the reader (and by whatever rewrites the reference).
    ReferenceSource referenceSource = ReferenceSource::None;
    /// How the spectrometer software processed this FID, as its processed data set records it.
    RecordedProcessing recorded;
    /// The solvent as the acquisition recorded it ("CDCl3"); empty when the file names none.
    std::string solvent;
    /// The observed nucleus as the acquisition recorded it ("1H"); empty when the file names none.
    std::string nucleus;

    // --- Derived reference quantities.
    double offsetHz = 0.0;   ///< working copy: Hz of the last point
    double offsetPpm = 0.0;  ///< offsetHz / SF
    int refIndex = 0;        ///< index (doubles) at which 0 Hz lies; may exceed nData
    double peakValue = 0.0;  ///< signed real value of largest magnitude
    int peakIndex = 0;       ///< even index of peakValue; also the phase pivot

    // --- How the next Fourier transform treats the data (the dialog's check boxes).
    int ftReal = 0;
    int ftDriftCorr = 1;
    int ftQuadrature = 1;
    int ftInverse = 0;
    int negateImag = 0;
    /// The reader's negateImag: whether data loaded from this file are conjugated on the way to a
    /// spectrum (interactive apodization transforms the FID again as it was loaded).
    int fileNegateImag = 0;
    /// Group delay (points) that the last forward transform took off as a first-order phase ramp,
    /// beyond its whole-point rotation; the inverse transform puts it back, so that it returns the
    /// rotated FID. 0 when the data carry no such ramp.
    double delayFraction = 0.0;
    /// The ramp's zero frequency lies in the middle of the spectrum (quadrature alternation was on).
    int delayCentred = 1;

    // --- Phase: the accumulated correction; the unphased copy is phaseSource.
    double phase0 = 0.0;  ///< degrees
    double phase1 = 0.0;  ///< degrees
    int phaseSourceValid = 0;

    /// Units of the axis and the read-out: seconds for a FID, ppm once transformed.
    Units xUnits = kSeconds;

    // --- Signal-to-noise marks, refreshed at the end of every FFT.
    int snMarksValid = 0;      ///< the three marks below describe the present data
    int noiseBlock = 0;        ///< the noise region is doubles 128*noiseBlock ... +127
    int snPeakIndex = 0;       ///< even index of the largest real part at the last FFT
    double snPeakValue = 0.0;  ///< its signed value, as the FFT left it (before any scaling)

    /// Notes that specData may hold values other than 0 below `count` doubles.
    void noteSpecExtent(int count) { specExtent = std::max(specExtent, std::clamp(count, 0, kCapacity)); }
    /// The doubles of specData that may be other than 0.
    [[nodiscard]] int specInUse() const { return std::max(specExtent, std::clamp(nData, 0, kCapacity)); }
    /// nData held to the buffers: what every loop over the data runs to.
    [[nodiscard]] int count() const { return std::clamp(nData, 0, kCapacity); }
};

struct Spectrum : SpectrumDescription {
    Spectrum() = default;
    /// Copies the doubles that may be other than 0 (specInUse()); the rest of a copy is 0 as well.
    Spectrum(const Spectrum& other);
    Spectrum& operator=(const Spectrum& other);

    /// The working data: interleaved complex pairs, 2k real and 2k+1 imaginary part of point k.
    DataBuffer specData;
    /// The unphased copy each phase correction starts from.
    DataBuffer phaseSource;

    /// Clears specData as a load does: every value that may be other than 0.
    void clearSpecData();
    /// Exchanges the data buffers (specData and phaseSource) with `other`'s, without copying a
    /// value, and with them the extent of what they hold (specExtent covers specInUse() of each).
    void swapBuffers(Spectrum& other) noexcept;
};

/// The signed real value of largest magnitude among the real parts; sets peakIndex. Among equal
/// magnitudes the last one wins.
double findPeak(Spectrum& s);

/// Adds 180 degrees to phase0, keeping it in (-180, 180] once it has been there.
void addHalfTurn(Spectrum& s);

/// Copies the five transform flags and the filter's delay ramp: what Undo keeps with the data.
void copyTransformFlags(const SpectrumDescription& from, SpectrumDescription& to);

}  // namespace pelvaron
