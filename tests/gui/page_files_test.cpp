// The printed page as files and on the clipboard, read back with Qt: the command line's PDF (one
// page, the legend's text), SVG (loads, holds the legend's text) and PNG (size and resolution),
// a refused extension writing nothing; the window's copies and its Printer Options.
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinterInfo>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sstream>

#ifdef PELVARON_HAVE_QTPDF
#include <QPdfDocument>
#include <QPdfSelection>
#endif

#include "app/command_ids.h"
#include "cli/cli.h"
#include "gui/main_window.h"
#include "gui/plot_view.h"
#include "modal_helper.h"

using pelvaron::gui::MainWindow;
using pelvaron::testing::ModalAnswerer;
namespace app = pelvaron::app;

namespace {

const std::string kExample = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";

int runCli(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream out, errs;
    const int status = pelvaron::cli::runCli(args, out, errs);
    if (err) *err = errs.str();
    return status;
}

std::vector<std::string> pageArgs(const std::string& out) {
    return {"render",      kExample,  "--page",  "-o",      out,           "--steps", "em=0.3,ft,autophase",
            "--integrate", "4.3/3.9", "--peaks", "4.3/3.9", "--threshold", "5"};
}

}  // namespace

class PageFilesTest : public QObject {
    Q_OBJECT

private slots:
    void pdfHoldsOnePageWithTheLegend() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QCOMPARE(runCli(pageArgs(pdf.toStdString())), 0);
#ifdef PELVARON_HAVE_QTPDF
        QPdfDocument document;
        QCOMPARE(document.load(pdf), QPdfDocument::Error::None);
        QCOMPARE(document.pageCount(), 1);
        // A4 portrait: 595 x 842 points.
        QCOMPARE(document.pagePointSize(0).toSize(), QSize(595, 842));
        const QString text = document.getAllText(0).text();
        for (const char* expected : {"SF: 400.13 MHz", "SW: 6009.62 Hz", "TD: 16384 points",
                                     "Scale units: ppm", "File: fid", "Date: "})
            QVERIFY2(text.contains(QString::fromLatin1(expected)), expected);
#else
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("/Type /Page\n"), 1);
        QSKIP("QtPdf is not installed: the PDF's text is not read back");
#endif
    }

    void svgLoadsAndHoldsTheLegendAndPngHasItsResolution() {
        QTemporaryDir dir;
        const QString svg = dir.filePath(QStringLiteral("page.svg"));
        QCOMPARE(runCli(pageArgs(svg.toStdString())), 0);
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 2480, 3508));
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.contains("SF: 400.13 MHz"));
        QVERIFY(content.contains("Scale units: ppm"));

        const QString png = dir.filePath(QStringLiteral("page.png"));
        std::vector<std::string> args = pageArgs(png.toStdString());
        args.insert(args.end(), {"--paper", "letter", "--landscape", "--dpi", "100"});
        QCOMPARE(runCli(args), 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(1100, 850));
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 100);
    }

    void refusedExtensionsAndOptionsWriteNothing() {
        QTemporaryDir dir;
        for (const char* name : {"page.jpg", "page", "page.pdf.txt"}) {
            const std::string out = dir.filePath(QString::fromLatin1(name)).toStdString();
            std::string err;
            QCOMPARE(runCli(pageArgs(out), &err), 2);
            QVERIFY2(err.find("PDF, SVG or PNG") != std::string::npos, err.c_str());
        }
        // The page's options mean nothing without --page.
        const std::string png = dir.filePath(QStringLiteral("plot.png")).toStdString();
        QCOMPARE(runCli({"render", kExample, "-o", png, "--landscape"}), 2);
        QCOMPARE(runCli({"render", kExample, "--page", "-o", png, "--dpi", "5000"}), 2);
        QCOMPARE(runCli({"render", kExample, "--page", "-o", png, "--paper", "a3"}), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    }

    void theWindowCopiesThePageAndTheViewAndStoresThePrinterOptions() {
        pelvaron::Document doc;
        MainWindow window(doc);
        window.resize(1000, 700);
        window.show();
        QVERIFY(window.dispatcher().openPath(kExample));
        QVERIFY(window.dispatcher().dispatch(app::kCmdCopyMetafile));
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime != nullptr);
        QVERIFY(mime->data(QStringLiteral("image/svg+xml")).contains("SF: "));
        QVERIFY(mime->data(QStringLiteral("application/pdf")).startsWith("%PDF"));
        QVERIFY(mime->hasImage());
        QVERIFY(window.dispatcher().dispatch(app::kCmdCopyBitmap));
        QCOMPARE(QGuiApplication::clipboard()->image().size(), window.plotView()->plotImage().size());

        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Printer Options"));
            w->findChild<QCheckBox*>(QStringLiteral("colour"))->click();
            w->findChild<QCheckBox*>(QStringLiteral("parameters"))->click();
            ModalAnswerer::accept()(w);
        });
        window.dispatcher().dispatch(app::kCmdPrintOptions);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000);
        QCOMPARE(doc.print.printColour, 1);
        QCOMPARE(doc.print.printParams, 0);

        // Print through the print dialog: with no printer installed, to a PDF file.
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) return;
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        answerer.answer(ModalAnswerer::accept());
        window.dispatcher().dispatch(app::kCmdPrint);
        qputenv("HOME", oldHome);
        QFile printed(home.filePath(QStringLiteral("Pelvaron.pdf")));
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.readAll().startsWith("%PDF"));
    }
};

QTEST_MAIN(PageFilesTest)
#include "page_files_test.moc"
