// The Nuts reader: the binary files of the Nuts program, a little-endian header of parameters
// and the FID as interleaved float pairs. The reader parses bytes in memory.
#pragma once

#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// Whether the first bytes of a file are the Nuts byte-order mark 01 02 03 04.
[[nodiscard]] bool looksLikeNuts(std::string_view head);

/// Reads a Nuts file: TD, aqMode and complexData, SW and SF from the header, then TD floats from
/// byte 1036. Fills specData, nData, TD, SW, SF, aqMode, complexData, the imaginary-sign flags (1
/// when aqMode is 1) and no reference (offsetHz 0). False, with nothing shown, without the mark,
/// with no size or width, or when the file does not hold the TD values; the document may then be
/// partly changed.
[[nodiscard]] bool readNutsFile(Document& doc, Messages& said, std::string_view bytes);

}  // namespace pelvaron::io
