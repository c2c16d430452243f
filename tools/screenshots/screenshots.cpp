// Screenshots of the window at work on the bundled example, for a person to look at:
//   gui_screenshots OUTDIR [--steps LIST]
// writes fid-1280x800.png (the FID as loaded), rubber-band-1280x800.png (a zoom drag),
// zoom-1920x1080.png (processed with LIST, zoomed
// with the mouse, axis in ppm, grid on), dialog-set-limits.png, and from the menu commands
// Apodize (em 0.3), Fourier transform, Autophase and Phase Correction: dialog-window-function.png,
// dialog-fourier.png, spectrum-1280x800.png, spectrum-zoom-1280x800.png (4.5 to 0.8 ppm),
// phase-1280x800.png (the pivot line drawn),
// dialog-phase.png and, where the platform can grab its screen, screen-phase.png (the window with
// the dialog over it); and on the aspirin spectrum of tests/data: five integrals, two picked
// regions with their labels and two J cursors (analysis-1280x800.png), dialog-peak-picking.png,
// the printed report (peak-report.pdf), dialog-measure-j.png, the integrals calibrated to the
// methyl group's three hydrogens (dialog-hydrogens.png, integrals-1280x800.png) and the manual
// baseline's preview (baseline-preview-1280x800.png, dialog-baseline.png); two expansion windows
// over the example's spectrum, zoomed into the quartet and the triplet (expansions-1280x800.png),
// and the two-set display of Add/Subtract with the aspirin spectrum opened over itself, shifted
// and scaled (two-set-1280x800.png), then subtracted (two-set-subtracted-1280x800.png); an ABX
// system opened from its spin-system file (spin-system-abx-1280x800.png); Interactive Apodization
// over the aspirin FID (apodization-1280x800.png, dialog-interactive-apodization.png, the screen
// with the dialog over the window as screen-apodization.png and, with the Lorentzian/Gaussian,
// dialog-interactive-apodization-lg.png); and Automatic Processing of the coffee FID and of the
// aspirin FID and the JEOL FID of tests/data after em 0.3, in full and zoomed
// (automatic-coffee-1280x800.png, automatic-coffee-zoom-1280x800.png,
// automatic-aspirin-1280x800.png, automatic-aspirin-zoom-1280x800.png,
// automatic-jeol-1280x800.png, automatic-jeol-zoom-1280x800.png); and the Multiplet Report on the aspirin
// spectrum, its list beside the ranges labelled in full and zoomed (multiplets-1280x800.png,
// dock-multiplet-report.png, multiplets-zoom-1280x800.png) and its page (page-multiplets.pdf).
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <memory>
#include <tuple>

#include "analysis/peaks.h"
#include "app/command_ids.h"
#include "cli/steps.h"
#include "desktop_shots.h"
#include "display/units_dialog.h"
#include "document/units.h"
#include "gui/dialogs/interactive_apodization_dialog.h"
#include "gui/dialogs/measure_j_dialog.h"
#include "gui/dialogs/multiplet_report_dock.h"
#include "gui/dialogs/phase_dialog.h"
#include "gui/expansion_window.h"
#include "gui/main_window.h"
#include "gui/page_writer.h"
#include "gui/plot_view.h"
#include "gui/report_printer.h"
#include "gui/two_set_strip.h"
#include "io/native_file.h"
#include "modal_helper.h"
#include "simulation_shots.h"

namespace {

using pelvaron::screenshots::save;
using pelvaron::screenshots::zoomInto;
using pelvaron::testing::ModalAnswerer;
using pelvaron::testing::sendMouse;

/// Presses the left button at `from`, drags through the middle to `to` and releases there.
void drag(QWidget* w, QPoint from, QPoint to) {
    sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

/// The whole screen, the window with its dialogs over it, as `path`; true where the platform has
/// no screen to grab (offscreen), which is not a failure.
bool saveScreen(const QString& path) {
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) return true;
    QApplication::processEvents();
    const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    qInfo("wrote %s", qPrintable(path));
    return saved;
}

/// The window's printed page, landscape like the window, as the file `path`.
bool savePage(pelvaron::Document& doc, pelvaron::gui::MainWindow& window, const QString& path) {
    std::string error;
    const bool written = pelvaron::gui::writePageFile(doc, window.dispatcher().view(), path.toStdString(),
                                                      {.landscape = true}, pelvaron::gui::ScreenDpi{}, error);
    qInfo("%s %s %s", written ? "wrote" : "cannot write", qPrintable(path), error.c_str());
    return written;
}

/// Shows the window at the given size once it is on screen, with the example loaded.
void showWithExample(pelvaron::gui::MainWindow& window, int width, int height, const std::string& example) {
    window.resize(width, height);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    window.dispatcher().openPath(example);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: gui_screenshots OUTDIR [--steps LIST]");
        return 2;
    }
    const QDir out(args[1]);
    QDir().mkpath(out.path());
    const std::string steps =
        args.size() > 3 && args[2] == QStringLiteral("--steps") ? args[3].toStdString() : "";
    const std::string example = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";

