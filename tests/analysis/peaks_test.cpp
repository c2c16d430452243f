// Peak picking: detection at the region's edges and the threshold, the parabola, the capacities,
// the report in its three forms and the dialog. What it finds on real spectra is in the real-data
// table of the command line.
#include "analysis/peaks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::analysis {
namespace {

/// Real parts `re` (imaginary parts far larger: only real parts may count), SW 1000 Hz, SF 100
/// MHz, 0 Hz at the last point. Whatever lies in the buffer beyond the data is huge.
std::unique_ptr<Document> spectrum(const std::vector<double>& re) {
    auto doc = std::make_unique<Document>();
    const int n = 2 * static_cast<int>(re.size());
    for (int k = 0; k < n / 2; ++k) doc->spectrum.specData[2 * k] = re[static_cast<std::size_t>(k)];
    for (int i = 1; i < n; i += 2) doc->spectrum.specData[i] = 1e6;
    for (int i = n; i < n + 16; ++i) doc->spectrum.specData[i] = 1e9;
    doc->spectrum.nData = doc->spectrum.acqPars.TD = n;
    doc->spectrum.acqPars.SW = 1000.0;
    doc->spectrum.acqPars.SF = 100.0;
    doc->spectrum.acqPars.AQ = n / 2000.0;
    doc->spectrum.refIndex = n;
    doc->fileTitle = "sample";
    return doc;
}

std::vector<int> indices(const Document& doc) {
    std::vector<int> out;
    for (int e = 0; e < doc.peaks.peakCount; ++e)
        out.push_back(doc.peaks.peakList[static_cast<std::size_t>(e)].index);
    return out;
}

TEST(PickPeaks, DetectionFollowsTheThresholdTheClimbAndTheDiscardedLastPass) {
    struct Case {
        const char* what;
        std::vector<double> re;
        double threshold;
        std::vector<int> peaks;
        int first = 0, last = -1;  // the region; -1: the last point
    };
    // clang-format off
    const Case cases[] = {
        {"threshold 0: every local maximum, zeros of a flat stretch too",
         {0, 1, 0, 0, 0, 3, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0}, 0.0, {2, 10, 20, 24, 26, 28}},
        {"a plateau is recorded at its first point", {0, 0, 5, 5, 5, 0, 0, 0, 0, 0, 0, 0}, 1.0, {4}},
        {"a larger value within three points takes over", {0, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0, {6}},
        {"three points on, too", {0, 3, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}, 1.0, {8}},
        {"four points on, the smaller peak stands", {0, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0}, 1.0, {2, 10}},
        {"a last peak still above the threshold at the end is dropped",
         {0, 0, 5, 0, 0, 0, 0, 0, 0, 6, 6, 6}, 1.0, {4}},
        {"a peak three points before the end looks at zeros beyond the data",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0}, 1.0, {18}},
        {"negative lines by magnitude", {0, 0, -5, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0, {4}},
        {"all below the threshold: the region still counts", {0.5, 0.5, 0.9, 0.5, 0.5, 0.5}, 1.0, {}},
        {"a region past the data: the part on it", {0, 1, 0, 0, 0, 3, 0, 0}, 0.0, {2, 10}, -1000001, 1 << 30},
    };
    // clang-format on
    for (const Case& c : cases) {
        auto doc = spectrum(c.re);
        testing::RecordingUserInterface ui;
        EXPECT_TRUE(
            pickPeaksInRegion(*doc, ui, c.first, c.last < 0 ? doc->spectrum.nData - 2 : c.last, c.threshold));
        EXPECT_EQ(indices(*doc), c.peaks) << c.what;
        // A region past the data is held to 0 ... nData.
        const PeakState& ps = doc->peaks;
        EXPECT_EQ(
            std::tuple(ps.peakRegionCount, ps.peakRegionPeaks[0], ps.peakRegionFirst[0],
                       ps.peakRegionLast[0]),
            std::tuple(1, static_cast<int>(c.peaks.size()), 0, doc->spectrum.nData - (c.last < 0 ? 2 : 0)))
            << c.what;
        EXPECT_TRUE(ui.messages.empty()) << c.what;
    }
}

TEST(PickPeaks, FullTablesRefuseTheRegionOrKeepThePeaksThatFit) {
    const std::vector<double> three = {0, 5, 0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0};
    // Regions and entries in use before the pick, entries of the region kept, what is said.
    const std::tuple<int, int, int, const char*> cases[] = {
        {1, kMaxPeakEntries - 3, 3, nullptr},
        {1, kMaxPeakEntries - 1, 1,
         "The peak list holds 131072 peaks: 2 peaks of this region were not kept."},
        {1, kMaxPeakEntries, 0, "The peak list holds 131072 peaks: 3 peaks of this region were not kept."},
        {kMaxPeakRegions, 0, 0, "The peak list holds 1000 regions: Clear All in the report empties it."}};
    for (const auto& [regions, used, kept, message] : cases) {
        auto doc = spectrum(three);
        testing::RecordingUserInterface ui;
        doc->peaks.peakRegionCount = regions;
        doc->peaks.peakCount = doc->peaks.peakRegionPeaks[0] = used;
        const bool room = regions < kMaxPeakRegions;
        EXPECT_EQ(pickPeaksInRegion(*doc, ui, 0, doc->spectrum.nData - 2, 1.0), room);
        EXPECT_EQ(std::tuple(doc->peaks.peakRegionCount, doc->peaks.peakCount, doc->peaks.peakRegionPeaks[1]),
                  std::tuple(regions + (room ? 1 : 0), used + kept, kept));
        EXPECT_EQ(ui.messageTexts(),
                  message ? std::vector<std::string>{message} : std::vector<std::string>{});
    }
}

TEST(RefinePeak, ParabolaAndHalfHeightWalksStayFiniteAndInsideTheData) {
    struct Case {
        const char* what;
        std::vector<double> re;
        double pos, position, height, width;
    };
    const double left = 4 * (1 + std::sqrt(0.125)), beside = 8 * (1 + std::sqrt(0.3 / 3.5));
    // clang-format off
    const Case cases[] = {
        {"symmetric", {0, 0, 2, 4, 2, 0, 0}, 3, 3.0, 4.0, 2.0},
        {"higher left neighbour: left of the sample", {0, 0, 3, 4, 1, 0, 0}, 3, 2.75, left, 2.0},
        {"climbed to from its flank", {0, 0, 3, 4, 1, 0, 0}, 1.2, 2.75, left, 2.0},
        {"negative line by magnitude", {0, 0, -3, -4, -1, 0, 0}, 3, 2.75, left, 2.0},
        {"flat top: the sampled point", {0, 0, 4, 4, 4, 0, 0}, 3, 3.0, 4.0, 3.0},
        {"nothing there: no width, no correction", {0, 0, 0, 0}, 1, 1.0, 0.0, 0.0},
        {"the last point: zeros beyond it", {0, 0, 1, 3, 6}, 4, 4 - 1.0 / 6, 8.0, 1.5},
        {"a neighbouring line stops the walk", {0, 0, 8, 6, 5, 6, 0}, 2, 2.3, beside, 3.5},
    };
    // clang-format on
    for (const Case& c : cases) {
        auto doc = spectrum(c.re);
        const PeakFit fit = refinePeak(*doc, c.pos);
        EXPECT_NEAR(fit.position, c.position, 1e-12) << c.what;
        EXPECT_NEAR(fit.height, c.height, 1e-12) << c.what;
        EXPECT_NEAR(fit.width, c.width, 1e-12) << c.what;
    }
}

/// Two regions picked on a spectrum with a positive and a negative line, the first given
/// reversed with odd ends (lowered to 0 ... 30), the second with nothing in it.
std::unique_ptr<Document> picked() {
    auto doc = spectrum({0, 0, 3, 4, 1, 0, 0, 0, -2, -6, -2, 0, 0, 0, 0, 0});
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(pickPeaksInRegion(*doc, ui, 31, 1, 1.0));
    EXPECT_TRUE(pickPeaksInRegion(*doc, ui, 24, 30, -0.5));
    return doc;
}

TEST(PeakReport, ListLinesPagesAndExportFollowTheInterpolation) {
    auto doc = picked();
    doc->peaks.peakInterpolate = 0;
    // Point 3 lies at 1000 - 6 * 1000 / 32 Hz; the negative line keeps its sign.
    EXPECT_EQ(peakReportLines(*doc),
              (std::vector<std::string>{" ", "FROM:  10.00 ppm   TO:   0.62 ppm", " ",
                                        "     1        812.50         8.12          4.000",
                                        "     2        437.50         4.38         -6.000", " ",
                                        "FROM:   2.50 ppm   TO:   0.62 ppm", " "}));
    // Printed: the same lines under headings, a page ending before the line that would not fit.
    const std::vector<std::string> list = peakReportLines(*doc);
    const std::string heading = "   Peak    Frecuency         ppm       Intensity";
    const std::vector<std::string> all = {
        "File:sample ", "", "Threshold:    -0.50", "", list[1], heading, list[3], list[4], list[6], heading};
    EXPECT_EQ(peakReportPages(*doc, 100), std::vector<PrintedPage>{all});
    EXPECT_EQ(peakReportPages(*doc, 7), (std::vector<PrintedPage>{PrintedPage(all.begin(), all.begin() + 7),
                                                                  PrintedPage(all.begin() + 7, all.end())}));
    // Lines from y = 5 (or the top given) while they start above the page height; never fewer than one.
    EXPECT_EQ(std::tuple(linesPerPage(105, 10), linesPerPage(106, 10), linesPerPage(3, 10),
                         linesPerPage(50, 0), linesPerPage(100, 10, 0)),
              std::tuple(10, 11, 1, 45, 10));

    doc->peaks.peakInterpolate = 1;
    EXPECT_EQ(
        peakListText(*doc),
        "********\nPelvaron\n********\nPeak Picking Output\nFile:sample\n\nThreshold:    -0.50\n"
        "FROM:10.00 ppm\t   TO:0.62 ppm\n\nIndex\t Hertz\t ppm\t Intensity\n-----\t ----\t ---\t ---------\n"
        "1\t 828.12\t 8.28\t 5.414\n2\t 437.50\t 4.38\t 6.000\n\n"
        "FROM:2.50 ppm\t   TO:0.62 ppm\n\nIndex\t Hertz\t ppm\t Intensity\n-----\t ----\t ---\t "
        "---------\n\n");

    // Export writes that text, naming the file it went to, or says why not.
    testing::TempDir dir;
    testing::RecordingUserInterface ui;
    ui.files = {std::nullopt, dir.file("missing/peaks.txt"), dir.file("peaks.txt")};
    EXPECT_FALSE(exportPeakList(*doc, ui) || exportPeakList(*doc, ui));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Error opening file"});
    EXPECT_EQ(ui.messages[0].caption, "Error");
    ASSERT_TRUE(exportPeakList(*doc, ui));
    EXPECT_EQ(ui.fileRequests[2].defaultExtension, "txt");
    EXPECT_EQ(testing::readFile(dir.file("peaks.txt")), peakListText(*doc));
    EXPECT_NE(peakListText(*doc).find("File:peaks.txt\n"), std::string::npos);

    // Without SF every ppm would be infinite: 0 is shown instead.
    doc->spectrum.acqPars.SF = 0.0;
    EXPECT_EQ(peakReportLines(*doc)[3], "     1        828.12         0.00          5.414");
}

TEST(PeakPickingDialog, OpensOnTheReportAndClearAllReopensItUntilClosed) {
    auto doc = picked();
    testing::RecordingUserInterface ui;
    PeakPickingDialog dialog(*doc, ui);
    dialog.open();
    EXPECT_EQ(std::tuple(dialog.thresholdText(), dialog.interpolate(), dialog.lines().size()),
              std::tuple("   -0.50", true, 8u));
    // The command reopens the dialog, recomputed, until it closes otherwise; a threshold that is
    // no finite number reads 0. (OK and the check box are checked with the dialog's widget.)
    for (const auto& [typed, stored, lines] :
         {std::tuple("", 0.0, 8u), std::tuple("inf", 0.0, 0u), std::tuple("7.5 units", 7.5, 0u)}) {
        std::vector<std::size_t> shown;
        editPeaksCommand(*doc, ui, [&, typed = typed](PeakPickingDialog& d) {
            shown.push_back(d.lines().size());
            return shown.size() == 1 ? d.clearAll(typed) : d.cancel();
        });
        EXPECT_EQ(std::pair(doc->peaks.peakThreshold, shown),
                  std::pair(stored, std::vector<std::size_t>{lines, 0u}))
            << typed;
    }
    EXPECT_EQ(std::tuple(doc->peaks.peakCount, doc->peaks.peakRegionCount), std::tuple(0, 0));
}

}  // namespace
}  // namespace pelvaron::analysis
