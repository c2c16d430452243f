// The Bruker WIN-NMR reader: a FID of little-endian single-precision floats, with its parameters
// in a companion text of the same name ending "DIS", or else "aqs".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// The companions of a WIN-NMR data file: its path with the last three characters replaced by
/// "DIS" and by "aqs", found beside it without regard to case; each absent when not there.
struct WinNmrCompanions {
    std::optional<std::string> dis, aqs;
};
[[nodiscard]] WinNmrCompanions findWinNmrCompanions(const std::string& dataPath);

/// Reads a WIN-NMR FID: its parameters from the DIS text when there is one (the aqs text is then
/// not read), else from the aqs text; then TD values of `data`. Sets nData, TD (capped with its
/// warning), SW, SF, aqMode, complexData, DECIM and DSPFVS (from aqs), no reference. False, with
/// the document untouched, when neither text is given, when the text names no size or width, or
/// when the data do not hold TD values.
[[nodiscard]] bool readWinNmrFid(Document& doc, Messages& said, std::string_view data,
                                 std::optional<std::string_view> dis, std::optional<std::string_view> aqs);

}  // namespace pelvaron::io
