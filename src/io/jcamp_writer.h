// Exporting the data set as JCAMP-DX: an XYDATA file with the real parts, or an NTUPLES file
// with a real and an imaginary page. Ordinates are integers scaled so that the real value of
// largest magnitude is written as 10000.
#pragma once

#include <string>

#include "base/version.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// The texts of the export, as the "JCAMP Options" dialog proposes them.
struct JcampExportText {
    std::string dataType = "NMR SPECTRUM";  ///< "NMR SPECTRUM": Hz axis; anything else: seconds
    std::string nucleus = "^1H";
    std::string title = "Untitled";
    std::string owner = std::string("Pelvaron ") + kShortVersion;
};

/// The export's texts for a caller without the dialog (the command line): the dialog's
/// proposals, with "NMR SPECTRUM" when the data are known to be a spectrum (a forward transform
/// ran, the data came from a processed Bruker spectrum or a JCAMP-DX spectrum) and "NMR FID"
/// otherwise.
[[nodiscard]] JcampExportText defaultJcampExportText(const Document& doc);

/// The file contents. The points go out in the document's order, on the axis the program shows:
/// Hz for a spectrum (offsetHz + SW * (n - k) / n for point k of n), seconds for an FID (k / SW).
/// A data set whose real parts are all zero is written as zeros.
[[nodiscard]] std::string jcampXYDataText(const Document& doc, const JcampExportText& text);
[[nodiscard]] std::string jcampNTuplesText(const Document& doc, const JcampExportText& text);

/// Writes the file at `path` with no dialog; false when it cannot be written.
[[nodiscard]] bool writeJcampXYDataFile(const Document& doc, const std::string& path,
                                        const JcampExportText& text);
[[nodiscard]] bool writeJcampNTuplesFile(const Document& doc, const std::string& path,
                                         const JcampExportText& text);

/// The export commands: the save dialog (proposing "txt"), then the file; "Error opening file"
/// when it cannot be created. False when cancelled or not written.
bool writeJcampXYData(Document& doc, platform::UserInterface& ui, const JcampExportText& text);
bool writeJcampNTuples(Document& doc, platform::UserInterface& ui, const JcampExportText& text);

}  // namespace pelvaron::io
