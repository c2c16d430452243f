// The JCAMP-DX export: the written layout, round trips through both data classes, scaling, and
// the "JCAMP Options" dialog.
#include "io/jcamp_writer.h"

#include <gtest/gtest.h>

#include <regex>

#include "io/file_dialogs.h"
#include "io/jcamp_import.h"
#include "io/jcamp_options_dialog.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

/// A document of n complex points set up as a load would leave it. The largest real value is
/// 10000, so that the export's scaling changes nothing.
std::unique_ptr<Document> makeDocument(int n) {
    testing::RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->spectrum.acqPars.TD = 2 * n;
    doc->spectrum.acqPars.SW = 5000;
    doc->spectrum.acqPars.SF = 400.13;
    doc->spectrum.acqPars.offsetHz = -812.25;
    for (int k = 0; k < n; ++k) {
        doc->spectrum.specData[2 * k] = (k * 37) % 2001 - 1000;
        doc->spectrum.specData[2 * k + 1] = (k * 53) % 3001 - 1500;
    }
    doc->spectrum.specData[2 * (n / 3)] = 10000.0;
    setupDocument(*doc);
    return doc;
}

TEST(JcampWriter, WritesTheLayoutOtherProgramsReadAndNothingToScaleStaysFinite) {
    // The largest real value is negative: it is written as 10000 and every sign turns.
    auto doc = makeDocument(5);
    const double values[10] = {-500.0, 3.0, 250.0, 1000.0, 0.49, -0.07, 100.0, 0.0, 7, 8};
    std::copy(values, values + 10, doc->spectrum.specData.begin());
    const std::string xy = jcampXYDataText(*doc, {.title = "two\nlines\r", .owner = "me\n##END="});
    EXPECT_EQ(xy.substr(0, 20), "##TITLE= two lines \n");  // texts stay on their lines
    EXPECT_NE(xy.find("\n##OWNER= me ##END=\n"), std::string::npos);
    // The layout of every label is in the real-data table's exports; here the signs and the axis.
    EXPECT_NE(
        xy.find(
            "##MINY=-5000\n##XUNITS= HZ\n##XYDATA= (X++(Y..Y))\n4.188 10000 -5000 -9 -2000\n0.188 -140\n"),
        std::string::npos);
    const std::string fid = jcampNTuplesText(*doc, {.dataType = "NMR FID"});
    EXPECT_NE(fid.find("##FIRST= 0.000000000000, 10000, -60, 1\n##LAST= 0.000800000000, -140, -160, 2\n"
                       "##FACTOR= 0.000200000000, 1, 1, 1\n"),
              std::string::npos);
    EXPECT_NE(fid.find("(X++(R..R)), XYDATA\n0 10000 -5000 -9 -2000\n4 -140\n"), std::string::npos);
    EXPECT_EQ(doc->spectrum.peakIndex, 2);  // the export leaves the phase pivot where the set-up put it

    // All-zero real parts: zeros, no division by zero. Before any load (SW 0) the axis stays finite.
    for (int i = 0; i < 8; ++i) doc->spectrum.specData[i] = i % 2 ? 5.0 : 0.0;
    doc->spectrum.nData = 8;
    const std::string zero = jcampNTuplesText(*doc, JcampExportText{});
    EXPECT_TRUE(std::regex_search(zero, std::regex(" 0 0 0 0\n\\$\\$[^]* 0 0 0 0\n##END="))) << zero;
    for (const std::string& text : {zero, jcampXYDataText(Document{}, JcampExportText{})})
        EXPECT_FALSE(std::regex_search(text, std::regex("nan|inf"))) << text;
}