    bool ok = true;
    {
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, example);
        QTest::mouseMove(window.plotView(), QPoint(420, 300));
        ok = save(&window, out.filePath(QStringLiteral("fid-1280x800.png"))) && ok;

        // The zoom's rubber band in the middle of a drag.
        window.dispatcher().dispatch(pelvaron::app::kCmdZoom);
        QWidget* plot = window.plotView();
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(100, 330), Qt::LeftButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, QPoint(300, 480), Qt::NoButton, Qt::LeftButton);
        ok = save(&window, out.filePath(QStringLiteral("rubber-band-1280x800.png"))) && ok;
        sendMouse(plot, QEvent::MouseButtonRelease, QPoint(300, 480), Qt::LeftButton, Qt::NoButton);
        doc->noSaveQuery = 1;
    }
    {
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1920, 1080, example);
        std::string error;
        if (!pelvaron::cli::runSteps(*doc, window.userInterface(), steps, error))
            qWarning("%s", error.c_str());
        doc->notify(pelvaron::kAllDrawn);

        // Units: ppm, through the dialog's model as its OK would.
        pelvaron::display::UnitsDialog units(*doc);
        units.select(pelvaron::kPpm);
        units.ok(*doc);
        window.dispatcher().dispatch(pelvaron::app::kCmdShowGrid);
        window.dispatcher().dispatch(pelvaron::app::kCmdZoom);
        QWidget* plot = window.plotView();
        // 0.5 .. 4.8 ppm of the 15 ppm wide spectrum.
        const int w = plot->width();
        drag(plot, QPoint(w * 650 / 1000, plot->height() / 2),
             QPoint(w * 900 / 1000, plot->height() * 3 / 4));
        QTest::mouseMove(plot, QPoint(w * 3 / 4, plot->height() / 2));
        ok = save(&window, out.filePath(QStringLiteral("zoom-1920x1080.png"))) && ok;

        ModalAnswerer answerer;
        answerer.answer([&](QWidget* dialog) {
            ok = save(dialog, out.filePath(QStringLiteral("dialog-set-limits.png"))) && ok;
            ModalAnswerer::reject()(dialog);
        });
        window.dispatcher().dispatch(pelvaron::app::kCmdSetLimits);
        doc->noSaveQuery = 1;
    }
    {
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, example);

        ModalAnswerer answerer;
        answerer.answer([&](QWidget* dialog) {
            (void)pelvaron::testing::typeInto(dialog, "lbExponential", QStringLiteral("0.3"));
            ok = save(dialog, out.filePath(QStringLiteral("dialog-window-function.png"))) && ok;
            ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
        });
        window.action(pelvaron::app::kCmdApodize)->trigger();
        answerer.answer([&](QWidget* dialog) {
            ok = save(dialog, out.filePath(QStringLiteral("dialog-fourier.png"))) && ok;
            ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
        });
        window.action(pelvaron::app::kCmdFourier)->trigger();
        window.action(pelvaron::app::kCmdAutophase)->trigger();
        QTest::mouseMove(window.plotView(), QPoint(900, 300));
        ok = save(&window, out.filePath(QStringLiteral("spectrum-1280x800.png"))) && ok;

        // The multiplets from 4.5 to 0.8 ppm, four steps taller.
        {
            const double left =
                (doc->spectrum.acqPars.SW + doc->spectrum.offsetHz) / doc->spectrum.acqPars.SF;
            const double right = doc->spectrum.offsetHz / doc->spectrum.acqPars.SF;
            QWidget* plot = window.plotView();
            auto xAt = [&](double ppm) {
                return static_cast<int>(plot->width() * (left - ppm) / (left - right));
            };
            window.action(pelvaron::app::kCmdZoom)->trigger();
            drag(plot, QPoint(xAt(4.5), plot->height() / 3), QPoint(xAt(0.8), plot->height() * 2 / 3));
            for (int i = 0; i < 4; ++i) window.action(pelvaron::app::kCmdIncrease)->trigger();
            ok = save(&window, out.filePath(QStringLiteral("spectrum-zoom-1280x800.png"))) && ok;
        }

        window.action(pelvaron::app::kCmdPhase)->trigger();
        QWidget* phase = window.phaseDialog();
        if (phase == nullptr) {
            qWarning("Phase Correction did not open");
            ok = false;
        } else {
            phase->move(window.geometry().right() - phase->width() - 40, window.geometry().top() + 120);
            ok = save(&window, out.filePath(QStringLiteral("phase-1280x800.png"))) && ok;
            ok = save(phase, out.filePath(QStringLiteral("dialog-phase.png"))) && ok;
            ok = saveScreen(out.filePath(QStringLiteral("screen-phase.png"))) && ok;
            phase->close();
        }
        doc->noSaveQuery = 1;
    }
    {
        // Interactive Apodization over the aspirin FID: 1 Hz of exponential broadening, then the
        // Lorentzian/Gaussian with its GB bar.
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, PELVARON_SOURCE_DIR "/tests/data/aspirin-1h/fid-set");
        window.action(pelvaron::app::kCmdInteractiveApodization)->trigger();
        QWidget* apodization = window.apodizationDialog();
        if (apodization == nullptr) {
            qWarning("Interactive Apodization did not open");
            ok = false;
        } else {
            auto* lb = apodization->findChild<QScrollBar*>(QStringLiteral("lb"));
            lb->triggerAction(QAbstractSlider::SliderPageStepAdd);
            lb->triggerAction(QAbstractSlider::SliderPageStepAdd);
            apodization->move(window.geometry().right() - apodization->width() - 40,
                              window.geometry().top() + 120);
            ok = save(&window, out.filePath(QStringLiteral("apodization-1280x800.png"))) && ok;
            ok = save(apodization, out.filePath(QStringLiteral("dialog-interactive-apodization.png"))) && ok;
            ok = saveScreen(out.filePath(QStringLiteral("screen-apodization.png"))) && ok;
            apodization->findChild<QAbstractButton*>(QStringLiteral("function5"))->click();
            lb->triggerAction(QAbstractSlider::SliderPageStepSub);
            ok = save(apodization, out.filePath(QStringLiteral("dialog-interactive-apodization-lg.png"))) &&
                 ok;
            apodization->close();
        }
        doc->noSaveQuery = 1;
    }
    {
        // The aspirin spectrum of tests/data as the spectrometer processed it.
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, PELVARON_SOURCE_DIR "/tests/data/aspirin-1h/processed-set");
        QWidget* plot = window.plotView();
        auto xAt = [&](double ppm) {
            const double l =
                pelvaron::units::tToUnit(*doc, window.dispatcher().view().viewLeft, pelvaron::kPpm);
            const double r =
                pelvaron::units::tToUnit(*doc, window.dispatcher().view().viewRight, pelvaron::kPpm);
            return static_cast<int>(plot->width() * (l - ppm) / (l - r));
        };
        const int low = plot->height() * 3 / 5;
        // The aromatic multiplets and the methyl group, in the full view.
        window.action(pelvaron::app::kCmdIntegrate)->trigger();
        for (const auto& [from, to] : {std::pair(8.12, 7.95), std::pair(7.62, 7.45), std::pair(7.36, 7.20),
                                       std::pair(7.10, 6.93), std::pair(2.40, 2.20)})
            drag(plot, QPoint(xAt(from), low), QPoint(xAt(to), low + 20));
        window.action(pelvaron::app::kCmdZoom)->trigger();
        drag(plot, QPoint(xAt(8.2), plot->height() / 3), QPoint(xAt(6.8), plot->height() * 2 / 3));

        // Two regions picked, released 3 rows above the zero line; the report answered OK.
        ModalAnswerer answerer;
        for (int k = 0; k < 2; ++k) {
            answerer.answer([&, k](QWidget* dialog) {
                if (k == 1) ok = save(dialog, out.filePath(QStringLiteral("dialog-peak-picking.png"))) && ok;
                ModalAnswerer::accept()(dialog);
            });
        }
        window.action(pelvaron::app::kCmdPeakPicking)->trigger();
        const int baseline = window.dispatcher().view().baselineY - pelvaron::gui::PlotView::topRows();
        drag(plot, QPoint(xAt(8.15), baseline - 300), QPoint(xAt(7.40), baseline - 3));
        QTest::qWait(300);
        drag(plot, QPoint(xAt(7.40), baseline - 300), QPoint(xAt(6.90), baseline - 3));
        QTest::qWait(300);
        // The report as Print sends it, written to a PDF.
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath(QStringLiteral("peak-report.pdf")));
            pelvaron::analysis::PeakPickingDialog model(*doc, window.userInterface());
            ok = pelvaron::gui::paintTextPages(
                     printer, [&](int perPage) { return model.printPages(perPage); }, 5, 14) &&
                 ok;
            qInfo("wrote %s", qPrintable(printer.outputFileName()));
        }

        window.action(pelvaron::app::kCmdMeasureJ)->trigger();
        for (const double ppm : {8.047, 8.022}) drag(plot, QPoint(xAt(ppm), low), QPoint(xAt(ppm), low));
        QApplication::processEvents();
        if (auto* j = window.measureJDialog()) {
            j->move(window.geometry().right() - j->width() - 40, window.geometry().top() + 120);
            ok = save(j, out.filePath(QStringLiteral("dialog-measure-j.png"))) && ok;
        }
        ok = save(&window, out.filePath(QStringLiteral("analysis-1280x800.png"))) && ok;
        if (auto* j = window.measureJDialog()) j->close();

        // The methyl group's integral calibrated to three hydrogens, in the full view.
        window.action(pelvaron::app::kCmdFull)->trigger();
        answerer.answer([&](QWidget* dialog) {
            (void)pelvaron::testing::typeInto(dialog, "hydrogens", QStringLiteral("3"));
            ok = save(dialog, out.filePath(QStringLiteral("dialog-hydrogens.png"))) && ok;
            ModalAnswerer::accept()(dialog);
        });
        (void)window.plotView()->plotImage();  // the labels' hit boxes as drawn
        const int mid = (xAt(2.40) + xAt(2.20)) / 2;
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(mid, low), Qt::RightButton, Qt::RightButton);
        sendMouse(plot, QEvent::MouseButtonRelease, QPoint(mid, low), Qt::RightButton, Qt::NoButton);
        QTest::qWait(300);
        ok = save(&window, out.filePath(QStringLiteral("integrals-1280x800.png"))) && ok;

        answerer.answer([&](QWidget* dialog) {
            auto* bar = dialog->findChild<QScrollBar*>(QStringLiteral("order0"));
            auto* bar2 = dialog->findChild<QScrollBar*>(QStringLiteral("order2"));
            if (bar != nullptr && bar2 != nullptr) {
                for (int i = 0; i < 6; ++i) bar->triggerAction(QAbstractSlider::SliderPageStepSub);
                for (int i = 0; i < 8; ++i) bar2->triggerAction(QAbstractSlider::SliderPageStepAdd);
            }
            ok = save(&window, out.filePath(QStringLiteral("baseline-preview-1280x800.png"))) && ok;
            ok = save(dialog, out.filePath(QStringLiteral("dialog-baseline.png"))) && ok;
            ModalAnswerer::reject()(dialog);
        });
        window.action(pelvaron::app::kCmdManualBaseline)->trigger();
        doc->noSaveQuery = 1;
    }
    {
        // Two expansions over the example's spectrum.
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, example);
        std::string error;
        if (!pelvaron::cli::runSteps(*doc, window.userInterface(), "em=0.3,ft,autophase", error))
            qWarning("%s", error.c_str());
        pelvaron::display::UnitsDialog units(*doc);
        units.select(pelvaron::kPpm);
        units.ok(*doc);
        const double left =
            pelvaron::units::tToUnit(*doc, window.dispatcher().view().viewLeft, pelvaron::kPpm);
        const double right =
            pelvaron::units::tToUnit(*doc, window.dispatcher().view().viewRight, pelvaron::kPpm);
        const struct {
            double from, to;
            QRect geometry;  ///< in the plot widget
            int increases;
        } expansions[] = {{4.30, 3.95, QRect(60, 60, 330, 230), 2},
                          {1.45, 1.05, QRect(820, 90, 300, 210), 1}};
        for (std::size_t k = 0; k < std::size(expansions); ++k) {
            window.action(pelvaron::app::kCmdCreateExpansion)->trigger();
            QApplication::processEvents();
        }
        const auto windows = window.expansionWindows();
        if (windows.size() != 2) {
            qWarning("Create Expansions opened %d windows", static_cast<int>(windows.size()));
            ok = false;
        }
        for (std::size_t k = 0; k < windows.size() && k < 2; ++k) {
            const auto& e = expansions[k];
            pelvaron::gui::ExpansionWindow* w =
                windows[k]->slot() == static_cast<int>(k) ? windows[k] : windows[1 - k];
            w->setGeometry(e.geometry);
            QApplication::processEvents();
            QWidget* view = w->view();
            auto xAt = [&](double ppm) {
                return static_cast<int>(view->width() * (left - ppm) / (left - right));
            };
            drag(view, QPoint(xAt(e.from), 30), QPoint(xAt(e.to), 60));
            for (int i = 0; i < e.increases; ++i)
                w->view()->button(pelvaron::display::ExpansionButton::Increase)->click();
        }
        ok = save(&window, out.filePath(QStringLiteral("expansions-1280x800.png"))) && ok;
        // The printed page with the two expansions as insets, landscape like the window.
        ok = savePage(*doc, window, out.filePath(QStringLiteral("page-expansions.pdf"))) && ok;
        doc->noSaveQuery = 1;
    }
    {
        // Add/Subtract: the aspirin spectrum, saved as a Pelvaron file, opened over itself.
        const QString second = out.filePath(QStringLiteral("aspirin-second.PLV"));
        const char* aspirin = PELVARON_SOURCE_DIR "/tests/data/aspirin-1h/processed-set";
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, aspirin);
        if (!pelvaron::io::writeNativeFile(*doc, second.toStdString())) {
            qWarning("cannot write %s", qPrintable(second));
            ok = false;
        }
        ModalAnswerer answerer;
        answerer.answer([&](QWidget* dialog) {
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(second);
            ModalAnswerer::accept()(dialog);
        });
        window.action(pelvaron::app::kCmdAddSubtract)->trigger();
        QTest::qWait(200);
        auto* strip = window.twoSetStrip();
        if (strip == nullptr) {
            qWarning("Add/Subtract did not start the two-set display");
            ok = false;
        } else {
            pelvaron::display::UnitsDialog units(*doc);
            units.select(pelvaron::kPpm);
            units.ok(*doc);
            // The aromatic multiplets: the second set 200 doubles (0.05 ppm) to the right, 60 rows
            // lower than it starts and at 80 %.
            QWidget* plot = window.plotView();
            const double l =
                pelvaron::units::tToUnit(*doc, window.dispatcher().view().viewLeft, pelvaron::kPpm);
            const double r =
                pelvaron::units::tToUnit(*doc, window.dispatcher().view().viewRight, pelvaron::kPpm);
            auto xAt = [&](double ppm) { return static_cast<int>(plot->width() * (l - ppm) / (l - r)); };
            window.action(pelvaron::app::kCmdZoom)->trigger();
            drag(plot, QPoint(xAt(8.2), plot->height() / 3), QPoint(xAt(6.8), plot->height() * 2 / 3));
            for (int i = 0; i < 3; ++i) window.action(pelvaron::app::kCmdIncrease)->trigger();
            // The overview band that the first zoom turns on would cover the raised second set.
            if (window.dispatcher().view().dualZoom) window.action(pelvaron::app::kCmdDualZoom)->trigger();
            using pelvaron::display::TwoSetBar;
            for (int i = 0; i < 8; ++i)
                strip->bar(TwoSetBar::Shift)->triggerAction(QAbstractSlider::SliderPageStepAdd);
            for (int i = 0; i < 6; ++i)
                strip->bar(TwoSetBar::Offset)->triggerAction(QAbstractSlider::SliderPageStepAdd);
            for (int i = 0; i < 2; ++i)
                strip->bar(TwoSetBar::Factor)->triggerAction(QAbstractSlider::SliderPageStepSub);
            QTest::mouseMove(plot, QPoint(640, 400));
            ok = save(&window, out.filePath(QStringLiteral("two-set-1280x800.png"))) && ok;
            // "1-2": the data less the shifted copy.
            if (auto* subtract = strip->findChild<QPushButton*>(QStringLiteral("twoSet3459")))
                subtract->click();
            ok = save(&window, out.filePath(QStringLiteral("two-set-subtracted-1280x800.png"))) && ok;
        }
        doc->noSaveQuery = 1;
    }
    // Process > Automatic Processing on three real FIDs: the coffee experiment as it was acquired,
    // the aspirin one after the spectrometer's own window (em 0.3), and the JEOL one after em 0.3;
    // each in full and zoomed.
    for (const auto& [name, path, window0, from, to] :
         {std::tuple("coffee", "/tests/data/coffee-1h-baseopt", "", 5.3, 2.9),
          std::tuple("aspirin", "/tests/data/aspirin-1h/fid-set", "em=0.3", 8.2, 6.8),
          std::tuple("jeol", "/tests/data/jeol-1h/proton-meod.jdf", "em=0.3", 7.4, 2.4)}) {
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, std::string(PELVARON_SOURCE_DIR) + path);
        std::string error;
        if (*window0 != '\0' && !pelvaron::cli::runSteps(*doc, window.userInterface(), window0, error)) {
            qWarning("%s: %s", name, error.c_str());
            ok = false;
        }
        window.action(pelvaron::app::kCmdAutoProcess)->trigger();
        const QString prefix = QStringLiteral("automatic-%1").arg(QLatin1String(name));
        ok = save(&window, out.filePath(prefix + QStringLiteral("-1280x800.png"))) && ok;
        zoomInto(*doc, window, from, to);
        for (int i = 0; i < 5; ++i) window.action(pelvaron::app::kCmdIncrease)->trigger();
        ok = save(&window, out.filePath(prefix + QStringLiteral("-zoom-1280x800.png"))) && ok;
        doc->noSaveQuery = 1;
    }
    {
        // Analyse > Multiplet Report on the aspirin spectrum: the list beside the plot with the
        // ranges labelled, in full and zoomed onto the aromatic protons, and the printed page with
        // the report's line.
        auto doc = std::make_unique<pelvaron::Document>();
        pelvaron::gui::MainWindow window(*doc);
        showWithExample(window, 1280, 800, PELVARON_SOURCE_DIR "/tests/data/aspirin-1h/processed-set");
        // A refusal's message is answered and said, so that the run goes on.
        ModalAnswerer answerer;
        answerer.answer([](QWidget* box) {
            qWarning("Multiplet Report refused");
            ModalAnswerer::accept()(box);
        });
        window.action(pelvaron::app::kCmdMultipletReport)->trigger();
        QApplication::processEvents();
        ok = save(&window, out.filePath(QStringLiteral("multiplets-1280x800.png"))) && ok;
        if (auto* dock = window.multipletReport())
            ok = save(dock, out.filePath(QStringLiteral("dock-multiplet-report.png"))) && ok;
        zoomInto(*doc, window, 8.2, 6.8);
        if (window.dispatcher().view().dualZoom) window.action(pelvaron::app::kCmdDualZoom)->trigger();
        for (int i = 0; i < 4; ++i) window.action(pelvaron::app::kCmdIncrease)->trigger();
        ok = save(&window, out.filePath(QStringLiteral("multiplets-zoom-1280x800.png"))) && ok;
        window.action(pelvaron::app::kCmdFull)->trigger();
        ok = savePage(*doc, window, out.filePath(QStringLiteral("page-multiplets.pdf"))) && ok;
        doc->noSaveQuery = 1;
    }
    ok = pelvaron::screenshots::simulationShots(out) && ok;
    ok = pelvaron::screenshots::desktopShots(out) && ok;
    return ok ? 0 : 1;
}
