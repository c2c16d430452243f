// The "Real Data Points Output" and the "Display Data Points (Reals)" list: header, units, and the
// index range of the displayed region.
#include "io/text_export.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "io/data_points_dialog.h"
#include "recording_ui.h"
#include "temp_dir.h"

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
    const auto seconds = lines(realPointsText(*doc, 2, 6));
    const std::vector<std::string> header = {"********",
                                             "Pelvaron",
                                             "********",
                                             "File:sample",
                                             "Spectrometer Frequency =\t400.1300",
                                             "Sweep Width =\t10.0000",
                                             "Time domain=\t20",
                                             "Real Data Points Output",
                                             "=======================",
                                             "Second\tIntensity",
                                             "======================="};
    ASSERT_EQ(seconds.size(), header.size() + 3);
    EXPECT_EQ(std::vector<std::string>(seconds.begin(), seconds.begin() + 11), header);
    EXPECT_EQ(seconds[11], "0.1000  \t3.000");
    EXPECT_EQ(seconds[13], "0.3000  \t9.000");

    doc->xUnits = kHz;  // refIndex = 20 + trunc(2 * 2 Hz * 1 s) = 24
    const auto hz = lines(realPointsText(*doc, 2, 2));
    EXPECT_EQ(hz[9], "Hertz\tIntensity");
    EXPECT_EQ(hz[11], "11.0000  \t3.000");
    doc->xUnits = kPpm;
    EXPECT_EQ(lines(realPointsText(*doc, 2, 2))[9], "ppm\tIntensity");
    doc->xUnits = kPoints;
    const auto points = lines(realPointsText(*doc, 2, 4));
    EXPECT_EQ(points[9], "Point\tIntensity");
    EXPECT_EQ(points[11], "    1\t3.000");  // the complex point number
    doc->xUnits = 7;
    const auto other = lines(realPointsText(*doc, 2, 2));
    EXPECT_EQ(other[9], "=======================");
    EXPECT_EQ(other[10], "    1  \t3.000");
}

TEST(RealPointsOutput, ListStopsBeforeTheLastIndexAndTheExportIncludesIt) {
    RecordingUserInterface ui;
    auto doc = makeDocument(ui);
    doc->viewLeft = 0.15;   // element 3: lowered to 2
    doc->viewRight = 0.85;  // element 17: lowered to 16
    const RealPointRange r = displayedRealRange(*doc);
    EXPECT_EQ(r.first, 2);
    EXPECT_EQ(r.last, 16);

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
    const auto out = lines(realPointsText(*doc, r.first, r.last));
    EXPECT_EQ(out.size(), 11u + kCapacity / 2);

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
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error opening file");
    EXPECT_EQ(ui.messages[0].caption, "Error");

    // An existing file stays whole when the new one cannot be written in its place.
    testing::writeFile(dir.file("keep.txt"), "old");
    EXPECT_EQ(writeTextFile(dir.file("keep.txt"), "new"), TextFileResult::Written);
    EXPECT_EQ(testing::readFile(dir.file("keep.txt")), "new");
}

}  // namespace
}  // namespace pelvaron::io
