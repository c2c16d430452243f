// The ASDF compressed forms of JCAMP-DX data tables (SQZ, DIF, DUP, PAC), decoded from text in
// memory into a caller's array: the value tokens, the lines and the Y check of DIF lines.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace pelvaron::io {

/// Lines of a text: "\n" ends a line, a "\r" before it is dropped.
class JcampLines {
public:
    JcampLines(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

    /// The next line, without its end; false at the end of the text.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        lineStart_ = pos_;
        const char* base = text_.data();
        const void* nl = std::memchr(base + pos_, '\n', text_.size() - pos_);
        std::size_t end = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - base) : text_.size();
        pos_ = nl ? end + 1 : text_.size();
        if (end > lineStart_ && base[end - 1] == '\r') --end;
        line = text_.substr(lineStart_, end - lineStart_);
        return true;
    }
    /// Offset of the line `next` gave last.
    [[nodiscard]] std::size_t lineStart() const { return lineStart_; }
    /// Offset of the line after it.
    [[nodiscard]] std::size_t position() const { return pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
};

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

}  // namespace pelvaron::io
