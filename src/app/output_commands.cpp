// The commands of the printed page and the clipboard: Print, Copy Metafile, Copy Bitmap,
// Export Picture and the Printer Options. The page factors are set here, just before the page
// is drawn; the window does the printing and the clipboard.
#include "app/dispatcher.h"
#include "display/tools.h"
#include "output/page_setup.h"
#include "output/printer_options_dialog.h"

namespace pelvaron::app {

using platform::clearStatusBar;

namespace {

void endPageCommand(CommandContext& c) {
    clearStatusBar(c.ui);
    display::putToolDown(c.view);
}

}  // namespace

void CommandDispatcher::registerOutputCommands() {
    registerCommand(kCmdPrint, [](CommandContext& c) {
        output::setPrintFactors(c.view);
        c.dialogs.printPage();
        endPageCommand(c);
    });
    registerCommand(kCmdCopyMetafile, [](CommandContext& c) {
        output::setMetafileFactors(c.view);
        c.dialogs.copyPageToClipboard();
        endPageCommand(c);
    });
    registerCommand(kCmdCopyBitmap, [](CommandContext& c) { c.dialogs.copyViewToClipboard(); });
    // The picture file is the printed page: the printing factors.
    registerCommand(kCmdExportPicture, [](CommandContext& c) {
        output::setPrintFactors(c.view);
        c.dialogs.exportPicture();
        endPageCommand(c);
    });
    registerCommand(kCmdPrintOptions, [](CommandContext& c) {
        output::PrinterOptionsDialog model(c.view);
        c.dialogs.runPrinterOptionsDialog(model);
    });
}

}  // namespace pelvaron::app
