// Word splitting and lenient number reading for parameter files.
#include "io/parameter_words.h"

#include <cctype>
#include <cstdlib>

namespace pelvaron::io {

ParameterWords::ParameterWords(std::string_view content) : content_(content) {
    const char* p = content_.data();
    const char* end = p + content_.size();
    while (p < end) {
        while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
        const char* start = p;
        while (p < end && !std::isspace(static_cast<unsigned char>(*p))) ++p;
        if (p > start) {
            words_.emplace_back(static_cast<std::size_t>(start - content_.data()),
                                static_cast<std::size_t>(p - start));
        }
    }
}

std::optional<std::string_view> ParameterWords::valueOf(std::size_t& i, std::string_view label) const {
    std::string_view word = (*this)[i];
    if (word.substr(0, label.size()) != label) return std::nullopt;
    std::string_view rest = word.substr(label.size());
    if (!rest.empty() && rest.front() == '=') rest.remove_prefix(1);
    if (!rest.empty()) return rest;
    if (i + 1 >= words_.size()) return std::string_view{};
    return (*this)[++i];
}

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string recordedText(std::string_view value) {
    value = trimmed(value);
    // Each end on its own: a value cut at a blank ("<Acetone") still loses its bracket.
    if (!value.empty() && (value.front() == '<' || value.front() == '"')) value.remove_prefix(1);
    if (!value.empty() && (value.back() == '>' || value.back() == '"')) value.remove_suffix(1);
    return std::string(trimmed(value));
}

std::string nucleusName(std::string_view recorded) {
    const std::string text = recordedText(recorded);
    std::string_view s = text;
    if (!s.empty() && s.front() == '^') s.remove_prefix(1);
    std::size_t letters = 0;
    while (letters < s.size() && std::isalpha(static_cast<unsigned char>(s[letters]))) ++letters;
    std::size_t digits = letters;
    while (digits < s.size() && std::isdigit(static_cast<unsigned char>(s[digits]))) ++digits;
    // An element before its mass number ("H1", "C13") is turned round.
    if (letters > 0 && digits > letters && digits == s.size())
        return std::string(s.substr(letters)) + std::string(s.substr(0, letters));
    return std::string(s);
}

double wordToDouble(std::string_view word) {
    std::string text(word.substr(0, 64));
    return std::strtod(text.c_str(), nullptr);
}

long wordToLong(std::string_view word) {
    std::string text(word.substr(0, 64));
    return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace pelvaron::io
