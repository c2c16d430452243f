// Page breaks of the printed reports.
#include "analysis/report_pages.h"

#include <algorithm>
#include <iterator>

namespace pelvaron::analysis {

int linesPerPage(int pageHeight, int lineHeight, int top) {
    if (lineHeight < 1) lineHeight = 1;
    const long room = static_cast<long>(pageHeight) - top;
    return static_cast<int>(std::max(1L, (room + lineHeight - 1) / lineHeight));
}

std::vector<PrintedPage> paginate(std::vector<std::string> lines, int perPage) {
    const std::size_t size = static_cast<std::size_t>(std::max(perPage, 1));
    std::vector<PrintedPage> pages;
    for (std::size_t at = 0; at < lines.size(); at += size) {
        const auto from = lines.begin() + static_cast<std::ptrdiff_t>(at);
        const auto to = lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), at + size));
        pages.emplace_back(std::make_move_iterator(from), std::make_move_iterator(to));
    }
    return pages;
}

}  // namespace pelvaron::analysis
