// The import dispatcher and the dialog-free loading: the open dialog, routing by file name, the
// Acqus retry, a failed import that keeps the document, and format detection.
#include "io/import.h"

#include <gtest/gtest.h>

#include <bit>

#include "aspect_writer.h"
#include "io_fixture.h"
#include "nicolet_writer.h"
#include "nuts_writer.h"
#include "varian_writer.h"
#include "winnmr_writer.h"

namespace pelvaron::io {
namespace {

testing::BrukerFidSpec smallFid(double first) {
    return {.values = {first, 2, 3, 4, 5, 6, 7, 8}, .procOffset = 8.0};
}

TEST(Import, TheChosenFileIsRoutedByItsName) {
    Scratch s;
    testing::BrukerFiles files = testing::brukerFid(smallFid(42.0));
    files["ser"] = files["fid"];
    files.erase("fid");
    testing::writeBrukerFiles(s.dir.path().string(), files);
    testing::writeBrukerProcessed(s.dir.file("pdata/1"), {.real = {1, 2, 3, 4}, .imag = {5, 6, 7, 8}});
    s.doc->spectrum.specData[100] = 9.0;
    s.ui.files = {s.dir.file("ser"), s.dir.file("pdata/1/1r")};
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(std::tuple(s.doc->spectrum.specData[0], s.doc->spectrum.specData[100], s.doc->haveDocument),
              std::tuple(42.0, 0.0, 1))
        << "any other name is a raw FID, and the data array is cleared before reading";
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.doc->spectrum.specData[1], s.ui.fileRequests.size(),
                         s.ui.fileRequests[1].save),
              std::tuple(8, 5.0, 2u, false))
        << "1r is a processed set";
}

TEST(Import, AMissingAcqusIsAskedForAndCancelOrAFailedRetryLoadsNothing) {
    const std::string ask = "I cannot find the Acqus file.\n Would you select it for me?";
    const struct {
        platform::Answer answer;
        std::optional<std::string> acqus;  // what the second dialog returns
        std::vector<std::string> messages;
    } cases[] = {{platform::Answer::Cancel, {}, {ask}},
                 {platform::Answer::Ok, {}, {ask}},
                 {platform::Answer::Ok, "no-such-acqus", {ask, "Cannot Open Acqus"}}};
    for (const auto& c : cases) {
        Scratch s;
        testing::writeFile(s.dir.file("fid"), std::string(32, '\0'));
        s.ui.files = {s.dir.file("fid"), c.acqus ? std::optional(s.dir.file(*c.acqus)) : std::nullopt};
        s.ui.answers.push_back(c.answer);
        EXPECT_FALSE(importData(*s.doc, s.ui));
        EXPECT_EQ(s.ui.messageTexts(), c.messages);
        EXPECT_EQ(std::tuple(s.ui.messages[0].caption, s.ui.messages[0].buttons, s.doc->haveDocument),
                  std::tuple("Error", platform::Buttons::OkCancel, 0));
    }

    // An acqus chosen elsewhere describes the fid first picked, not the one beside it.
    Scratch s;
    testing::writeBrukerFid(s.dir.file("params"), smallFid(77.0));
    testing::writeFile(s.dir.file("data/fid"), testing::encodeBrukerValues({-5, 6, 7, 8}, false, false));
    s.ui.files = {s.dir.file("data/fid"), s.dir.file("params/acqus")};
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(std::tuple(s.doc->spectrum.specData[0], s.doc->filePath, s.ui.titles.back()),
              std::tuple(-5.0, s.dir.file("data/fid"), "Pelvaron 1.5.0 fid"));
}

TEST(Load, DetectsTheFormatAndAFailedLoadLeavesTheDocumentAsItWas) {
    Scratch s;
    testing::writeBrukerFid(s.dir.file("exp"), smallFid(21.0));
    testing::writeBrukerProcessed(s.dir.file("proc-only/pdata/1"), {.real = {1, 2}, .imag = {3, 4}});
    testing::writeBrukerFiles(s.dir.file("bad"), {{"acqus", "##$TD= 0\n"}, {"fid", "xxxx"}});
    testing::writeFile(s.dir.file("native.plv"), "PLV000");
    testing::writeFile(s.dir.file("other.txt"), "hello");
    EXPECT_EQ(resolveBrukerPath(s.dir.file("exp")), s.dir.file("exp/fid"));
    EXPECT_EQ(resolveBrukerPath(s.dir.file("proc-only")), s.dir.file("proc-only/pdata/1/1r"));
    const std::pair<const char*, std::optional<FileFormat>> cases[] = {
        {"exp", FileFormat::Bruker},       {"exp/fid", FileFormat::Bruker},
        {"proc-only", FileFormat::Bruker}, {"native.plv", FileFormat::Native},
        {"other.txt", std::nullopt},       {"not-there", std::nullopt}};
    for (const auto& [name, format] : cases) EXPECT_EQ(detectFormat(s.dir.file(name)), format) << name;

    // Both buffers, bit for bit, come back after failed loads; a smaller set loaded next holds
    // nothing of the larger one beyond its own size.
    const auto buffers = [&s] {
        const Spectrum& d = s.doc->spectrum;
        return std::pair(std::vector<double>(d.specData.begin(), d.specData.begin() + 64),
                         std::vector<double>(d.phaseSource.begin(), d.phaseSource.begin() + 64));
    };
    ASSERT_TRUE(s.loadBruker(s.dir.file("exp")));
    Spectrum& loaded = s.doc->spectrum;
    loaded.phaseSource.copyFrom(loaded.specData, loaded.nData);  // as a phase correction keeps it
    const AcqParams before = s.doc->spectrum.acqPars;
    const auto data = buffers();
    for (int failed = 0; failed < 2; ++failed) {
        EXPECT_FALSE(s.loadBruker(s.dir.file("bad")));
        EXPECT_FALSE(loadFile(*s.doc, s.ui, s.dir.file("other.txt"), std::nullopt));
        EXPECT_EQ(s.ui.messages.back().text, "Cannot Open or\n Don't know what to do with it!!");
        EXPECT_EQ(std::tuple(s.doc->spectrum.specData[0], s.doc->spectrum.nData, s.doc->spectrum.acqPars),
                  std::tuple(21.0, 8, before));
        EXPECT_EQ(buffers(), data);
    }
    for (int load = 0; load < 2; ++load) {  // the second reads into the buffers the first set aside
        ASSERT_TRUE(s.loadBruker(s.dir.file("proc-only")));
        const auto [values, unphased] = buffers();
        EXPECT_EQ(std::vector(values.begin(), values.begin() + 4), (std::vector<double>{1, 3, 2, 4}));
        EXPECT_EQ(std::vector(values.begin() + 4, values.end()), std::vector<double>(60, 0.0));
        EXPECT_EQ(std::vector(unphased.begin() + 4, unphased.end()), std::vector<double>(60, 0.0));
    }
}

