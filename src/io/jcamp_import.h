// The import's JCAMP-DX branch: the reader, then the completion that turns the labels and the
// decoded tables into the document (complex points, order, axis), and the title comment.
#pragma once

#include <string>
#include <string_view>

#include "document/document.h"
#include "io/jcamp_reader.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Reads the JCAMP-DX file named by doc.filePath (the full path), completes and sets up the
/// document and adds the TITLE comment. False, after "Cannot Open this file", when the reader
/// failed; the data are then left cleared.
bool importJcamp(Document& doc, platform::UserInterface& ui);

/// The same from the text of a JCAMP-DX file already in memory: readJcampText, the completion,
/// the set-up and the title comment. False, after the reader's message and "Cannot Open this
/// file", when the reader failed.
bool importJcampText(Document& doc, platform::UserInterface& ui, std::string_view text);

/// The completion after a successful read of `info`: nData and TD from NPOINTS (two doubles a point), the
/// points in the document's order (highest frequency, or time 0, first), SW from the axis, SF
/// from $SF, $BF1 or the observe frequency, offsetHz from the axis of a spectrum or the reference
/// labels of an FID, and referenceSource accordingly; the solvent and nucleus the file names. Exports of the
/// earlier layout are completed as they always were: SW from FIRSTX and reversed when LASTX is smaller than
/// FIRSTX.
void completeJcampImport(Document& doc, const JcampFileInfo& info);

/// The TITLE label as comment text: characters outside the codes 27 to 127 become spaces.
[[nodiscard]] std::string jcampTitleComment(std::string_view title);

/// Whether the file reads as JCAMP-DX data (for detecting the format of a named file).
[[nodiscard]] bool looksLikeJcamp(const std::string& path);

}  // namespace pelvaron::io
