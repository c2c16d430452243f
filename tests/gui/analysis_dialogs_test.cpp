// The dialog widgets of baseline correction, the data operations, the peak report, the integrals
// and Measure J, offscreen: each passes its controls to its model and shows what the model says;
// and the text reports print as pages. What the models compute is checked with them.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "../display/display_fixture.h"
#include "analysis/integral_dialogs.h"
#include "analysis/j_measure.h"
#include "analysis/peaks.h"
#include "gui/dialogs/baseline_dialog.h"
#include "gui/dialogs/hydrogens_dialog.h"
#include "gui/dialogs/integral_factor_dialog.h"
#include "gui/dialogs/measure_j_dialog.h"
#include "gui/dialogs/multi_point_baseline_dialog.h"
#include "gui/dialogs/peak_picking_dialog.h"
#include "gui/dialogs/reference_dialog.h"
#include "gui/dialogs/shift_data_dialog.h"
#include "gui/dialogs/signal_to_noise_dialog.h"
#include "gui/dialogs/suppress_peaks_dialog.h"
#include "gui/report_printer.h"
#include "modal_helper.h"

using pelvaron::Document;
using pelvaron::testing::makeDocument;
using pelvaron::testing::ModalAnswerer;
using pelvaron::testing::RecordingUserInterface;
using pelvaron::testing::typeInto;
namespace analysis = pelvaron::analysis;
namespace gui = pelvaron::gui;
namespace processing = pelvaron::processing;

namespace {

void click(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
    QVERIFY2(button != nullptr, name);
    button->click();
}

bool checked(QWidget* dialog, const char* name) {
    return dialog->findChild<QAbstractButton*>(QString::fromLatin1(name))->isChecked();
}

/// The list's lines, and whether they are the model's.
bool listShows(QWidget* dialog, const char* name, const std::vector<std::string>& lines) {
    auto* list = dialog->findChild<QListWidget*>(QString::fromLatin1(name));
    if (list == nullptr || list->count() != static_cast<int>(lines.size())) return false;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() != QString::fromStdString(lines[static_cast<std::size_t>(i)])) return false;
    return true;
}

/// Page objects of a PDF file (the page tree's "/Pages" is not one).
int pdfPageCount(const QByteArray& pdf) {
    int count = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        count += pdf.mid(at + 11, 1) != "s";
    return count;
}

}  // namespace

class AnalysisDialogsTest : public QObject {
    Q_OBJECT

private:
    RecordingUserInterface ui_;
    std::unique_ptr<Document> doc_;

private slots:
    void init() {
        ui_ = RecordingUserInterface{};
        doc_ = makeDocument(ui_);
    }

