// The JCAMP-DX reader and its ASDF decoder: tables, labels and their warnings, NTUPLES pages, capacity.
#include "io/jcamp_reader.h"

#include <gtest/gtest.h>

#include "io_fixture.h"
#include "jcamp_fixtures.h"

namespace pelvaron::io {
namespace {

using Texts = std::vector<std::string>;

/// A complete XYDATA header (every one of the fourteen labels) before the given data lines.
std::string xyFile(const std::string& lines, std::size_t npoints) {
    return "##TITLE= t\n##JCAMP-DX= 5.01\n##DATA TYPE= NMR SPECTRUM\n##DATA CLASS= XYDATA\n"
           "##.OBSERVE FREQUENCY= 400.0\n##.OBSERVE NUCLEUS= ^1H\n##.ACQUISITION MODE= SIMULTANEOUS\n"
           "##XUNITS= HZ\n##XFACTOR= 1\n##YFACTOR= 1\n##FIRSTX= 100\n##LASTX= 0\n##NPOINTS= " +
           std::to_string(npoints) + "\n##XYDATA= (X++(Y..Y))\n" + lines + "##END=\n";
}

/// The text read into a fresh document whose data are zeros.
struct Read : Scratch {
    bool ok = false;
    JcampFileInfo info;
    explicit Read(const std::string& text) {
        doc->spectrum.specData.fill(0.0);
        ok = readJcampText(doc->spectrum, said, text, info);
    }
};

TEST(JcampAsdf, DecodesTheCompressedFormsUpToTheCapacity) {
    struct Case {
        std::string lines;
        std::vector<double> values;
        bool full = false;  ///< the lines hold more values than these: the table overflows
    };
    std::vector<Case> cases = {
        {"0 A1j2K3a5J\n1 a7\n", {11, -1, 22, -15, -17}},    // the second line's first value is the Y check
        {"0 A1J2\n", {11, 23}},                             // without a check line the difference stays
        {"0 A1J2\n\n2 B3J\n3 B4\n", {11, 23, 24}},          // a blank line does not step back twice
        {"0 J5K\n", {15, 17}},                              // a first difference adds to 0
        {"0 @JU\n", {0, 1, 2, 3}},                          // repeated differences keep adding up
        {"0 A1 T\n", {11, 11}},                             // a DUP count standing alone
        {"0 A1T1\n21 A1s\n", std::vector<double>(30, 11)},  // multi-digit DUP counts, s for 9
        {"0 J1s 5S0\n", {11, 22, 33, 44, 55, 66, 77, 88, 99, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}},
        {"0 A1234567J12345678K\n", {11234567, 123580245, 123580247}},
        {"0 A12345678901234567 a0000000000000000001\n", {112345678901234567.0, -10000000000000000001.0}},
        {"0\t1.5,-2.25, 3E+02\r\n", {1.5, -2.25, 300}},
        {"12 34 $$ note\n13 56 78\n", {34}},
        {"0 1 2\n$$ checksum\n9 9 9\n", {1, 2}},
        // The capacity is always the count expected; these hold more and stop before the first too many.
        {"0 1 2 3 4\n", {1, 2, 3}, true},
        {"0 A1B2C3D4\n", {11, 22, 33}, true},
        {"0 A1V\n", {11, 11, 11}, true},
    };
    Case& longLine = cases.emplace_back(Case{"0", {}});  // no value of a long line is an abscissa
    for (int v = 1; v <= 1000; ++v) {
        longLine.lines += " " + std::to_string(v);
        longLine.values.push_back(v);
    }
    for (const auto& c : cases) {
        const int n = static_cast<int>(c.values.size());
        std::vector<double> out(n + 1, -1.0);  // one value more: nothing is written past the capacity
        const JcampTableResult r = decodeJcampTable(c.lines, 0, {out.data(), 1, n});
        EXPECT_EQ(std::tuple(r.count, r.overflowed, out.back()), std::tuple(n, c.full, -1.0)) << c.lines;
        EXPECT_EQ(std::vector(out.begin(), out.end() - 1), c.values) << c.lines;
    }
}

TEST(JcampTable, StopsAtTheCapacityWithOneWarning) {
    const int over = kJcampTableCapacity + 4000;
    testing::JcampDataSet big{.firstX = over, .lastX = 1};
    for (int k = 0; k < over; ++k) big.real.push_back(k % 1000 + 1);
    big.imag = std::vector<long>(big.real.rbegin(), big.real.rend());
    for (const bool ntuples : {false, true}) {  // DIF and DUP tokens, then plain values
        big.form = ntuples ? testing::AsdfForm::Affn : testing::AsdfForm::DifDup;
        Read r(ntuples ? testing::jcampNTuplesFile(big) : testing::jcampXYDataFile(big));
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(testing::messageTexts(r.said), Texts{kCapacityWarningText});
        EXPECT_EQ(r.info.realCount, kJcampTableCapacity);
        EXPECT_EQ(r.doc->spectrum.specData[kCapacity - 2], big.real[kJcampTableCapacity - 1]);
        EXPECT_EQ(r.doc->spectrum.specData[kCapacity - 1], ntuples ? big.imag[kJcampTableCapacity - 1] : 0);
    }
}

TEST(JcampLabels, NamesFollowTheJcampRulesAndWarningsSayWhatIsMissingOrMiscounted) {
    Read r(xyFile("0 1 2 3 4\n", 5));
    EXPECT_EQ(testing::messageTexts(r.said), Texts{"Number of points different from the expected"});
    EXPECT_EQ(r.said[0].caption, "warning");
    EXPECT_EQ(r.info.jcampLabels[kJcampNPoints], "4");

    // A table that runs to the end of the file: the count is shown, then checked.
    Read open("##TITLE= t\n##JCAMP-DX= 5\n##NPOINTS= 2\n##XYDATA= (X++(Y..Y))\n0 5 6");
    EXPECT_EQ(std::tuple(open.said.back().text, open.said.back().caption), std::tuple("2", ""));
    EXPECT_EQ(open.part(2), (std::vector<double>{5, 6}));

    std::string text = xyFile("0 1\n", 1);
    Read missing(text.erase(text.find("##FIRSTX"), 25));
    EXPECT_EQ(testing::messageTexts(missing.said),
              (Texts{"could not read FIRSTX label", "could not read LASTX label"}));
    EXPECT_EQ(missing.said[1].caption, "warning");
    Read empty("##TITLE= nothing else\n");
    EXPECT_TRUE(empty.ok);
    ASSERT_EQ(empty.said.size(), 13u);
    EXPECT_EQ(empty.said.front().text, "could not read JCAMP label");

    // Either spelling of the version label, tabs or no blank after "=", and label names compared
    // without regard to case, blanks, dashes and underscores.
    Read spelled(
        "##TITLE=\tSpaced title\n##JCAMPDX= 4.24\n##DATATYPE=NMR SPECTRUM\n##Data_Class=\tXYDATA\n"
        "##.OBSERVE FREQUENCY=400\n##.Observe Nucleus= ^13C\n##.ACQUISITION-MODE= SIMULTANEOUS\n"
        "##XUNITS=HZ\n##XFACTOR=1\n##YFACTOR=1\n##FIRSTX=1\n##LASTX=0\n##NPOINTS=2\n"
        "##XYDATA=\t(X++(Y..Y))\r\n1 7 8\r\n##END=\r\n");
    EXPECT_EQ(testing::messageTexts(spelled.said), Texts{});
    EXPECT_EQ(spelled.info.foundMask, kJcampAllLabels);
    EXPECT_EQ(std::tuple(spelled.info.jcampLabels[kJcampTitle], spelled.info.jcampLabels[kJcampNucleus]),
              std::tuple("\tSpaced title", " ^13C"));
    EXPECT_EQ(spelled.part(2), (std::vector<double>{7, 8}));
}

TEST(JcampNTuples, PagesGoToTheRealAndImaginaryPartsAndAMissingOneIsAnError) {
    testing::JcampDataSet d{.firstX = 1000,
                            .lastX = -400,
                            .real = {100, 250, -30, 4000, 4000, 4000, 17, 0, -1, 5, 6, 7, 8, 9, 10},
                            .imag = {-5, 0, 0, 0, 0, 12, 13, 14, 15, 16, 17, 18, 19, 20, 1},
                            .perLine = 4};
    const std::vector<double> real(d.real.begin(), d.real.end()), imag(d.imag.begin(), d.imag.end());
    const std::string good = testing::jcampNTuplesFile(d);
    Read r(good);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(testing::messageTexts(r.said), Texts{});
    EXPECT_EQ(std::pair(r.part(15), r.part(15, 1)), std::pair(real, imag));
    auto without = [&](const char* page) {
        return std::string(good).replace(good.find(page), 11, "(X++(Q..Q))");
    };
    Read noReal(without("(X++(R..R))"));
    EXPECT_FALSE(noReal.ok);
    expectOnlyMessage(noReal.said, "Error, I couldn't find the real data points!!", "error");
    Read badImag(without("(X++(I..I))"));
    EXPECT_FALSE(badImag.ok);
    EXPECT_EQ(badImag.said.back().text, " I did not found the imaginary points");
    EXPECT_EQ(badImag.doc->spectrum.specData[0], 0.0);  // a failed read leaves the data cleared

    // No imaginary page at all: the real page alone is read. No page: nothing decoded.
    Read realOnly(good.substr(0, good.find("##PAGE= N=2")) + "##END=\n");
    EXPECT_EQ(std::tuple(realOnly.ok, realOnly.part(15)), std::tuple(true, real));
    Read none(good.substr(0, good.find("##PAGE= N=1")));
    EXPECT_EQ(std::tuple(none.ok, none.info.realCount), std::tuple(true, 0));
}

}  // namespace
}  // namespace pelvaron::io
