// Numbers the person sees: printf-style formats, as the program documents them ("%.3lf", ...),
// and names compared without regard to case.
#pragma once

#include <string>

namespace pelvaron {

/// snprintf into a std::string of whatever length the result needs.
[[nodiscard]] std::string cformat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// Reads the leading numeric text of an edit box; text that is not a number reads as 0.
[[nodiscard]] double parseLeadingDouble(const std::string& text);
[[nodiscard]] long parseLeadingInt(const std::string& text);

/// The text with its ASCII letters in lower case: names and suffixes compared without regard to case.
[[nodiscard]] std::string lowerAscii(std::string text);

}  // namespace pelvaron
