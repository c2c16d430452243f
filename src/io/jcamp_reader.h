// The JCAMP-DX reader: header labels, XYDATA tables and NTUPLES pages, with the ASDF compressed
// forms (SQZ, DIF, DUP). It fills the labels and the data array; the import turns the labels into
// document parameters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Most values one table may hold: each becomes one complex point of the document.
inline constexpr int kJcampTableCapacity = kCapacity / 2;

/// One value token as JCAMP-DX writes it.
struct JcampToken {
    enum class Kind {
        NotAValue,   ///< nothing to store (a stray character, a lone separator)
        Plain,       ///< plain number (AFFN)
        Squeezed,    ///< SQZ: @ A..I / a..i stand for the sign and first digit
        Difference,  ///< DIF: % J..R / j..r; `value` is the difference to the previous ordinate
        DupOnly,     ///< a DUP count standing alone: repeats the token before it
    };
    Kind kind = Kind::NotAValue;
    double value = 0.0;
    /// How often the value stands in the table: 1, or the DUP count (S..Z = 1..8, s = 9, followed
    /// by further digits: "T1" is 21).
    int count = 1;
    /// Characters used, from the start of the text (a leading space or comma included).
    std::size_t length = 0;
    /// The text contains "$": the table ends here, before this token.
    bool endsTable = false;
};

/// Decodes the token at the start of `text`: one leading space, comma or tab is skipped, then the
/// token runs to the next delimiter (space, comma, tab, +, -, and the SQZ and DIF characters).
[[nodiscard]] JcampToken decodeJcampToken(std::string_view text);

/// Where a table's values go: `data[index * stride]` for index 0 .. capacity-1.
struct JcampDestination {
    double* data = nullptr;
    int stride = 1;
    int capacity = 0;
};

/// How a table ended.
struct JcampTableResult {
    int count = 0;                ///< values decoded (the running index at the end)
    bool endOfFile = false;       ///< the text ended inside the table
    bool overflowed = false;      ///< decoding stopped at the destination's capacity
    std::size_t endPosition = 0;  ///< offset in the text of the line that ended the table
};

/// Decodes the table whose first data line starts at `text[start]`, into `dest`. A line that is a
/// label or starts with "$$", or a token containing "$", ends the table. At the end of a line whose
/// last value was a difference, the index steps back so that the next line's first ordinate (the
/// Y check) overwrites it; the step is undone when the table ends without that line.
[[nodiscard]] JcampTableResult decodeJcampTable(std::string_view text, std::size_t start,
                                                const JcampDestination& dest);

/// Reads the JCAMP-DX file at `path` into doc.jcamp (labels) and doc.spectrum.specData (the real parts,
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
