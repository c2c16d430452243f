// The peak report and the J list as printed: pages of text lines, so that the window draws them
// with the printer's font and a test reads them.
#pragma once

#include <string>
#include <vector>

namespace pelvaron::analysis {

/// One printed page: its lines from the top, one line height (font height plus external
/// leading) apart; an empty line is a line left blank.
using PrintedPage = std::vector<std::string>;

/// Lines that fit on a page whose text starts at `top` and whose printable height is
/// `pageHeight` (device units): a line is printed while it starts above the page height. At
/// least 1.
[[nodiscard]] int linesPerPage(int pageHeight, int lineHeight, int top = 5);

/// Cuts lines into pages of `perPage` lines (at least 1); no lines give no pages.
[[nodiscard]] std::vector<PrintedPage> paginate(std::vector<std::string> lines, int perPage);

}  // namespace pelvaron::analysis
