// The printed page on a recording surface: the legend's line and texts, the insets placed by
// the resolution ratio, the comments' font, the pens with and without colour, the multiplet
// report's labels and line.
#include "output/page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../display/display_fixture.h"
#include "analysis/multiplets.h"
#include "base/numeric.h"
#include "display/comments.h"
#include "multiplet_ranges.h"
#include "output/page_setup.h"
#include "recording_surface.h"

namespace pelvaron::output {
namespace {

using Kind = testing::SurfaceCall::Kind;

struct PageFixture {
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> doc = testing::makeDocument(ui);
    display::View view = testing::makeView(*doc);
    testing::RecordingSurface surface{2000, 3000};
    // A page with margins on every side, so that left and top are not 0.
    Rect page{30, 45, 1970, 2955};

    PageFixture() {
        doc->fileTitle = "ethyl-acetate";
        doc->spectrum.xUnits = kPpm;
    }
    void render() {
        surface.calls.clear();
        renderPage(surface, *doc, view, page);
    }
    [[nodiscard]] const testing::SurfaceCall* text(const std::string& prefix) const {
        for (const auto& c : surface.calls)
            if (c.kind == Kind::Text && c.text.rfind(prefix, 0) == 0) return &c;
        return nullptr;
    }
    [[nodiscard]] bool hasLine(platform::Point from, platform::Point to) const {
        const auto lines = surface.of(Kind::Line);
        return std::any_of(lines.begin(), lines.end(),
                           [&](const auto& c) { return c.points[0] == from && c.points[1] == to; });
    }
};

TEST(PageTest, LegendLineAndFiveTextsStandAtTheirRowsAndGoWithTheOption) {
    PageFixture f;
    f.render();
    const int B = f.page.bottom, L = f.page.left, R = f.page.right;
    EXPECT_TRUE(f.hasLine({L, truncToInt(0.96 * B)}, {R, truncToInt(0.96 * B)}));
    const char* prefixes[] = {"SF: 100.00 MHz", "SW: 1000.00 Hz", "AQ: 1.00 seconds", "TD: 2000 points",
                              "Scale units: ppm"};
    double x = L + 30;
    for (const char* prefix : prefixes) {
        const testing::SurfaceCall* t = f.text(prefix);
        ASSERT_NE(t, nullptr) << prefix;
        EXPECT_EQ(t->text, prefix);
        EXPECT_EQ(t->points[0], (platform::Point{truncToInt(x), truncToInt(0.97 * B)})) << prefix;
        // The page's font, even after an inset chose its own (none here; see the inset test).
        EXPECT_EQ(t->font, pageFont(f.view, f.page));
        x = static_cast<int>(x + (R - L) / 5.0);
    }
    // The header row: the file's name at the left, the date at the right.
    const testing::SurfaceCall* file = f.text("File: ethyl-acetate");
    const testing::SurfaceCall* date = f.text("Date: ");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->text.size(), std::string("Date: 2024-01-31").size());
    EXPECT_EQ(file->points[0].y, date->points[0].y);
    EXPECT_LT(file->points[0].y, f.page.top + 0.02 * f.page.height());
    // The unit's text of each axis unit, in the program's own words.
    for (const auto& [unit, text] :
         {std::pair(kSeconds, "Units: Seconds"), std::pair(kHz, "Scale units: Hertzs"),
          std::pair(kPoints, "Scale units: Points")}) {
        f.doc->spectrum.xUnits = unit;
        EXPECT_EQ(legendTexts(*f.doc)[4], text);
    }
    f.doc->spectrum.xUnits = kPpm;

