// The "Display Data Points (Reals)" dialog without its widgets: the list of the displayed real
// values in the present units, and its "Export as   ASCII" button.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"
#include "io/text_export.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

class DataPointsDialog {
public:
    /// Over the region the window shows (displayedRealRange).
    explicit DataPointsDialog(RealPointRange shown) : range(shown) {}

    std::string columnTitle = "Index";  ///< static 1028 ("Intensity" stands beside it)
    std::vector<std::string> lines;     ///< list box 80
    RealPointRange range;               ///< the displayed region, both ends even

    /// Fills the column title and the list: elements range.first, first + 2, ... below last.
    void open(const Document& doc);

    /// "Export as   ASCII": the displayed region (last included) to a text file; the dialog stays
    /// open. False when cancelled or not written.
    bool exportAscii(Document& doc, platform::UserInterface& ui) const;
};

}  // namespace pelvaron::io
