// The Data Acquisition Parameters dialog: read-only texts of the acquisition parameters.
#pragma once

#include <string>

#include "document/document.h"

namespace pelvaron::app {

/// The texts the dialog shows beside its captions.
struct ParametersFields {
    std::string sf;     ///< "Spectrum Frequency  SF:", MHz
    std::string sw;     ///< "Spectral Width SW:", Hz
    std::string swPpm;  ///< SW / SF beside it, ppm
    std::string aq;     ///< "Acquisition Time AQ:", s
    std::string td;     ///< "Transform Domain TD:"
    std::string mode;   ///< "Acquisition Mode :": "Real" or "Complex"
};

[[nodiscard]] ParametersFields parametersFields(const Document& doc);

}  // namespace pelvaron::app