TEST(Load, EveryInstrumentFormatLoadsDetectedAndNamedWithItsValues) {
    Scratch s;
    const std::vector<int> v = {1000, -2000, 3000, -4000, 500, 600, 700, 800};
    const std::vector<double> d(v.begin(), v.end());
    const auto dir = [&](const char* name) { return s.dir.file(name); };
    testing::writeFile(dir("aspect.fid"),
                       testing::aspectFile({.values = {v.begin(), v.end()}, .reversed = true}));
    testing::writeFile(dir("nuts.dat"), testing::nutsFile({.values = d}));
    testing::writeFile(dir("nicolet.fid"), testing::nicoletFile({.real = {1000, 3000, 500, 700},
                                                                 .imag = {-2000, -4000, 600, 800}}));
    const std::string winNmr =
        testing::writeWinNmr(dir("winnmr"), "exp1.fid", {.values = {d.begin(), d.end()}}, true, false);
    const std::string gemini = testing::writeGeminiFid(dir("gemini"), {.values = d});
    (void)testing::writeVarianFid(dir("varian.fid"), {.values = d});
    const struct {
        std::string path;
        FileFormat format;
    } cases[] = {{dir("aspect.fid"), FileFormat::Aspect},
                 {dir("nuts.dat"), FileFormat::Nuts},
                 {dir("nicolet.fid"), FileFormat::Nicolet},
                 {winNmr, FileFormat::WinNmr},
                 {gemini, FileFormat::Gemini},
                 {dir("varian.fid"), FileFormat::Varian}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(detectFormat(c.path), c.format);
        for (const std::optional<FileFormat> named : {std::optional<FileFormat>{}, std::optional(c.format)}) {
            s.doc->spectrum.specData.fill(0.0);
            ASSERT_TRUE(loadFile(*s.doc, s.ui, c.path, named));
            EXPECT_EQ(
                std::vector<double>(s.doc->spectrum.specData.begin(), s.doc->spectrum.specData.begin() + 8),
                d);
            EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.doc->spectrum.acqPars.DECIM, s.doc->haveDocument),
                      std::tuple(8, 1, 1));
        }
    }
    EXPECT_TRUE(s.ui.messages.empty()) << s.ui.messageTexts().front();
    // A WIN-NMR FID whose first value begins with the Aspect word (47 84 F5): the companion decides.
    const std::string lookalike = testing::writeWinNmr(
        dir("winnmr2"), "exp1.fid", {.values = {std::bit_cast<float>(0x44F58447u), 1.0f}}, false, true);
    EXPECT_EQ(detectFormat(lookalike), FileFormat::WinNmr);

    // A file its format refuses keeps the document; the message is the import's for that format.
    const AcqParams before = s.doc->spectrum.acqPars;
    testing::writeFile(dir("short.fid"), "\x47\x84\xF5");
    for (const auto& [format, says] :
         {std::pair(FileFormat::Aspect, "Cannot Open or\n Don't know what to do with it!!"),
          std::pair(FileFormat::Nicolet, "Cannot Open this file")}) {
        EXPECT_FALSE(loadFile(*s.doc, s.ui, dir("short.fid"), format));
        EXPECT_EQ(s.ui.messages.back().text, says);
    }
    EXPECT_EQ(std::tuple(s.doc->spectrum.specData[0], s.doc->spectrum.acqPars), std::tuple(d[0], before));
}

TEST(Import, AMissingProcparIsAskedForAndTheFidFirstPickedIsRead) {
    Scratch s;
    const std::vector<double> d = {10, 20, 30, 40};
    (void)testing::writeVarianFid(s.dir.file("params"), {.values = {1, 2, 3, 4}});
    testing::writeFile(s.dir.file("data/fid"), testing::encodeVarianFid(d, true));
    selectImportFormat(*s.doc, FileFormat::Varian);
    s.ui.files = {s.dir.file("data/fid")};
    s.ui.answers.push_back(platform::Answer::Cancel);
    EXPECT_FALSE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.ui.messageTexts(),
              (std::vector<std::string>{"I cannot find the ProcPar file.\n Would you select it for me?",
                                        "Cannot Open or\n Don't know what to do with it!!"}));
    s.ui.files = {s.dir.file("data/fid"), s.dir.file("params/procpar")};
    s.ui.answers.push_back(platform::Answer::Ok);
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(std::tuple(s.doc->spectrum.specData[0], s.doc->spectrum.specData[3], s.doc->filePath),
              std::tuple(10.0, 40.0, s.dir.file("data/fid")));
}

}  // namespace
}  // namespace pelvaron::io
