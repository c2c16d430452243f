// The JCAMP-DX reader: header labels, the block of a compound file, XYDATA tables and NTUPLES
// pages, decoded by the ASDF decoder. It fills the labels and the data array; the import turns the
// labels into document parameters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "io/jcamp_asdf.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Most values one table may hold: each becomes one complex point of the document.
inline constexpr int kJcampTableCapacity = kCapacity / 2;

/// Reads the JCAMP-DX file at `path` into doc.jcamp (labels) and doc.specData (the real parts,
/// or the table of an XYDATA file, at the even indices; an NTUPLES imaginary page at the odd
/// ones), with the program's warnings. False after "Error opening file" or when an NTUPLES page
/// is missing; a file without any data table reads as true with nothing decoded.
[[nodiscard]] bool readJcamp(Document& doc, platform::UserInterface& ui, const std::string& path);

/// Reads the same from text already in memory.
[[nodiscard]] bool readJcampText(Document& doc, platform::UserInterface& ui, std::string_view text);

/// The leading number of a label value ("8192, 8192, 8192, 2" reads as 8192); 0 when none.
[[nodiscard]] double jcampNumber(std::string_view value);

/// The columns of an NTUPLES label value ("##FIRST= 0.5, 12, -3, 1"), each trimmed: separated by
/// commas as JCAMP-DX writes them, or by blanks as the program's earlier exports did. A "$$"
/// comment is not part of the value.
[[nodiscard]] std::vector<std::string_view> jcampColumns(std::string_view value);

/// The leading number of column `column` of such a value; none when the column is absent or
/// holds no number.
[[nodiscard]] std::optional<double> jcampColumnNumber(std::string_view value, std::size_t column);

/// Label name rules of JCAMP-DX: letters upper-cased; spaces, tabs, "-", "/" and "_" dropped.
[[nodiscard]] std::string normalizeJcampLabel(std::string_view name);

/// Whether the file reads as JCAMP-DX data: it starts with a "##" label and carries a data table
/// or a compound-file block list near its start (parameter files such as acqus do not).
[[nodiscard]] bool looksLikeJcampText(std::string_view head);

}  // namespace pelvaron::io
