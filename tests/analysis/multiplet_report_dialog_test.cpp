// The Multiplet Report's list: its rows as the line names the ranges, the J values typed, and the
// edits it refuses without changing or announcing anything.
#include "analysis/multiplet_report_dialog.h"

#include <gtest/gtest.h>

#include "analysis/multiplets.h"
#include "multiplet_ranges.h"
#include "recording_ui.h"

namespace pelvaron::analysis {
namespace {

using testing::multipletRange;

struct ReportFixture {
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    MultipletReportDialog model{*doc};
    ReportFixture() {
        doc->multiplets.ranges = {
            multipletRange(8.16, 8.09, "dd", {1.73, 7.94}, 1, RangeKind::Signal, 8.1234),
            multipletRange(7.6641, 7.5912, "m", {}, 2),
            multipletRange(7.29, 7.23, "s", {}, 0, RangeKind::Solvent),
            multipletRange(0.02, -0.02, "s", {}, 0, RangeKind::Reference)};
    }
};

TEST(MultipletReportDialog, RowsNameEachRangeAsTheLineDoesAndKeepSolventAndReferenceGreyed) {
    ReportFixture f;
    // J largest first; an "m" by its extent, high end first; the kinds where a count would be.
    const std::vector<MultipletRow> want = {{"8.12", "dd", "7.9, 1.7", "1", true},
                                            {"7.66\u20137.59", "m", "", "2", true},
                                            {"7.26", "s", "", "solvent", false},
                                            {"0.00", "s", "", "reference", false}};
    EXPECT_EQ(f.model.rows(), want);
    f.doc->multiplets.format = {3, 2};
    EXPECT_EQ(f.model.rows()[0], (MultipletRow{"8.123", "dd", "7.94, 1.73", "1", true}));

    EXPECT_EQ(multipletRangeAt(f.doc->multiplets, 7.6641), 1);  // the ends belong to the range
    EXPECT_EQ(multipletRangeAt(f.doc->multiplets, 7.5912), 1);
    EXPECT_EQ(multipletRangeAt(f.doc->multiplets, 7.9), -1);
    EXPECT_EQ(multipletRangeAt(f.doc->multiplets, 0.0), 3);
}

TEST(MultipletReportDialog, CouplingsAreTypedAsTheLineWritesThemAndNothingElse) {
    using J = std::vector<double>;
    EXPECT_EQ(parseCouplings(" 7.9;1.7  Hz "), J({7.9, 1.7}));
    EXPECT_EQ(parseCouplings("7.9, 1.7\t0.5"), J({7.9, 1.7, 0.5}));
    EXPECT_EQ(parseCouplings("  "), J());
    for (const char* wrong : {"7.9, x", "-1.2", "0", "7.9.1", "1e999", "nan", "Hz 7.9", "7.9Hz, 1.7"})
        EXPECT_EQ(parseCouplings(wrong), std::nullopt) << wrong;
}

TEST(MultipletReportDialog, EditsItCannotTakeChangeNothingAndTellNoOne) {
    ReportFixture f;
    testing::RecordingObserver seen(*f.doc);
    const std::vector<MultipletRow> before = f.model.rows();
    EXPECT_FALSE(f.model.merge(0, 2));  // not neighbours
    EXPECT_FALSE(f.model.merge(1, 1));
    for (const char* count : {"x", "-1", "1.5", "2 H", "99999999999"})
        EXPECT_FALSE(f.model.editCount(0, count)) << count;
    EXPECT_FALSE(f.model.editCount(1, ""));  // no count typed before: nothing to clear
    EXPECT_FALSE(f.model.editCouplings(0, "7.9, about 2"));
    EXPECT_FALSE(f.model.editMultiplicity(0, " dd "));  // as it stands
    // Solvent and reference ranges, and rows that are not there, take no edits.
    for (const int row : {2, 3, -1, 4}) {
        EXPECT_FALSE(f.model.editCount(row, "1")) << row;
        EXPECT_FALSE(f.model.editCouplings(row, "7")) << row;
        EXPECT_FALSE(f.model.editMultiplicity(row, "d")) << row;
    }
    EXPECT_EQ(f.model.rows(), before);
    EXPECT_EQ(seen.take(), 0u);

    f.model.showLabels(true);
    f.model.showLabels(true);
    EXPECT_TRUE(f.model.labelsShown());
    EXPECT_EQ(seen.notices, std::vector<ChangeSet>{kOverlaysChanged});
}

}  // namespace
}  // namespace pelvaron::analysis
