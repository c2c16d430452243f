// The page commands set the factors of their page before the window draws it; the Printer
// Options store on OK only.
#include <gtest/gtest.h>

#include "app_fixture.h"

namespace pelvaron::testing {
namespace {

TEST(OutputCommandsTest, EachPageCommandSetsItsFactorsBeforeTheWindowDrawsThePage) {
    AppFixture f;
    f.doc->toolMode = display::kZoomTool;
    ASSERT_TRUE(f.dispatcher.dispatch(app::kCmdCopyMetafile));
    EXPECT_EQ(f.host.pagesCopied, 1);
    EXPECT_DOUBLE_EQ(f.host.lastPageBaseFactor, 0.8);
    EXPECT_DOUBLE_EQ(f.host.lastPageAxisScale, 1.0);
    EXPECT_EQ(f.doc->toolMode, kNoTool);

    ASSERT_TRUE(f.dispatcher.dispatch(app::kCmdPrint));
    EXPECT_EQ(f.host.pagesPrinted, 1);
    EXPECT_DOUBLE_EQ(f.host.lastPageBaseFactor, 1.6);
    EXPECT_DOUBLE_EQ(f.host.lastPageAxisScale, 1.8);

    // The picture file is the printed page, after a metafile copy too.
    ASSERT_TRUE(f.dispatcher.dispatch(app::kCmdCopyMetafile));
    ASSERT_TRUE(f.dispatcher.dispatch(app::kCmdExportPicture));
    EXPECT_EQ(f.host.picturesExported, 1);
    EXPECT_DOUBLE_EQ(f.host.lastPageBaseFactor, 1.6);
    EXPECT_DOUBLE_EQ(f.host.lastPageAxisScale, 1.8);

    ASSERT_TRUE(f.dispatcher.dispatch(app::kCmdCopyBitmap));
    EXPECT_EQ(f.host.viewsCopied, 1);

    // Before a load none of them runs.
    AppFixture empty(false);
    for (int id : {app::kCmdPrint, app::kCmdCopyMetafile, app::kCmdCopyBitmap, app::kCmdExportPicture,
                   app::kCmdPrintOptions})
        EXPECT_FALSE(empty.dispatcher.dispatch(id)) << id;
}

TEST(OutputCommandsTest, PrinterOptionsStoreTheirBoxesOnOkOnly) {
    AppFixture f;
    f.host.printerOptions.push([](output::PrinterOptionsDialog& m) {
        EXPECT_FALSE(m.colour());
        EXPECT_TRUE(m.parameters());
        EXPECT_FALSE(m.expansionBorders());
        m.setColour(true);
        m.setParameters(false);
        m.setExpansionBorders(true);
        return false;  // Cancel
    });
    f.dispatcher.dispatch(app::kCmdPrintOptions);
    EXPECT_EQ(f.doc->print.printColour, 0);
    EXPECT_EQ(f.doc->print.printParams, 1);

    f.host.printerOptions.push([&f](output::PrinterOptionsDialog& m) {
        m.setColour(true);
        m.setParameters(false);
        m.setExpansionBorders(true);
        m.ok(*f.doc);
        return true;
    });
    f.dispatcher.dispatch(app::kCmdPrintOptions);
    EXPECT_EQ(f.doc->print.printColour, 1);
    EXPECT_EQ(f.doc->print.printParams, 0);
    EXPECT_EQ(f.doc->print.printExpBorders, 1);
}

}  // namespace
}  // namespace pelvaron::testing
