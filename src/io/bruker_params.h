// The processing parameters of a Bruker processed data set ("pdata/N/proc", "procs"): what the
// spectrometer software did to its FID and how its 1r/1i are laid out and referenced.
#pragma once

#include <optional>
#include <string_view>

#include "document/recorded_state.h"

namespace pelvaron::io {

/// The parameters the program uses, each present only when the file names it (the last value of
/// a label repeated in the file wins).
struct ProcessingParams {
    std::optional<double> OFFSET;  ///< ppm of the first (left-most) point of the spectrum
    std::optional<double> SW_p;    ///< width of the processed spectrum, Hz
    std::optional<double> SF;      ///< frequency of 0 ppm, MHz
    std::optional<long> SI;        ///< complex points of the spectrum (values per 1r and 1i file)
    std::optional<long> TDeff;     ///< FID values used by the transform (0: all)
    std::optional<long> NC_proc;   ///< 1r/1i values are integers times 2^NC_proc
    std::optional<long> BYTORDP;   ///< 0 little-endian, 1 big-endian
    std::optional<long> DTYPP;     ///< 2: 8-byte doubles, else 32-bit integers
    std::optional<long> WDW;       ///< window function: 0 none, 1 EM, 2 GM, 3 SINE, 4 QSINE, ...
    std::optional<double> LB;      ///< line broadening, Hz
    std::optional<double> GB;      ///< Gaussian maximum, fraction of the acquisition time
    std::optional<double> SSB;     ///< sine bell shift: the bell starts at pi/SSB
    std::optional<double> PHC0;    ///< zero-order phase, degrees
    std::optional<double> PHC1;    ///< first-order phase across the spectrum, degrees
    std::optional<double> FCOR;    ///< factor of the first FID point
    std::optional<long> PH_mod;    ///< 0 no phase, 1 PHC0/PHC1, 2 magnitude
    std::optional<long> BC_mod;    ///< the FID's DC correction: 0 none, 1 single, 2 quad, 3-6 others
    bool versionXwin = false;      ///< the word after "VERSION" begins with "XWIN" (old big-endian guess)
};

/// The parameters in the text of a proc/procs file.
[[nodiscard]] ProcessingParams parseProcessingParams(std::string_view content);

/// What "Process as Recorded" repeats of these parameters (present is set).
[[nodiscard]] RecordedProcessing recordedProcessing(const ProcessingParams& p);

/// True when a processed data set of width `swP` describes the whole acquired width `sw`: the two
/// agree within a part in 10^6.
[[nodiscard]] bool coversWholeWidth(double swP, double sw);

}  // namespace pelvaron::io
