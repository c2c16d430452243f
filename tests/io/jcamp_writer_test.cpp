// The JCAMP-DX export: round trips through both layouts, a header that agrees with the data
// lines, scaling, and the "JCAMP Options" dialog.
#include "io/jcamp_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "io/file_dialogs.h"
#include "io/jcamp_import.h"
#include "io/jcamp_options_dialog.h"
#include "io/jcamp_reader.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

using testing::RecordingUserInterface;
using Words = std::vector<std::string>;

/// A document of n complex points set up as a load would leave it. The largest real value is
/// 10000, so that the export's scaling changes nothing.
std::unique_ptr<Document> makeDocument(int n, RecordingUserInterface& ui) {
    auto doc = std::make_unique<Document>();
    doc->acqPars.TD = 2 * n;
    doc->acqPars.SW = 6009.6154;
    doc->acqPars.SF = 400.13;
    doc->acqPars.offsetHz = -812.25;
    doc->fileTitle = "source";
    for (int k = 0; k < n; ++k) {
        doc->specData[2 * k] = (k * 37) % 2001 - 1000;
        doc->specData[2 * k + 1] = (k * 53) % 3001 - 1500;
    }
    doc->specData[2 * (n / 3)] = 10000.0;
    setupDocument(*doc, ui);
    return doc;
}

std::unique_ptr<Document> importFile(const std::string& path, RecordingUserInterface& ui) {
    auto doc = std::make_unique<Document>();
    setFilePath(*doc, path);
    doc->specData.fill(0.0);
    EXPECT_TRUE(importJcamp(*doc, ui));
    return doc;
}

Words words(const std::string& line) {
    std::istringstream in(line);
    Words out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

/// The comma-separated columns of an NTUPLES label value, trimmed.
Words columns(const std::string& value) {
    Words out;
    for (std::size_t from = 0;;) {
        const std::size_t comma = value.find(',', from);
        const std::string c = value.substr(from, comma - from);
        const auto b = c.find_first_not_of(' ');
        out.push_back(b == std::string::npos ? "" : c.substr(b, c.find_last_not_of(' ') - b + 1));
        if (comma == std::string::npos) return out;
        from = comma + 1;
    }
}

/// Header values by label and the data lines (split into words) of each table.
struct Parsed {
    std::map<std::string, std::string> labels;
    std::vector<std::vector<Words>> tables;

    explicit Parsed(const std::string& text) {
        std::istringstream in(text);
        bool inTable = false;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("##", 0) == 0) {
                const auto eq = line.find('=');
                const std::string label = line.substr(2, eq - 2);
                labels[label] = line.substr(eq + 1);
                inTable = label == "XYDATA" || label == "DATA TABLE";
                if (inTable) tables.emplace_back();
            } else if (inTable && line.rfind("$$", 0) != 0) {
                tables.back().push_back(words(line));
            } else {
                inTable = false;
            }
        }
    }
    [[nodiscard]] double number(const std::string& label) const { return jcampNumber(labels.at(label)); }
    [[nodiscard]] Words values(std::initializer_list<const char*> names) const {
        Words out;
        for (const char* name : names) out.push_back(labels.count(name) ? labels.at(name) : "(absent)");
        return out;
    }
};

TEST(JcampWriter, RoundTripsReturnTheData) {
    struct Case {
        int n;  // complex points; 777 is not a multiple of the four values a line
        const char* dataType;
        bool realOnly;
    };
    const Case cases[] = {{1000, "NMR SPECTRUM", false},
                          {777, "NMR FID", false},
                          {500, "NMR SPECTRUM", true},
                          {500, "NMR FID", true}};
    for (const Case& c : cases) {
        const std::string what =
            std::string(c.dataType) + (c.realOnly ? " XYDATA " : " NTUPLES ") + std::to_string(c.n);
        const bool fid = std::string(c.dataType) == "NMR FID";
        RecordingUserInterface ui;
        auto doc = makeDocument(c.n, ui);
        if (fid) {
            doc->acqPars.DECIM = 32;
            doc->acqPars.DSPFVS = 10;
            doc->groupDelay = 67.984;
        }
        testing::TempDir dir;
        const JcampExportText text{.dataType = c.dataType};
        ASSERT_TRUE(c.realOnly ? writeJcampXYDataFile(*doc, dir.file("s.jdx"), text)
                               : writeJcampNTuplesFile(*doc, dir.file("s.jdx"), text));
        auto back = importFile(dir.file("s.jdx"), ui);
        EXPECT_TRUE(ui.messages.empty()) << what << ui.messages.front().text;
        EXPECT_FALSE(back->jcamp.legacyLayout);
        ASSERT_EQ(back->nData, 2 * c.n) << what;
        for (int i = 0; i < 2 * c.n; ++i)
            ASSERT_EQ(back->specData[i], c.realOnly && i % 2 ? 0.0 : doc->specData[i]) << what << " " << i;
        EXPECT_NEAR(back->acqPars.SW, doc->acqPars.SW, 1e-6) << what;
        if (c.realOnly) continue;
        EXPECT_NEAR(back->offsetHz, doc->offsetHz, 1e-6) << what;
        EXPECT_DOUBLE_EQ(back->acqPars.SF, 400.13);
        if (!fid) {
            EXPECT_EQ(back->peakIndex, doc->peakIndex) << what;
            EXPECT_EQ(back->comments.boxes.at(0).text, " Untitled");
        } else {
            EXPECT_EQ(back->acqPars.DECIM, 32);
            EXPECT_EQ(back->acqPars.DSPFVS, 10);
            EXPECT_NEAR(back->groupDelay, 67.984, 1e-9);
        }
    }
}

