// The window at work, offscreen: it starts, its keys run the items their menu texts name, it
// opens the example through the command path and draws it, and each dialog widget drives its
// model; Ctrl+E opens expansion windows that a set-up closes, and the two-set strip's buttons and
// bars reach the two-set display. What the models and the drawing compute is checked with them.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <map>
#include <memory>
#include <set>

#include "app/command_ids.h"
#include "app/display_commands.h"
#include "app/menu_state.h"
#include "aspect_writer.h"
#include "cli/steps.h"
#include "display/two_set.h"
#include "document/units.h"
#include "gui/dialog_placement.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/interactive_apodization_dialog.h"
#include "gui/dialogs/measure_j_dialog.h"
#include "gui/dialogs/phase_dialog.h"
#include "gui/expansion_window.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/menu_layout.h"
#include "gui/plot_view.h"
#include "gui/two_set_strip.h"
#include "modal_helper.h"
#include "nicolet_writer.h"
#include "nuts_writer.h"
#include "temp_dir.h"
#include "varian_writer.h"
#include "winnmr_writer.h"

using pelvaron::Document;
using pelvaron::gui::ExpansionWindow;
using pelvaron::gui::MainWindow;
using pelvaron::testing::fieldText;
using pelvaron::testing::listLines;
using pelvaron::testing::ModalAnswerer;
using pelvaron::testing::pixelsOf;
using pelvaron::testing::sendMouse;
using pelvaron::testing::typeInto;
namespace app = pelvaron::app;
namespace display = pelvaron::display;

namespace {

const char* const kExample = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";
const QString kExampleFid = QStringLiteral(PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1/fid");

/// Sets the name field of a file dialog; typed, it would have the dialog read the folder.
void setFileName(QWidget* dialog, const QString& path) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Document> doc_;
    std::unique_ptr<MainWindow> window_;
    [[nodiscard]] pelvaron::display::View& view() { return window_->dispatcher().view(); }

    /// Runs the command `id` with `answers` queued for the dialogs it opens, one each, and waits
    /// until all are used; the titles of the dialogs answered.
    QStringList runAnswering(int id, std::vector<ModalAnswerer::Answer> answers) {
        ModalAnswerer answerer;
        for (auto& a : answers) answerer.answer(std::move(a));
        window_->dispatcher().dispatch(id);
        [&answerer] { QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000); }();
        return answerer.seen();
    }

    /// Opens the example as a person would: Open, pick the fid, agree to name its type, OK.
    void openExample() {
        const auto seen = runAnswering(
            app::kCmdOpen,
            {[](QWidget* w) {
                 setFileName(w, kExampleFid);
                 ModalAnswerer::accept()(w);
             },
             [](QWidget* w) {
                 auto* box = qobject_cast<QMessageBox*>(w);
                 QCOMPARE(box->text(),
                          QStringLiteral("This is not a Pelvaron File\n Please indicate the file type"));
                 box->button(QMessageBox::Ok)->click();
             },
             [](QWidget* w) {
                 QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("format0"))->isChecked());
                 ModalAnswerer::accept()(w);
             }});
        QCOMPARE(seen.last(), QStringLiteral("File type"));
    }