    void manualBaselinePreviewsAndEndsWithOkOrCancel() {
        const double before = doc_->spectrum.specData[0];
        for (const bool ok : {false, true}) {
            processing::BaselineDialog model(*doc_, ui_);
            gui::BaselineDialogWidget dialog(model, nullptr);
            QSignalSpy previews(&dialog, &gui::BaselineDialogWidget::previewChanged);
            auto* order0 = dialog.findChild<QScrollBar*>(QStringLiteral("order0"));
            QVERIFY(order0 != nullptr && dialog.findChild<QScrollBar*>(QStringLiteral("order4")) != nullptr);
            order0->triggerAction(QAbstractSlider::SliderPageStepAdd);
            order0->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(std::pair(model.position(0), order0->value()), std::pair(6, 6));
            QCOMPARE(previews.count(), 2);
            QCOMPARE(previews.last().at(0).value<QVector<QPoint>>().size(),
                     static_cast<qsizetype>(model.drawnPreview().size()));
            click(&dialog, ok ? "ok" : "cancel");
            QVERIFY(!dialog.isVisible() && previews.last().at(0).value<QVector<QPoint>>().isEmpty());
            QCOMPARE(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(doc_->spectrum.specData[0] > before, ok);
        }
    }

    void multiPointBaselineEndsOnceHoweverClosed() {
        for (const bool apply : {false, true}) {
            gui::MultiPointBaselineWidget dialog(*doc_, ui_, nullptr);
            QVERIFY(!dialog.isModal());
            QCOMPARE(doc_->tools.baselinePickMode, 1);
            dialog.show();
            QVERIFY(processing::MultiPointBaseline(*doc_, ui_).addPoint(0.5));
            QSignalSpy finished(&dialog, &QDialog::finished);
            // Apply zeroes the last point; Escape, then the window's own closing, leave the data.
            const double lastImaginary = doc_->spectrum.specData[doc_->spectrum.nData - 1];
            apply ? click(&dialog, "apply") : QTest::keyClick(&dialog, Qt::Key_Escape);
            const int repaints = ui_.repaints;
            dialog.reject();
            dialog.accept();
            QCOMPARE(std::tuple(finished.count(), ui_.repaints, doc_->tools.baselinePickMode),
                     std::tuple(1, repaints, 0));
            QCOMPARE(doc_->spectrum.specData[doc_->spectrum.nData - 1], apply ? 0.0 : lastImaginary);
            QCOMPARE(doc_->baseline.baselinePointCount, 0);
        }
    }

    void dataOperationDialogsPassTheirControls() {
        // Reference in Hz at the pick of the middle of the data.
        doc_->spectrum.xUnits = pelvaron::kHz;
        doc_->referenceMode = 1;
        doc_->tools.referencePickT = 0.5;
        doc_->tools.referencePickIndex = 1000;
        {
            processing::ReferenceDialog model(*doc_, ui_);
            gui::ReferenceDialogWidget dialog(model, nullptr);
            auto* current = dialog.findChild<QLineEdit*>(QStringLiteral("currentReference"));
            QVERIFY(current != nullptr && !current->isEnabled());
            QCOMPARE(current->text(), QString::fromStdString(model.currentText()));
            const double offset = doc_->spectrum.offsetHz;
            QVERIFY(typeInto(&dialog, "newReference", QString::number(current->text().toDouble() + 40.0)));
            click(&dialog, "ok");
            QCOMPARE(doc_->referenceMode, 0);
            QVERIFY(qAbs(doc_->spectrum.offsetHz - (offset + 40.0)) < 1e-3);
        }

        // Shift left by a typed count of 3 points; the direction is remembered.
        for (int i = 0; i < doc_->spectrum.nData; ++i) doc_->spectrum.specData[i] = i;
        doc_->dataOps.shiftLeft = 0;
        for (const bool ok : {true, false}) {
            processing::ShiftDataDialog model(*doc_, ui_);
            gui::ShiftDataDialogWidget dialog(model, nullptr);
            QCOMPARE(checked(&dialog, "leftShift"), !ok);
            click(&dialog, "leftShift");
            QVERIFY(typeInto(&dialog, "count", QStringLiteral("3")));
            click(&dialog, ok ? "ok" : "cancel");
            QCOMPARE(doc_->spectrum.specData[0], 6.0);
        }

        // Supress Peaks by zeros over the picked region.
        doc_->tools.suppressFrom = 8;
        doc_->tools.suppressTo = 16;
        doc_->dataOps.suppressByZeros = 0;
        {
            processing::SuppressPeaksDialog model(*doc_, ui_);
            gui::SuppressPeaksDialogWidget dialog(model, nullptr);
            QVERIFY(checked(&dialog, "byNoise"));
            click(&dialog, "byZeros");
            click(&dialog, "ok");
        }
        QCOMPARE(
            std::tuple(doc_->spectrum.specData[8], doc_->spectrum.specData[15], doc_->spectrum.specData[16]),
            std::tuple(0.0, 0.0, 22.0));

        gui::SignalToNoiseDialogWidget sn(QStringLiteral("123.4"), nullptr);
        auto* snEdit = sn.findChild<QLineEdit*>(QStringLiteral("sn"));
        QVERIFY(snEdit != nullptr && snEdit->isReadOnly() && snEdit->text() == QStringLiteral("123.4"));
    }

    void integralDialogsStoreWhatIsTyped() {
        auto& in = doc_->integrals;
        in.integralValue[0] = 2.0;
        in.integralValue[1] = 4.0;
        in.prevRefIntegral = 0;
        in.refIntegral = 1;
        in.refIntegralValue = 1.0;
        for (const bool ok : {true, false}) {
            analysis::HydrogensDialog model(*doc_);
            gui::HydrogensDialogWidget dialog(model, *doc_, ui_, nullptr);
            QVERIFY(typeInto(&dialog, "hydrogens", QStringLiteral("3")));
            click(&dialog, ok ? "ok" : "cancel");
            QCOMPARE(in.refIntegralValue, ok ? 3.0 : in.refIntegralValueShown);
        }

        analysis::IntegralFactorDialog model(*doc_);
        gui::IntegralFactorDialogWidget dialog(model, *doc_, nullptr);
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("factor"))->text(), QStringLiteral("1.330000"));
        QVERIFY(typeInto(&dialog, "factor", QStringLiteral("2.5")));
        click(&dialog, "ok");
        QCOMPARE(in.integralScaleStep, 2.5);
    }

    void peakReportReturnsTheModelsCodes() {
        QVERIFY(analysis::pickPeaksInRegion(*doc_, ui_, 150, 250, 10.0));
        doc_->peaks.peakInterpolate = 1;
        {
            analysis::PeakPickingDialog model(*doc_, ui_);
            gui::PeakPickingDialogWidget dialog(model, nullptr);
            QVERIFY(listShows(&dialog, "report", model.lines()) && model.lines().size() == 4);
            // The check box closes the dialog for the reopening with the list recomputed.
            ModalAnswerer answerer;
            answerer.answer(ModalAnswerer::clickButton(QStringLiteral("Apply parabolic interpolation")));
            QCOMPARE(dialog.exec(), analysis::PeakPickingDialog::kReopen);
            QCOMPARE(doc_->peaks.peakInterpolate, 0);
        }
        {
            // Export stays open; OK stores the check box.
            analysis::PeakPickingDialog model(*doc_, ui_);
            gui::PeakPickingDialogWidget dialog(model, nullptr);
            QVERIFY(!checked(&dialog, "interpolation"));
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("peaks.txt"));
            ui_.files.push_back(path.toStdString());
            dialog.open();
            click(&dialog, "export");
            QVERIFY(dialog.isVisible() && QFile::exists(path));
            dialog.findChild<QCheckBox*>(QStringLiteral("interpolation"))->setChecked(true);
            click(&dialog, "ok");
            QCOMPARE(dialog.result(), analysis::PeakPickingDialog::kClosed);
            QCOMPARE(doc_->peaks.peakInterpolate, 1);
        }
        for (const bool clear : {true, false}) {
            analysis::PeakPickingDialog model(*doc_, ui_);
            gui::PeakPickingDialogWidget dialog(model, nullptr);
            dialog.open();
            QVERIFY(typeInto(&dialog, "threshold", QStringLiteral("7.5")));
            clear ? click(&dialog, "clearAll") : QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(),
                     clear ? analysis::PeakPickingDialog::kReopen : analysis::PeakPickingDialog::kClosed);
            QCOMPARE(std::pair(doc_->peaks.peakThreshold, doc_->peaks.peakRegionCount), std::pair(7.5, 0));
        }
    }

    void measureJShowsTheLinesAndEndsTheMeasurement() {
        gui::MeasureJDialogWidget dialog(*doc_, ui_, nullptr);
        QVERIFY(!dialog.isModal());
        QCOMPARE(doc_->jState.jShown, 1);
        dialog.show();
        analysis::MeasureJDialog model(*doc_, ui_);
        (void)analysis::placeJCursor(*doc_, 100);
        (void)analysis::placeJCursor(*doc_, 200);
        dialog.refresh();
        QVERIFY(listShows(&dialog, "lines", model.lines()) && model.lines().size() == 1);
        click(&dialog, "clearAll");
        QVERIFY(listShows(&dialog, "lines", {}) && dialog.isVisible());
        QCOMPARE(doc_->jState.jCursorCount, 0);
        (void)analysis::placeJCursor(*doc_, 300);
        click(&dialog, "reset");
        QCOMPARE(std::pair(doc_->jState.jChainBreak, doc_->jState.jCursorCount), std::pair(1, 1));

        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.close();  // the title bar's close acts as OK
        QCOMPARE(doc_->jState.jShown, 0);
        QCOMPARE(finished.count(), 1);
    }

    void textPagesPrintToPdf() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("report.pdf")));
        printer.setCopyCount(2);
        int perPage = 0;
        const gui::PageSource pages = [&perPage](int n) {
            perPage = n;
            return analysis::paginate(std::vector<std::string>(250, "   1    100.00      1.00     50.000"),
                                      n);
        };
        QVERIFY(gui::paintTextPages(printer, pages, 5, 14));
        QVERIFY(perPage > 10 && perPage < 250);
        QFile file(printer.outputFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        // Every copy starts on a page of its own.
        QCOMPARE(pdfPageCount(pdf), 2 * ((250 + perPage - 1) / perPage));
    }

    void printDialogWritesAPdfWithoutAPrinter() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed");
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        ModalAnswerer answerer;
        answerer.answer(ModalAnswerer::accept());
        const bool printed = gui::printReport(
            nullptr,
            [](int n) {
                return analysis::paginate({"Meassure J result:", "", "J 0-1=7.00"}, n);
            },
            QString::fromLatin1(analysis::kPeakPrintJobName), 0);
        qputenv("HOME", oldHome);
        QVERIFY(printed);
        QFile file(home.filePath(QStringLiteral("Peak Picking Ouput.pdf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF"));
    }
};

QTEST_MAIN(AnalysisDialogsTest)
#include "analysis_dialogs_test.moc"
