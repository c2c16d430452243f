// The window at work, offscreen: it starts, opens the example through the command path, draws
// the plot with its axis, and each dialog widget drives its model.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>
#include <set>
#include <sstream>

#include "app/command_ids.h"
#include "cli/cli.h"
#include "display/paint.h"
#include "gui/dialog_placement.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/phase_dialog.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/plot_view.h"
#include "gui/qpainter_surface.h"
#include "modal_helper.h"

using pelvaron::Document;
using pelvaron::gui::MainWindow;
using pelvaron::testing::ModalAnswerer;
namespace app = pelvaron::app;

namespace {

const QString kExampleFid = QStringLiteral(PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1/fid");

/// Records the texts drawn while passing every call on to a QPainter surface.
class TextRecorder : public pelvaron::gui::QPainterSurface {
public:
    using QPainterSurface::QPainterSurface;
    std::set<std::string> texts;
    void drawText(pelvaron::platform::Point at, std::string_view text,
                  pelvaron::platform::Color color) override {
        texts.emplace(text);
        QPainterSurface::drawText(at, text, color);
    }
};

std::set<std::string> axisLabels(const Document& doc) {
    QImage image(doc.clientWidth, doc.clientHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    TextRecorder recorder(painter, doc.clientWidth, doc.clientHeight);
    pelvaron::display::paintDocument(recorder, doc, {});
    return recorder.texts;
}

/// Pixels of the trace's blue in the plot image.
int bluePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 80 && c.green() < 80) ++count;
        }
    }
    return count;
}

/// Pixels of the red of the pivot line and the marks.
int redPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++count;
        }
    }
    return count;
}

/// Where a data index lies on the ppm axis.
double ppmAt(const Document& doc, int index) {
    return (doc.refIndex - index) * (doc.acqPars.SW / doc.acqPars.SF) / doc.nData;
}

/// Types `text` into the named edit box of `dialog` as a person would.
void typeInto(QWidget* dialog, const char* name, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY2(edit != nullptr, name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void waitForAnswers(const ModalAnswerer& answerer) { QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000); }

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Document> doc_;
    std::unique_ptr<MainWindow> window_;

    /// Opens the example as a person would: Open, pick the fid, agree to name its type, OK.
    void openExample() {
        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog != nullptr);
            // Typed into the name field, as a person would, so the dialog need not have read the folder.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(kExampleFid);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        answerer.answer([](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(),
                     QStringLiteral("This is not a Pelvaron File\n Please indicate the file type"));
            QCOMPARE(box->windowTitle(), QStringLiteral("Warning"));
            box->button(QMessageBox::Ok)->click();
        });
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("File type"));
            auto* bruker = w->findChild<QRadioButton*>(QStringLiteral("format0"));
            QVERIFY(bruker != nullptr);
            QVERIFY(bruker->isChecked());
            QCOMPARE(bruker->text(), QStringLiteral("&Bruker UXNMR/XWIN-NMR"));
            ModalAnswerer::accept()(w);
        });
        QVERIFY(window_->dispatcher().dispatch(app::kCmdOpen));
        waitForAnswers(answerer);
    }

