// Printing of the text reports (the peak list, the J list): pages of lines drawn one line height
// apart in a fixed-pitch font, after the print dialog.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "analysis/report_pages.h"

class QPrinter;
class QWidget;

namespace pelvaron::gui {

/// The pages of one copy of a report for `perPage` lines a page.
using PageSource = std::function<std::vector<analysis::PrintedPage>(int perPage)>;

/// Draws the pages of `pages` on `printer`, each line one line height (font height plus external
/// leading, device units) below the one before, the first at row `top` and column `left`; a new
/// page between pages and before each further copy the printer cannot make itself. False when
/// nothing could be printed (the printer or its output file could not be opened).
bool paintTextPages(QPrinter& printer, const PageSource& pages, int top, int left = 0);

/// Names the job; without any printer installed, presets a PDF file in the home folder, so that
/// the print dialog opens on "Print to File (PDF)" with a name that can be written.
void prepareForPrintDialog(QPrinter& printer, const QString& jobName);

/// The print dialog, then paintTextPages on the printer chosen, under the job name `jobName`.
/// Without any printer installed the dialog proposes a PDF file in the home folder. True when
/// the report was printed; false when the dialog was cancelled or printing failed.
bool printReport(QWidget* parent, const PageSource& pages, const QString& jobName, int top, int left = 0);

}  // namespace pelvaron::gui