TEST(JcampWriter, HeaderAgreesWithTheDataLines) {
    RecordingUserInterface ui;
    auto doc = makeDocument(30, ui);
    const int n = 30;
    const double sw = doc->acqPars.SW;
    const double off = doc->offsetHz;

    // Spectrum: Hz, descending from SW + offsetHz; every line's abscissa times XFACTOR is the
    // frequency of its first point.
    const Parsed s(jcampXYDataText(*doc, JcampExportText{}));
    EXPECT_EQ(s.labels.count("$PELVARON LAYOUT"), 1u);
    EXPECT_EQ(s.values({"XUNITS", "ORIGIN", "NPOINTS"}), (Words{" HZ", "  Pelvaron EXPORT ", "30"}));
    EXPECT_NEAR(s.number("FIRSTX"), off + sw, 1e-6);
    EXPECT_NEAR(s.number("LASTX"), off + sw / n, 1e-6);
    EXPECT_NEAR(s.number("XFACTOR"), (s.number("FIRSTX") - s.number("LASTX")) / (n - 1), 1e-9);
    EXPECT_EQ(s.number("FIRSTY"), doc->specData[0]);
    EXPECT_EQ(s.number("MAXY"), 10000.0);
    ASSERT_EQ(s.tables.size(), 1u);
    ASSERT_EQ(s.tables[0].size(), 8u);  // 30 points, four a line
    for (std::size_t line = 0; line < 8; ++line) {
        const Words& w = s.tables[0][line];
        const int k = static_cast<int>(line) * 4;
        // Within the abscissa's three decimals of a point.
        EXPECT_NEAR(std::stod(w[0]) * s.number("XFACTOR"), off + sw * (n - k) / n, 1e-3 * sw / n) << line;
        EXPECT_EQ(w.size(), line < 7 ? 5u : 3u);
        EXPECT_EQ(std::stod(w[1]), doc->specData[2 * k]);
    }

    // FID: seconds from 0, one line abscissa per point number.
    const Parsed f(jcampNTuplesText(*doc, JcampExportText{.dataType = "NMR FID"}));
    EXPECT_EQ(f.values({"UNITS", "VAR_DIM"}),
              (Words{" SECONDS, ARBITRARY UNITS, ARBITRARY UNITS,", " 30, 30, 30, 2"}));
    EXPECT_EQ(f.number("FIRST"), 0.0);
    EXPECT_NEAR(f.number("LAST"), 29 / sw, 1e-9);
    // Every NTUPLES label has the four columns X, R, I and page, separated by commas.
    for (const char* label :
         {"VAR_NAME", "SYMBOL", "VAR_TYPE", "VAR_FORM", "VAR_DIM", "UNITS", "FIRST", "LAST", "FACTOR"})
        EXPECT_EQ(columns(f.labels.at(label)).size(), 4u) << label;
    const Words factor = columns(f.labels.at("FACTOR"));
    EXPECT_NEAR(std::stod(factor[0]), 1 / sw, 1e-12);
    EXPECT_EQ(factor[1] + factor[2] + factor[3], "111");
    const Words first = columns(f.labels.at("FIRST"));
    EXPECT_EQ(std::stod(first[1]), doc->specData[0]);
    EXPECT_EQ(std::stod(first[2]), doc->specData[1]);  // the imaginary part on the same scale
    EXPECT_EQ(first[3] + columns(f.labels.at("LAST"))[3], "12");
    ASSERT_EQ(f.tables.size(), 2u);
    EXPECT_EQ(f.tables[0][1][0], "4");
    EXPECT_EQ(std::stod(f.tables[1][1][1]), doc->specData[9]);

    // Sixteen elements make two whole lines a page, and no more.
    const Parsed p(jcampNTuplesText(*makeDocument(8, ui), JcampExportText{.dataType = "NMR FID"}));
    EXPECT_EQ(p.labels.at("VAR_DIM"), " 8, 8, 8, 2");
    ASSERT_EQ(p.tables.size(), 2u);
    for (const auto& table : p.tables) {
        ASSERT_EQ(table.size(), 2u);
        EXPECT_EQ(table[0][0] + table[1][0], "04");
    }
}