private slots:
    void init() {
        doc_ = std::make_unique<Document>();
        window_ = std::make_unique<MainWindow>(*doc_);
        window_->resize(1280, 800);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() {
        doc_->noSaveQuery = 1;
        window_.reset();
        doc_.reset();
    }

    void startsWithOnlyTheFirstItemsEnabled() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Pelvaron 1.5"));
        QVERIFY(!window_->toolBar()->isVisible());
        QVERIFY(window_->action(app::kCmdOpen)->isEnabled());
        QVERIFY(window_->action(app::kCmdImport)->isEnabled());
        QVERIFY(window_->action(app::kCmdDotDisplay)->isEnabled());
        QVERIFY(!window_->action(app::kCmdSave)->isEnabled());
        QVERIFY(!window_->action(app::kCmdZoom)->isEnabled());
        QCOMPARE(window_->action(app::kCmdOpen)->text(), QStringLiteral("&Open\tCtrl+O"));
        QCOMPARE(window_->action(app::kCmdInsertComments)->text(),
                 QStringLiteral("I&nsert Comments\tCtrl-N"));
        // Items of subsystems this build does not serve are not shown at all.
        QVERIFY(window_->action(app::kCmdFourier) == nullptr ||
                window_->dispatcher().hasCommand(app::kCmdFourier));
        QStringList menus;
        for (QAction* a : window_->menuBar()->actions()) menus << a->text();
        QVERIFY(menus.contains(QStringLiteral("&File")));
        QVERIFY(menus.contains(QStringLiteral("&View")));
        QVERIFY(menus.contains(QStringLiteral("&Help")));

        // A subsystem registering its command gets its menu item and toolbar button.
        int runs = 0;
        window_->registerCommand(app::kCmdPrint, [&runs](app::CommandContext&) { ++runs; });
        QAction* print = window_->action(app::kCmdPrint);
        QVERIFY(print != nullptr);
        QCOMPARE(print->text(), QStringLiteral("&Print\tCtrl+P"));
        QCOMPARE(print->toolTip(), QStringLiteral("Print"));
        QVERIFY(window_->toolBar()->actions().contains(print));
        QVERIFY(!print->isEnabled());  // until a document is loaded
        window_->userInterface().enableDocumentMenus(true);
        QVERIFY(print->isEnabled());
        print->trigger();
        QCOMPARE(runs, 1);
    }

    void opensTheExampleAndDrawsItsPlot() {
        openExample();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Pelvaron 1.5.0 fid"));
        QVERIFY(window_->toolBar()->isVisible());
        QVERIFY(window_->action(app::kCmdSave)->isEnabled());
        QCOMPARE(window_->action(app::kCmdZoom)->toolTip(), QStringLiteral("Zoom"));
        QCOMPARE(doc_->nData, 16384);
        // The status bar says where the ppm axis came from.
        auto* reference = window_->findChild<QLabel*>(QStringLiteral("statusReference"));
        QVERIFY(reference != nullptr);
        QCOMPARE(reference->text(), QStringLiteral("Reference: procs"));
        QAction* recorded = window_->action(app::kCmdProcessAsRecorded);
        QVERIFY(recorded != nullptr && recorded->isEnabled());
        QCOMPARE(recorded->text(), QStringLiteral("Process as &Recorded\tCtrl+R"));
        QVERIFY(window_->toolBar()->actions().contains(recorded));

        const QImage plot = window_->plotView()->plotImage();
        QVERIFY(bluePixels(plot) > 2000);
        // The axis panel lies across the bottom of the plot.
        const QColor panel = plot.pixelColor(plot.width() / 2, plot.height() / plot.devicePixelRatio() - 5);
        QCOMPARE(panel, QColor(240, 240, 240));

        // Seconds: AQ is 1.363 s, ticks every 0.04 s labelled on the tenths that fall on them.
        std::set<std::string> labels = axisLabels(*doc_);
        QVERIFY(labels.count("0.20") == 1 && labels.count("1.20") == 1);
        QVERIFY(labels.count("0.10") == 0);

        // The read-out follows the mouse over the plot.
        QTest::mouseMove(window_->plotView(), QPoint(0, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("Second 0.000")));
        QVERIFY(window_->statusText(1).contains(QStringLiteral("Int.=")));
    }

    void unitsDialogDrivesItsModel() {
        openExample();
        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Units"));
            QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("seconds"))->isChecked());
            w->findChild<QRadioButton*>(QStringLiteral("ppm"))->click();
            ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
        });
        window_->dispatcher().dispatch(app::kCmdUnits);
        waitForAnswers(answerer);
        QCOMPARE(doc_->xUnits, 2);
        // The ppm axis runs from about 15 ppm at the left to about 0 at the right, in whole ppm.
        const std::set<std::string> labels = axisLabels(*doc_);
        QVERIFY(labels.count("2") == 1 && labels.count("10") == 1);
        QTest::mouseMove(window_->plotView(), QPoint(5, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("ppm ")));
    }

    void setLimitsDialogRefusesLimitsOutsideTheData() {
        openExample();
        const double aq = doc_->acqPars.AQ;
        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Set limits"));
            auto* from = w->findChild<QLineEdit*>(QStringLiteral("from"));
            auto* to = w->findChild<QLineEdit*>(QStringLiteral("to"));
            QCOMPARE(from->text(), QStringLiteral("0.000"));
            QCOMPARE(to->text(), QStringLiteral("1.363"));
            to->clear();
            QTest::keyClicks(to, QStringLiteral("9"));
            ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
        });
        answerer.answer([](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), QStringLiteral("Error"));
            QCOMPARE(box->windowTitle(), QStringLiteral("Limits exceeded"));
            box->button(QMessageBox::Ok)->click();
        });
        answerer.answer([](QWidget* w) {
            // Still the Set limits dialog: correct the entry.
            auto* from = w->findChild<QLineEdit*>(QStringLiteral("from"));
            auto* to = w->findChild<QLineEdit*>(QStringLiteral("to"));
            QVERIFY(from != nullptr && to != nullptr);
            from->clear();
            QTest::keyClicks(from, QStringLiteral("0.5"));
            to->clear();
            QTest::keyClicks(to, QStringLiteral("0.25"));
            ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
        });
        window_->dispatcher().dispatch(app::kCmdSetLimits);
        waitForAnswers(answerer);
        QCOMPARE(answerer.seen(), (QStringList{"Set limits", "Limits exceeded", "Set limits"}));
        QVERIFY(qAbs(doc_->viewLeft - 0.25) < 1e-9);
        QVERIFY(qAbs(doc_->viewRight - 0.5) < 1e-9);
        QVERIFY(doc_->viewZoom > 5.0 && doc_->viewZoom < 5.5);
        QVERIFY(aq > 1.3);
        QVERIFY(window_->horizontalBar()->isEnabled());
        QCOMPARE(window_->horizontalBar()->value(), doc_->hScrollPos);
    }

    void scaleFactorParametersAndCommentDialogs() {
        openExample();
        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("SCALE Y FACTOR"));
            auto* edit = w->findChild<QLineEdit*>(QStringLiteral("factor"));
            QCOMPARE(edit->text(), QStringLiteral("1.33"));
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("3"));
            ModalAnswerer::clickButton(QStringLiteral("Ok"))(w);
        });
        window_->dispatcher().dispatch(app::kCmdScaleFactor);
        waitForAnswers(answerer);
        QCOMPARE(doc_->yScaleFactor, 3.0);

        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Data Acquisition Parameters"));
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("sf"))->text(), QStringLiteral("400.130"));
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("td"))->text(), QStringLiteral("16384"));
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("mode"))->text(), QStringLiteral("Complex"));
            ModalAnswerer::accept()(w);
        });
        window_->dispatcher().dispatch(app::kCmdParameters);
        waitForAnswers(answerer);

        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Input  comments"));
            auto* edit = w->findChild<QPlainTextEdit*>(QStringLiteral("comment"));
            QTest::keyClicks(edit, QStringLiteral("Ethyl acetate in CDCl3"));
            ModalAnswerer::accept()(w);
        });
        window_->dispatcher().dispatch(app::kCmdInsertComments);
        waitForAnswers(answerer);
        QCOMPARE(doc_->comments.boxes.size(), std::size_t{1});
        QCOMPARE(doc_->comments.boxes[0].text, std::string("Ethyl acetate in CDCl3"));
        QVERIFY(doc_->comments.boxes[0].rect.width() > 50);
        QVERIFY(axisLabels(*doc_).count("Ethyl acetate in CDCl3") == 1);

        // Delete removes the selected box; a click on it selects it.
        const pelvaron::Rect r = doc_->comments.boxes[0].rect;
        const QPoint inside(r.left + 2, r.top + 2 - pelvaron::gui::PlotView::topRows());
        QTest::mouseClick(window_->plotView(), Qt::LeftButton, Qt::NoModifier, inside);
        QCOMPARE(doc_->comments.selected, 0);
        QTest::keyClick(window_->plotView(), Qt::Key_Delete);
        QVERIFY(doc_->comments.boxes.empty());
    }

    void zoomDragAndPanWithTheMouseAndScrollBar() {
        openExample();
        QAction* zoom = window_->action(app::kCmdZoom);
        zoom->trigger();
        QVERIFY(doc_->dualZoom == 1);
        QVERIFY(window_->action(app::kCmdDualZoom)->isChecked());

        QWidget* plot = window_->plotView();
        const int y0 = plot->height() / 2;
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(400, y0), Qt::LeftButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, QPoint(600, y0 + 50), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window_->plotView()->overlay().shape, pelvaron::display::Overlay::Shape::Rectangle);
        sendMouse(plot, QEvent::MouseButtonRelease, QPoint(600, y0 + 50), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window_->plotView()->overlay().shape, pelvaron::display::Overlay::Shape::None);
        QVERIFY(doc_->viewZoom > 5.0);
        QCOMPARE(doc_->fullView, 0);
        const double left = doc_->viewLeft;

        // One line step of the scroll bar moves both limits by 10 data indices.
        QScrollBar* bar = window_->horizontalBar();
        QVERIFY(bar->isEnabled());
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(qAbs(doc_->viewLeft - left - 10 * doc_->acqPars.AQ / doc_->nData) < 1e-9);
        QCOMPARE(bar->value(), doc_->hScrollPos);

        // Ctrl+J does nothing; Ctrl+F shows everything again.
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const double zoomed = doc_->viewZoom;
        QTest::keyClick(window_.get(), Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(doc_->viewZoom, zoomed);
        QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(doc_->fullView, 1);
        QVERIFY(!bar->isEnabled());
    }

    void exitAsksToSaveAndCancelKeepsTheWindow() {
        openExample();
        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), QStringLiteral("Do you want to save the current spectrum?"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            box->button(QMessageBox::Cancel)->click();
        });
        window_->dispatcher().dispatch(app::kCmdExit);
        waitForAnswers(answerer);
        QVERIFY(window_->isVisible());
    }

    void helpAboutAndSplash() {
        window_->dispatcher().dispatch(app::kCmdHelp);
        QVERIFY(window_->helpWindow() != nullptr);
        QVERIFY(window_->helpWindow()->isVisible());
        QVERIFY(window_->helpWindow()->guideText().contains(QStringLiteral("Pelvaron user guide")));

        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QVERIFY(!w->findChildren<QAbstractButton*>(QStringLiteral("webPage")).isEmpty());
            QCOMPARE(w->findChild<QAbstractButton*>(QStringLiteral("webPage"))->text(),
                     QStringLiteral("Go to Pelvaron Web Page"));
            ModalAnswerer::accept()(w);
        });
        window_->dispatcher().dispatch(app::kCmdAbout);
        waitForAnswers(answerer);

        // The splash closes by itself.
        pelvaron::gui::SplashDialog splash(window_.get(), 50);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(splash.exec(), int(QDialog::Accepted));
        QVERIFY(clock.elapsed() < 3000);
    }

    void renderCommandWritesThePlotAsPng() {
        QTemporaryDir dir;
        const std::string png = dir.filePath(QStringLiteral("plot.png")).toStdString();
        std::ostringstream out, err;
        const std::string example = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";
        QCOMPARE(pelvaron::cli::runCli({"render", example, "-o", png, "--width", "640", "--height", "400"},
                                       out, err),
                 0);
        QCOMPARE(out.str(), png + "\n");
        const QImage image(QString::fromStdString(png));
        QCOMPARE(image.size(), QSize(640, 400));
        QVERIFY(bluePixels(image) > 500);

        // Refusals: a size that is not a number of pixels, a missing file, a folder that cannot be written.
        err.str({});
        QCOMPARE(pelvaron::cli::runCli({"render", example, "-o", png, "--width", "12x"}, out, err), 2);
        QVERIFY(err.str().find("--width must be a whole number") != std::string::npos);
        QCOMPARE(pelvaron::cli::runCli({"render", example}, out, err), 2);
        QCOMPARE(pelvaron::cli::runCli({"render", example + "/nothing-here", "-o", png}, out, err), 1);
        err.str({});
        QCOMPARE(pelvaron::cli::runCli({"render", example, "-o", "/nonexistent-folder/plot.png"}, out, err),
                 1);
        QVERIFY(err.str().find("cannot write /nonexistent-folder/plot.png") != std::string::npos);
    }

    void processingItemsAndButtonsFollowTheirCommands() {
        // Export JCamp is there before any load; the processing items wait for a document.
        QVERIFY(window_->action(app::kCmdExportJcamp)->isEnabled());
        QCOMPARE(window_->action(app::kCmdExportJcamp)->text(), QStringLiteral("&Export JCamp"));
        QVERIFY(!window_->action(app::kCmdFourier)->isEnabled());
        const struct {
            int id;
            const char* text;
            const char* tip;
        } items[] = {
            {app::kCmdApodize, "&Apodize...", "Apodization"},
            {app::kCmdFourier, "&Fourier transform...", "Fourier Transform"},
            {app::kCmdPhase, "&Phase Correction", "Phase Correction"},
            {app::kCmdAutophase, "Au&tophase", "Autophase"},
            {app::kCmdByteSwap, "Byte S&wap ", nullptr},
            {app::kCmdDataPoints, "D&ata points", nullptr},
        };
        for (const auto& item : items) {
            QAction* act = window_->action(item.id);
            QVERIFY2(act != nullptr, item.text);
            QCOMPARE(act->text(), QString::fromLatin1(item.text));
            QCOMPARE(window_->toolBar()->actions().contains(act), item.tip != nullptr);
            if (item.tip == nullptr) continue;
            QCOMPARE(act->toolTip(), QString::fromLatin1(item.tip));
            QVERIFY(!act->icon().pixmap(24, 24).isNull());
        }
        // Byte Swap sits in the File menu, Data points in the View menu.
        auto menuOf = [this](const QString& title) -> QMenu* {
            for (QAction* a : window_->menuBar()->actions())
                if (a->text() == title) return a->menu();
            return nullptr;
        };
        QVERIFY(menuOf(QStringLiteral("&File"))->actions().contains(window_->action(app::kCmdByteSwap)));
        QVERIFY(menuOf(QStringLiteral("&View"))->actions().contains(window_->action(app::kCmdDataPoints)));

        // The processing buttons stand together, in this order, after Full.
        const QList<QAction*> bar = window_->toolBar()->actions();
        const qsizetype at = bar.indexOf(window_->action(app::kCmdApodize));
        QVERIFY(at > 0 && at + 4 < bar.size());
        QVERIFY(bar[at - 1]->isSeparator());
        QCOMPARE(bar[at + 1], window_->action(app::kCmdFourier));
        QCOMPARE(bar[at + 2], window_->action(app::kCmdProcessAsRecorded));
        QCOMPARE(bar[at + 3], window_->action(app::kCmdPhase));
        QCOMPARE(bar[at + 4], window_->action(app::kCmdAutophase));

        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("JCAMP Options"));
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("title"))->text(), QStringLiteral("Untitled"));
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("nucleus"))->text(), QStringLiteral("^1H"));
            QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("spectrum"))->isChecked());
            ModalAnswerer::reject()(w);
        });
        window_->action(app::kCmdExportJcamp)->trigger();
        waitForAnswers(answerer);
    }

    void processAsRecordedByItsShortcutGivesThePhasedSpectrum() {
        openExample();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
        QTRY_COMPARE(doc_->xUnits, 2);
        QCOMPARE(doc_->nData, 32768);
        QVERIFY(qAbs(ppmAt(*doc_, doc_->peakIndex) - 2.045) < 0.01);
        QVERIFY(doc_->specData[doc_->peakIndex] > 99.0);
        QVERIFY(bluePixels(window_->plotView()->plotImage()) > 1000);
        // The Phase Correction opens on the phase that was applied.
        window_->action(app::kCmdPhase)->trigger();
        auto* order0 = window_->phaseDialog()->findChild<QScrollBar*>(QStringLiteral("order0"));
        QCOMPARE(order0->value(), static_cast<int>(100 * doc_->phase0));
        QTest::keyClick(window_->phaseDialog(), Qt::Key_Escape);
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
    }

    void apodizeTransformAutophaseAndPhaseTheExample() {
        openExample();
        const double sw = doc_->acqPars.SW;
        const double before = doc_->specData[2000];
        QVERIFY(before != 0.0);

        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Window Function Parameters"));
            QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("exponential"))->isChecked());
            typeInto(w, "lbExponential", QStringLiteral("1"));
            ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
        });
        window_->action(app::kCmdApodize)->trigger();
        waitForAnswers(answerer);
        QVERIFY(qAbs(doc_->specData[2000] - before * std::exp(-3.141592653589793 * 2000 / (2 * sw))) < 1e-6);

        // Ctrl+T: the size stays 16384 and the filter's delay is proposed as the rotation.
        const QImage fid = window_->plotView()->plotImage();
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Fast Fourier Transform"));
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("points"))->text(), QStringLiteral("16384"));
            QVERIFY(w->findChild<QCheckBox*>(QStringLiteral("rotateData"))->isChecked());
            QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("rotateCount"))->text(), QStringLiteral("70"));
            QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("inverse"))->isChecked());
            ModalAnswerer::clickButton(QStringLiteral("OK"))(w);
        });
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), Qt::Key_T, Qt::ControlModifier);
        waitForAnswers(answerer);
        QCOMPARE(answerer.seen().last(), QStringLiteral("Fast Fourier Transform"));

        // A proton spectrum on a ppm axis: whole-ppm labels, the acetyl singlet at 2.045 ppm.
        QCOMPARE(doc_->xUnits, 2);
        const std::set<std::string> labels = axisLabels(*doc_);
        QVERIFY(labels.count("2") == 1 && labels.count("4") == 1 && labels.count("10") == 1);
        QVERIFY(qAbs(ppmAt(*doc_, doc_->peakIndex) - 2.045) < 0.01);
        const QImage spectrum = window_->plotView()->plotImage();
        QVERIFY(spectrum != fid);
        QVERIFY(bluePixels(spectrum) > 1000);
        QTest::mouseMove(window_->plotView(), QPoint(300, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("ppm ")));

        window_->action(app::kCmdAutophase)->trigger();
        QVERIFY(doc_->phaseSourceValid == 1);
        QVERIFY(doc_->specData[doc_->peakIndex] > 0.0);
        const QImage phased = window_->plotView()->plotImage();
        const std::vector<double> data(doc_->specData.begin(), doc_->specData.begin() + doc_->nData);

        // Phase Correction: modeless, the pivot drawn, the loads and the transform grayed.
        QCOMPARE(redPixels(phased), 0);
        window_->action(app::kCmdPhase)->trigger();
        pelvaron::gui::PhaseDialogWidget* dialog = window_->phaseDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Phase Correction"));
        QVERIFY(redPixels(window_->plotView()->plotImage()) > 100);
        QVERIFY(!window_->action(app::kCmdFourier)->isEnabled());
        QVERIFY(!window_->action(app::kCmdOpen)->isEnabled());
        QVERIFY(window_->action(app::kCmdAutophase)->isEnabled());
        auto* order0 = dialog->findChild<QScrollBar*>(QStringLiteral("order0"));
        auto* order0Text = dialog->findChild<QLineEdit*>(QStringLiteral("order0Text"));
        QCOMPARE(order0->value(), static_cast<int>(100 * doc_->phase0));
        const double phase0 = doc_->phase0;

        // The keyboard works in it: the first scroll bar has the focus and answers the arrows.
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(dialog->focusWidget(), static_cast<QWidget*>(order0));
        // Away from the end of the range the phase sits nearer to, so that no clamp interferes.
        const bool down = phase0 - 10.0 >= -180.0;
        QTest::keyClick(order0, down ? Qt::Key_PageUp : Qt::Key_PageDown);
        QTest::keyClick(order0, down ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(doc_->phase0, down ? phase0 - 9.0 : phase0 + 9.0);
        QCOMPARE(order0->value(), static_cast<int>(100 * doc_->phase0));
        QCOMPARE(order0Text->text(), QString::asprintf("%.1f", doc_->phase0));
        QVERIFY(window_->plotView()->plotImage() != phased);

        // Escape cancels: the data of the opening come back and the window's items return.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
        QCOMPARE(doc_->phase0, phase0);
        QCOMPARE(doc_->transform.showPivot, 0);
        QVERIFY(std::equal(data.begin(), data.end(), doc_->specData.begin()));
        QVERIFY(window_->action(app::kCmdFourier)->isEnabled());
        QCOMPARE(redPixels(window_->plotView()->plotImage()), 0);

        // Apply with a typed angle, then OK commits it.
        window_->dispatcher().dispatch(app::kCmdPhase);
        dialog = window_->phaseDialog();
        QVERIFY(dialog != nullptr);
        typeInto(dialog, "order0Text", QStringLiteral("12.7"));
        ModalAnswerer::clickButton(QStringLiteral("Apply"))(dialog);
        QCOMPARE(doc_->phase0, 12.7);
        QCOMPARE(dialog->findChild<QScrollBar*>(QStringLiteral("order0"))->value(), 1200);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
        QCOMPARE(doc_->phase0, 12.7);
        QVERIFY(window_->action(app::kCmdFourier)->isEnabled());

        // Left open, the dialog goes with the window.
        window_->dispatcher().dispatch(app::kCmdPhase);
        QVERIFY(window_->phaseDialog() != nullptr);
    }

    void dataPointsByteSwapAndJcampExportFromTheirItems() {
        openExample();
        ModalAnswerer answerer;
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Display Data Points (Reals)"));
            QCOMPARE(w->findChild<QLabel*>(QStringLiteral("columnTitle"))->text(), QStringLiteral("Sec."));
            auto* list = w->findChild<QListWidget*>(QStringLiteral("values"));
            QCOMPARE(list->count(), 8192);
            QVERIFY(list->item(0)->text().startsWith(QStringLiteral(" 0.000")));
            ModalAnswerer::clickButton(QStringLiteral("Ok"))(w);
        });
        window_->action(app::kCmdDataPoints)->trigger();
        waitForAnswers(answerer);

        // The example's integer samples come back after two swaps.
        const std::vector<double> data(doc_->specData.begin(), doc_->specData.begin() + doc_->nData);
        window_->action(app::kCmdByteSwap)->trigger();
        QVERIFY(doc_->specData[0] != data[0]);
        QCOMPARE(doc_->fidCopy[0], doc_->specData[0]);
        window_->action(app::kCmdByteSwap)->trigger();
        QVERIFY(std::equal(data.begin(), data.end(), doc_->specData.begin()));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fid.jdx"));
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("JCAMP Options"));
            w->findChild<QRadioButton*>(QStringLiteral("fid"))->click();
            typeInto(w, "title", QStringLiteral("Ethyl acetate"));
            ModalAnswerer::accept()(w);
        });
        answerer.answer([path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog != nullptr);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        window_->action(app::kCmdExportJcamp)->trigger();
        waitForAnswers(answerer);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("##TITLE= Ethyl acetate\n"));
        QVERIFY(text.contains("##DATA TYPE= NMR FID\n"));
        QCOMPARE(doc_->jcamp.jcampFid, 1);

        // New comments start with the version text of the last JCAMP-DX file read.
        doc_->jcamp.lastJcampText = " 5.00";
        answerer.answer([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Input  comments"));
            QCOMPARE(w->findChild<QPlainTextEdit*>(QStringLiteral("comment"))->toPlainText(),
                     QStringLiteral(" 5.00"));
            ModalAnswerer::reject()(w);
        });
        window_->dispatcher().dispatch(app::kCmdInsertComments);
        waitForAnswers(answerer);
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
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
