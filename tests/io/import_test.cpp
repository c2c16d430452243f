// The import dispatcher: routing by file name, the Acqus retry, messages on failure, and the
// dialog-free loading used by the command line.
#include "io/import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "bruker_writer.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFidSpec;

BrukerFidSpec smallFid(double first = 11.0) {
    BrukerFidSpec spec;
    spec.values = {first, 2, 3, 4, 5, 6, 7, 8};
    spec.procOffset = 8.0;
    return spec;
}

TEST(Import, AFidIsChosenReadAndSetUpAndACancelledDialogLoadsNothing) {
    Scratch s;
    s.doc->specData[0] = 5.0;
    EXPECT_FALSE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.doc->specData[0], 5.0);
    EXPECT_TRUE(s.ui.messages.empty());

    s.doc->specData[100] = 9.0;
    s.ui.files.push_back(testing::writeBrukerFid(s.dir.path().string(), smallFid()));
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.doc->specData[0], 11.0);
    EXPECT_EQ(s.doc->specData[100], 0.0) << "the data array is cleared before reading";
    EXPECT_EQ(s.doc->haveDocument, 1);
    ASSERT_EQ(s.ui.fileRequests.size(), 2u);
    EXPECT_FALSE(s.ui.fileRequests[1].save);
    EXPECT_GE(s.ui.repaints, 1);
}

TEST(Import, MissingAcqusAsksAndCancelOrAFailedRetryLoadsNothing) {
    struct Case {
        platform::Answer answer;
        std::optional<std::string> acqus;  // the file the second dialog returns
        std::vector<std::string> messages;
    };
    const std::string ask = "I cannot find the Acqus file.\n Would you select it for me?";
    const Case cases[] = {{platform::Answer::Cancel, std::nullopt, {ask}},
                          {platform::Answer::Ok, std::nullopt, {ask}},
                          {platform::Answer::Ok, "no-such-acqus", {ask, "Cannot Open Acqus"}}};
    for (const Case& c : cases) {
        Scratch s;
        testing::writeFile(s.dir.file("fid"), std::string(32, '\0'));
        s.ui.files = {s.dir.file("fid"), c.acqus ? std::optional(s.dir.file(*c.acqus)) : std::nullopt};
        s.ui.answers.push_back(c.answer);
        EXPECT_FALSE(importData(*s.doc, s.ui));
        EXPECT_EQ(s.ui.messageTexts(), c.messages);
        EXPECT_EQ(s.ui.messages[0].caption, "Error");
        EXPECT_EQ(s.ui.messages[0].buttons, platform::Buttons::OkCancel);
        EXPECT_EQ(s.ui.messages.back().caption, "Error");
        EXPECT_EQ(s.doc->haveDocument, 0);
    }
}

TEST(Import, ChosenAcqusElsewhereLoadsTheFidFirstPicked) {
    Scratch s;
    // The parameters live in another folder; the data file sits alone.
    testing::writeBrukerFid(s.dir.file("params"), smallFid(77.0));
    testing::writeFile(s.dir.file("data/fid"),
                       testing::encodeBrukerValues({-5, 6, 7, 8, 9, 10, 11, 12}, false, false));
    s.ui.files = {s.dir.file("data/fid"), s.dir.file("params/acqus")};
    s.ui.answers.push_back(platform::Answer::Ok);
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.doc->specData[0], -5.0) << "the fid first picked, not the one beside the acqus";
    EXPECT_EQ(s.doc->filePath, s.dir.file("data/fid"));
    EXPECT_EQ(s.doc->fileTitle, "fid");
    EXPECT_EQ(s.ui.titles.back(), "Pelvaron 1.5.0 fid");
}

TEST(Import, FileNamesRouteRawAndProcessedData) {
    Scratch s;
    BrukerFidSpec spec = smallFid(42.0);
    spec.fidName = "ser";
    testing::writeBrukerFid(s.dir.path().string(), spec);
    testing::BrukerProcessedSpec processed;
    processed.real = {1, 2, 3, 4};
    processed.imag = {5, 6, 7, 8};
    testing::writeBrukerProcessed(s.dir.file("pdata/1"), processed);

    s.ui.files = {s.dir.file("ser"), s.dir.file("pdata/1/1r")};
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.doc->specData[0], 42.0) << "any other name is a raw FID";
    EXPECT_EQ(s.doc->acqPars.DECIM, 1);
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.doc->nData, 8);
    EXPECT_EQ(s.doc->specData[1], 5.0) << "1r goes to the processed-data reader";
}

