// The native file: exact layout, bit-for-bit round trip, the hand-over of foreign files to
// Import, what the reader makes of damaged bytes, and safe saving.
#include "io/native_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "base/byte_order.h"
#include "cli/steps.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

std::unique_ptr<Document> documentWith(int n) {
    auto doc = std::make_unique<Document>();
    doc->spectrum.nData = n;
    doc->spectrum.acqPars = {
        .aqMode = 3, .complexData = 1, .SW = 5000.0, .SF = 400.13, .TD = n, .AQ = n / 1e4};
    doc->spectrum.acqPars.offsetHz = -123.5;
    doc->spectrum.acqPars.DECIM = 16;
    doc->spectrum.acqPars.DSPFVS = 12;
    doc->spectrum.acqPars.reserved24 = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < n; ++i) doc->spectrum.specData[i] = std::sin(0.37 * i) * 1e6 + 1.0 / (i + 3);
    return doc;
}

TEST(NativeFile, SavedFilePadsSmallSetsWithZeroCharactersAndReopensBitForBitAlsoFromALongPath) {
    Scratch s;
    std::string deep = s.dir.path().string();
    for (int i = 0; i < 8; ++i) deep += "/a-rather-long-directory-name-to-pass-128-characters";
    std::filesystem::create_directories(deep);
    auto saved = documentWith(64);
    s.ui.files = {deep + "/round.PLV", deep + "/round.PLV"};
    ASSERT_TRUE(saveNativeFile(*saved, s.ui));
    EXPECT_EQ(std::tuple(s.ui.fileRequests[0].save, s.ui.fileRequests[0].defaultExtension),
              std::tuple(true, "PLV"));
    const std::string bytes = testing::readFile(deep + "/round.PLV");
    ASSERT_EQ(bytes.size(), 2048u);
    EXPECT_EQ(bytes.substr(0, 256), "PLV" + std::string(253, '0'));
    EXPECT_EQ(bytes.substr(328, 696), std::string(696, '0'));
    EXPECT_EQ(bytes.substr(1536), std::string(512, '0'));
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    EXPECT_EQ(std::pair(bytes::loadLE32(raw + 256 + 32), bytes::loadLEDouble(raw + 1024 + 8 * 5)),
              std::pair(64u, saved->spectrum.specData[5]));
    EXPECT_EQ(nativeFileBytes(*documentWith(kCapacity)).size(), 1024u + 8u * kCapacity);

    ASSERT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Loaded);
    AcqParams expected = saved->spectrum.acqPars;
    expected.AQ = 64 / (2.0 * 5000.0);  // set-up recomputes AQ
    EXPECT_EQ(s.doc->spectrum.acqPars, expected);
    EXPECT_EQ(
        std::memcmp(s.doc->spectrum.specData.data(), saved->spectrum.specData.data(), 64 * sizeof(double)),
        0);
    EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.doc->fileTitle, s.doc->spectrum.negateImag,
                         s.doc->spectrum.fileNegateImag, s.ui.titles.back()),
              std::tuple(64, "round.PLV", 0, 0, "Pelvaron 1.5.0 round.PLV"));  // as saved
    EXPECT_TRUE(s.ui.messages.empty());
}

TEST(NativeFile, ASpectrumReopensAsASpectrumAndAFidKeepsItsFilterDelay) {
    // Coffee: its filter's delay (GRPDLY 76) is known from acqus only. Saved as a FID and as its
    // spectrum, each reopens as it was, and the next transform gives what it gave before.
    Scratch s;
    const std::string path = s.dir.file("coffee.plv");
    for (const char* steps : {"", "ft,autophase"}) {
        SCOPED_TRACE(steps);
        ASSERT_TRUE(s.loadBruker(testing::sourcePath("tests/data/coffee-1h-baseopt")));
        std::string error;
        ASSERT_TRUE(cli::runSteps(*s.doc, s.ui, steps, error)) << error;
        ASSERT_TRUE(writeNativeFile(*s.doc, path));
        auto reopened = std::make_unique<Document>();
        ASSERT_TRUE(readNativeData(*reopened, s.said, testing::readFile(path)));
        const auto state = [](const Document& d) {
            return std::tuple(d.spectrum.xUnits, d.spectrum.ftInverse, d.spectrum.groupDelay,
                              d.spectrum.referenceSource, d.spectrum.offsetHz, d.spectrum.negateImag);
        };
        EXPECT_EQ(state(*reopened), state(*s.doc));
        for (Document* d : {s.doc.get(), reopened.get()})
            ASSERT_TRUE(cli::runSteps(*d, s.ui, "ft", error)) << error;
        ASSERT_EQ(reopened->spectrum.nData, s.doc->spectrum.nData);
        for (int i = 0; i < s.doc->spectrum.nData; i += 97)
            ASSERT_NEAR(reopened->spectrum.specData[i], s.doc->spectrum.specData[i],
                        1e-9 * std::fabs(s.doc->spectrum.peakValue))
                << i;
    }
    // A file written before the record (its bytes 4..7 and 56..63 zero) opens as it always did.
    std::string before = testing::readFile(path);
    before.replace(kNativeBlockOffset + 4, 4, 4, '\0');
    before.replace(kNativeBlockOffset + 56, 8, 8, '\0');
    auto old = std::make_unique<Document>();
    ASSERT_TRUE(readNativeData(*old, s.said, before));
    EXPECT_EQ(std::tuple(old->spectrum.xUnits, old->spectrum.ftInverse, old->spectrum.groupDelay,
                         old->spectrum.referenceSource, old->spectrum.negateImag),
              std::tuple(kSeconds, 0, 0.0, ReferenceSource::NativeFile, 1));
}

