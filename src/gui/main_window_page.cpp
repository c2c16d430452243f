// The main window's printing, clipboard copies and picture export: the page drawn by
// output::renderPage through the page writer, onto a printer, the clipboard or a file; and texts
// copied to the clipboard.
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "gui/dialogs/printer_options_dialog.h"
#include "gui/main_window.h"
#include "gui/page_writer.h"
#include "gui/plot_view.h"
#include "gui/report_printer.h"

namespace pelvaron::gui {

namespace {

/// The clipboard's bitmap beside its vector pictures: enough for a document, small enough to copy.
constexpr int kClipboardBitmapDpi = 150;

}  // namespace

static ScreenDpi screenDpiOf(const QWidget* widget) {
    return {static_cast<double>(widget->logicalDpiX()), static_cast<double>(widget->logicalDpiY())};
}

bool MainWindow::printPage() {
    QPrinter printer(QPrinter::HighResolution);
    prepareForPrintDialog(printer, QStringLiteral("Pelvaron"));
    printer.setPageSize(
        QPageSize(pageSetup_.paper == output::Paper::Letter ? QPageSize::Letter : QPageSize::A4));
    printer.setPageOrientation(pageSetup_.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, this);
    // One page, no page range and no selection to choose.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return false;

    // The next pictures take the paper and orientation chosen here.
    pageSetup_.paper =
        printer.pageLayout().pageSize().id() == QPageSize::Letter ? output::Paper::Letter : output::Paper::A4;
    pageSetup_.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    // The page's margins are the drawing's own (1.5 % of each side).
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui_->message("error", "", platform::Icon::Stop, platform::Buttons::Ok);
        return false;
    }
    paintPage(painter, doc_, view(), printer.width(), printer.height(), printer.logicalDpiX(),
              printer.logicalDpiY(), screenDpiOf(this), PageArea::Printed);
    painter.end();
    return true;
}

bool MainWindow::copyPageToClipboard() {
    const ScreenDpi screen = screenDpiOf(this);
    const QByteArray svg = pageSvg(doc_, view(), pageSetup_, screen, PageArea::Whole);
    const QByteArray pdf = pagePdf(doc_, view(), pageSetup_, screen, PageArea::Whole);
    output::PageSetup bitmapSetup = pageSetup_;
    bitmapSetup.dpi = kClipboardBitmapDpi;
    const QImage bitmap = pageImage(doc_, view(), bitmapSetup, screen, PageArea::Whole);
    if (svg.isEmpty() || pdf.isEmpty() || bitmap.isNull()) {
        ui_->message("ERROR PRINTING", "ERROR", platform::Icon::Stop, platform::Buttons::Ok);
        return false;
    }
    // Office programs paste the vector pictures and stay sharp; others take the bitmap.
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), svg);
    mime->setData(QStringLiteral("application/pdf"), pdf);
    mime->setImageData(bitmap);
    QGuiApplication::clipboard()->setMimeData(mime);
    return true;
}

bool MainWindow::copyViewToClipboard() {
    const QImage image = plot_->plotImage();
    if (image.isNull()) {
        ui_->message(
            "Runtime Error",
            "An error ocurred while attempting to create a compatible bitmap in the Clipboard. No data "
            "was copied  to de clipboard",
            platform::Icon::Stop, platform::Buttons::Ok);
        return false;
    }
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

bool MainWindow::copyText(const std::string& text, const std::string& html) {
    // Word processors paste the rich text (italics, superscripts); editors take the plain one.
    auto* mime = new QMimeData;
    mime->setText(QString::fromStdString(text));
    if (!html.empty()) mime->setHtml(QString::fromStdString(html));
    QGuiApplication::clipboard()->setMimeData(mime);
    return true;
}

bool MainWindow::exportPicture() {
    QFileDialog dialog(this, QStringLiteral("Export Picture"));
    dialog.setObjectName(QStringLiteral("exportPictureDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Pictures (*.pdf *.svg *.png)"), QStringLiteral("PDF (*.pdf)"),
                           QStringLiteral("SVG (*.svg)"), QStringLiteral("PNG, 300 dpi (*.png)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const std::string path = dialog.selectedFiles().first().toStdString();
    std::string error;
    if (!writePageFile(doc_, view(), path, pageSetup_, screenDpiOf(this), error)) {
        ui_->message(error, "Export Picture", platform::Icon::Exclamation, platform::Buttons::Ok);
        return false;
    }
    return true;
}

bool MainWindow::runPrinterOptionsDialog(output::PrinterOptionsDialog& model) {
    PrinterOptionsDialogWidget dialog(model, view(), this);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelvaron::gui
