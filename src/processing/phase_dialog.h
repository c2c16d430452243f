// The modeless "Phase Correction" dialog without its widgets: the Order 0, Order 1 and pivot
// scroll bars, the two edit boxes, Apply, OK and Cancel. Its state lives in doc.transform so
// that the main window can draw the pivot while it is open.
#pragma once

#include <string>

#include "document/document.h"

namespace pelvaron::processing {

/// What a scroll bar reports.
enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, Thumb };

/// Where a scroll bar at `position` goes for `action`: `line` or `page` steps, or `thumb`, held
/// to lo ... hi.
[[nodiscard]] int scrolledPosition(int position, ScrollAction action, int thumb, int line, int page, int lo,
                                   int hi);

class PhaseDialog {
public:
    /// Order scroll bars run from -kOrderLimit to +kOrderLimit hundredths of a degree.
    static constexpr int kOrderLimit = 18000;

    explicit PhaseDialog(Document& doc) : doc_(doc) {}

    /// The menu command and the dialog's opening: shows the pivot, takes the Undo snapshot that
    /// Cancel returns to, keeps an unphased copy if none is valid and sets the scroll positions
    /// from phase0 and phase1.
    void open();

    /// Line +-1 degree, page +-10 degrees, thumb to `thumb`; clamped to the range. The data are
    /// re-phased from the unphased copy (real parts only) with both present orders.
    void scrollOrder0(ScrollAction action, int thumb = 0);
    void scrollOrder1(ScrollAction action, int thumb = 0);

    /// Line +-2, page +-10, thumb to `thumb`; clamped to 0 ... nData and made even. Moves the
    /// pivot (peakIndex) only; the data follow at the next change of an order.
    void scrollPivot(ScrollAction action, int thumb = 0);

    /// Reads the two edit boxes into phase0 and phase1 (fractions and values beyond +-180 are
    /// kept), puts the scroll bars on the whole degrees and re-phases the real parts.
    void apply(const std::string& order0Text, const std::string& order1Text);

    /// Commits: both parts of every point are rotated, the unphased copy becomes valid and the
    /// pivot is hidden.
    void ok();

    /// Returns to the data and the orders of the opening; the unphased copy becomes valid.
    void cancel();

    [[nodiscard]] int order0Position() const { return doc_.transform.order0Position; }
    [[nodiscard]] int order1Position() const { return doc_.transform.order1Position; }
    [[nodiscard]] int pivotPosition() const { return doc_.spectrum.peakIndex; }
    /// Upper end of the pivot scroll bar: nData.
    [[nodiscard]] int pivotMaximum() const { return doc_.spectrum.nData; }
    /// Texts of the edit boxes after a scroll: position/100 with "%.1lf".
    [[nodiscard]] std::string order0Text() const;
    [[nodiscard]] std::string order1Text() const;

private:
    void rephase();

    Document& doc_;
};

}  // namespace pelvaron::processing
