// The JCAMP-DX reader: tokens, ASDF tables, labels and their warnings, NTUPLES pages, capacity.
#include "io/jcamp_reader.h"

#include <gtest/gtest.h>

#include "io_fixture.h"
#include "jcamp_fixtures.h"

namespace pelvaron::io {
namespace {

using testing::RecordingUserInterface;
using Kind = JcampToken::Kind;

/// A complete XYDATA header (every one of the fourteen labels) before the given data lines.
std::string xyFile(const std::string& lines, int npoints) {
    return "##TITLE= t\n##JCAMP-DX= 5.01\n##DATA TYPE= NMR SPECTRUM\n##DATA CLASS= XYDATA\n"
           "##.OBSERVE FREQUENCY= 400.0\n##.OBSERVE NUCLEUS= ^1H\n##.ACQUISITION MODE= SIMULTANEOUS\n"
           "##XUNITS= HZ\n##XFACTOR= 1\n##YFACTOR= 1\n##FIRSTX= 100\n##LASTX= 0\n##NPOINTS= " +
           std::to_string(npoints) + "\n##XYDATA= (X++(Y..Y))\n" + lines + "##END=\n";
}

struct Read {
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    RecordingUserInterface ui;
    bool ok = false;

    explicit Read(const std::string& text) {
        doc->specData.fill(0.0);
        ok = readJcampText(*doc, ui, text);
    }
    /// The real parts decoded, as many as `n`.
    [[nodiscard]] std::vector<double> reals(int n) const {
        std::vector<double> out;
        for (int k = 0; k < n; ++k) out.push_back(doc->specData[2 * k]);
        return out;
    }
    [[nodiscard]] const std::string& label(int i) const {
        return doc->jcamp.jcampLabels[static_cast<std::size_t>(i)];
    }
};

TEST(JcampToken, DecodesEveryFormOfValue) {
    struct Case {
        const char* text;
        Kind kind;
        double value;
        int count;
    };
    const Case cases[] = {
        {"123", Kind::Plain, 123, 1},       {"-5.25", Kind::Plain, -5.25, 1},
        {"+7", Kind::Plain, 7, 1},          {".5", Kind::Plain, 0.5, 1},
        {"1.5E+03", Kind::Plain, 1500, 1},  {"@", Kind::Squeezed, 0, 1},
        {"A12", Kind::Squeezed, 112, 1},    {"I", Kind::Squeezed, 9, 1},
        {"a5", Kind::Squeezed, -15, 1},     {"i0", Kind::Squeezed, -90, 1},
        {"%", Kind::Difference, 0, 1},      {"J3", Kind::Difference, 13, 1},
        {"R", Kind::Difference, 9, 1},      {"j", Kind::Difference, -1, 1},
        {"r12", Kind::Difference, -912, 1}, {"A1T", Kind::Squeezed, 11, 2},
        {"A1T1", Kind::Squeezed, 11, 21},   {"@s", Kind::Squeezed, 0, 9},
        {"J1Z", Kind::Difference, 11, 8},   {"5S0", Kind::Plain, 5, 10},
        {"U", Kind::DupOnly, 0, 3},         {" 7", Kind::Plain, 7, 1},
        {",8", Kind::Plain, 8, 1},          {"?", Kind::NotAValue, 0, 1},
        {" ", Kind::NotAValue, 0, 1},
    };
    for (const auto& c : cases) {
        const JcampToken t = decodeJcampToken(c.text);
        EXPECT_EQ(t.kind, c.kind) << c.text;
        EXPECT_DOUBLE_EQ(t.value, c.value) << c.text;
        EXPECT_EQ(t.count, c.count) << c.text;
        EXPECT_FALSE(t.endsTable) << c.text;
    }
    // A token ends at the next delimiter: "12J3" is the value 12 and then a difference.
    EXPECT_EQ(decodeJcampToken("12J3").length, 2u);
    EXPECT_EQ(decodeJcampToken(" 12 4").length, 3u);
    EXPECT_TRUE(decodeJcampToken("34$").endsTable);
}

TEST(JcampTable, DecodesTheCompressedForms) {
    struct Case {
        std::string lines;
        std::vector<double> values;
    };
    std::vector<Case> cases = {
        // The pseudo-digit replaces the first digit; the abscissa is not a value.
        {"0 A1J2K3A5\n", {11, 23, 46, 15}},
        // A DUP letter at the very end of a line is honoured.
        {"0 A1T\n", {11, 11}},
        {"0 @J1A2\n", {0, 11, 12}},
        {"0 1,2, 3\n", {1, 2, 3}},
        {"0\t1\t2\t3\n", {1, 2, 3}},
        // Differences repeated by DUP keep adding up.
        {"0 @JU\n", {0, 1, 2, 3}},
        // A difference as the first value of a table adds to 0.
        {"0 J5K\n", {15, 17}},
        // The second line's first ordinate is the Y check and replaces the last one of the first.
        {"0 A1J2\n2 B5\n", {11, 25}},
        {"0 A1J2\n2 B3\n", {11, 23}},
        // A table whose last line ends with a difference and no check line keeps that value.
        {"0 A1J2\n", {11, 23}},
        // Blank lines inside a difference table do not step back twice.
        {"0 A1J2\n\n2 B3J\n3 B4\n", {11, 23, 24}},
        // A DUP count after a blank repeats the value before it.
        {"0 A1 T\n", {11, 11}},
        // Long digit runs, short and long enough to be rounded by the library.
        {"0 A1234567J12345678K\n", {11234567, 123580245, 123580247}},
        {"0 A12345678901234567 a0000000000000000001\n", {112345678901234567.0, -10000000000000000001.0}},
        // Plain numbers with decimals and exponents (AFFN).
        {"0 1.5 -2.25 3E+02\n", {1.5, -2.25, 300}},
        // Multi-digit DUP counts and the DUP digit s; the second line's DUP value is no Y check.
        {"0 A1T1\n21 A1s\n", std::vector<double>(30, 11)},
        // "$$" ends the table, with or without data before it on the line.
        {"12 34 $$ note\n13 56 78\n", {34}},
        {"0 1 2\n$$ checksum\n9 9 9\n", {1, 2}},
    };
    // 1000 values on one line: none of them may be taken as an abscissa.
    Case& longLine = cases.emplace_back(Case{"0", {}});
    for (int v = 1; v <= 1000; ++v) {
        longLine.lines += " " + std::to_string(v);
        longLine.values.push_back(v);
    }
    longLine.lines += "\n";
    for (const auto& c : cases) {
        Read r(xyFile(c.lines, static_cast<int>(c.values.size())));
        ASSERT_TRUE(r.ok) << c.lines;
        EXPECT_EQ(r.reals(static_cast<int>(c.values.size())), c.values) << c.lines;
        EXPECT_TRUE(r.ui.messages.empty()) << c.lines << r.ui.messages.front().text;
        EXPECT_EQ(r.doc->jcamp.realCount, static_cast<int>(c.values.size())) << c.lines;
        EXPECT_EQ(r.doc->specData[2 * c.values.size()], 0.0) << c.lines;
    }
}

TEST(JcampTable, StopsAtTheCapacityWithOneWarning) {
    const char* capacity =
        kCapacityWarningText;
    std::string lines;
    for (int k = 0; k < kJcampTableCapacity + 4000; k += 10) {
        lines += std::to_string(k);
        for (int j = k; j < k + 10; ++j) lines += " " + std::to_string(j % 1000 + 1);
        lines += "\n";
    }
    for (int declared : {kJcampTableCapacity + 4000, 100}) {
        Read r(xyFile(lines, declared));
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.ui.messageTexts(), std::vector<std::string>{capacity}) << declared;
        EXPECT_EQ(r.doc->jcamp.realCount, kJcampTableCapacity);
        EXPECT_EQ(r.label(kJcampNPoints), std::to_string(kJcampTableCapacity));
        EXPECT_EQ(r.doc->specData[kCapacity - 2], static_cast<double>((kJcampTableCapacity - 1) % 1000 + 1));
        EXPECT_EQ(r.doc->specData[kCapacity - 1], 0.0);
    }
}

TEST(JcampTable, TheCountCheckWarnsAndTakesTheDecodedCount) {
    Read r(xyFile("0 1 2 3 4\n", 5));
    EXPECT_EQ(r.ui.messageTexts(), std::vector<std::string>{"Number of points different from the expected"});
    EXPECT_EQ(r.ui.messages[0].caption, "warning");
    EXPECT_EQ(r.label(kJcampNPoints), "4");

    // A table that runs to the end of the file: the count is shown, then checked.
    Read open("##TITLE= t\n##JCAMP-DX= 5\n##NPOINTS= 2\n##XYDATA= (X++(Y..Y))\n0 5 6");
    EXPECT_EQ(open.ui.messages.back().text, "2");
    EXPECT_EQ(open.ui.messages.back().caption, "");
    EXPECT_EQ(open.reals(2), (std::vector<double>{5, 6}));
}

TEST(JcampLabels, MissingLabelsAreWarnedInBitOrder) {
    std::string text = xyFile("0 1\n", 1);
    for (const char* label : {"##FIRSTX= 100\n", "##LASTX= 0\n"})
        text.erase(text.find(label), std::string(label).size());
    Read r(text);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.ui.messageTexts(),
              (std::vector<std::string>{"could not read FIRSTX label", "could not read LASTX label"}));
    for (const auto& m : r.ui.messages) EXPECT_EQ(m.caption, "warning");

