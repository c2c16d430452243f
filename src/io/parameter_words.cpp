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

double wordToDouble(std::string_view word) {
    std::string text(word.substr(0, 64));
    return std::strtod(text.c_str(), nullptr);
}

long wordToLong(std::string_view word) {
    std::string text(word.substr(0, 64));
    return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace pelvaron::io
