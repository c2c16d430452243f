// Numbers the person sees: printf-style formats, as the program documents them ("%.3lf", ...).
#pragma once

#include <string>

namespace pelvaron {

/// snprintf into a std::string of whatever length the result needs.
[[nodiscard]] std::string cformat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// Reads the leading numeric text of an edit box; text that is not a number reads as 0.
[[nodiscard]] double parseLeadingDouble(const std::string& text);
[[nodiscard]] long parseLeadingInt(const std::string& text);

}  // namespace pelvaron