    Read empty("##TITLE= nothing else\n");
    EXPECT_TRUE(empty.ok);
    ASSERT_EQ(empty.ui.messages.size(), 13u);
    EXPECT_EQ(empty.ui.messages.front().text, "could not read JCAMP label");
    EXPECT_EQ(empty.ui.messages.back().text, "could not read LASTX label");
}

TEST(JcampLabels, LabelNamesFollowTheJcampRules) {
    // Either spelling of the version label, tabs or no blank after "=", and label names compared
    // without regard to case, blanks, dashes and underscores.
    const std::string text =
        "##TITLE=\tSpaced title\n##JCAMPDX= 4.24\n##DATATYPE=NMR SPECTRUM\n##Data_Class=\tXYDATA\n"
        "##.OBSERVE FREQUENCY=400\n##.Observe Nucleus= ^13C\n##.ACQUISITION-MODE= SIMULTANEOUS\n"
        "##XUNITS=HZ\n##XFACTOR=1\n##YFACTOR=1\n##FIRSTX=1\n##LASTX=0\n##NPOINTS=2\n"
        "##XYDATA=\t(X++(Y..Y))\r\n1 7 8\r\n##END=\r\n";
    Read r(text);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.ui.messages.empty());
    EXPECT_EQ(r.doc->jcamp.foundMask, kJcampAllLabels);
    EXPECT_EQ(r.label(kJcampTitle), "\tSpaced title");
    EXPECT_EQ(r.label(kJcampNucleus), " ^13C");
    EXPECT_EQ(r.doc->jcamp.lastJcampText, " 4.24");
    EXPECT_EQ(r.reals(2), (std::vector<double>{7, 8}));
}