TEST(JcampWriter, RoundTripsReturnTheDataInEitherDataClassAndColumnForm) {
    // Earlier exports separated the columns of FIRST, LAST and FACTOR by blanks; other programs
    // may put the axis in any column, the one SYMBOL names X.
    const std::regex columns("\n(##(?:SYMBOL|VAR_DIM|FIRST|LAST|FACTOR)=) ([^,\n]*), ([^,\n]*), ([^,\n]*), ");
    // The third: a FID whose imaginary parts the transform would conjugate (Varian, JEOL) goes out
    // conjugated, and comes back unmarked into a document whose former FID was marked.
    for (const auto& [type, conjugated] :
         {std::pair<std::string, bool>("NMR SPECTRUM", false), std::pair<std::string, bool>("NMR FID", false),
          std::pair<std::string, bool>("NMR FID", true)}) {
        auto doc = makeDocument(777);  // not a multiple of the four values a line
        doc->spectrum.negateImag = doc->spectrum.fileNegateImag = conjugated ? 1 : 0;
        doc->spectrum.acqPars.DECIM = 32;
        doc->spectrum.acqPars.DSPFVS = 10;
        doc->spectrum.groupDelay = 67.984;
        const std::string ntuples = jcampNTuplesText(*doc, {.dataType = type});
        ASSERT_EQ(std::distance(std::sregex_iterator(ntuples.begin(), ntuples.end(), columns), {}), 5);
        const std::string texts[] = {jcampXYDataText(*doc, {.dataType = type}), ntuples,
                                     std::regex_replace(ntuples, columns, "\n$1 $2 $3 $4  "),
                                     std::regex_replace(ntuples, columns, "\n$1 $3, $4, $2, ")};
        for (const std::string& text : texts) {
            const bool realOnly = &text == texts;
            SCOPED_TRACE(type + (conjugated ? " conjugated" : "") + " form " + std::to_string(&text - texts));
            Scratch back;
            back.former();
            ASSERT_TRUE(back.importJcamp(text));
            EXPECT_EQ(back.ui.messageTexts(), std::vector<std::string>{});
            ASSERT_EQ(back.doc->spectrum.nData, 2 * 777);
            const double imagSign = conjugated ? -1.0 : 1.0;
            for (int i = 0; i < 2 * 777; ++i)
                ASSERT_EQ(back.doc->spectrum.specData[i], i % 2 == 0 ? doc->spectrum.specData[i]
                                                          : realOnly ? 0.0
                                                                     : imagSign * doc->spectrum.specData[i])
                    << i;
            EXPECT_EQ(std::tuple(back.doc->spectrum.negateImag, back.doc->spectrum.fileNegateImag),
                      std::tuple(0, 0));
            EXPECT_NEAR(back.doc->spectrum.acqPars.SW, doc->spectrum.acqPars.SW, 1e-6);
            EXPECT_NEAR(back.doc->spectrum.offsetHz, doc->spectrum.offsetHz, 1e-6);
            EXPECT_DOUBLE_EQ(back.doc->spectrum.acqPars.SF, 400.13);
            EXPECT_EQ(std::tuple(back.doc->spectrum.acqPars.DECIM, back.doc->spectrum.acqPars.DSPFVS,
                                 back.doc->spectrum.groupDelay),
                      type == "NMR FID" ? std::tuple(32, 10, 67.984) : std::tuple(1, 0, 0.0));
        }
    }
}

TEST(JcampOptions, OkExportsWithTheDialogsChoicesTheCommandLineByTheDomain) {
    Scratch s;
    auto doc = makeDocument(16);
    JcampOptionsDialog dlg;
    dlg.open(*doc);
    dlg.spectrum = 0;
    dlg.fid = 1;
    dlg.realOnly = 1;  // Export Only Real Part: the XYDATA file
    dlg.nucleus = "^13C-extra";
    s.ui.files.push_back(s.dir.file("real.txt"));
    EXPECT_EQ(dlg.ok(*doc, s.ui), 1);
    EXPECT_EQ(s.ui.fileRequests.back().defaultExtension, "txt");
    const std::string real = testing::readFile(s.dir.file("real.txt"));
    EXPECT_NE(real.find("##DATA TYPE= NMR FID\n##DATA CLASS= XYDATA\n"), std::string::npos);
    EXPECT_NE(real.find("##.OBSERVE NUCLEUS= ^13C \n"), std::string::npos);

    // The next opening shows the stored check states and the proposed texts again.
    dlg.open(*doc);
    EXPECT_EQ(std::tuple(dlg.spectrum, dlg.fid, dlg.realOnly, dlg.nucleus), std::tuple(0, 1, 1, "^1H"));

    // Cancelled save dialog: nothing written, the dialog still closes with 1. Then a file that
    // cannot be created.
    EXPECT_EQ(dlg.ok(*doc, s.ui), 1);
    EXPECT_TRUE(s.ui.messages.empty());
    s.ui.files.push_back(s.dir.file("no/such/dir/x.txt"));
    EXPECT_EQ(dlg.ok(*doc, s.ui), 1);
    expectOnlyMessage(s.ui.messages, "Error opening file", "Error");
    EXPECT_EQ(doc->import.saveTextExt, 0);

    // The command line exports an FID unless a forward transform ran or the data are a spectrum.
    // (After a transform: the real-data table's exports.)
    EXPECT_EQ(defaultJcampExportText(*doc).dataType, "NMR FID");
    doc->fileTitle = "1r";
    EXPECT_EQ(defaultJcampExportText(*doc).dataType, "NMR SPECTRUM");
    Scratch back;
    ASSERT_TRUE(back.importJcamp(jcampNTuplesText(*doc, JcampExportText{})));
    EXPECT_EQ(defaultJcampExportText(*back.doc).dataType, "NMR SPECTRUM");
}

}  // namespace
}  // namespace pelvaron::io
