// The Varian readers: a VXR/Unity experiment (the "fid" file with its "procpar" text) and a
// Gemini or VXR FID transferred by VHELPER (a data file with its binary "ACQPAR"). The readers
// parse bytes in memory; the find functions name the parameter file beside a data file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// Reads a VXR/Unity FID: sfrq, sw, np, dp, rfp and rfl from `procpar` (names matched exactly,
/// each the first word of its line), then the np big-endian integers of the fid's first block
/// (16-bit unless dp is "y", after the 60 bytes of file and block header). Fills specData, nData,
/// TD, SW, SF, aqMode 1, complexData 1, offsetHz = rfp - rfl (a missing one counts 0), refIndex
/// and the imaginary-sign flags (both 1). False, with nothing shown, when the procpar gives no
/// size or no width or the fid does not hold the block; the document may then be partly changed.
[[nodiscard]] bool readVarianFid(Document& doc, Messages& said, std::string_view fid,
                                 std::string_view procpar);

/// The "procpar" beside the data file `dataPath` (any letter case); nothing when there is none.
[[nodiscard]] std::optional<std::string> findVarianProcpar(const std::string& dataPath);

/// Reads a Gemini/VXR FID from VHELPER: SW, the point count and SF (the SFRQ entry, else the one
/// after it) from `acqpar`, then big-endian 32-bit integers from the first byte of `data`; a data
/// file shorter than announced gives the values it holds. Fills specData, nData, TD, SW, SF,
/// aqMode 1, complexData 1, the imaginary-sign flags (both 1), and no reference (offsetHz 0). False,
/// with nothing shown, when ACQPAR is too short or gives no size or width, or the data hold no value.
[[nodiscard]] bool readGeminiFid(Document& doc, Messages& said, std::string_view data,
                                 std::string_view acqpar);

/// The "ACQPAR" beside the data file `dataPath` (any letter case); nothing when there is none.
[[nodiscard]] std::optional<std::string> findGeminiAcqpar(const std::string& dataPath);

}  // namespace pelvaron::io