TEST(JcampNTuples, PagesGoToTheRealAndImaginaryParts) {
    testing::JcampDataSet d{.firstX = 1000,
                            .lastX = -400,
                            .real = {100, 250, -30, 4000, 4000, 4000, 17, 0, -1, 5, 6, 7, 8, 9, 10},
                            .imag = {-5, 0, 0, 0, 0, 12, 13, 14, 15, 16, 17, 18, 19, 20, 1},
                            .perLine = 4};
    for (auto form : {testing::AsdfForm::Affn, testing::AsdfForm::Sqz, testing::AsdfForm::Dif,
                      testing::AsdfForm::DifDup}) {
        d.form = form;
        Read r(testing::jcampNTuplesFile(d));
        ASSERT_TRUE(r.ok);
        EXPECT_TRUE(r.ui.messages.empty()) << r.ui.messages.front().text;
        for (std::size_t k = 0; k < d.real.size(); ++k) {
            EXPECT_EQ(r.doc->specData[2 * k], d.real[k]) << k;
            EXPECT_EQ(r.doc->specData[2 * k + 1], d.imag[k]) << k;
        }
        EXPECT_EQ(r.label(kJcampNPoints), " 15, 15, 15, 2");
        EXPECT_EQ(jcampNumber(r.label(kJcampFirstX)), 1000.0);
        EXPECT_EQ(normalizeJcampLabel(r.label(kJcampXUnits)).substr(0, 3), "HZ,");
    }
}

