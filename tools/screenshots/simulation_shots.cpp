// The Simulation menu at work, for a person to look at: an ABX system typed into the dialogs
// (dialog-input-parameters.png, dialog-simulation-data-abx.png, simulation-abx-1280x800.png), the
// same system opened from its spin-system file (spin-system-abx-1280x800.png), a ten-spin chain
// (dialog-simulation-data-10.png, simulation-10-spin-1280x800.png), Inc held down on one of its
// shifts (interactive-held-inc-1280x800.png, dialog-interactive-sim.png, with how often the
// window answered while the button was held), a simulation of aspirin compared with the
// measured spectrum (dialog-simulation-data-compare.png, compare-1280x800.png), and aspirin's four
// ring protons fitted to the spectrum of its FID with the residual under the two sets
// (fit-aspirin-1280x800.png, dialog-interactive-sim-fitted.png, dialog-simulation-data-fitted.png).
#include "simulation_shots.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/command_ids.h"
#include "cli/steps.h"
#include "display/units_dialog.h"
#include "document/units.h"
#include "gui/dialogs/interactive_sim_dialog.h"
#include "gui/main_window.h"
#include "gui/plot_view.h"
#include "gui/simulation_fitter.h"
#include "gui/two_set_strip.h"
#include "modal_helper.h"

