// The printed page as files and on the clipboard, read back with Qt: the command line's PDF (one
// page, the legend's text), SVG (loads, holds the legend's text) and PNG (size and resolution),
// the plot as PNG, a refusal writing nothing; the window's copies and its Printer Options.
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
#include <tuple>

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
using pelvaron::testing::pixelsOf;
namespace app = pelvaron::app;

namespace {

const std::string kExample = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";

int runCli(const std::vector<std::string>& args, std::string* err = nullptr, std::string* out = nullptr) {
    std::ostringstream outs, errs;
    const int status = pelvaron::cli::runCli(args, outs, errs);
    if (err) *err = errs.str();
    if (out) *out = outs.str();
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

    void thePlotAsPngShowsTheTraceAndTheMarksAskedFor() {
        QTemporaryDir dir;
        const std::string png = dir.filePath(QStringLiteral("plot.png")).toStdString();
        std::vector<std::string> args = {"render", kExample, "-o", png, "--width", "640", "--height", "400"};
        std::string out;
        QCOMPARE(runCli(args, nullptr, &out), 0);
        QCOMPARE(out, png + "\n");
        const QImage image(QString::fromStdString(png));
        QCOMPARE(image.size(), QSize(640, 400));
        QVERIFY(pixelsOf(image, Qt::blue) > 500);
        // The peaks and integrals asked for are drawn as the window draws them: labels and brackets.
        args.insert(args.end(),
                    {"--steps", "em=0.3,ft,autophase", "--peaks", "4.3/3.9", "--integrate", "2.2/1.9"});
        QCOMPARE(runCli(args), 0);
        const QImage marked(QString::fromStdString(png));
        QVERIFY(pixelsOf(marked, Qt::red) > 40);
        QVERIFY(pixelsOf(marked, Qt::black) > pixelsOf(image, Qt::black) + 40);
    }

    void refusalsWriteNothing() {
        QTemporaryDir dir;
        const std::string png = dir.filePath(QStringLiteral("plot.png")).toStdString();
        auto page = [&dir](const char* name) {
            return pageArgs(dir.filePath(QString::fromLatin1(name)).toStdString());
        };
        // The page's picture type comes from its extension; its options mean nothing without --page.
        const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
            {page("page.jpg"), 2, "PDF, SVG or PNG"},
            {page("page"), 2, "PDF, SVG or PNG"},
            {page("page.pdf.txt"), 2, "PDF, SVG or PNG"},
            {{"render", kExample, "-o", png, "--landscape"}, 2, ""},
            {{"render", kExample, "--page", "-o", png, "--dpi", "5000"}, 2, ""},
            {{"render", kExample, "--page", "-o", png, "--paper", "a3"}, 2, ""},
            {{"render", kExample, "-o", png, "--width", "12x"}, 2, "--width must be a whole number"},
            {{"render", kExample, "-o", png, "--peaks", "4.3"}, 2, "--peaks 4.3: expected FROM/TO in ppm"},
            {{"render", kExample, "-o", "/nonexistent-folder/plot.png"},
             1,
             "cannot write /nonexistent-folder"}};
        for (const auto& [args, status, says] : cases) {
            std::string err;
            QCOMPARE(runCli(args, &err), status);
            QVERIFY2(err.find(says) != std::string::npos, err.c_str());
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    }

    void theWindowCopiesThePageAndTheViewAndStoresThePrinterOptions() {
        pelvaron::Document doc;
        MainWindow window(doc);
        QVERIFY(pelvaron::testing::showActive(&window));
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
        const pelvaron::display::PrintState& print = window.dispatcher().view().print;
        QCOMPARE(std::pair(print.printColour, print.printParams), std::pair(1, 0));

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
