// The window's view of the document: the part of the data the main plot shows and its scales, the
// client area it is drawn in, the two-set display, the expansion slots, the page factors and the
// mouse tool. The window side owns one (the command dispatcher; a renderer makes its own) and
// hands it to what draws or acts on the plot; the document knows nothing of it.
#pragma once

#include <array>

#include "base/geometry.h"
#include "display/expansion_state.h"
#include "display/mouse_tool.h"
#include "display/tool_state.h"
#include "document/changes.h"
#include "document/data_buffer.h"

namespace pelvaron {
struct Document;
}

namespace pelvaron::display {

/// The client area a view has until its window sizes it.
inline constexpr int kDefaultClientWidth = 1280;
inline constexpr int kDefaultClientHeight = 800;

struct View {
    // --- The main plot: t from viewLeft to viewRight (seconds scale), viewZoom = AQ over that.
    double viewLeft = 0.0;
    double viewRight = 0.0;
    double viewZoom = 1.0;
    int fullView = 1;
    double vScale = 75.0;
    double yScaleFactor = 1.33;
    int clientWidth = kDefaultClientWidth;
    int clientHeight = kDefaultClientHeight;
    int baselineY = kDefaultClientHeight / 2;
    int integralBaseY = 400;  ///< the integral curves' base row, which the vertical scroll bar moves
    Rect plotRect{0, 29, kDefaultClientWidth, kDefaultClientHeight - 19};
    Rect dualRect{0, 29, kDefaultClientWidth, kDefaultClientHeight - 19};
    int showGrid = 0, dotDisplay = 0, dualZoom = 0;
    int readoutOn = 0;  ///< the status bar reads out the position under the mouse
    int hScrollPos = 0;
    int hScrollRange = kCapacity;

    // --- The two-set display (Add/Subtract, Compare).
    int addSubMode = 0;
    int secondShift = 0;
    int secondFactor = 100;
    int secondFactorRange = 500;  ///< the factor bar's maximum (raised by x10 steps)
    int secondBaselineY = 3 * kDefaultClientHeight / 10;
    /// Under the two sets, the measured set less the simulation over the regions last fitted.
    int showFitResidual = 0;

    // --- The mouse tool and the state of its drags.
    MouseTool mouse;
    ToolState tools;

    // --- The expansion windows and the printed page.
    int nExpansions = 0;
    std::array<int, kMaxExpansions> expansionUsed{};
    ExpansionState expansions;
    PrintState print;
};

/// AQ / (right - left), with the difference replaced by 1e-4 when smaller than 1e-4.
[[nodiscard]] double computeViewZoom(double aq, double left, double right);

/// The client size as at window creation: baselines, plot and dual rectangles, the overview band
/// and the integrals' row.
void initClientArea(View& view, int width, int height);

/// The client area changed size: sizes, the integrals' row, the plot rectangle and the overview
/// band follow; the trace's baseline row stays where it is.
void resizeClientArea(View& view, int width, int height);

/// A new data set: the whole of it in view, unzoomed and unscrolled, the zoom and pan bookkeeping
/// cleared, an armed Move Spectrum disarmed, the trace's and the integrals' rows in the middle of
/// the client, the read-out on and every expansion slot free (their windows close).
void showNewData(View& view, Document& doc);

/// Keeps a view with the document it shows: a new data set (kDocumentReplaced) is shown whole.
/// Attach it before the observers that close the expansion windows, which then find their slots
/// already free.
class ViewFollower : public DocumentObserver {
public:
    ViewFollower(Document& doc, View& view);
    ~ViewFollower() override;
    ViewFollower(const ViewFollower&) = delete;
    ViewFollower& operator=(const ViewFollower&) = delete;

    void documentChanged(const Document& doc, ChangeSet changes) override;

private:
    Document& doc_;
    View& view_;
};

}  // namespace pelvaron::display
