// The GE/Nicolet NT, QE and GN reader: 20-bit words packed two to five bytes, a header of Nicolet
// floats whose word numbers depend on the header variant, the data from byte 1280.
#pragma once

#include <span>
#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// Word `word` (numbered from 0 at the start of `bytes`) as a signed 20-bit value. A word whose
/// bytes are not all there (past the end, or a negative number) reads as 0.
[[nodiscard]] int readNicoletWord(std::string_view bytes, int word);

/// The Nicolet float held in words `word` and `word` + 1.
[[nodiscard]] double readNicoletFloat(std::string_view bytes, int word);

/// The first out.size() words of `packed`, as readNicoletWord reads them (words past the end 0).
void unpackNicoletWords(std::string_view packed, std::span<int> out);

/// Whether word 0 names one of the three header variants.
[[nodiscard]] bool looksLikeNicolet(std::string_view head);

/// Reads a Nicolet FID: SW, AQ, SF from the header, TD = AQ x 2 x SW (made even, capped to the
/// capacity with its warning), then the real parts and the imaginary parts of the data,
/// interleaved. "Not a Nicolet header" (caption "Error") for another first word; false, with the
/// document untouched, when the header gives no usable size or the file does not hold TD words.
[[nodiscard]] bool readNicoletFid(Document& doc, Messages& said, std::string_view bytes);

}  // namespace pelvaron::io