TEST(JcampNTuples, ColumnsAreSeparatedByCommasOrBlanks) {
    using Columns = std::vector<std::string_view>;
    EXPECT_EQ(jcampColumns(" HZ, ARBITRARY UNITS,ARBITRARY UNITS,"),
              (Columns{"HZ", "ARBITRARY UNITS", "ARBITRARY UNITS", ""}));
    EXPECT_EQ(jcampColumns(" 4789.272 10000 -234  1 $$ the earlier form"),
              (Columns{"4789.272", "10000", "-234", "1"}));
    EXPECT_EQ(jcampColumnNumber("0.5, , +3e2, 1", 2), 300.0);
    EXPECT_EQ(jcampColumnNumber("0.5, , 3, 1", 1), std::nullopt);
    EXPECT_EQ(jcampColumnNumber("0.5 1", 2), std::nullopt);
}

TEST(JcampNTuples, AMissingPageIsAnError) {
    const testing::JcampDataSet d{.firstX = 2, .real = {1, 2, 3}, .imag = {4, 5, 6}};
    const std::string good = testing::jcampNTuplesFile(d);
    auto without = [&](const char* page) {
        std::string text = good;
        return text.replace(text.find(page), 11, "(X++(Q..Q))");
    };
    Read noReal(without("(X++(R..R))"));
    EXPECT_FALSE(noReal.ok);
    EXPECT_EQ(noReal.ui.messages.back().text, "Error, I couldn't find the real data points!!");
    EXPECT_EQ(noReal.ui.messages.back().caption, "error");
    Read badImag(without("(X++(I..I))"));
    EXPECT_FALSE(badImag.ok);
    EXPECT_EQ(badImag.ui.messages.back().text, " I did not found the imaginary points");
    EXPECT_EQ(badImag.doc->specData[0], 0.0);  // a failed read leaves the data cleared

    // No imaginary page at all: the real page alone is read. No page: nothing decoded.
    Read realOnly(good.substr(0, good.find("##PAGE= N=2")) + "##END=\n");
    EXPECT_TRUE(realOnly.ok);
    EXPECT_EQ(realOnly.doc->specData[4], 3.0);
    Read none(good.substr(0, good.find("##PAGE= N=1")));
    EXPECT_TRUE(none.ok);
    EXPECT_EQ(none.doc->jcamp.realCount, 0);
}

TEST(JcampFile, OpensByFullPathAndReportsAMissingFile) {
    testing::TempDir dir;
    testing::writeFile(dir.file("a.jdx"), xyFile("0 1 2\n", 2));
    auto doc = std::make_unique<Document>();
    RecordingUserInterface ui;
    EXPECT_TRUE(readJcamp(*doc, ui, dir.file("a.jdx")));
    EXPECT_EQ(doc->specData[2], 2.0);

    EXPECT_FALSE(readJcamp(*doc, ui, dir.path().string()));  // a directory is no file
    EXPECT_EQ(ui.messages.back().text, "Error opening file");
    EXPECT_FALSE(readJcamp(*doc, ui, dir.file("missing.jdx")));
    EXPECT_EQ(ui.messages.back().text, "Error opening file");
    EXPECT_EQ(ui.messages.back().caption, "error");
    EXPECT_TRUE(doc->jcamp.jcampLabels[kJcampTitle].empty());
}

}  // namespace
}  // namespace pelvaron::io
