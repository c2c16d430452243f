// The "JCAMP Options" dialog without its widgets: the domain radios, the real-part check box and
// the three texts, and the export that OK starts.
#pragma once

#include <string>

#include "document/document.h"
#include "io/jcamp_writer.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

class JcampOptionsDialog {
public:
    static constexpr int kTitleLength = 254;
    static constexpr int kNucleusLength = 4;
    static constexpr int kOwnerLength = 254;

    int fid = 0;       ///< radio "FID"
    int spectrum = 1;  ///< radio "Spectrum"
    int realOnly = 0;  ///< check box "Export Only Real Part"
    std::string title;
    std::string nucleus;
    std::string owner;

    /// Check states as last stored; the texts proposed afresh.
    void open(const Document& doc);

    /// "NMR SPECTRUM" when Spectrum is checked, else "NMR FID" when FID is, else "NMR SPECTRUM".
    [[nodiscard]] std::string dataType() const;

    /// The texts the export writes (each cut to its edit box's length).
    [[nodiscard]] JcampExportText exportText() const;

    /// OK: stores the check states and runs the export (NTUPLES, or XYDATA with Export Only Real
    /// Part); the dialog closes with 1 whatever the export did.
    int ok(Document& doc, platform::UserInterface& ui);

    /// Cancel: nothing stored, nothing written.
    static int cancel() { return 0; }
};

}  // namespace pelvaron::io
