// The import dispatcher and the dialog-free loading: the open dialog, routing by file name, the
// Acqus retry, a failed import that keeps the document, and format detection.
#include "io/import.h"

#include <gtest/gtest.h>


#include "io_fixture.h"

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
    s.doc->specData[100] = 9.0;
    s.ui.files = {s.dir.file("ser"), s.dir.file("pdata/1/1r")};
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(std::tuple(s.doc->specData[0], s.doc->specData[100], s.doc->haveDocument),
              std::tuple(42.0, 0.0, 1))
        << "any other name is a raw FID, and the data array is cleared before reading";
    ASSERT_TRUE(importData(*s.doc, s.ui));
    EXPECT_EQ(
        std::tuple(s.doc->nData, s.doc->specData[1], s.ui.fileRequests.size(), s.ui.fileRequests[1].save),
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
    EXPECT_EQ(std::tuple(s.doc->specData[0], s.doc->filePath, s.ui.titles.back()),
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

    ASSERT_TRUE(s.loadBruker(s.dir.file("exp")));
    const AcqParams before = s.doc->acqPars;
    EXPECT_FALSE(s.loadBruker(s.dir.file("bad")));
    EXPECT_FALSE(loadFile(*s.doc, s.ui, s.dir.file("other.txt"), std::nullopt));
    EXPECT_EQ(s.ui.messages.back().text, "Cannot Open or\n Don't know what to do with it!!");
    EXPECT_EQ(std::tuple(s.doc->specData[0], s.doc->nData, s.doc->acqPars), std::tuple(21.0, 8, before));
}

}  // namespace
}  // namespace pelvaron::io
