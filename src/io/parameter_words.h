// JCAMP-style parameter files ("acqus", "proc", "procs") read as a stream of white-space
// separated words: a label and its value are two consecutive words ("##$TD=" then "16384").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelvaron::io {

class ParameterWords {
public:
    /// Splits a copy of `content`.
    explicit ParameterWords(std::string_view content);

    [[nodiscard]] std::size_t size() const { return words_.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t i) const {
        return std::string_view(content_).substr(words_[i].first, words_[i].second);
    }

    /// When word `i` begins with `label`, the text of its value: the rest of the word after the
    /// label when there is one (so "##$TD=16384" works), else the next word (advancing `i`).
    [[nodiscard]] std::optional<std::string_view> valueOf(std::size_t& i, std::string_view label) const;

private:
    std::string content_;
    /// Offset and length of each word: offsets, unlike views, survive moving the content.
    std::vector<std::pair<std::size_t, std::size_t>> words_;
};

/// Whether a word can begin a parameter: every label read starts "##$", so any other word is
/// passed over without trying each label on it.
[[nodiscard]] inline bool isLabelWord(std::string_view word) { return word.starts_with("##$"); }

/// A text value as a file records it ("<CDCl3>", "\"cdcl3\""): without its angle brackets or quotes
/// and the white space around them.
[[nodiscard]] std::string recordedText(std::string_view value);

/// A nucleus with its mass number first, as reports name it: "^1H", "1H" and "H1" give "1H"; text
/// of another shape is kept as it stands (trimmed).
[[nodiscard]] std::string nucleusName(std::string_view recorded);

/// Leading numeric text as a number, as far as the text forms one; 0 when it forms none.
[[nodiscard]] double wordToDouble(std::string_view word);
[[nodiscard]] long wordToLong(std::string_view word);

}  // namespace pelvaron::io