namespace pelvaron::screenshots {

namespace {

using testing::ModalAnswerer;
using testing::sendMouse;
using testing::typeInto;

QPushButton* nucleus(QWidget* dialog, int number) {
    return dialog->findChild<QPushButton*>(QStringLiteral("nucleus%1").arg(number));
}

void click(QWidget* button) {
    const QPoint at = button->rect().center();
    sendMouse(button, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void doubleClick(QWidget* button) {
    click(button);
    const QPoint at = button->rect().center();
    sendMouse(button, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

/// The value typed into the next dialog's `edit`, then OK.
ModalAnswerer::Answer typeAndOk(const char* edit, const QString& typed) {
    return [=](QWidget* dialog) {
        (void)typeInto(dialog, edit, typed);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
    };
}

struct Coupling {
    int a, b;  ///< nuclei, from 1
    double j;
};

/// Types the shifts and couplings on Simulation data's ring, as a person does: a double click on
/// a nucleus for its shift, a click on one nucleus then on another for their coupling. The
/// dialogs these open are answered by an answerer of their own, since the page's answer is still
/// running.
void enterOnRing(QWidget* page, const std::vector<double>& shifts, const std::vector<Coupling>& couplings) {
    ModalAnswerer inner;
    for (std::size_t i = 0; i < shifts.size(); ++i) {
        inner.answer(typeAndOk("shift", QString::number(shifts[i])));
        if (QPushButton* button = nucleus(page, static_cast<int>(i) + 1)) doubleClick(button);
    }
    for (const Coupling& c : couplings) {
        inner.answer(typeAndOk("coupling", QString::number(c.j)));
        QPushButton* a = nucleus(page, c.a);
        QPushButton* b = nucleus(page, c.b);
        if (a == nullptr || b == nullptr) continue;
        click(a);
        click(b);
    }
    if (inner.pending() != 0) qWarning("%d values were not entered on the ring", inner.pending());
}

/// Answers Input parameters with `count` nuclei.
void answerCount(ModalAnswerer& answerer, int count, const QString& shot = {}) {
    answerer.answer([=](QWidget* dialog) {
        (void)typeInto(dialog, "count", QString::number(count));
        if (!shot.isEmpty()) (void)save(dialog, shot);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
    });
}

/// A window of the screenshots' size, nothing loaded.
void showEmpty(gui::MainWindow& window) {
    window.resize(1280, 800);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
}

bool fitShots(const QDir& out);

}  // namespace

void zoomInto(const Document& doc, gui::MainWindow& window, double from, double to) {
    QWidget* plot = window.plotView();
    const auto& view = window.dispatcher().view();
    const double l = units::tToUnit(doc, view.viewLeft, kPpm);
    const double r = units::tToUnit(doc, view.viewRight, kPpm);
    auto xAt = [&](double ppm) { return static_cast<int>(plot->width() * (l - ppm) / (l - r)); };
    window.action(app::kCmdZoom)->trigger();
    const QPoint start(xAt(from), plot->height() / 3), end(xAt(to), plot->height() * 2 / 3);
    sendMouse(plot, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(plot, QEvent::MouseMove, (start + end) / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(plot, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
    sendMouse(plot, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
}

bool save(QWidget* w, const QString& path) {
    QApplication::processEvents();
    QTest::qWait(100);
    const bool ok = w->grab().save(path);
    qInfo("%s %s", ok ? "wrote" : "cannot write", qPrintable(path));
    return ok;
}

bool simulationShots(const QDir& out) {
    bool ok = true;
    {
        // ABX typed into the dialogs: 300 MHz, 2000 to 2300 Hz.
        auto doc = std::make_unique<Document>();
        gui::MainWindow window(*doc);
        showEmpty(window);
        ModalAnswerer answerer;
        answerCount(answerer, 3, out.filePath(QStringLiteral("dialog-input-parameters.png")));
        answerer.answer([&](QWidget* page) {
            for (const auto& [name, typed] : {std::pair("sf", "300"), std::pair("from", "2000"),
                                              std::pair("to", "2300"), std::pair("points", "16384"),
                                              std::pair("lineWidth", "0.4")})
                (void)typeInto(page, name, QString::fromLatin1(typed));
            enterOnRing(page, {2100, 2130, 2220}, {{1, 2, 16}, {1, 3, 6}, {2, 3, 10}});
            ok = save(page, out.filePath(QStringLiteral("dialog-simulation-data-abx.png"))) && ok;
            ModalAnswerer::clickButton(QStringLiteral("OK"))(page);
        });
        window.action(app::kCmdSimulationNew)->trigger();
        if (doc->sim.simExists != 1) {
            qWarning("New did not simulate the ABX system");
            ok = false;
        }
        ok = save(&window, out.filePath(QStringLiteral("simulation-abx-1280x800.png"))) && ok;
        doc->noSaveQuery = 1;
    }
    {
        // The same ABX system opened from its spin-system file (Simulation > Open Spin System).
        const QString abx = out.filePath(QStringLiteral("abx.json"));
        {
            QFile file(abx);
            ok = file.open(QIODevice::WriteOnly) && ok;
            file.write(R"({"sf": 300, "from": 2000, "to": 2300, "points": 16384, "lineWidth": 0.4,
              "subsystems": [{"shifts": [2100, 2130, 2220],
                              "couplings": [[1, 2, 16], [1, 3, 6], [2, 3, 10]]}]})");
        }
        auto doc = std::make_unique<Document>();
        gui::MainWindow window(*doc);
        showEmpty(window);
        ModalAnswerer answerer;
        answerer.answer([&](QWidget* dialog) {
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(abx);
            ModalAnswerer::accept()(dialog);
        });
        window.action(app::kCmdOpenSpinSystem)->trigger();
        QTest::qWait(200);
        if (doc->sim.simExists != 1) {
            qWarning("Open Spin System did not simulate %s", qPrintable(abx));
            ok = false;
        }
        ok = save(&window, out.filePath(QStringLiteral("spin-system-abx-1280x800.png"))) && ok;
        doc->noSaveQuery = 1;
    }
    {
        // A chain of ten nuclei, 7 Hz between neighbours and 1.5 Hz across one, 300 MHz, 0 to
        // 3000 Hz; then Inc held on the fifth shift.
        auto doc = std::make_unique<Document>();
        gui::MainWindow window(*doc);
        showEmpty(window);
        ModalAnswerer answerer;
        answerCount(answerer, 10);
        answerer.answer([&](QWidget* page) {
            std::vector<double> shifts;
            std::vector<Coupling> couplings;
            for (int i = 0; i < 10; ++i) shifts.push_back(900.0 + 35.0 * i + 4.0 * i * i);
            for (int i = 1; i < 10; ++i) couplings.push_back({i, i + 1, 7.0});
            for (int i = 1; i < 9; i += 2) couplings.push_back({i, i + 2, 1.5});
            enterOnRing(page, shifts, couplings);
            ok = save(page, out.filePath(QStringLiteral("dialog-simulation-data-10.png"))) && ok;
            ModalAnswerer::clickButton(QStringLiteral("OK"))(page);
        });
        window.action(app::kCmdSimulationNew)->trigger();
        if (doc->sim.simExists != 1) {
            qWarning("New did not simulate the ten-spin system");
            ok = false;
        }
        // Zoomed onto the lines.
        window.action(app::kCmdZoom)->trigger();
        QWidget* plot = window.plotView();
        const int w = plot->width();
        // 1370 to 850 Hz of the 3000 Hz wide spectrum.
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(w * 543 / 1000, 200), Qt::LeftButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, QPoint(w * 717 / 1000, 400), Qt::NoButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseButtonRelease, QPoint(w * 717 / 1000, 400), Qt::LeftButton, Qt::NoButton);
        ok = save(&window, out.filePath(QStringLiteral("simulation-10-spin-1280x800.png"))) && ok;

        answerer.answer(ModalAnswerer::accept());  // Select Subsystem: the first
        window.action(app::kCmdInteractiveSimulation)->trigger();
        auto* tuning = window.findChild<gui::InteractiveSimDialogWidget*>();
        if (tuning == nullptr) {
            qWarning("Interactive Simulation did not open");
            ok = false;
        } else {
            tuning->move(window.geometry().right() - tuning->width() - 20, window.geometry().top() + 80);
            auto* shiftsList = tuning->findChild<QListWidget*>(QStringLiteral("shifts"));
            auto* inc = tuning->findChild<QPushButton*>(QStringLiteral("inc"));
            if (shiftsList != nullptr && shiftsList->item(4) != nullptr && inc != nullptr) {
                QTest::mouseClick(shiftsList->viewport(), Qt::LeftButton, {},
                                  shiftsList->visualItemRect(shiftsList->item(4)).center());
                (void)typeInto(tuning, "increment", QStringLiteral("2"));
                const double before = doc->sim.spinSubsystems[0].shifts()[4];
                // How long the window goes without handling an event while Inc is held.
                QElapsedTimer clock;
                qint64 last = 0;
                qint64 longest = 0;
                QTimer probe;
                probe.setInterval(5);
                QObject::connect(&probe, &QTimer::timeout, [&] {
                    const qint64 now = clock.elapsed();
                    longest = std::max(longest, now - last);
                    last = now;
                });
                clock.start();
                probe.start();
                QTest::mousePress(inc, Qt::LeftButton);
                QTest::qWait(2000);
                ok = save(&window, out.filePath(QStringLiteral("interactive-held-inc-1280x800.png"))) && ok;
                QTest::mouseRelease(inc, Qt::LeftButton);
                probe.stop();
                QTest::qWait(200);
                qInfo(
                    "Inc held on a ten-spin shift: %.0f Hz in %.0f steps; the window went at most %lld ms "
                    "without handling an event",
                    doc->sim.spinSubsystems[0].shifts()[4] - before,
                    (doc->sim.spinSubsystems[0].shifts()[4] - before) / 2.0, longest);
            } else {
                qWarning("Interactive Sim. has no fifth shift or no Inc");
                ok = false;
            }
            ok = save(tuning, out.filePath(QStringLiteral("dialog-interactive-sim.png"))) && ok;
            tuning->close();
        }
        doc->noSaveQuery = 1;
    }
    {
        // Aspirin simulated over its measured spectrum: the four aromatic protons (7.07 to 8.04
        // ppm, ortho 8 Hz, meta 1.7 Hz, read off its peak list) and, as a second subsystem, the methyl group's singlet.
        auto doc = std::make_unique<Document>();
        gui::MainWindow window(*doc);
        window.resize(1280, 800);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        window.dispatcher().openPath(PELVARON_SOURCE_DIR "/tests/data/aspirin-1h/processed-set");
        display::UnitsDialog units(*doc);
        units.select(kPpm);
        units.ok(*doc);

        ModalAnswerer answerer;
        answerCount(answerer, 4);
        answerer.answer([&](QWidget* page) {
            if (auto* ppm = page->findChild<QRadioButton*>(QStringLiteral("ppm"))) ppm->click();
            (void)typeInto(page, "lineWidth", QStringLiteral("1.2"));
            enterOnRing(page, {8.038, 7.527, 7.280, 7.067},
                        {{1, 2, 8.0}, {2, 3, 7.6}, {3, 4, 8.1}, {1, 3, 1.7}, {2, 4, 1.2}, {1, 4, 0.4}});
            ok = save(page, out.filePath(QStringLiteral("dialog-simulation-data-compare.png"))) && ok;
            // Queued only now: the answerer would otherwise take the ring's own dialogs for these.
            answerCount(answerer, 1);
            answerer.answer([&](QWidget* second) {
                if (auto* ppm = second->findChild<QRadioButton*>(QStringLiteral("ppm"))) ppm->click();
                enterOnRing(second, {2.294}, {});
                ModalAnswerer::clickButton(QStringLiteral("OK"))(second);
            });
            ModalAnswerer::clickButton(QStringLiteral("New"))(page);
        });
        window.action(app::kCmdCompareSimulation)->trigger();
        QTest::qWait(200);
        if (window.twoSetStrip() == nullptr) {
            qWarning("Compare to current spc. did not start the two-set display");
            ok = false;
        }
        // The aromatic multiplets, three steps taller, the overview band off.
        zoomInto(*doc, window, 8.2, 6.9);
        if (window.dispatcher().view().dualZoom) window.action(app::kCmdDualZoom)->trigger();
        for (int i = 0; i < 3; ++i) window.action(app::kCmdIncrease)->trigger();
        ok = save(&window, out.filePath(QStringLiteral("compare-1280x800.png"))) && ok;
        doc->noSaveQuery = 1;
    }
    ok = fitShots(out) && ok;
    return ok;
}

namespace {

/// Aspirin's four ring protons fitted to the spectrum of its FID, as the user guide describes it.
bool fitShots(const QDir& out) {
    bool ok = true;
    // The FID processed with the spectrometer's window (em 0.3) and Automatic Processing;
    // compared with shifts read roughly off the spectrum and J of 8.0 (ortho), 1.5 (meta) and
    // 0.5 Hz (para), lines 1 Hz wide; zoomed to 8.12 ... 7.0 ppm; fitted over that window.
    auto doc = std::make_unique<Document>();
    gui::MainWindow window(*doc);
    showEmpty(window);
    window.dispatcher().openPath(PELVARON_SOURCE_DIR "/tests/data/aspirin-1h/fid-set");
    std::string error;
    if (!cli::runSteps(*doc, window.userInterface(), "em=0.3", error)) {
        qWarning("aspirin: %s", error.c_str());
        return false;
    }
    window.action(app::kCmdAutoProcess)->trigger();

    ModalAnswerer answerer;
    answerCount(answerer, 4);
    answerer.answer([&](QWidget* page) {
        if (auto* ppm = page->findChild<QRadioButton*>(QStringLiteral("ppm"))) ppm->click();
        (void)typeInto(page, "lineWidth", QStringLiteral("1.0"));
        enterOnRing(page, {8.05, 7.52, 7.29, 7.06},
                    {{1, 2, 8.0}, {2, 3, 8.0}, {3, 4, 8.0}, {1, 3, 1.5}, {2, 4, 1.5}, {1, 4, 0.5}});
        ModalAnswerer::clickButton(QStringLiteral("OK"))(page);
    });
    window.action(app::kCmdCompareSimulation)->trigger();
    gui::TwoSetStrip* strip = window.twoSetStrip();
    if (strip == nullptr) {
        qWarning("Compare to current spc. did not start the two-set display");
        return false;
    }
    zoomInto(*doc, window, 8.12, 7.0);
    if (window.dispatcher().view().dualZoom) window.action(app::kCmdDualZoom)->trigger();

    QElapsedTimer clock;
    clock.start();
    strip->fit();
    while (strip->fitting() && clock.elapsed() < 120000) QTest::qWait(20);
    const simulation::FitResult& fit = strip->fitter()->result();
    if (fit.status != simulation::FitResult::Status::Converged) {
        qWarning("the fit of aspirin's ring protons ended without converging: %s", fit.message.c_str());
        ok = false;
    }
    qInfo("aspirin's ring protons fitted in %lld ms, %d iterations, relative rms %.4f", clock.elapsed(),
          fit.iterations, fit.relativeRms);
    if (auto* residual = strip->findChild<QCheckBox*>(QStringLiteral("twoSetResidual"))) residual->click();
    ok = save(&window, out.filePath(QStringLiteral("fit-aspirin-1280x800.png"))) && ok;

    answerer.answer(ModalAnswerer::accept());  // Select Subsystem: the first
    window.action(app::kCmdInteractiveSimulation)->trigger();
    if (auto* tuning = window.findChild<gui::InteractiveSimDialogWidget*>()) {
        ok = save(tuning, out.filePath(QStringLiteral("dialog-interactive-sim-fitted.png"))) && ok;
        tuning->close();
    } else {
        qWarning("Interactive Simulation did not open");
        ok = false;
    }
    answerer.answer(ModalAnswerer::accept());  // Select Subsystem: the first
    answerer.answer([&](QWidget* page) {
        ok = save(page, out.filePath(QStringLiteral("dialog-simulation-data-fitted.png"))) && ok;
        ModalAnswerer::clickButton(QStringLiteral("OK"))(page);
    });
    window.action(app::kCmdEditSimulation)->trigger();
    doc->noSaveQuery = 1;
    return ok;
}

}  // namespace

}  // namespace pelvaron::screenshots
