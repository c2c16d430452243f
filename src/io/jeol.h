// The JEOL Delta reader: one ".jdf" file holding a big-endian header (the data's dimensions,
// units, axis start and stop, value type and where the sections lie), a section of named
// parameters and the data sections. The reader parses bytes in memory.
#pragma once

#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// Whether the first bytes of a file are the JEOL Delta signature "JEOL.NMR".
[[nodiscard]] bool looksLikeJeol(std::string_view head);

/// Reads a one-dimensional JEOL Delta file: an FID (a seconds axis; its real and imaginary
/// sections, 64- or 32-bit floats in the byte order the header names) or a processed spectrum (a
/// ppm or Hz axis, with or without its imaginary section). From the parameters: SW (x_sweep), SF
/// (x_freq), the carrier (x_offset, ppm from the reference) for the reference of an FID, the
/// digital filter's delay (orders and factors), the solvent and the nucleus (x_domain); a
/// spectrum's axis comes from the header's start and stop. Fills specData, nData, TD, SW, SF,
/// aqMode, complexData, offsetHz and refIndex, groupDelay, referenceSource, solvent, nucleus, and
/// spectrumLoaded for a spectrum. False when the file is damaged or of another kind (after a
/// message of its own for data of more than one dimension); the document may then be partly
/// changed.
[[nodiscard]] bool readJeolFile(Document& doc, Messages& said, std::string_view bytes);

}  // namespace pelvaron::io