    f.view.print.printParams = 0;
    f.render();
    EXPECT_FALSE(f.hasLine({L, truncToInt(0.96 * B)}, {R, truncToInt(0.96 * B)}));
    EXPECT_TRUE(f.text("SF: ") == nullptr && f.text("File: ") == nullptr);
}

TEST(PageTest, LegendFontShrinksOnlyWhereTheTextsWouldRunIntoEachOther) {
    PageFixture f;
    f.surface.metrics.averageCharWidth = 30;  // "Scale units: ppm" is 480 pixels, a fifth 388 less 30
    f.render();
    const platform::Font font = f.text("SF: ")->font;
    EXPECT_EQ(font.family, "Courier New");
    EXPECT_LT(font.pixelHeight, pageFont(f.view, f.page).pixelHeight);
}

TEST(PageTest, InsetsStandWhereTheirWindowsStandScaledByTheResolutionRatio) {
    PageFixture f;
    f.view.print.pageScaleX = 3.0;
    f.view.print.pageScaleY = 2.5;
    f.view.print.printExpBorders = 1;
    f.view.expansionUsed[2] = 1;
    display::ExpansionSlot& w = f.view.expansions.windows[2];
    w.frame = {100, 100, 300, 250};
    w.captionHeight = 20;
    w.expLeftIndex = 100;
    w.expRightIndex = 500;
    w.expBaselineHandle = {0, 94, 200, 100};
    f.render();
    const Rect expected{300, truncToInt(120 * 2.5 + f.page.top), 900, truncToInt(270 * 2.5 + f.page.top)};
    EXPECT_EQ(insetRect(f.view, 2, f.page), expected);
    // A window near the screen's right edge stays on the paper, its size kept.
    w.frame.left += 600;
    w.frame.right += 600;
    EXPECT_EQ(insetRect(f.view, 2, f.page),
              (Rect{f.page.right - 600, expected.top, f.page.right, expected.bottom}));
    w.frame.left -= 600;
    w.frame.right -= 600;
    const auto rects = f.surface.of(Kind::Rect);
    EXPECT_TRUE(std::any_of(rects.begin(), rects.end(), [&](const auto& c) { return c.rect == expected; }));
    // The inset's axis in its own font, the legend again in the page's.
    const auto fonts = f.surface.of(Kind::SetFont);
    EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(), [](const auto& c) {
        return c.font == platform::Font{"Courier New", 20};  // the window's 8 pixels, scaled by 2.5
    }));
    EXPECT_EQ(f.text("SF: ")->font, pageFont(f.view, f.page));
    // The inset's trace: its peak at index 200 rises from the handle's bottom, in the inset.
    bool traced = false;
    for (const auto& c : f.surface.of(Kind::Polyline))
        for (const auto& p : c.points)
            traced = traced || (p.x > expected.left && p.x < expected.right && p.y >= expected.top &&
                                p.y < expected.top + truncToInt(120 * 2.5));
    EXPECT_TRUE(traced);

    // Borders off: no frame; a slot not in use is not drawn at all.
    f.view.print.printExpBorders = 0;
    f.view.expansionUsed[2] = 0;
    f.render();
    const auto after = f.surface.of(Kind::Rect);
    EXPECT_TRUE(std::none_of(after.begin(), after.end(), [&](const auto& c) { return c.rect == expected; }));
}

TEST(PageTest, CommentsAreScaledAndPensFollowTheColourOption) {
    PageFixture f;
    Document& doc = *f.doc;
    f.view.print.pageScaleX = 3.0;
    f.view.print.pageScaleY = 2.5;
    (void)display::insertComment(doc.comments, Rect{100, 200, 180, 220}, "sample A");
    f.render();
    const testing::SurfaceCall* comment = f.text("sample A");
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->font, (platform::Font{"Arial", truncToInt(10 * 2.5 * 1.175)}));
    EXPECT_EQ(comment->points[0], (platform::Point{300, truncToInt(200 * 2.5 * 1.175)}));

    // Without colour every pen of the page is black; with it the trace is blue.
    for (const auto& c : f.surface.of(Kind::SetPen)) EXPECT_EQ(c.pen.color, (platform::Color{0, 0, 0}));
    f.view.print.printColour = 1;
    f.render();
    const auto pens = f.surface.of(Kind::SetPen);
    EXPECT_TRUE(std::any_of(pens.begin(), pens.end(), [](const auto& c) {
        return c.pen.color == platform::Color{0, 0, 255};
    }));
}

