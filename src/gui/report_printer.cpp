// Printing of the text reports.
#include "gui/report_printer.h"

#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace pelvaron::gui {

bool paintTextPages(QPrinter& printer, const PageSource& pages, int top, int left) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The reports line up their columns with spaces: they print in the fixed-pitch font.
    painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.height() + metrics.leading();
    const int perPage = analysis::linesPerPage(printer.height(), lineHeight, top);
    const std::vector<analysis::PrintedPage> copy = pages(perPage);
    // A printer that makes the copies itself gets one; a PDF file gets every copy asked for.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    bool first = true;
    for (int c = 0; c < copies; ++c) {
        for (const analysis::PrintedPage& page : copy) {
            if (!first && !printer.newPage()) {
                painter.end();
                return false;
            }
            first = false;
            int y = top;
            for (const std::string& line : page) {
                // Rows name the top of a line; QPainter places text by its baseline.
                if (!line.empty()) painter.drawText(left, y + metrics.ascent(), QString::fromStdString(line));
                y += lineHeight;
            }
        }
    }
    return painter.end();
}

void prepareForPrintDialog(QPrinter& printer, const QString& jobName) {
    printer.setDocName(jobName);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Nothing to print on but a file: the dialog then opens on "Print to File (PDF)" with a
        // name that can be written.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::home().filePath(jobName + QStringLiteral(".pdf")));
    }
}

bool printReport(QWidget* parent, const PageSource& pages, const QString& jobName, int top, int left) {
    QPrinter printer(QPrinter::HighResolution);
    prepareForPrintDialog(printer, jobName);
    QPrintDialog dialog(&printer, parent);
    // The reports print whole: no page range and no selection to offer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return false;
    return paintTextPages(printer, pages, top, left);
}

}  // namespace pelvaron::gui