private slots:
    void init() {
        doc_ = std::make_unique<Document>();
        window_ = std::make_unique<MainWindow>(*doc_);
        QVERIFY(pelvaron::testing::showActive(window_.get()));
    }

    void cleanup() {
        doc_->noSaveQuery = 1;
        window_.reset();
        doc_.reset();
    }

    void startsWithTheFirstItemsAndShowsEveryServedCommand() {
        QVERIFY(!window_->toolBar()->isVisible());
        for (int id : {app::kCmdOpen, app::kCmdSave})  // the menu state's sets are checked with it
            QCOMPARE(window_->action(id)->isEnabled(), id == app::kCmdOpen);
        // Every command served has its menu item; every toolbar button its icon.
        std::set<int> ids(app::documentCommands().begin(), app::documentCommands().end());
        ids.insert(app::initiallyEnabledCommands().begin(), app::initiallyEnabledCommands().end());
        for (int id : ids) {
            if (window_->dispatcher().hasCommand(id))
                QVERIFY2(window_->action(id) != nullptr, qPrintable(QString::number(id)));
        }
        for (QAction* a : window_->toolBar()->actions())
            QVERIFY2(a->isSeparator() || !a->icon().pixmap(24, 24).isNull(), qPrintable(a->text()));

        // A subsystem registering its command gets its menu item and toolbar button.
        int runs = 0;
        window_->registerCommand(app::kCmdPrint, [&runs](app::CommandContext&) { ++runs; });
        QAction* print = window_->action(app::kCmdPrint);
        QVERIFY(print != nullptr);
        QVERIFY(window_->toolBar()->actions().contains(print));
        QVERIFY(!print->isEnabled());  // until a document is loaded
        window_->userInterface().enableDocumentMenus(true);
        print->trigger();
        QCOMPARE(runs, 1);
    }

    void everyKeyInAMenuTextRunsItsItem() {
        std::map<int, int> runs;
        int keys = 0;
        for (const auto& menu : pelvaron::gui::kMenus) {
            for (const auto& entry : menu.entries) {
                const QString text = QString::fromLatin1(entry.text);
                const qsizetype tab = text.indexOf(QLatin1Char('\t'));
                if (entry.id <= 0 || tab < 0) continue;
                // "Ctrl+O", "Ctrl-N", "(Key Up)": the key as the menu shows it.
                QString key = text.mid(tab + 1).remove(QStringLiteral("(Key ")).remove(QLatin1Char(')'));
                const int id = entry.id;
                window_->registerCommand(id, [&runs, id](app::CommandContext&) { ++runs[id]; });
                window_->userInterface().enableDocumentMenus(true);
                runs.clear();
                QTest::keySequence(window_.get(),
                                   QKeySequence(key.replace(QLatin1Char('-'), QLatin1Char('+'))));
                QVERIFY2(runs == (std::map<int, int>{{id, 1}}), qPrintable(text));
                ++keys;
            }
        }
        QVERIFY(keys >= 10);
    }

    void opensTheExampleDrawsItAndReadsOutWhereTheMouseIs() {
        openExample();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Pelvaron 1.5.0 fid"));
        QVERIFY(window_->toolBar()->isVisible());
        QVERIFY(window_->action(app::kCmdSave)->isEnabled());
        QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("statusReference"))->text(),
                 QStringLiteral("Reference: procs"));
        const QImage plot = window_->plotView()->plotImage();
        QVERIFY(pixelsOf(plot, Qt::blue) > 2000);
        // The axis panel lies across the bottom of the plot.
        QCOMPARE(plot.pixelColor(plot.width() / 2, plot.height() / plot.devicePixelRatio() - 5),
                 QColor(240, 240, 240));
        QTest::mouseMove(window_->plotView(), QPoint(0, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("Second 0.000")));

        runAnswering(app::kCmdUnits, {[](QWidget* w) {
                         QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("seconds"))->isChecked());
                         w->findChild<QRadioButton*>(QStringLiteral("ppm"))->click();
                         ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
                     }});
        QCOMPARE(doc_->spectrum.xUnits, 2);
        QTest::mouseMove(window_->plotView(), QPoint(5, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("ppm ")));
    }

    void setLimitsDialogRefusesLimitsOutsideTheData() {
        openExample();
        const QStringList seen =
            runAnswering(app::kCmdSetLimits, {[](QWidget* w) {
                                                  QCOMPARE(fieldText(w, "from"), QStringLiteral("0.000"));
                                                  QCOMPARE(fieldText(w, "to"), QStringLiteral("1.363"));
                                                  QVERIFY(typeInto(w, "to", QStringLiteral("9")));
                                                  ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
                                              },
                                              ModalAnswerer::clickButton(QStringLiteral("OK")),
                                              [](QWidget* w) {  // still Set limits: correct the entry
                                                  QVERIFY(typeInto(w, "from", QStringLiteral("0.5")));
                                                  QVERIFY(typeInto(w, "to", QStringLiteral("0.25")));
                                                  ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
                                              }});
        QCOMPARE(seen, (QStringList{"Set limits", "Limits exceeded", "Set limits"}));
        QVERIFY(qAbs(view().viewLeft - 0.25) < 1e-9 && qAbs(view().viewRight - 0.5) < 1e-9);
        QCOMPARE(window_->horizontalBar()->value(), view().hScrollPos);
    }

    void scaleFactorParametersAndCommentDialogs() {
        openExample();
        runAnswering(app::kCmdScaleFactor, {[](QWidget* w) {
                         QCOMPARE(fieldText(w, "factor"), QStringLiteral("1.33"));
                         QVERIFY(typeInto(w, "factor", QStringLiteral("3")));
                         ModalAnswerer::clickButton(QStringLiteral("Ok"))(w);
                     }});
        QCOMPARE(view().yScaleFactor, 3.0);
        runAnswering(
            app::kCmdParameters, {[](QWidget* w) {
                const QStringList fields{fieldText(w, "sf"), fieldText(w, "sw"), fieldText(w, "swPpm"),
                                         fieldText(w, "aq"), fieldText(w, "td"), fieldText(w, "mode")};
                QCOMPARE(fields, (QStringList{"400.130", "6009.615", "15.019", "1.36", "16384", "Complex"}));
                ModalAnswerer::accept()(w);
            }});
        // New comments start with the version text of the last JCAMP-DX file read.
        doc_->jcamp.lastJcampText = " 5.00";
        runAnswering(app::kCmdInsertComments, {[](QWidget* w) {
                         auto* edit = w->findChild<QPlainTextEdit*>(QStringLiteral("comment"));
                         QCOMPARE(edit->toPlainText(), QStringLiteral(" 5.00"));
                         edit->selectAll();
                         QTest::keyClicks(edit, QStringLiteral("Ethyl acetate in CDCl3"));
                         ModalAnswerer::accept()(w);
                     }});
        QCOMPARE(doc_->comments.boxes.size(), std::size_t{1});
        QCOMPARE(doc_->comments.boxes[0].text, std::string("Ethyl acetate in CDCl3"));
        QVERIFY(doc_->comments.boxes[0].rect.width() > 50);
        // A click on the box selects it; Delete removes it.
        const pelvaron::Rect r = doc_->comments.boxes[0].rect;
        const QPoint inside(r.left + 2, r.top + 2 - pelvaron::gui::PlotView::topRows());
        QTest::mouseClick(window_->plotView(), Qt::LeftButton, Qt::NoModifier, inside);
        QCOMPARE(doc_->comments.selected, 0);
        QTest::keyClick(window_->plotView(), Qt::Key_Delete);
        QVERIFY(doc_->comments.boxes.empty());
    }

    void zoomDragAndPanWithTheMouseAndScrollBar() {
        openExample();
        window_->action(app::kCmdZoom)->trigger();
        QVERIFY(window_->action(app::kCmdDualZoom)->isChecked());
        QWidget* plot = window_->plotView();
        const int y0 = plot->height() / 2;
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(400, y0), Qt::LeftButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, QPoint(600, y0 + 50), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window_->plotView()->overlay().shape, pelvaron::display::Overlay::Shape::Rectangle);
        sendMouse(plot, QEvent::MouseButtonRelease, QPoint(600, y0 + 50), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window_->plotView()->overlay().shape, pelvaron::display::Overlay::Shape::None);
        QVERIFY(view().viewZoom > 5.0);
        // One line step of the scroll bar moves both limits by 10 data indices.
        const double left = view().viewLeft;
        QScrollBar* bar = window_->horizontalBar();
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(qAbs(view().viewLeft - left - 10 * doc_->spectrum.acqPars.AQ / doc_->spectrum.nData) < 1e-9);
        QCOMPARE(bar->value(), view().hScrollPos);
        // In the full view the bar is inert.
        window_->dispatcher().dispatch(app::kCmdFull);
        QVERIFY(!bar->isEnabled());
    }

    void importReadsEveryFormatOfTheFileTypeDialog() {
        pelvaron::testing::TempDir dir;
        const std::vector<double> d = {1000, -2000, 3000, -4000};
        // The dialog's buttons in order: Bruker, Aspect, WIN-NMR, Varian, Gemini, Nicolet, Nuts.
        const std::pair<int, std::string> files[] = {
            {1, dir.file("aspect.fid")},
            {2, pelvaron::testing::writeWinNmr(dir.file("winnmr"), "exp1.fid",
                                               {.values = {d.begin(), d.end()}}, true, true)},
            {3, pelvaron::testing::writeVarianFid(dir.file("varian.fid"), {.values = d})},
            {4, pelvaron::testing::writeGeminiFid(dir.file("gemini"), {.values = d})},
            {5, dir.file("nicolet.fid")},
            {6, dir.file("nuts.dat")}};
        pelvaron::testing::writeFile(dir.file("aspect.fid"),
                                     pelvaron::testing::aspectFile({.values = {1000, -2000, 3000, -4000}}));
        pelvaron::testing::writeFile(
            dir.file("nicolet.fid"),
            pelvaron::testing::nicoletFile({.real = {1000, 3000}, .imag = {-2000, -4000}}));
        pelvaron::testing::writeFile(dir.file("nuts.dat"), pelvaron::testing::nutsFile({.values = d}));
        for (const auto& [button, path] : files) {
            doc_->noSaveQuery = 1;
            doc_->spectrum.specData.fill(0.0);
            const QString file = QString::fromStdString(path);
            const auto seen = runAnswering(
                app::kCmdImport,
                {[button = button](QWidget* w) {
                     w->findChild<QRadioButton*>(QStringLiteral("format%1").arg(button))->click();
                     ModalAnswerer::accept()(w);
                 },
                 [file](QWidget* w) {
                     setFileName(w, file);
                     ModalAnswerer::accept()(w);
                 }});
            QCOMPARE(seen.first(), QStringLiteral("File type"));
            QCOMPARE(
                std::vector<double>(doc_->spectrum.specData.begin(), doc_->spectrum.specData.begin() + 4), d);
            QCOMPARE(doc_->spectrum.nData, 4);
        }
    }

    void theAnalysisToolsOpenTheirDialogsFromThePlot() {
        QVERIFY(window_->dispatcher().openPath(kExample));
        std::string error;
        QVERIFY(pelvaron::cli::runSteps(*doc_, window_->userInterface(), "em=0.3,ft,autophase", error));
        doc_->spectrum.xUnits = pelvaron::kPpm;
        QWidget* plot = window_->plotView();
        const int low = plot->height() * 3 / 5;
        auto drag = [&](int x0, int x1) {
            sendMouse(plot, QEvent::MouseButtonPress, QPoint(x0, low), Qt::LeftButton, Qt::LeftButton);
            sendMouse(plot, QEvent::MouseMove, QPoint(x1, low + 20), Qt::NoButton, Qt::LeftButton);
            sendMouse(plot, QEvent::MouseButtonRelease, QPoint(x1, low + 20), Qt::LeftButton, Qt::NoButton);
        };
        ModalAnswerer answerer;

        // An integral, then three hydrogens for it by a right click on its label.
        window_->action(app::kCmdIntegrate)->trigger();
        drag(600, 700);
        QCOMPARE(doc_->integrals.integralCount, 1);
        (void)window_->plotView()->plotImage();  // drawn: the label's hit box is where it shows
        answerer.answer([](QWidget* w) {
            QVERIFY(typeInto(w, "hydrogens", QStringLiteral("3")));
            ModalAnswerer::accept()(w);
        });
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(650, low), Qt::RightButton, Qt::RightButton);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000);
        QCOMPARE(answerer.seen().last(), QStringLiteral("Number of Hydrogens"));
        QCOMPARE(doc_->integrals.refIntegralValue, 3.0);

        // A picked region opens the report.
        answerer.answer(ModalAnswerer::accept());
        window_->action(app::kCmdPeakPicking)->trigger();
        drag(100, 1200);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000);
        QCOMPARE(answerer.seen().last(), QStringLiteral("PEAK PICKING"));
        QCOMPARE(doc_->peaks.peakRegionCount, 1);

        // Measure J grays the document's commands until its dialog closes; each click adds the
        // model's line, Clear All empties the list and keeps measuring, Reset breaks the chain.
        window_->action(app::kCmdMeasureJ)->trigger();
        QWidget* measureJ = window_->measureJDialog();
        QVERIFY(measureJ != nullptr && !window_->action(app::kCmdOpen)->isEnabled());
        drag(300, 300);
        drag(330, 330);
        QCOMPARE(doc_->jState.jLines.size(), std::size_t{1});
        QTRY_COMPARE_WITH_TIMEOUT(listLines(measureJ, "lines"),
                                  pelvaron::testing::qtLines(doc_->jState.jLines), 5000);
        pelvaron::testing::click(measureJ, "clearAll");
        QVERIFY(listLines(measureJ, "lines").isEmpty() && measureJ->isVisible());
        QCOMPARE(doc_->jState.jCursorCount, 0);
        drag(300, 300);
        pelvaron::testing::click(measureJ, "reset");
        QCOMPARE(std::pair(doc_->jState.jChainBreak, doc_->jState.jCursorCount), std::pair(1, 1));
        measureJ->close();  // the title bar's close acts as OK
        QTRY_VERIFY_WITH_TIMEOUT(window_->measureJDialog() == nullptr, 5000);
        QVERIFY(window_->action(app::kCmdOpen)->isEnabled());
        QCOMPARE(std::tuple(doc_->jState.jShown, doc_->jState.jCursorCount,
                            view().mouse.tool == pelvaron::display::Tool::None),
                 std::tuple(0, 0, true));

        // Reference: the click opens the dialog, its OK moves the axis.
        answerer.answer([](QWidget* w) {
            QVERIFY(!pelvaron::testing::child<QLineEdit>(w, "currentReference")->isEnabled());
            QVERIFY(typeInto(w, "newReference", QStringLiteral("5")));
            ModalAnswerer::accept()(w);
        });
        window_->action(app::kCmdReference)->trigger();
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(640, low), Qt::LeftButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000);
        QCOMPARE(answerer.seen().last(), QStringLiteral("Reference"));
        QVERIFY(qAbs(pelvaron::units::tToUnit(*doc_, view().tools.referencePickT, pelvaron::kPpm) - 5.0) <
                1e-9);
        QVERIFY(view().mouse.tool == pelvaron::display::Tool::None);
    }

    void helpAboutSplashAndTheSaveQuestionOnClosing() {
        window_->dispatcher().dispatch(app::kCmdHelp);
        QVERIFY(window_->helpWindow()->isVisible());
        QVERIFY(window_->helpWindow()->guideText().contains(QStringLiteral("Pelvaron user guide")));
        QCOMPARE(runAnswering(app::kCmdAbout, {ModalAnswerer::accept()}), QStringList{"About Pelvaron"});
        pelvaron::gui::SplashDialog splash(window_.get(), 50);  // closes by itself
        QCOMPARE(splash.exec(), int(QDialog::Accepted));

        // Closing asks to save a loaded document; Cancel keeps the window.
        openExample();
        const QStringList seen = runAnswering(app::kCmdExit, {[](QWidget* w) {
                                                  auto* box = qobject_cast<QMessageBox*>(w);
                                                  QCOMPARE(box->icon(), QMessageBox::Question);
                                                  box->button(QMessageBox::Cancel)->click();
                                              }});
        QCOMPARE(seen, QStringList{"Warning"});
        QVERIFY(window_->isVisible());
    }

    void apodizeTransformAutophaseAndPhaseTheExample() {
        openExample();
        const double before = doc_->spectrum.specData[2000];
        QVERIFY(before != 0.0);
        runAnswering(app::kCmdApodize, {[](QWidget* w) {
                         QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("exponential"))->isChecked());
                         QVERIFY(typeInto(w, "lbExponential", QStringLiteral("1")));
                         ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
                     }});
        const double decay = std::exp(-3.141592653589793 * 2000 / (2 * doc_->spectrum.acqPars.SW));
        QVERIFY(qAbs(doc_->spectrum.specData[2000] - before * decay) < 1e-6);

        // The size stays 16384 and the filter's delay is proposed as the rotation.
        const QImage fid = window_->plotView()->plotImage();
        runAnswering(app::kCmdFourier, {[](QWidget* w) {
                         QCOMPARE(fieldText(w, "points"), QStringLiteral("16384"));
                         QVERIFY(w->findChild<QCheckBox*>(QStringLiteral("rotateData"))->isChecked());
                         QCOMPARE(fieldText(w, "rotateCount"), QStringLiteral("70"));
                         QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("inverse"))->isChecked());
                         ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
                     }});
        // A spectrum on a ppm axis (where its lines lie is checked with the transform's steps).
        QCOMPARE(doc_->spectrum.xUnits, 2);
        QVERIFY(window_->plotView()->plotImage() != fid);

        window_->action(app::kCmdAutophase)->trigger();
        QVERIFY(doc_->spectrum.specData[doc_->spectrum.peakIndex] > 0.0);
        const QImage phased = window_->plotView()->plotImage();

        // Phase Correction: modeless, the pivot drawn, the loads and the transform grayed.
        QCOMPARE(pixelsOf(phased, Qt::red), 0);
        window_->action(app::kCmdPhase)->trigger();
        pelvaron::gui::PhaseDialogWidget* dialog = window_->phaseDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible() && !dialog->isModal());
        QVERIFY(pixelsOf(window_->plotView()->plotImage(), Qt::red) > 100);
        QVERIFY(!window_->action(app::kCmdFourier)->isEnabled());
        auto* order0 = dialog->findChild<QScrollBar*>(QStringLiteral("order0"));
        QCOMPARE(order0->value(), static_cast<int>(100 * doc_->spectrum.phase0));
        const double phase0 = doc_->spectrum.phase0;
        // The keyboard works in it: the first scroll bar has the focus and answers the keys, away
        // from the end of the range the phase sits nearer to, so that no clamp interferes.
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(dialog->focusWidget(), static_cast<QWidget*>(order0));
        const bool down = phase0 - 10.0 >= -180.0;
        QTest::keyClick(order0, down ? Qt::Key_PageUp : Qt::Key_PageDown);
        QTest::keyClick(order0, down ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(doc_->spectrum.phase0, down ? phase0 - 9.0 : phase0 + 9.0);
        QCOMPARE(fieldText(dialog, "order0Text"), QString::asprintf("%.1f", doc_->spectrum.phase0));
        QVERIFY(window_->plotView()->plotImage() != phased);

        // Escape cancels: the phase of the opening comes back and the window's items return.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
        QCOMPARE(doc_->spectrum.phase0, phase0);
        QVERIFY(window_->action(app::kCmdFourier)->isEnabled());
        QCOMPARE(pixelsOf(window_->plotView()->plotImage(), Qt::red), 0);

        // Apply with a typed angle, then OK commits it.
        window_->dispatcher().dispatch(app::kCmdPhase);
        dialog = window_->phaseDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(typeInto(dialog, "order0Text", QStringLiteral("12.7")));
        ModalAnswerer::clickButton(QStringLiteral("Apply"))(dialog);
        QCOMPARE(dialog->findChild<QScrollBar*>(QStringLiteral("order0"))->value(), 1200);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
        QCOMPARE(doc_->spectrum.phase0, 12.7);
        // Left open, the dialog goes with the window.
        window_->dispatcher().dispatch(app::kCmdPhase);
        QVERIFY(window_->phaseDialog() != nullptr);
    }

    void interactiveApodizationFollowsItsBarsAndItsCancelRestores() {
        openExample();
        const std::vector<double> fid(doc_->spectrum.specData.begin(),
                                      doc_->spectrum.specData.begin() + doc_->spectrum.nData);
        const QImage before = window_->plotView()->plotImage();
        window_->action(app::kCmdInteractiveApodization)->trigger();
        pelvaron::gui::InteractiveApodizationDialogWidget* dialog = window_->apodizationDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible() && !dialog->isModal());
        QVERIFY(!window_->action(app::kCmdFourier)->isEnabled() &&
                !window_->action(app::kCmdPhase)->isEnabled());
        // The exponential's button is the selected one: its caption white on the dark face.
        auto* exp = dialog->findChild<QAbstractButton*>(QStringLiteral("function0"));
        auto* sine = dialog->findChild<QAbstractButton*>(QStringLiteral("function3"));
        QVERIFY(exp->isChecked() && !sine->isChecked());
        QCOMPARE(exp->text(), QStringLiteral("Exp."));
        QVERIFY(pixelsOf(exp->grab().toImage(), Qt::white) > 0 &&
                pixelsOf(exp->grab().toImage(), Qt::black) == 0);
        QVERIFY(pixelsOf(sine->grab().toImage(), Qt::black) > 0);
        QCOMPARE(fieldText(dialog, "lbText"), QStringLiteral("0.00"));
        QVERIFY(!dialog->findChild<QScrollBar*>(QStringLiteral("gb"))->isVisible());

        // The LB bar has the keyboard; each step re-transforms the stored FID and shows its S/N.
        auto* lb = dialog->findChild<QScrollBar*>(QStringLiteral("lb"));
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(dialog->focusWidget(), static_cast<QWidget*>(lb));
        const QString snAtOpen = fieldText(dialog, "snText");
        QTest::keyClick(lb, Qt::Key_Right);
        QCOMPARE(fieldText(dialog, "lbText"), QStringLiteral("0.04"));
        QCOMPARE(lb->value(), 2);
        QVERIFY(fieldText(dialog, "snText") != snAtOpen);
        QVERIFY(window_->plotView()->plotImage() != before);
        QTest::keyClick(lb, Qt::Key_PageDown);
        QCOMPARE(fieldText(dialog, "snText"), QString::fromStdString(dialog->model().snText()));
        QCOMPARE(lb->value(), 27);

        sine->click();
        QVERIFY(sine->isChecked() && !exp->isChecked());
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("lbLabel"))->text(), QStringLiteral("Degrees"));
        QCOMPARE(fieldText(dialog, "lbText"), QStringLiteral("49.86"));
        dialog->findChild<QAbstractButton*>(QStringLiteral("function5"))->click();
        auto* gb = dialog->findChild<QScrollBar*>(QStringLiteral("gb"));
        QVERIFY(gb->isVisible());
        gb->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(fieldText(dialog, "gbText"), QStringLiteral("0.60"));

        // Escape cancels: the FID comes back and the window's items return.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(window_->apodizationDialog() == nullptr);
        QVERIFY(std::equal(fid.begin(), fid.end(), doc_->spectrum.specData.begin()));
        QVERIFY(window_->action(app::kCmdFourier)->isEnabled());

        // Opened again on the function chosen last; OK keeps the spectrum on a ppm axis.
        window_->dispatcher().dispatch(app::kCmdInteractiveApodization);
        dialog = window_->apodizationDialog();
        QVERIFY(dialog->findChild<QAbstractButton*>(QStringLiteral("function5"))->isChecked());
        QCOMPARE(fieldText(dialog, "gbText"), QStringLiteral("0.50"));
        dialog->findChild<QScrollBar*>(QStringLiteral("lb"))
            ->triggerAction(QAbstractSlider::SliderPageStepSub);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
        QTRY_VERIFY(window_->apodizationDialog() == nullptr);
        QCOMPARE(doc_->spectrum.xUnits, 2);
        QCOMPARE(doc_->spectrum.ftInverse, 1);
    }

    void dataPointsListAndJcampExport() {
        openExample();
        runAnswering(app::kCmdDataPoints, {[](QWidget* w) {
                         auto* list = w->findChild<QListWidget*>(QStringLiteral("values"));
                         QCOMPARE(list->count(), 8192);
                         ModalAnswerer::clickButton(QStringLiteral("Ok"))(w);
                     }});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fid.jdx"));
        runAnswering(app::kCmdExportJcamp,
                     {[](QWidget* w) {
                          QCOMPARE(fieldText(w, "nucleus"), QStringLiteral("^1H"));
                          w->findChild<QRadioButton*>(QStringLiteral("fid"))->click();
                          QVERIFY(typeInto(w, "title", QStringLiteral("Ethyl acetate")));
                          ModalAnswerer::accept()(w);
                      },
                      [path](QWidget* w) {
                          setFileName(w, path);
                          ModalAnswerer::accept()(w);
                      }});
        const std::string text = pelvaron::testing::readFile(path.toStdString());
        QVERIFY(text.starts_with("##TITLE= Ethyl acetate\n") &&
                text.find("##DATA TYPE= NMR FID\n") != text.npos);
    }

    void dialogsAreCentredAndKeptOnTheScreen() {
        using pelvaron::gui::centeredPosition;
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(centeredPosition(QRect(100, 100, 800, 600), QSize(200, 100), screen), QPoint(400, 350));
        // Near the right and bottom edges the dialog is pushed back onto the screen.
        QCOMPARE(centeredPosition(QRect(1700, 1000, 400, 200), QSize(300, 200), screen), QPoint(1620, 880));
        // Larger than the screen: the top-left corner stays visible.
        QCOMPARE(centeredPosition(QRect(0, 0, 100, 100), QSize(2500, 1500), screen), QPoint(0, 0));
    }

    void ctrlEOpensAChildWindowThatASetUpCloses() {
        QVERIFY(window_->dispatcher().openPath(kExample));
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        const auto windows = window_->expansionWindows();
        QCOMPARE(static_cast<int>(windows.size()), 2);
        ExpansionWindow* w = windows[0]->slot() == 0 ? windows[0] : windows[1];
        QCOMPARE(w->parentWidget(), window_->plotView());
        QCOMPARE(view().nExpansions, 2);
        // Where it stands, for the printed page: at (100, 100) of the client area, 200 x 150.
        const pelvaron::display::ExpansionSlot& slot = view().expansions.windows[0];
        QCOMPARE(slot.frame, (pelvaron::Rect{100, 100, 300, 250}));
        QCOMPARE(slot.captionHeight, 150 - w->view()->height());
        QVERIFY(pelvaron::testing::pixelsOf(w->view()->grab().toImage(), Qt::blue) > 20);

        // Its buttons and a drag in it change its own slot only.
        const double vScale = slot.expVScale;
        QTest::mouseClick(w->view()->button(display::ExpansionButton::Increase), Qt::LeftButton);
        QCOMPARE(std::pair(slot.expVScale, view().vScale), std::pair(vScale * 1.5, vScale));
        const int width = w->view()->width();
        sendMouse(w->view(), QEvent::MouseButtonPress, QPoint(width / 4, 40), Qt::LeftButton, Qt::LeftButton);
        sendMouse(w->view(), QEvent::MouseMove, QPoint(width / 2, 60), Qt::NoButton, Qt::LeftButton);
        QVERIFY(!w->view()->rubber().isNull());
        sendMouse(w->view(), QEvent::MouseButtonRelease, QPoint(width / 2, 60), Qt::LeftButton, Qt::NoButton);
        QVERIFY(slot.expLeftIndex > 0 && slot.expRightIndex < doc_->spectrum.nData);

        // The close button frees the slot at once; a set-up closes the rest.
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("expansionClose")), Qt::LeftButton);
        QCOMPARE(view().expansionUsed[0], 0);
        QCOMPARE(static_cast<int>(window_->expansionWindows().size()), 1);
        QVERIFY(window_->dispatcher().openPath(kExample));
        QVERIFY(window_->expansionWindows().empty());
        QCOMPARE(view().nExpansions, 0);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(window_->expansionWindows().at(0)->slot(), 0);
    }

    void theStripsButtonsAndBarsReachTheTwoSetDisplay() {
        QVERIFY(window_->dispatcher().openPath(kExample));
        // As Add/Subtract does once its Open has loaded the new set.
        display::prepareTwoSetDisplay(*doc_, view());
        window_->showTwoSetControls(true);
        display::beginTwoSetDisplay(*doc_, view());
        auto* strip = window_->twoSetStrip();
        QVERIFY(strip != nullptr);
        const double before = doc_->spectrum.specData[0];

        strip->bar(display::TwoSetBar::Shift)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(view().secondShift, 25);
        QCOMPARE(window_->statusText(0), QStringLiteral("Offset: 25"));
        auto button = [&](int id) {
            return strip->findChild<QPushButton*>(QStringLiteral("twoSet%1").arg(id));
        };
        QCOMPARE(button(app::kCmdTwoSetAdd)->text(), QStringLiteral("1+2"));
        QTest::mouseClick(button(app::kCmdTwoSetSubtract), Qt::LeftButton);
        QCOMPARE(doc_->spectrum.specData[0], before);  // the shift leaves the first doubles alone
        QCOMPARE(doc_->spectrum.specData[25], doc_->secondData[25] - doc_->secondData[0]);
        QTest::mouseClick(button(app::kCmdTwoSetRange), Qt::LeftButton);
        QCOMPARE(strip->bar(display::TwoSetBar::Factor)->maximum(), 5000);

        QTest::mouseClick(button(app::kCmdTwoSetQuit), Qt::LeftButton);
        QCOMPARE(view().addSubMode, 0);
        QVERIFY(window_->twoSetStrip() == nullptr);
        QCOMPARE(doc_->spectrum.specData[25], doc_->undo.specData[25]);
    }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
