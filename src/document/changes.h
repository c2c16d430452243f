// Typed change notices: what a command changed in the document, so that every view of it (the main
// window, the expansion windows) redraws what depends on that and nothing is forgotten.
#pragma once

namespace pelvaron {

struct Document;

/// One kind of change; a notice carries a set of them (ChangeSet, the bits or-ed together).
enum Change : unsigned {
    kDataChanged = 1u << 0,       ///< the values of the data set
    kAxisChanged = 1u << 1,       ///< size, units, reference: where a value lies on the axis
    kViewChanged = 1u << 2,       ///< the part of the data shown and its scales
    kOverlaysChanged = 1u << 3,   ///< integrals, peaks, J cursors, comments, marks over the data
    kDocumentReplaced = 1u << 4,  ///< a load or a simulation set up a new data set
    kAxisReplaced = 1u << 5,      ///< a new acquisition time (a simulated axis): shown whole
};
using ChangeSet = unsigned;

/// Everything that is drawn, as after a reader has filled a document that was set up anew.
inline constexpr ChangeSet kAllDrawn = kDataChanged | kAxisChanged | kViewChanged | kOverlaysChanged;

/// Every change at once, as a new data set brings.
inline constexpr ChangeSet kEverything =
    kDataChanged | kAxisChanged | kViewChanged | kOverlaysChanged | kDocumentReplaced | kAxisReplaced;

/// What listens to the document.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void documentChanged(const Document& doc, ChangeSet changes) = 0;
};

}  // namespace pelvaron
