// Plain-text exports of the data: the "Real Data Points Output" of a range of real values, and
// the file writing shared with the JCAMP-DX export.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Element indices of the region a view shows from t = viewLeft to viewRight (seconds scale):
/// nData * viewLeft / AQ and nData * viewRight / AQ, truncated, each lowered by one when odd.
struct RealPointRange {
    int first = 0;
    int last = 0;
};
[[nodiscard]] RealPointRange displayedRealRange(const Document& doc, double viewLeft, double viewRight);

/// The abscissa of element i in the present units (xUnits 1 seconds, 2 ppm, 3 Hz, 4 points).
[[nodiscard]] double realPointAbscissa(const Document& doc, int i);

/// The "Real Data Points Output" of the even elements first, first + 2, ... up to and including
/// last (never beyond the data).
[[nodiscard]] std::string realPointsText(const Document& doc, int first, int last);

/// Writes that text to `path` with no dialog; false when it cannot be written.
[[nodiscard]] bool writeRealPointsFile(const Document& doc, const std::string& path, int first, int last);

/// The export: the save dialog (proposing "txt"), then the file. False when cancelled or failed.
bool exportRealPoints(Document& doc, platform::UserInterface& ui, int first, int last);

enum class TextFileResult { Written, CannotCreate, CannotWrite };

/// Writes `text` beside `path` and renames it over the target, so that a failed write never
/// leaves a half file or destroys the file it was to replace.
[[nodiscard]] TextFileResult writeTextFile(const std::string& path, std::string_view text);

/// The save dialog of the text and JCAMP-DX exports, then the file made by `makeText` (called
/// after the dialog), with the program's messages. False when cancelled or not written.
bool saveTextExport(Document& doc, platform::UserInterface& ui,
                    const std::function<std::string(const Document&)>& makeText);

}  // namespace pelvaron::io
