// printf-style formatting into strings and the lenient number reading of edit boxes.
#include "base/format.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace pelvaron {

std::string cformat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
        out.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return out;
}

double parseLeadingDouble(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

long parseLeadingInt(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace pelvaron