TEST(Import, EmptyFileTitleIsTreatedAsFid) {
    Scratch s;
    testing::writeBrukerFid(s.dir.path().string(), smallFid(3.0));
    s.doc->filePath = s.dir.file("fid");
    s.doc->fileTitle.clear();
    s.doc->import.importAskFile = 0;
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(s.doc->fileTitle, "fid");
    EXPECT_EQ(s.doc->import.importAskFile, 1) << "the next import asks for a file again";
}

TEST(Import, DamagedExperimentsEndInAMessageAndNoCrash) {
    struct Case {
        std::string acqus, fid;
        bool loads;  // an empty fid reads as zeros; the others have no usable size or width
    };
    const Case cases[] = {{"##$TD= 64\n##$SW_h= 100\n", "", true},
                          {std::string("\xde\xad\xbe\xef garbage ##$TD= -3"), "abcd", false},
                          {"", "abcdefgh", false}};
    for (const Case& c : cases) {
        Scratch s;
        testing::writeFile(s.dir.file("e/acqus"), c.acqus);
        testing::writeFile(s.dir.file("e/fid"), c.fid);
        EXPECT_EQ(s.loadBruker(s.dir.file("e")), c.loads) << c.acqus;
        ASSERT_FALSE(s.ui.messages.empty()) << c.acqus;
        if (!c.loads) {
            EXPECT_EQ(s.ui.messages.back().text, "Cannot Open Acqus");
        }
        EXPECT_LE(s.doc->nData, kCapacity);
        for (int i = 0; i < 64 && c.loads; ++i) EXPECT_EQ(s.doc->specData[i], 0.0) << i;
    }
    Scratch s;
    std::filesystem::create_directories(s.dir.file("empty"));
    EXPECT_FALSE(s.loadBruker(s.dir.file("empty"))) << "a directory without data";
    EXPECT_FALSE(s.ui.messages.empty());
    EXPECT_FALSE(loadFile(*s.doc, s.ui, s.dir.file("empty"), FileFormat::Native));
}

TEST(Import, AFailedImportLeavesTheDocumentAsItWas) {
    Scratch s;
    testing::writeBrukerFid(s.dir.file("good"), smallFid(21.0));
    testing::writeFile(s.dir.file("bad/acqus"), "##$TD= 0\n");
    testing::writeFile(s.dir.file("bad/fid"), "xxxx");
    ASSERT_TRUE(s.loadBruker(s.dir.file("good")));
    const AcqParams before = s.doc->acqPars;
    EXPECT_FALSE(s.loadBruker(s.dir.file("bad")));
    EXPECT_EQ(s.doc->specData[0], 21.0);
    EXPECT_EQ(s.doc->nData, 8);
    EXPECT_EQ(s.doc->acqPars, before);
}

TEST(Load, DetectsNativeAndBrukerAndResolvesDirectories) {
    Scratch s;
    testing::writeBrukerFid(s.dir.file("exp"), smallFid());
    testing::BrukerProcessedSpec processed;
    processed.real = {1, 2};
    processed.imag = {3, 4};
    testing::writeBrukerProcessed(s.dir.file("proc-only/pdata/1"), processed);
    testing::writeFile(s.dir.file("native.plv"), "PLV000");
    testing::writeFile(s.dir.file("other.txt"), "hello");

    EXPECT_EQ(resolveBrukerPath(s.dir.file("exp")), s.dir.file("exp/fid"));
    EXPECT_EQ(resolveBrukerPath(s.dir.file("proc-only")), s.dir.file("proc-only/pdata/1/1r"));
    const std::pair<const char*, std::optional<FileFormat>> cases[] = {
        {"exp", FileFormat::Bruker},       {"exp/fid", FileFormat::Bruker},
        {"proc-only", FileFormat::Bruker}, {"native.plv", FileFormat::Native},
        {"other.txt", std::nullopt},       {"not-there", std::nullopt}};
    for (const auto& [name, format] : cases) EXPECT_EQ(detectFormat(s.dir.file(name)), format) << name;

    EXPECT_FALSE(loadFile(*s.doc, s.ui, s.dir.file("other.txt"), std::nullopt));
    expectOnlyMessage(s.ui, "Cannot Open or\n Don't know what to do with it!!", "other.txt");
}

}  // namespace
}  // namespace pelvaron::io
