// The aspirin spectrum drawn as a person sets it up -- integrals, peak labels, J cursors, a comment,
// grid and overview; a zoom in Hertz with dots and clipped lines; the two-set display with the
// pivot line; an expansion window; the printed page with its inset and legend -- against what
// was drawn when each picture was last checked by hand (tests/data/golden/drawing-*.txt). A fault
// in the trace, the axis, the layers, the labels or the page moves a call of some line. What each
// drawing rule means is checked with its own piece (paint, axis, trace, page tests).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "analysis/integrals.h"
#include "analysis/j_measure.h"
#include "analysis/peaks.h"
#include "base/format.h"
#include "display/comments.h"
#include "display/expansions.h"
#include "display/paint.h"
#include "display/two_set.h"
#include "display/view.h"
#include "document/units.h"
#include "golden.h"
#include "io/load.h"
#include "output/page.h"
#include "recording_surface.h"
#include "recording_ui.h"

namespace pelvaron {
namespace {

using testing::SurfaceCall;
using Kind = SurfaceCall::Kind;

/// Every drawing call as a line of text. A polyline or a run of pixels is its count, its sums,
/// its top and bottom rows and every 50th point; the legend's date is today's and is left out.
std::string describe(const testing::RecordingSurface& s) {
    std::string out;
    const auto colour = [](platform::Color c) { return cformat("%d,%d,%d", c.r, c.g, c.b); };
    const auto points = [&](const char* what, const std::vector<platform::Point>& p) {
        long long sx = 0, sy = 0;
        int top = INT_MAX, bottom = INT_MIN;
        for (const auto& q : p)
            sx += q.x, sy += q.y, top = std::min(top, q.y), bottom = std::max(bottom, q.y);
        out += cformat("%s %zu sums %lld %lld rows %d..%d:", what, p.size(), sx, sy, top, bottom);
        for (std::size_t i = 0; i < p.size(); i += 50) out += cformat(" %d,%d", p[i].x, p[i].y);
        out += '\n';
    };
    std::vector<platform::Point> pixels;
    for (std::size_t k = 0; k < s.calls.size(); ++k) {
        const SurfaceCall& c = s.calls[k];
        if (c.kind == Kind::Pixel) {
            pixels.push_back(c.points[0]);
            if (k + 1 < s.calls.size() && s.calls[k + 1].kind == Kind::Pixel) continue;
            points("pixels", pixels);
            pixels.clear();
            continue;
        }
        switch (c.kind) {
            case Kind::SetPen:
                out += cformat("pen %s width %d%s\n", colour(c.pen.color).c_str(), c.pen.width,
                               c.pen.style == platform::PenStyle::Dot ? " dotted" : "");
                break;
            case Kind::SetFont:
                out += cformat("font '%s' %d\n", c.font.family.c_str(), c.font.pixelHeight);
                break;
            case Kind::Line:
                out +=
                    cformat("line %d,%d %d,%d\n", c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y);
                break;
            case Kind::Polyline: points("polyline", c.points); break;
            case Kind::Rect:
                out += cformat("rect %d %d %d %d\n", c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
                break;
            case Kind::FillRect:
                out += cformat("fill %d %d %d %d %s\n", c.rect.left, c.rect.top, c.rect.right, c.rect.bottom,
                               colour(c.color).c_str());
                break;
            case Kind::Text:
                out += cformat("text %d,%d %s '%s'\n", c.points[0].x, c.points[0].y, colour(c.color).c_str(),
                               c.text.rfind("Date: ", 0) == 0 ? "Date" : c.text.c_str());
                break;
            case Kind::Pixel: break;
        }
    }
    return out;
}

/// The aspirin spectrum in a 1000 x 700 plot on a 900-row screen, with what a person adds to it.
struct Aspirin {
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    display::View view;

    Aspirin() {
        display::initClientArea(view, 1000, 700);
        const display::ViewFollower follower(*doc, view);
        EXPECT_TRUE(
            io::loadFile(*doc, ui, testing::sourcePath("tests/data/aspirin-1h/processed-set"), std::nullopt));
        view.showGrid = view.dualZoom = 1;
        // Four integrals, the first the reference; the aromatic and methyl peaks; two J cursors.
        int restart = 1;
        for (const auto& [from, to] : {std::pair{8.10, 7.97}, {7.7, 7.5}, {7.4, 7.0}, {2.4, 2.2}}) {
            EXPECT_TRUE(analysis::createIntegralAt(*doc, ui, index(from) / 2.0, index(to) / 2.0, restart));
            restart = 0;
        }
        const double threshold = 0.05 * doc->spectrum.peakValue;
        EXPECT_TRUE(analysis::pickPeaksBetween(*doc, ui, 8.2, 6.9, threshold));
        EXPECT_TRUE(analysis::pickPeaksBetween(*doc, ui, 2.4, 2.2, threshold));
        doc->jState.jShown = 1;
        for (const double ppm : {8.05, 8.02}) (void)analysis::placeJCursor(*doc, index(ppm) / 2 * 2);
        display::insertComment(doc->comments, Rect{620, 140, 748, 156}, "aspirin in CDCl3");
        EXPECT_TRUE(ui.messages.empty());
    }
    /// The data index of a ppm value.
    [[nodiscard]] int index(double ppm) const {
        return static_cast<int>(units::tToIndex(*doc, units::unitToT(*doc, ppm, kPpm)));
    }
    /// The main plot as the window draws it.
    std::string plot() {
        testing::RecordingSurface s(1000, 700);
        display::paintDocument(s, *doc, view, {.screenHeight = 900});
        return describe(s);
    }
    /// 8.2 .. 6.9 ppm in view, as Set limits leaves it.
    void zoom() {
        view.viewLeft = units::unitToT(*doc, 8.2, kPpm);
        view.viewRight = units::unitToT(*doc, 6.9, kPpm);
        view.viewZoom = display::computeViewZoom(doc->spectrum.acqPars.AQ, view.viewLeft, view.viewRight);
        view.fullView = 0;
    }
};

TEST(RealDrawing, TheAspirinPlotsAndPageDrawWhatTheyDrewWhenTheyWereChecked) {
    {
        SCOPED_TRACE("full view");
        Aspirin a;
        testing::expectGolden("drawing-aspirin-plot", a.plot());
    }
    {
        SCOPED_TRACE("zoom in Hertz, dots, lines clipped at the top, no labels");
        Aspirin a;
        a.zoom();
        a.doc->spectrum.xUnits = kHz;
        a.view.dotDisplay = 1;
        a.view.showGrid = 0;
        a.view.vScale *= 40;
        a.doc->peaks.peakLabelsShown = a.doc->integrals.showIntegralValues = 0;
        testing::expectGolden("drawing-aspirin-zoom", a.plot());
    }
    {
        SCOPED_TRACE("two sets, the second shifted and halved, and the pivot line");
        Aspirin a;
        display::prepareTwoSetDisplay(*a.doc, a.view);
        display::beginTwoSetDisplay(*a.doc, a.view);
        a.view.secondShift = 400;
        a.view.secondFactor = 50;
        a.doc->transform.showPivot = 1;
        testing::expectGolden("drawing-aspirin-two-sets", a.plot());
    }
    {
        SCOPED_TRACE("an expansion window of the zoom and the page with its inset and legend");
        Aspirin a;
        a.zoom();
        a.doc->fileTitle = "aspirin";
        const int slot = display::claimExpansionSlot(a.view, a.ui);
        display::initExpansionSlot(*a.doc, a.view, slot, 400, 300);
        display::placeExpansion(a.view, slot, Rect{560, 60, 980, 390}, 30);
        testing::RecordingSurface window(400, 300);
        display::paintExpansion(window, *a.doc, a.view, slot, 900);
        a.view.print.printColour = a.view.print.printExpBorders = 1;
        testing::RecordingSurface page(2000, 3000);
        output::renderPage(page, *a.doc, a.view, Rect{30, 45, 1970, 2955});
        testing::expectGolden("drawing-aspirin-page", describe(window) + "page\n" + describe(page));
    }
}

}  // namespace
}  // namespace pelvaron
