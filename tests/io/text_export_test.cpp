// The "Real Data Points Output" and the "Display Data Points (Reals)" list: header, units, and the
// index range of the displayed region, which never reaches past the data.
#include "io/text_export.h"

#include <gtest/gtest.h>

#include <sstream>

#include "io/data_points_dialog.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

/// 10 complex points, SW 10 Hz, so that AQ is 1 s and element i lies at i / 20 s.
struct Points : Scratch {
    Points() {
        doc->spectrum.acqPars = AcqParams{.SW = 10.0, .SF = 400.13, .TD = 20, .offsetHz = 2.0};
        doc->fileTitle = "sample";
        for (int i = 0; i < 20; ++i) doc->spectrum.specData[i] = i % 2 == 0 ? 1.5 * i : -1.0;
        setupDocument(*doc);
    }
};

std::vector<std::string> lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(RealPointsOutput, HeaderAndLinesFollowTheUnitsFromFirstToLastIndex) {
    Points s;
    // The whole layout (in ppm) is in the real-data table. Hz: refIndex = 20 + trunc(2 * 2 Hz * 1 s)
    // = 24. Points: the complex point number. Other units have no title line.
    const std::tuple<int, const char*, const char*> cases[] = {
        {kSeconds, "Second\tIntensity", "0.1000  \t3.000"},
        {kHz, "Hertz\tIntensity", "11.0000  \t3.000"},
        {kPpm, "ppm\tIntensity", nullptr},
        {kPoints, "Point\tIntensity", "    1\t3.000"},
        {7, "=======================", "    1  \t3.000"}};
    for (const auto& [units, title, first] : cases) {
        s.doc->spectrum.xUnits = static_cast<Units>(units);  // 7 names no unit
        const auto out = lines(realPointsText(*s.doc, 2, 2));
        EXPECT_EQ(std::tuple(out.size(), out[9]), std::tuple(units == 7 ? 11u : 12u, title)) << units;
        EXPECT_EQ(out.back(), first ? first : out.back()) << units;
    }
}

TEST(RealPointsOutput, ListStopsBeforeTheLastIndexAndTheExportIncludesIt) {
    Points s;
    // 0.15 is element 3, lowered to 2; 0.85 element 17, lowered to 16.
    const RealPointRange r = displayedRealRange(*s.doc, 0.15, 0.85);
    EXPECT_EQ(std::pair(r.first, r.last), std::pair(2, 16));
    DataPointsDialog dlg(r);
    dlg.open(*s.doc);
    ASSERT_EQ(dlg.lines.size(), 7u);  // 2, 4, ..., 14
    EXPECT_EQ(std::tuple(dlg.columnTitle, dlg.lines.front(), dlg.lines.back()),
              std::tuple("Sec.", " 0.100                3.0000", " 0.700               21.0000"));
    s.ui.files.push_back(s.dir.file("points.txt"));
    EXPECT_TRUE(dlg.exportAscii(*s.doc, s.ui));
    EXPECT_EQ(std::tuple(s.ui.fileRequests.back().defaultExtension, s.doc->import.saveTextExt),
              std::tuple("txt", 0));
    const auto out = lines(testing::readFile(s.dir.file("points.txt")));
    ASSERT_EQ(out.size(), 11u + 8u);  // 2, 4, ..., 16
    EXPECT_EQ(std::tuple(out[3], out.back()), std::tuple("File:points.txt", "0.8000  \t24.000"));
    s.doc->spectrum.xUnits = kPoints;
    dlg.open(*s.doc);
    EXPECT_EQ(std::tuple(dlg.columnTitle, dlg.lines.front()),
              std::tuple("Point", "     1                3.0000"));
    // The whole view ends one past the data: the export stops before it.
    const RealPointRange whole = displayedRealRange(*s.doc, 0.0, s.doc->spectrum.acqPars.AQ);
    EXPECT_EQ(std::pair(whole.first, whole.last), std::pair(0, 20));
    EXPECT_EQ(lines(realPointsText(*s.doc, whole.first, whole.last)).size(), 11u + 10u);
}

}  // namespace
}  // namespace pelvaron::io
