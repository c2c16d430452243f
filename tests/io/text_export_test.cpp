// The "Real Data Points Output" and the "Display Data Points (Reals)" list: header, units, and the
// index range of the displayed region.
#include "io/text_export.h"

#include <gtest/gtest.h>

#include <sstream>

#include "io/data_points_dialog.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

using testing::RecordingUserInterface;

/// 10 complex points, SW 10 Hz, so that AQ is 1 s and element i lies at i / 20 s.
std::unique_ptr<Document> makeDocument(RecordingUserInterface& ui) {
    auto doc = std::make_unique<Document>();
    doc->acqPars.TD = 20;
    doc->acqPars.SW = 10.0;
    doc->acqPars.SF = 400.13;
    doc->acqPars.offsetHz = 2.0;
    doc->fileTitle = "sample";
    for (int i = 0; i < 20; ++i) doc->specData[i] = i % 2 == 0 ? 1.5 * i : -1.0;
    setupDocument(*doc, ui);
    return doc;
}

std::vector<std::string> lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(RealPointsOutput, HeaderAndLinesFollowTheUnits) {
    RecordingUserInterface ui;
    auto doc = makeDocument(ui);
    const std::string text = realPointsText(*doc, 2, 6);
    EXPECT_EQ(
        text,
        "********\nPelvaron\n********\nFile:sample\nSpectrometer Frequency =\t400.1300\n"
        "Sweep Width =\t10.0000\nTime domain=\t20\nReal Data Points Output\n=======================\n"
        "Second\tIntensity\n=======================\n0.1000  \t3.000\n0.2000  \t6.000\n0.3000  \t9.000\n");

    struct Case {
        int units;
        const char* title;  // line 9
        const char* first;  // line 11
    };
    // Hz: refIndex = 20 + trunc(2 * 2 Hz * 1 s) = 24. Points: the complex point number. Other
    // units have no title line.
    const Case cases[] = {{kHz, "Hertz\tIntensity", "11.0000  \t3.000"},
                          {kPpm, "ppm\tIntensity", nullptr},
                          {kPoints, "Point\tIntensity", "    1\t3.000"},
                          {7, "=======================", nullptr}};
    for (const Case& c : cases) {
        doc->xUnits = c.units;
        const auto out = lines(realPointsText(*doc, 2, 4));
        EXPECT_EQ(out[9], c.title) << c.units;
        if (c.first) {
            EXPECT_EQ(out[11], c.first) << c.units;
        }
    }
    EXPECT_EQ(lines(realPointsText(*doc, 2, 2))[10], "    1  \t3.000");
}

TEST(RealPointsOutput, ListStopsBeforeTheLastIndexAndTheExportIncludesIt) {
    RecordingUserInterface ui;
    auto doc = makeDocument(ui);
    doc->viewLeft = 0.15;   // element 3: lowered to 2
    doc->viewRight = 0.85;  // element 17: lowered to 16
    const RealPointRange r = displayedRealRange(*doc);
    EXPECT_EQ(std::pair(r.first, r.last), std::pair(2, 16));

    DataPointsDialog dlg;
    dlg.open(*doc);
    EXPECT_EQ(dlg.columnTitle, "Sec.");
    ASSERT_EQ(dlg.lines.size(), 7u);  // 2, 4, ..., 14
    EXPECT_EQ(dlg.lines.front(), " 0.100                3.0000");
    EXPECT_EQ(dlg.lines.back(), " 0.700               21.0000");

    testing::TempDir dir;
    ui.files.push_back(dir.file("points.txt"));
    EXPECT_TRUE(dlg.exportAscii(*doc, ui));
    EXPECT_EQ(ui.fileRequests.back().defaultExtension, "txt");
    EXPECT_EQ(doc->import.saveTextExt, 0);
    const auto out = lines(testing::readFile(dir.file("points.txt")));
    ASSERT_EQ(out.size(), 11u + 8u);       // 2, 4, ..., 16
    EXPECT_EQ(out[3], "File:points.txt");  // the name the save dialog returned
    EXPECT_EQ(out.back(), "0.8000  \t24.000");

    doc->xUnits = kPoints;
    dlg.open(*doc);
    EXPECT_EQ(dlg.columnTitle, "Point");
    EXPECT_EQ(dlg.lines.front(), "     1                3.0000");
    for (auto [units, title] : {std::pair<int, const char*>{kPpm, "ppm"}, {kHz, "Hz"}, {9, "Index"}}) {
        doc->xUnits = units;
        dlg.open(*doc);
        EXPECT_EQ(dlg.columnTitle, title);
    }
    EXPECT_EQ(dlg.lines.front(), "     13.000");
}

TEST(RealPointsOutput, TheWholeViewNeverReadsPastTheData) {
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->acqPars.TD = kCapacity;
    doc->acqPars.SW = 1000.0;
    doc->acqPars.SF = 100.0;
    doc->specData.fill(1.0);
    setupDocument(*doc, ui);
    const RealPointRange r = displayedRealRange(*doc);
    EXPECT_EQ(r.last, kCapacity);  // one past the data: the export stops before it
    EXPECT_EQ(lines(realPointsText(*doc, r.first, r.last)).size(), 11u + kCapacity / 2);

    testing::TempDir dir;
    ASSERT_TRUE(writeRealPointsFile(*doc, dir.file("all.txt"), 0, doc->nData));
    EXPECT_EQ(lines(testing::readFile(dir.file("all.txt"))).size(), 11u + kCapacity / 2);
}

TEST(RealPointsOutput, CancelledOrFailedExportsWriteNothing) {
    RecordingUserInterface ui;
    auto doc = makeDocument(ui);
    EXPECT_FALSE(exportRealPoints(*doc, ui, 0, 4));
    EXPECT_EQ(doc->import.saveTextExt, 0);
    EXPECT_TRUE(ui.messages.empty());

    testing::TempDir dir;
    ui.files.push_back(dir.file("missing/out.txt"));
    EXPECT_FALSE(exportRealPoints(*doc, ui, 0, 4));
    expectOnlyMessage(ui, "Error opening file", "Error");

    // An existing file stays whole when the new one cannot be written in its place.
    testing::writeFile(dir.file("keep.txt"), "old");
    EXPECT_EQ(writeTextFile(dir.file("keep.txt"), "new"), TextFileResult::Written);
    EXPECT_EQ(testing::readFile(dir.file("keep.txt")), "new");
}

}  // namespace
}  // namespace pelvaron::io