TEST(JcampWriter, NTuplesColumnsReadInEitherForm) {
    // Earlier exports separated the columns of FIRST, LAST and FACTOR by blanks; other programs
    // may put the axis in any column, the one SYMBOL names X.
    auto rewrite = [](const std::string& text, auto&& change) {
        std::istringstream in(text);
        std::string out;
        for (std::string line; std::getline(in, line);) {
            for (const char* label : {"##SYMBOL=", "##VAR_DIM=", "##FIRST=", "##LAST=", "##FACTOR="}) {
                if (line.rfind(label, 0) != 0) continue;
                const Words c = columns(line.substr(std::string(label).size()));
                line = label + change(c);
            }
            out += line + "\n";
        }
        return out;
    };
    const auto blanks = [](const Words& c) { return " " + c[0] + " " + c[1] + " " + c[2] + "  " + c[3]; };
    const auto axisThird = [](const Words& c) {
        return " " + c[1] + ", " + c[2] + ", " + c[0] + ", " + c[3];
    };
    RecordingUserInterface ui;
    auto doc = makeDocument(40, ui);
    for (const char* type : {"NMR SPECTRUM", "NMR FID"}) {
        const std::string exported = jcampNTuplesText(*doc, JcampExportText{.dataType = type});
        testing::TempDir dir;
        testing::writeFile(dir.file("new.jdx"), exported);
        const std::string old = rewrite(exported, blanks);
        EXPECT_EQ(columns(Parsed(old).labels.at("FIRST")).size(), 1u);  // no comma left
        testing::writeFile(dir.file("old.jdx"), old);
        testing::writeFile(dir.file("moved.jdx"), rewrite(exported, axisThird));
        auto now = importFile(dir.file("new.jdx"), ui);
        for (const char* name : {"old.jdx", "moved.jdx"}) {
            auto back = importFile(dir.file(name), ui);
            const std::string what = std::string(type) + " " + name;
            ASSERT_EQ(back->nData, 80) << what;
            for (int i = 0; i < 80; ++i) ASSERT_EQ(back->specData[i], doc->specData[i]) << what << i;
            EXPECT_EQ(std::tuple(back->acqPars.SW, back->offsetHz, back->xUnits),
                      std::tuple(now->acqPars.SW, now->offsetHz, now->xUnits))
                << what;
        }
        EXPECT_NEAR(now->acqPars.SW, doc->acqPars.SW, 1e-6);
        EXPECT_NEAR(now->offsetHz, doc->offsetHz, 1e-6);
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

TEST(JcampWriter, OrdinatesAreScaledToTheLargestRealValue) {
    RecordingUserInterface ui;
    auto doc = makeDocument(4, ui);
    const double values[8] = {-500.0, 3.0, 250.0, 1000.0, 0.49, -0.07, 100.0, 0.0};
    std::copy(values, values + 8, doc->specData.begin());
    const Parsed p(jcampNTuplesText(*doc, JcampExportText{}));
    // The largest real value is negative: it is written as 10000 and every sign turns.
    EXPECT_EQ(Words(p.tables[0][0].begin() + 1, p.tables[0][0].end()),
              (Words{"10000", "-5000", "-9", "-2000"}));
    EXPECT_EQ(Words(p.tables[1][0].begin() + 1, p.tables[1][0].end()), (Words{"-60", "-20000", "1", "0"}));
    EXPECT_EQ(doc->peakIndex, 2);  // the export leaves the phase pivot where the set-up put it

    // All-zero real parts: zeros, no division by zero. Before any load (SW 0) the axis stays finite.
    for (int i = 0; i < 8; ++i) doc->specData[i] = i % 2 ? 5.0 : 0.0;
    const std::string zero = jcampNTuplesText(*doc, JcampExportText{});
    const Parsed z(zero);
    EXPECT_EQ(Words(z.tables[1][0].begin() + 1, z.tables[1][0].end()), (Words{"0", "0", "0", "0"}));
    for (const std::string& text :
         {zero, jcampXYDataText(*std::make_unique<Document>(), JcampExportText{})}) {
        EXPECT_EQ(text.find("nan"), std::string::npos);
        EXPECT_EQ(text.find("inf"), std::string::npos);
    }
}

TEST(JcampWriter, TextsStayOnTheirLines) {
    RecordingUserInterface ui;
    const std::string out = jcampXYDataText(*makeDocument(4, ui),
                                            JcampExportText{.title = "two\nlines\r", .owner = "me\n##END="});
    EXPECT_NE(out.find("##TITLE= two lines \n"), std::string::npos);
    EXPECT_NE(out.find("##OWNER= me ##END=\n"), std::string::npos);
    EXPECT_EQ(out.rfind("##END=\n"), out.size() - 7);
    EXPECT_EQ(out.find("##JCAMP-DX= 5.00 $$Pelvaron 1.5\n"), out.find('\n') + 1);
}

TEST(JcampOptions, OkExportsWithTheDialogsChoices) {
    RecordingUserInterface ui;
    auto doc = makeDocument(16, ui);
    testing::TempDir dir;
    JcampOptionsDialog dlg;
    dlg.open(*doc);
    EXPECT_EQ(std::tuple(dlg.spectrum, dlg.fid, dlg.realOnly), std::tuple(1, 0, 0));
    EXPECT_EQ(Words({dlg.title, dlg.nucleus, dlg.owner}), (Words{"Untitled", "^1H", "Pelvaron 1.5"}));
    dlg.spectrum = 0;
    EXPECT_EQ(dlg.dataType(), "NMR SPECTRUM");  // neither radio checked
    dlg.fid = 1;
    EXPECT_EQ(dlg.dataType(), "NMR FID");

    // Export Only Real Part: the XYDATA file.
    dlg.realOnly = 1;
    dlg.nucleus = "^13C-extra";
    ui.files.push_back(dir.file("real.txt"));
    EXPECT_EQ(dlg.ok(*doc, ui), 1);
    EXPECT_EQ(ui.fileRequests.back().defaultExtension, "txt");
    EXPECT_TRUE(ui.fileRequests.back().save);
    EXPECT_EQ(doc->import.saveTextExt, 0);
    const Parsed real(testing::readFile(dir.file("real.txt")));
    EXPECT_EQ(real.values({"DATA CLASS", "DATA TYPE", ".OBSERVE NUCLEUS"}),
              (Words{" XYDATA", " NMR FID", " ^13C "}));
    EXPECT_EQ(std::tuple(doc->jcamp.jcampFid, doc->jcamp.jcampRealOnly), std::tuple(1, 1));

    // The next opening shows the stored check states and the proposed texts again.
    dlg.open(*doc);
    EXPECT_EQ(dlg.realOnly, 1);
    EXPECT_EQ(dlg.nucleus, "^1H");

    // Cancelled save dialog: nothing written, the dialog still closes with 1.
    dlg.realOnly = 0;
    EXPECT_EQ(dlg.ok(*doc, ui), 1);
    EXPECT_EQ(doc->import.saveTextExt, 0);
    EXPECT_TRUE(ui.messages.empty());

    // A file that cannot be created.
    ui.files.push_back(dir.file("no/such/dir/x.txt"));
    EXPECT_EQ(dlg.ok(*doc, ui), 1);
    expectOnlyMessage(ui, "Error opening file", "Error");
    EXPECT_EQ(doc->filePath, dir.file("no/such/dir/x.txt"));
    EXPECT_EQ(JcampOptionsDialog::cancel(), 0);
}

TEST(JcampOptions, CommandLineExportPicksTheDomain) {
    RecordingUserInterface ui;
    auto doc = makeDocument(4, ui);
    EXPECT_EQ(defaultJcampExportText(*doc).dataType, "NMR FID");
    doc->ftInverse = 1;  // a forward transform ran
    EXPECT_EQ(defaultJcampExportText(*doc).dataType, "NMR SPECTRUM");
    doc->ftInverse = 0;
    doc->fileTitle = "1r";
    EXPECT_EQ(defaultJcampExportText(*doc).dataType, "NMR SPECTRUM");

    testing::TempDir dir;
    ASSERT_TRUE(writeJcampNTuplesFile(*doc, dir.file("s.jdx"), JcampExportText{}));
    const JcampExportText back = defaultJcampExportText(*importFile(dir.file("s.jdx"), ui));
    EXPECT_EQ(back.dataType, "NMR SPECTRUM");
    EXPECT_EQ(back.title, "Untitled");
}

}  // namespace
}  // namespace pelvaron::io