TEST(PageTest, TheMultipletLabelsStandOverTheSpectrumAndTheReportLineAboveTheLegend) {
    PageFixture f;
    testing::RecordingSurface& s = f.surface;  // 7 pixels a character
    const std::string line =
        "1H NMR (100 MHz, CDCl3) \u03b4 9.00 (d, J = 7.9 Hz, 1H), 8.64 (t, J = 7.1 Hz, 2H).";
    // Broken at blanks into rows that fit, every word kept in order; a word too wide stands alone.
    const std::vector<std::string> rows = wrapText(s, line, 140);
    std::string joined;
    for (const std::string& row : rows) {
        EXPECT_LE(s.textExtent(row).width, 140) << row;
        joined += (joined.empty() ? "" : " ") + row;
    }
    EXPECT_EQ(joined, line);
    EXPECT_EQ(wrapText(s, "a  farTooWideForItsRow b", 70),
              (std::vector<std::string>{"a", "farTooWideForItsRow", "b"}));

    // The rows end half a row above the legend's line; the spectrum's rectangle ends a row above
    // them, counting the band it keeps for its own axis labels.
    const platform::Font font{"Courier New", 40};
    const ReportLineRows none = reportLineRows(s, "", f.page, font);
    EXPECT_TRUE(none.rows.empty() && none.plot == f.page);
    std::string longLine = line;
    for (int k = 0; k < 7; ++k) longLine += " " + line;
    const ReportLineRows r = reportLineRows(s, longLine, f.page, font);
    const int B = f.page.bottom, lh = 18;
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(std::tuple(r.left, r.lineHeight, r.top),
              std::tuple(f.page.left + 30, lh, truncToInt(0.96 * B) - 9 - 3 * lh));
    EXPECT_EQ(r.plot, (Rect{f.page.left, f.page.top, f.page.right, truncToInt((r.top - lh) / 0.96)}));

    // On the page: the labels over its spectrum while shown, and the line when the report has one.
    f.doc->spectrum.ftInverse = 1;
    f.doc->multiplets.ranges = {testing::multipletRange(9.1, 8.9, "d"),
                                testing::multipletRange(2.6, 2.4, "s", {}, 0, RangeKind::Solvent)};
    f.doc->multiplets.labelsShown = true;
    f.render();
    ASSERT_NE(f.text("9.00 d"), nullptr);
    ASSERT_NE(f.text("2.50 solvent"), nullptr);
    EXPECT_LT(f.text("9.00 d")->points[0].y, truncToInt(0.96 * B));
    const std::string want = analysis::reportLine(f.doc->spectrum, f.doc->multiplets);
    ASSERT_FALSE(want.empty());
    testing::RecordingSurface measure{2000, 3000};
    const ReportLineRows at = reportLineRows(measure, want, f.page, pageFont(f.view, f.page));
    for (std::size_t k = 0; k < at.rows.size(); ++k) {
        const testing::SurfaceCall* row = f.text(at.rows[k]);
        ASSERT_NE(row, nullptr) << at.rows[k];
        EXPECT_EQ(row->points[0], (platform::Point{at.left, at.top + static_cast<int>(k) * at.lineHeight}));
    }
    for (const auto& trace : f.surface.of(Kind::Polyline))
        for (const platform::Point& p : trace.points) EXPECT_LE(p.y, at.plot.bottom);
    f.doc->multiplets.labelsShown = false;
    f.render();
    EXPECT_EQ(f.text("9.00 d"), nullptr);
}

TEST(PageTest, PictureTypeIgnoresTheCaseOfTheExtensionAndPrintingKeepsAMargin) {
    // The types and the page sizes are read back from the files written.
    EXPECT_EQ(pictureFormatFor("a/page.PDF"), PictureFormat::Pdf);
    EXPECT_EQ(printedRect(1000, 2000), (Rect{15, 30, 985, 1970}));
}

}  // namespace
}  // namespace pelvaron::output
