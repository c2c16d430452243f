// The page commands set the factors of their page before the window draws it; the Printer
// Options store on OK only.
#include <gtest/gtest.h>

#include "app_fixture.h"

namespace pelvaron::testing {
namespace {

TEST(OutputCommandsTest, EachPageCommandSetsItsFactorsBeforeTheWindowDrawsThePage) {
    AppFixture f;
    f.view.mouse.tool = display::Tool::Zoom;
    // Command, then (copies, prints, pictures, views) and the page's base factor and axis scale.
    // The picture file is the printed page, after a metafile copy too.
    const std::tuple<int, std::tuple<int, int, int, int>, double, double> steps[] = {
        {app::kCmdCopyMetafile, {1, 0, 0, 0}, 0.8, 1.0},
        {app::kCmdPrint, {1, 1, 0, 0}, 1.6, 1.8},
        {app::kCmdCopyMetafile, {2, 1, 0, 0}, 0.8, 1.0},
        {app::kCmdExportPicture, {2, 1, 1, 0}, 1.6, 1.8},
        {app::kCmdCopyBitmap, {2, 1, 1, 1}, 1.6, 1.8}};
    for (const auto& [id, counts, base, axis] : steps) {
        ASSERT_TRUE(f.dispatcher.dispatch(id)) << id;
        EXPECT_EQ(
            std::tuple(f.host.pagesCopied, f.host.pagesPrinted, f.host.picturesExported, f.host.viewsCopied),
            counts)
            << id;
        EXPECT_EQ(std::pair(f.host.lastPageBaseFactor, f.host.lastPageAxisScale), std::pair(base, axis))
            << id;
        EXPECT_EQ(f.view.mouse.tool, display::Tool::None);
    }
    // Before a load none of them runs.
    AppFixture empty(false);
    for (int id : {app::kCmdPrint, app::kCmdCopyMetafile, app::kCmdCopyBitmap, app::kCmdExportPicture,
                   app::kCmdPrintOptions})
        EXPECT_FALSE(empty.dispatcher.dispatch(id)) << id;
}

TEST(OutputCommandsTest, PrinterOptionsStoreTheirBoxesOnOkOnly) {
    AppFixture f;
    for (const bool ok : {false, true}) {
        f.host.printerOptions.push([&f, ok](output::PrinterOptionsDialog& m) {
            EXPECT_EQ(std::tuple(m.colour(), m.parameters(), m.expansionBorders()),
                      std::tuple(false, true, false));
            m.setColour(true);
            m.setParameters(false);
            m.setExpansionBorders(true);
            if (ok) m.ok(f.view);
            return ok;
        });
        f.dispatcher.dispatch(app::kCmdPrintOptions);
        EXPECT_EQ(
            std::tuple(f.view.print.printColour, f.view.print.printParams, f.view.print.printExpBorders),
            ok ? std::tuple(1, 0, 1) : std::tuple(0, 1, 0));
    }
}

}  // namespace
}  // namespace pelvaron::testing
