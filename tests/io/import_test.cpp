// The import dispatcher and the dialog-free loading: the open dialog, routing by file name, the
// Acqus retry, a failed import that keeps the document, and format detection; and what every
// instrument reader makes of damaged files.
#include "io/import.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>

#include "aspect_writer.h"
#include "io/aspect.h"
#include "io/nicolet.h"
#include "io/nuts.h"
#include "io/varian.h"
#include "io/winnmr.h"
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

/// A reader of one format fed from memory with the given texts.
using Reader = std::function<bool(Document&, Messages&)>;
template <auto read, class... Texts>
Reader reader(Texts... texts) {
    return [=](Document& doc, Messages& said) { return read(doc, said, texts...); };
}

TEST(DamagedFiles, EachReaderRefusesThemAndOnlyTheRefusedKindsSaySo) {
    using namespace testing;
    const std::vector<double> v(64, 1.5), w(32, 7.0);
    const std::string aspect = aspectFile({.values = {0, 1, -1, 42}}),
                      refused = aspectFile({.values = {1, 2}, .magic = {0xC2, 0x04, 0x00}}),
                      nicolet = nicoletFile({.real = {1, 2, 3, 4}, .imag = {5, 6, 7, 8}}),
                      nuts = nutsFile({.values = v});
    std::string noTd = aspect;
    noTd[129] = noTd[130] = noTd[131] = 0;
    const WinNmrSpec four{.values = {1, 2, 3, 4}};
    const std::string data = winNmrData(four), dis = winNmrDis(four);
    const VarianFiles good = varianFid({.values = v});
    const std::string fid = good.at("fid"), procpar = good.at("procpar");
    std::string noSw = procpar;
    noSw.replace(noSw.find("\nsw "), 4, "\nsx ");
    const auto asp = [](const std::string& b) { return reader<readAspectFile>(b); };
    const auto nic = [](const std::string& b) { return reader<readNicoletFid>(b); };
    const auto win = [&](const std::optional<std::string>& d, std::optional<std::string> aqs = {}) {
        return reader<readWinNmrFid>(data, d, aqs);
    };
    const auto nut = [&](NutsFileSpec spec) {
        return reader<readNutsFile>(nutsFile((spec.values = v, spec)));
    };
    const auto var = [](const VarianFiles& f) { return reader<readVarianFid>(f.at("fid"), f.at("procpar")); };
    const auto gem = [](const VarianFiles& f) { return reader<readGeminiFid>(f.at("data"), f.at("ACQPAR")); };
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    // Aspect, Nicolet and WIN-NMR leave the document untouched; the others may change it partly.
    const struct {
        Reader read;
        bool keeps = false;
        const char* says = nullptr;  ///< the one message (caption "Error" where the document is kept)
    } cases[] = {
        {asp(refused), true, "We have never found a file like this\nPlease contact the authors"},
        {asp(aspect.substr(0, 767)), true},                // the header cut
        {asp(aspect.substr(0, aspect.size() - 1)), true},  // one value short of TD
        {asp(noTd), true},
        {asp(aspectFile({.values = {1}, .sw = 0.0})), true},
        {asp(std::string(800, 'x')), true},
        {nic(""), true, "Not a Nicolet header"},
        {nic('\0' + nicolet.substr(1)), true, "Not a Nicolet header"},
        {nic(nicolet.substr(0, 1279)), true},
        {nic(nicolet.substr(0, nicolet.size() - 1)), true},  // the last word cut
        {nic(nicoletFile({.real = {1}, .imag = {2}, .sw = 0.0})), true},
        {nic(nicoletFile({.real = {1}, .imag = {2}, .aqMicroseconds = -100.0})), true},
        {nic(nicoletFile({.real = {1}, .imag = {2}, .sw = 1e30, .aqMicroseconds = 1e6})), true},
        {win({}), true},
        {reader<readWinNmrFid>(data.substr(0, 15), dis, std::nullopt), true},  // a byte short of TD floats
        {win(winNmrDis({.values = {1, 2, 3, 4}, .td = 0})), true},
        {win(winNmrDis({.values = {1, 2, 3, 4}, .sw = 0.0})), true},
        {win("##$SPWIDTH= 5000\n"), true},  // no size
        {win("", winNmrAqs(four)), true},   // an empty DIS outranks aqs
        {reader<readNutsFile>(nuts.substr(0, nuts.size() - 1))},
        {reader<readNutsFile>(nuts.substr(0, 1035))},  // the header a byte short
        {reader<readNutsFile>(nuts.substr(0, 3))},
        {nut({.reversedMark = true})},  // 04 03 02 01
        {nut({.td = -64})},
        {nut({.td = std::numeric_limits<std::int32_t>::max()}), false, kCapacityWarningText},  // cut first
        {nut({.sw = nan})},
        {nut({.sf = inf})},
        {reader<readVarianFid>(fid.substr(0, fid.size() - 1), procpar)},  // the block cut by a byte
        {reader<readVarianFid>(fid, noSw)},
        {reader<readVarianFid>(fid, procpar + "rfl 1 1 1 1 0 2 1 11 1 64\n1 nan\n0\n")},
        {reader<readVarianFid>(fid, std::string("np 1 1\n"))},  // the value missing at the end
        {var(varianFid({.values = v, .np = -64}))},
        {var(varianFid({.values = v, .sw = 0.0}))},
        {gem(geminiFid({.values = w, .acqparSize = 797}))},                      // SFRQ's value cut
        {gem(geminiFid({.values = w, .sfrqNamed = false, .acqparSize = 813}))},  // the entry after it cut
        {gem(geminiFid({.values = {}, .points = 16}))},
        {gem(geminiFid({.values = w, .points = -8.0}))},
        {gem(geminiFid({.values = w, .points = nan}))},
        {gem(geminiFid({.values = w, .sw = 0.0}))},
        {gem(geminiFid({.values = w, .sw = inf}))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Scratch s;
        s.doc->spectrum.acqPars.SW = 777.0;
        s.doc->spectrum.nData = 6;
        EXPECT_FALSE(c.read(*s.doc, s.said));
        EXPECT_EQ(messageTexts(s.said), std::vector<std::string>(c.says ? 1 : 0, c.says ? c.says : ""));
        EXPECT_TRUE(!c.keeps || s.said.empty() || s.said[0].caption == "Error");
        if (c.keeps) {
            EXPECT_EQ(
                std::tuple(s.doc->spectrum.acqPars.SW, s.doc->spectrum.nData, s.doc->spectrum.specData[0]),
                std::tuple(777.0, 6, 0.0));
        }
    }
    // The refused kind of Aspect file is still taken for one; a reversed Nuts mark is no Nuts file;
    // SFRQ's value in the last bytes of ACQPAR is enough.
    EXPECT_TRUE(looksLikeAspect(refused));
    EXPECT_FALSE(looksLikeNuts(nutsFile({.values = v, .reversedMark = true})));
    Scratch s;
    EXPECT_TRUE(gem(geminiFid({.values = w, .acqparSize = 798}))(*s.doc, s.said));
}

}  // namespace
}  // namespace pelvaron::io
