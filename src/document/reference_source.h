// Where the reference of the data set (offsetHz, hence the ppm axis) came from, so that the
// person can tell a spectrometer's own reference from a computed one or none at all.
#pragma once

#include <string_view>

namespace pelvaron {

enum class ReferenceSource {
    None,        ///< nothing referenced the data: 0 Hz lies at the last point
    Procs,       ///< OFFSET of the processed data set's "procs"
    Proc,        ///< OFFSET of the processed data set's "proc"
    Acqus,       ///< computed from the acquisition's O1, SW_h and BF1
    Procpar,     ///< rfp and rfl of a Varian "procpar"
    JcampLabel,  ///< a JCAMP-DX label (.SHIFT REFERENCE, $OFFSET, the axis labels)
    NativeFile,  ///< the offset stored in a Pelvaron file
    DataHeader,  ///< the offset in the instrument data file's own header (Aspect)
    Simulation,  ///< the window of a simulated spectrum
    Manual,      ///< put at a peak with Reference (the dialog or the reference step)
};

/// The word shown in the status bar and printed by `pelvaron-cli info`.
[[nodiscard]] constexpr std::string_view referenceSourceName(ReferenceSource s) {
    switch (s) {
        case ReferenceSource::Procs: return "procs";
        case ReferenceSource::Proc: return "proc";
        case ReferenceSource::Acqus: return "acqus";
        case ReferenceSource::Procpar: return "procpar";
        case ReferenceSource::JcampLabel: return "JCAMP-DX label";
        case ReferenceSource::NativeFile: return "Pelvaron file";
        case ReferenceSource::DataHeader: return "file header";
        case ReferenceSource::Simulation: return "simulation";
        case ReferenceSource::Manual: return "manual";
        case ReferenceSource::None: break;
    }
    return "none";
}

}  // namespace pelvaron