TEST(NativeFile, DamagedBytesAreRefusedOrReadAsZerosBeyondTheirEnd) {
    const std::size_t all = std::string::npos;
    const struct {
        int td;
        std::size_t keep;  // bytes of the file kept
        double offsetHz;
        bool loads;
        int refIndex;  // checked when loaded and not 0
    } cases[] = {
        {-8, all, 0.0, false, 0},
        {kCapacity + 2, all, 0.0, false, 0},
        {256, 1024 + 8 * 100, 0.0, true, 0},
        {256, 3, 0.0, true, 0},
        {256, 0, 0.0, false, 0},         // only the magic; no magic
        {kCapacity, all, 0.0, true, 0},  // as much as the document holds
        {256, all, 1e300, true, INT_MAX},
        {256, all, -1e300, true, INT_MIN},  // refIndex saturates
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.td << " " << c.keep << " " << c.offsetHz);
        auto source = documentWith(256);
        source->spectrum.acqPars.TD = c.td;
        source->spectrum.acqPars.offsetHz = c.offsetHz;
        Messages said;
        auto doc = documentWith(64);
        doc->spectrum.specData[200] = 17.0;
        doc->spectrum.noteSpecExtent(256);
        EXPECT_EQ(readNativeData(*doc, said, nativeFileBytes(*source).substr(0, c.keep)), c.loads);
        if (!c.loads) {
            EXPECT_EQ(std::tuple(doc->spectrum.specData[200], doc->spectrum.nData, said.size()),
                      std::tuple(17.0, 64, c.keep ? 1u : 0u));
            EXPECT_TRUE(said.empty() || said[0].caption == "Error ");
            continue;
        }
        const bool header = c.keep >= 1024;
        EXPECT_EQ(std::tuple(doc->spectrum.nData, doc->spectrum.specData[99], doc->spectrum.specData[200],
                             said.size()),
                  std::tuple(header ? c.td : 0, header ? source->spectrum.specData[99] : 0.0,
                             c.keep == all ? source->spectrum.specData[200] : 0.0, 0u));
        EXPECT_EQ(c.refIndex != 0 ? doc->spectrum.refIndex : 0, c.refIndex);
    }
}

// The hand-over of a foreign file to Import is followed through Open in the file commands test.
TEST(NativeFile, UnreadableFilesAndAFailedSaveChangeNothing) {
    Scratch s;
    s.ui.files = {s.dir.file("missing.plv"), s.dir.path().string()};
    EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Cancelled);
    EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Cancelled);
    EXPECT_EQ(s.ui.messageTexts(), (std::vector<std::string>(2, "Cannot open the file")));
    EXPECT_EQ(std::tuple(s.ui.messages[0].caption, s.doc->haveDocument), std::tuple("Error ", 0));

    // The target is a directory that cannot be replaced by a file: nothing may be lost.
    const std::string target = s.dir.file("keep");
    testing::writeFile(target + "/inside", "precious");
    s.ui.messages.clear();
    s.ui.files = {target};
    EXPECT_FALSE(saveNativeFile(*documentWith(64), s.ui));
    expectOnlyMessage(s.ui.messages, "Cannot Save File", "File Error");
    EXPECT_EQ(s.ui.messages[0].icon, platform::Icon::Stop);
    EXPECT_EQ(testing::readFile(target + "/inside"), "precious");
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
}

}  // namespace
}  // namespace pelvaron::io
