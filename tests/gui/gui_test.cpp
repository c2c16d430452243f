// The window at work, offscreen: what only its widgets show. Its menus and keys; the example opened
// through the file dialogs and drawn; one table of the dialogs against the model fields they show
// and set; the plot's mouse and the tools' dialogs; the modeless windows; the save question; the
// printed page, its files and the clipboard; the two-set strip; the Multiplet Report beside the plot. What
// the models, the drawing and the command line compute is checked with them.
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#ifdef PELVARON_HAVE_QTPDF
#include <QPdfDocument>
#endif

#include "analysis/multiplets.h"
#include "analysis/peaks.h"
#include "app/display_commands.h"
#include "app/menu_state.h"
#include "cli/cli.h"
#include "cli/steps.h"
#include "display/two_set.h"
#include "document/units.h"
#include "gui/dialog_placement.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/interactive_apodization_dialog.h"
#include "gui/dialogs/interactive_sim_dialog.h"
#include "gui/dialogs/measure_j_dialog.h"
#include "gui/dialogs/multi_point_baseline_dialog.h"
#include "gui/dialogs/multiplet_report_dock.h"
#include "gui/dialogs/phase_dialog.h"
#include "gui/dialogs/select_subsystem_dialog.h"
#include "gui/dialogs/simulation_data_dialog.h"
#include "gui/expansion_window.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/menu_layout.h"
#include "gui/plot_view.h"
#include "gui/report_printer.h"
#include "gui/simulation_fitter.h"
#include "gui/two_set_strip.h"
#include "modal_helper.h"
#include "multiplet_ranges.h"
#include "processing/baseline.h"
#include "recording_ui.h"
#include "simulation/fit_session.h"
#include "simulation/spin_engine.h"

using pelvaron::Document;
using pelvaron::testing::ModalAnswerer;
using pelvaron::testing::sendMouse;
using pelvaron::testing::typeInto;
namespace app = pelvaron::app;
namespace display = pelvaron::display;
namespace gui = pelvaron::gui;
namespace simulation = pelvaron::simulation;

namespace {

const std::string kExample = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";

template <typename T = QAbstractButton>
T* child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

void click(QWidget* dialog, const char* name) {
    QVERIFY2(child(dialog, name) != nullptr, name);
    child(dialog, name)->click();
}

/// What the control named `name` shows: its text, "on" or "off" for a button, a list's count.
QString fieldText(QWidget* dialog, const char* name) {
    QWidget* w = child<QWidget>(dialog, name);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) return text->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return QLatin1String(button->isChecked() ? "on" : "off");
    if (auto* list = qobject_cast<QListWidget*>(w)) return QString::number(list->count());
    return QStringLiteral("(no field %1)").arg(QString::fromLatin1(name));
}

/// Sets the control named `name` as a person would: types `text`, clicks a button, pages a bar.
void setControl(QWidget* dialog, const char* name, const char* text) {
    QWidget* w = child<QWidget>(dialog, name);
    QVERIFY2(w != nullptr, name);
    if (auto* bar = qobject_cast<QScrollBar*>(w))
        return bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->click();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return edit->setPlainText(QString::fromLatin1(text));
    QVERIFY(typeInto(dialog, name, QString::fromLatin1(text)));
}

QStringList listLines(QWidget* dialog, const char* name) {
    QStringList shown;
    if (auto* list = child<QListWidget>(dialog, name))
        for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
    return shown;
}

QStringList qt(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out;
}

/// A click on a list's line, where a person would click.
void clickLine(QWidget* dialog, const char* list, int row) {
    auto* widget = child<QListWidget>(dialog, list);
    QVERIFY2(widget != nullptr && widget->item(row) != nullptr, list);
    widget->scrollToItem(widget->item(row));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(widget->item(row)).center());
}

/// Pixels of one pure colour: the trace's blue, the red of the pivot line and the marks, black.
int pixelsOf(const QImage& image, Qt::GlobalColor colour) {
    const QColor pure(colour);
    auto fits = [](int value, int full) { return full > 0 ? value > 200 : value < 80; };
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count +=
                fits(c.red(), pure.red()) && fits(c.green(), pure.green()) && fits(c.blue(), pure.blue());
        }
    }
    return count;
}

/// The command line's exit status; its standard error in `err`, its output in `out`.
int runCli(const std::vector<std::string>& args, std::string* err = nullptr, std::string* out = nullptr) {
    std::ostringstream outs, errs;
    const int status = pelvaron::cli::runCli(args, outs, errs);
    if (err) *err = errs.str();
    if (out) *out = outs.str();
    return status;
}

/// Runs `print` with HOME in a fresh folder, answering the print dialog with OK: with no printer
/// installed the job goes to a PDF file there. The folder, or nothing when a printer is installed.
std::unique_ptr<QTemporaryDir> printToPdf(const std::function<void()>& print) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) return nullptr;
    auto home = std::make_unique<QTemporaryDir>();
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home->path().toLocal8Bit());
    ModalAnswerer answerer;
    answerer.answer(ModalAnswerer::accept());
    print();
    qputenv("HOME", oldHome);
    return home;
}

/// Page objects of a PDF file (the page tree's "/Pages" is not one); -1 when it is none.
int pdfPages(const QString& path) {
    QFile file(path);
    const QByteArray pdf = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    int count = pdf.startsWith("%PDF") ? 0 : -1;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        count += pdf.mid(at + 11, 1) != "s";
    return count;
}

/// A table row's `want` when any other value than the one before will do.
const double kChanged = INFINITY;

/// One dialog of the wiring table: its command opens it on its model; it shows `shows`, gets
/// `set`, and ends with OK; then the model's `field` holds `want`.
struct Wiring {
    using Fields = std::vector<std::pair<const char*, const char*>>;
    int command;
    Fields shows;  ///< control, its text ("on"/"off" for a button, a list's count)
    Fields set;    ///< control, text to type ("" for a button or a bar)
    std::function<double()> field;
    double want = 0.0;
};

/// A tuning runner that only notes what it was asked.
struct RecordingTuning final : simulation::TuningRunner {
    std::vector<simulation::Recompute> asked;
    void recompute(simulation::Recompute what, simulation::Messages&) override { asked.push_back(what); }
};

/// A new simulation with a subsystem of n nuclei entered: shifts 100, 200 ... Hz, J(1,2) = 7 Hz.
void enterSubsystem(Document& doc, int n) {
    auto& sim = doc.sim;
    sim.nNucleiInput = n;
    sim.editShifts.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) sim.editShifts[static_cast<std::size_t>(i)] = 100.0 * (i + 1);
    sim.editCouplings.assign(sim.editShifts.size(), std::vector<double>(sim.editShifts.size()));
    sim.editCouplings[0][1] = 7.0;
    simulation::Messages said;
    QVERIFY(simulation::storeSubsystemParams(doc, said));
    sim.simExists = 1;
}

/// Answers the next dialog by typing into `edit` and pressing OK; `pair` gets its pair's label.
ModalAnswerer::Answer typeAndOk(const char* edit, QString typed, QString* pair = nullptr) {
    return [=](QWidget* dialog) {
        if (pair != nullptr) *pair = fieldText(dialog, "pair");
        setControl(dialog, edit, qPrintable(typed));
        click(dialog, "ok");
    };
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Document> doc_;
    std::unique_ptr<pelvaron::gui::MainWindow> window_;
    pelvaron::testing::RecordingUserInterface ui_;
    [[nodiscard]] display::View& view() { return window_->dispatcher().view(); }
    [[nodiscard]] QImage plot() { return window_->plotView()->plotImage(); }
    [[nodiscard]] bool enabled(int id) { return window_->action(id)->isEnabled(); }

    /// Runs the command `id` with `answers` queued for the dialogs it opens, one each, and waits
    /// until all are used; the titles of the dialogs answered.
    QStringList runAnswering(int id, std::vector<ModalAnswerer::Answer> answers) {
        ModalAnswerer answerer;
        for (auto& a : answers) answerer.answer(std::move(a));
        window_->dispatcher().dispatch(id);
        [&answerer] { QTRY_COMPARE_WITH_TIMEOUT(answerer.pending(), 0, 5000); }();
        return answerer.seen();
    }

    /// A drag of the armed tool from x0 to x1, low on the plot.
    void drag(int x0, int x1) {
        QWidget* w = window_->plotView();
        const int y = w->height() * 3 / 5;
        sendMouse(w, QEvent::MouseButtonPress, QPoint(x0, y), Qt::LeftButton, Qt::LeftButton);
        sendMouse(w, QEvent::MouseMove, QPoint(x1, y + 20), Qt::NoButton, Qt::LeftButton);
        sendMouse(w, QEvent::MouseButtonRelease, QPoint(x1, y + 20), Qt::LeftButton, Qt::NoButton);
    }

    /// The example loaded; as a spectrum on a ppm axis when `processed`.
    void openExample(bool processed = false) {
        QVERIFY(window_->dispatcher().openPath(kExample));
        std::string error;
        if (!processed) return;
        QVERIFY(pelvaron::cli::runSteps(*doc_, window_->userInterface(), "em=0.3,ft,autophase", error));
        doc_->spectrum.xUnits = pelvaron::kPpm;
    }

private slots:
    void init() {
        doc_ = std::make_unique<Document>();
        window_ = std::make_unique<pelvaron::gui::MainWindow>(*doc_);
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

    void menusKeysAndToolbarRunTheirCommands() {
        QVERIFY(!window_->toolBar()->isVisible() && enabled(app::kCmdOpen) && !enabled(app::kCmdSave));
        // Every command served has its menu item; every toolbar button its icon.
        std::set<int> ids(app::documentCommands().begin(), app::documentCommands().end());
        ids.insert(app::initiallyEnabledCommands().begin(), app::initiallyEnabledCommands().end());
        for (int id : ids)
            QVERIFY2(!window_->dispatcher().hasCommand(id) || window_->action(id) != nullptr,
                     qPrintable(QString::number(id)));
        for (QAction* a : window_->toolBar()->actions())
            QVERIFY2(a->isSeparator() || !a->icon().pixmap(24, 24).isNull(), qPrintable(a->text()));

        // A subsystem registering its command gets its menu item and toolbar button, enabled
        // once a document is loaded.
        int runs = 0;
        window_->registerCommand(app::kCmdPrint, [&runs](app::CommandContext&) { ++runs; });
        QAction* print = window_->action(app::kCmdPrint);
        QVERIFY(print != nullptr && window_->toolBar()->actions().contains(print) && !print->isEnabled());
        window_->userInterface().enableDocumentMenus(true);
        print->trigger();
        QCOMPARE(runs, 1);

        // Each key a menu text names ("Ctrl+O", "Ctrl-N", "(Key Up)") runs that item only.
        std::map<int, int> ran;
        int keys = 0;
        for (const auto& menu : gui::kMenus) {
            for (const auto& entry : menu.entries) {
                const QString text = QString::fromLatin1(entry.text);
                const qsizetype tab = text.indexOf(QLatin1Char('\t'));
                if (entry.id <= 0 || tab < 0) continue;
                QString key = text.mid(tab + 1).remove(QStringLiteral("(Key ")).remove(QLatin1Char(')'));
                const int id = entry.id;
                window_->registerCommand(id, [&ran, id](app::CommandContext&) { ++ran[id]; });
                window_->userInterface().enableDocumentMenus(true);
                ran.clear();
                QTest::keySequence(window_.get(),
                                   QKeySequence(key.replace(QLatin1Char('-'), QLatin1Char('+'))));
                QVERIFY2(ran == (std::map<int, int>{{id, 1}}), qPrintable(text));
                ++keys;
            }
        }
        QVERIFY(keys >= 10);
    }

    void opensTheExampleThroughItsDialogsAndAsksBeforeClosingIt() {
        const auto seen = runAnswering(
            app::kCmdOpen,
            {[](QWidget* w) {
                 w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                     ->setText(QString::fromStdString(kExample + "/fid"));
                 ModalAnswerer::accept()(w);
             },
             [](QWidget* w) {
                 auto* box = qobject_cast<QMessageBox*>(w);
                 QCOMPARE(box->text(),
                          QStringLiteral("This is not a Pelvaron File\n Please indicate the file type"));
                 box->button(QMessageBox::Ok)->click();
             },
             [](QWidget* w) {
                 QCOMPARE(fieldText(w, "format0"), QStringLiteral("on"));
                 ModalAnswerer::accept()(w);
             }});
        QCOMPARE(seen.last(), QStringLiteral("File type"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Pelvaron 1.5.0 fid"));
        QVERIFY(window_->toolBar()->isVisible() && enabled(app::kCmdSave));
        QCOMPARE(fieldText(window_.get(), "statusReference"), QStringLiteral("Reference: procs"));
        // The trace, and the axis panel across the bottom of the plot.
        const QImage image = plot();
        QVERIFY(pixelsOf(image, Qt::blue) > 2000);
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() / image.devicePixelRatio() - 5),
                 QColor(240, 240, 240));

        // Closing asks to save the document opened; Cancel keeps the window.
        const QStringList asked = runAnswering(app::kCmdExit, {[](QWidget* w) {
                                                   auto* box = qobject_cast<QMessageBox*>(w);
                                                   QCOMPARE(box->icon(), QMessageBox::Question);
                                                   box->button(QMessageBox::Cancel)->click();
                                               }});
        QVERIFY(asked == QStringList{"Warning"} && window_->isVisible());
    }

    void eachDialogShowsAndSetsItsModelField() {
        openExample();
        doc_->jcamp.lastJcampText = " 5.00";  // new comments start with the last JCAMP-DX version
        Document& d = *doc_;
        display::View& v = view();
        // In the order of a session: on the FID, then (after the transform) on the spectrum. Each
        // dialog with a field ends with Cancel (the field stays), then OK (it holds `want`).
        // clang-format off
        const Wiring rows[] = {
            {app::kCmdParameters, {{"sf", "400.130"}, {"sw", "6009.615"}, {"swPpm", "15.019"}, {"aq", "1.36"},
                                   {"td", "16384"}, {"mode", "Complex"}}, {}, {}},
            {app::kCmdDataPoints, {{"values", "8192"}}, {}, {}},
            {app::kCmdScaleFactor, {{"factor", "1.33"}}, {{"factor", "3"}}, [&] { return v.yScaleFactor; }, 3.0},
            {app::kCmdSetLimits, {{"from", "0.000"}, {"to", "1.363"}}, {{"from", "0.5"}, {"to", "0.25"}},
             [&] { return v.viewLeft + v.viewRight; }, 0.75},
            {app::kCmdUnits, {{"seconds", "on"}}, {{"hertz", ""}}, [&] { return d.spectrum.xUnits; }, pelvaron::kHz},
            {app::kCmdApodize, {{"exponential", "on"}}, {{"lbExponential", "1"}}, [&] { return d.window.lbExp; }, 1.0},
            {app::kCmdExportJcamp, {{"nucleus", "^1H"}}, {{"fid", ""}}, [&] { return d.jcamp.jcampFid; }, 1},
            {app::kCmdInsertComments, {{"comment", " 5.00"}}, {{"comment", "Ethyl acetate"}},
             [&] { return double(d.comments.boxes.size()); }, 1},
            {app::kCmdPrintOptions, {{"parameters", "on"}}, {{"colour", ""}, {"parameters", ""}},
             [&] { return v.print.printColour - v.print.printParams; }, 1},
            {app::kCmdFourier, {{"points", "16384"}, {"rotateData", "on"}, {"rotateCount", "70"}, {"inverse", "off"}},
             {}, [&] { return d.spectrum.xUnits; }, pelvaron::kPpm},
            {app::kCmdManualBaseline, {}, {{"order0", ""}}, [&] { return d.spectrum.specData[0]; }, kChanged},
            // Three points left: the data move by six doubles.
            {app::kCmdShiftData, {{"rightShift", "on"}}, {{"leftShift", ""}, {"count", "3"}},
             [&] { return d.spectrum.specData[0] - d.undo.specData[6]; }, 0.0},
            {app::kCmdIntegralScaleFactor, {{"factor", "1.330000"}}, {{"factor", "2.5"}},
             [&] { return d.integrals.integralScaleStep; }, 2.5},
            {app::kCmdSimulationNew, {}, {{"count", "3"}}, [&] { return d.sim.nNucleiInput; }, 3},
        };
        // clang-format on
        for (const Wiring& row : rows) {
            for (const bool ok : {false, true}) {
                if (!ok && !row.field) continue;
                const QString name = window_->action(row.command)->text().section(QLatin1Char('\t'), 0, 0);
                const double before = row.field ? row.field() : 0.0;
                QStringList shown, want;
                for (const auto& [control, text] : row.shows) want << QString::fromUtf8(text);
                ModalAnswerer answerer;
                answerer.answer([&row, &shown, ok](QWidget* w) {
                    for (const auto& [control, text] : row.shows) shown << fieldText(w, control);
                    for (const auto& [control, text] : row.set) setControl(w, control, text);
                    if (auto* end = child(w, ok ? "ok" : "cancel")) return end->click();
                    ok ? qobject_cast<QDialog*>(w)->accept() : qobject_cast<QDialog*>(w)->reject();
                });
                answerer.answer(ModalAnswerer::reject());  // what follows (a file to write, a page)
                window_->dispatcher().dispatch(row.command);
                QVERIFY2(answerer.pending() < 2 && shown == want, qPrintable(name + ": " + shown.join(", ")));
                if (!row.field) continue;
                const double after = row.field(), expected = ok ? row.want : before;
                QVERIFY2(
                    std::isinf(expected) ? after != before : after == expected,
                    qPrintable(QStringLiteral("%1 %2: %3, was %4").arg(name).arg(ok).arg(after).arg(before)));
            }
        }
        // The spectrum the dialogs made is drawn; the comment box entered is picked by a click
        // and removed by Delete.
        window_->action(app::kCmdAutophase)->trigger();
        QVERIFY(pixelsOf(plot(), Qt::blue) > 1000);
        QCOMPARE(doc_->comments.boxes.at(0).text, std::string("Ethyl acetate"));
        const pelvaron::Rect r = doc_->comments.boxes[0].rect;
        QTest::mouseClick(window_->plotView(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(r.left + 2, r.top + 2 - gui::PlotView::topRows()));
        QCOMPARE(doc_->comments.selected, 0);
        QTest::keyClick(window_->plotView(), Qt::Key_Delete);
        QVERIFY(doc_->comments.boxes.empty());
    }

    void readsOutWhereTheMouseIsAndZoomsAndPansByDragAndScrollBar() {
        openExample();
        QWidget* plot = window_->plotView();
        QTest::mouseMove(plot, QPoint(0, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("Second 0.000")));
        doc_->spectrum.xUnits = pelvaron::kPpm;
        QTest::mouseMove(plot, QPoint(5, 100));
        QTRY_VERIFY(window_->statusText(1).startsWith(QStringLiteral("ppm ")));

        window_->action(app::kCmdZoom)->trigger();
        QVERIFY(window_->action(app::kCmdDualZoom)->isChecked());
        const int y0 = plot->height() / 2;
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(400, y0), Qt::LeftButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, QPoint(600, y0 + 50), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window_->plotView()->overlay().shape, display::Overlay::Shape::Rectangle);
        sendMouse(plot, QEvent::MouseButtonRelease, QPoint(600, y0 + 50), Qt::LeftButton, Qt::NoButton);
        QVERIFY(window_->plotView()->overlay().shape == display::Overlay::Shape::None &&
                view().viewZoom > 5.0);
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

    void theAnalysisToolsOpenTheirDialogsFromThePlot() {
        openExample(true);
        QWidget* plot = window_->plotView();
        const int low = plot->height() * 3 / 5;
        ModalAnswerer answerer;
        auto answered = [&answerer] {
            (void)QTest::qWaitFor([&answerer] { return answerer.pending() == 0; }, 5000);
            return answerer.seen().value(answerer.seen().size() - 1);
        };
        // An integral, then three hydrogens for it by a right click on its label.
        window_->action(app::kCmdIntegrate)->trigger();
        drag(600, 700);
        QCOMPARE(doc_->integrals.integralCount, 1);
        (void)window_->plotView()->plotImage();  // drawn: the label's hit box is where it shows
        answerer.answer(typeAndOk("hydrogens", QStringLiteral("3")));
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(650, low), Qt::RightButton, Qt::RightButton);
        QCOMPARE(std::pair(answered(), doc_->integrals.refIntegralValue),
                 std::pair(QStringLiteral("Number of Hydrogens"), 3.0));

        // A picked region opens the report; its check box reopens it with the other setting.
        const int interpolate = doc_->peaks.peakInterpolate;
        answerer.answer([](QWidget* w) { click(w, "interpolation"); });
        answerer.answer(ModalAnswerer::accept());
        window_->action(app::kCmdPeakPicking)->trigger();
        drag(100, 1200);
        QCOMPARE(std::tuple(answered(), doc_->peaks.peakRegionCount, doc_->peaks.peakInterpolate),
                 std::tuple(QStringLiteral("PEAK PICKING"), 1, 1 - interpolate));
        // A region of Supress Peaks opens its dialog, which takes the zeros.
        answerer.answer([](QWidget* w) { click(w, "byZeros"), click(w, "ok"); });
        window_->action(app::kCmdSuppressPeaks)->trigger();
        drag(100, 110);
        QCOMPARE(std::pair(answered(), doc_->dataOps.suppressByZeros),
                 std::pair(QStringLiteral("Supress Peaks"), 1));

        // Measure J grays the document's commands until its dialog closes; each click adds the
        // model's line, Clear All empties the list and keeps measuring, Reset breaks the chain.
        window_->action(app::kCmdMeasureJ)->trigger();
        QWidget* measureJ = window_->measureJDialog();
        QVERIFY(measureJ != nullptr && !enabled(app::kCmdOpen));
        drag(300, 300);
        drag(330, 330);
        QCOMPARE(doc_->jState.jLines.size(), std::size_t{1});
        QTRY_COMPARE_WITH_TIMEOUT(listLines(measureJ, "lines"), qt(doc_->jState.jLines), 5000);
        click(measureJ, "clearAll");
        QVERIFY(listLines(measureJ, "lines").isEmpty() && measureJ->isVisible() &&
                doc_->jState.jCursorCount == 0);
        drag(300, 300);
        click(measureJ, "reset");
        QCOMPARE(std::pair(doc_->jState.jChainBreak, doc_->jState.jCursorCount), std::pair(1, 1));
        measureJ->close();  // the title bar's close acts as OK
        QTRY_VERIFY_WITH_TIMEOUT(window_->measureJDialog() == nullptr, 5000);
        QCOMPARE(std::tuple(enabled(app::kCmdOpen), doc_->jState.jShown, doc_->jState.jCursorCount,
                            view().mouse.tool == display::Tool::None),
                 std::tuple(true, 0, 0, true));

        // Reference: the click opens the dialog, its OK moves the axis.
        answerer.answer([](QWidget* w) {
            QVERIFY(!child<QLineEdit>(w, "currentReference")->isEnabled());
            typeAndOk("newReference", QStringLiteral("5"))(w);
        });
        window_->action(app::kCmdReference)->trigger();
        sendMouse(plot, QEvent::MouseButtonPress, QPoint(640, low), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(answered(), QStringLiteral("Reference"));
        QVERIFY(qAbs(pelvaron::units::tToUnit(*doc_, view().tools.referencePickT, pelvaron::kPpm) - 5.0) <
                1e-9);
        QVERIFY(view().mouse.tool == display::Tool::None);
    }

    void baselineDialogsPreviewOverThePlotAndEndOnceHoweverClosed() {
        openExample(true);
        // While its bars move the manual correction's polynomial is drawn over the plot.
        qsizetype drawn = 0;
        runAnswering(app::kCmdManualBaseline, {[&drawn, this](QWidget* w) {
                         setControl(w, "order0", "");
                         drawn = window_->plotView()->preview().size();
                         click(w, "ok");
                     }});
        QVERIFY(drawn > 100 && window_->plotView()->preview().isEmpty());

        // Multiple Point: Apply zeroes the last point; Escape, then the window's own closing,
        // leave the data; either way it ends once and the pick is over.
        for (const bool apply : {false, true}) {
            window_->dispatcher().dispatch(app::kCmdMultiPointBaseline);
            gui::MultiPointBaselineWidget* dialog = window_->multiPointBaselineDialog();
            QVERIFY(dialog != nullptr && !dialog->isModal() && view().mouse.baselinePick);
            QVERIFY(pelvaron::processing::MultiPointBaseline(*doc_).addPoint(0.5));
            QSignalSpy finished(dialog, &QDialog::finished);
            const double last = doc_->spectrum.specData[doc_->spectrum.nData - 1];
            apply ? click(dialog, "apply") : QTest::keyClick(dialog, Qt::Key_Escape);
            pelvaron::testing::RecordingObserver seen(*doc_);
            dialog->reject();
            dialog->accept();
            QCOMPARE(std::tuple(finished.count(), seen.notices.size(), view().mouse.baselinePick,
                                doc_->spectrum.specData[doc_->spectrum.nData - 1],
                                doc_->baseline.baselinePointCount),
                     std::tuple(1, std::size_t{0}, false, apply ? 0.0 : last, 0));
            QTRY_VERIFY(window_->multiPointBaselineDialog() == nullptr);
        }
    }

    void phaseCorrectionIsModelessAndAnswersItsKeys() {
        openExample(true);
        const QImage phased = plot();
        // Modeless, the pivot drawn, the transform grayed.
        QCOMPARE(pixelsOf(phased, Qt::red), 0);
        window_->action(app::kCmdPhase)->trigger();
        gui::PhaseDialogWidget* dialog = window_->phaseDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible() && !dialog->isModal() && !enabled(app::kCmdFourier));
        QVERIFY(pixelsOf(plot(), Qt::red) > 100);
        auto* order0 = child<QScrollBar>(dialog, "order0");
        const double phase0 = doc_->spectrum.phase0;
        QCOMPARE(order0->value(), static_cast<int>(100 * phase0));
        // The first scroll bar has the focus and answers the keys, away from the end of the range
        // the phase sits nearer to, so that no clamp interferes.
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(dialog->focusWidget(), static_cast<QWidget*>(order0));
        const bool down = phase0 - 10.0 >= -180.0;
        QTest::keyClick(order0, down ? Qt::Key_PageUp : Qt::Key_PageDown);
        QTest::keyClick(order0, down ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(doc_->spectrum.phase0, down ? phase0 - 9.0 : phase0 + 9.0);
        QCOMPARE(fieldText(dialog, "order0Text"), QString::asprintf("%.1f", doc_->spectrum.phase0));
        QVERIFY(plot() != phased);

        // Escape cancels: the phase of the opening comes back and the window's items return.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
        QVERIFY(doc_->spectrum.phase0 == phase0 && enabled(app::kCmdFourier) &&
                pixelsOf(plot(), Qt::red) == 0);

        // Apply with a typed angle, then OK commits it; left open, the dialog goes with the window.
        window_->dispatcher().dispatch(app::kCmdPhase);
        dialog = window_->phaseDialog();
        setControl(dialog, "order0Text", "12.7");
        click(dialog, "apply");
        QCOMPARE(child<QScrollBar>(dialog, "order0")->value(), 1200);
        click(dialog, "ok");
        QTRY_VERIFY(window_->phaseDialog() == nullptr);
        QCOMPARE(doc_->spectrum.phase0, 12.7);
        window_->dispatcher().dispatch(app::kCmdPhase);
        QVERIFY(window_->phaseDialog() != nullptr);
    }

    void interactiveApodizationFollowsItsBarsAndItsCancelRestores() {
        openExample();
        const std::vector<double> fid(doc_->spectrum.specData.begin(),
                                      doc_->spectrum.specData.begin() + doc_->spectrum.nData);
        const QImage before = plot();
        window_->action(app::kCmdInteractiveApodization)->trigger();
        gui::InteractiveApodizationDialogWidget* dialog = window_->apodizationDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible() && !dialog->isModal());
        QVERIFY(!enabled(app::kCmdFourier) && !enabled(app::kCmdPhase));
        // The exponential's button is the selected one: its caption white on the dark face.
        auto* exp = child(dialog, "function0");
        auto* sine = child(dialog, "function3");
        QVERIFY(exp->isChecked() && !sine->isChecked() && exp->text() == QStringLiteral("Exp."));
        QVERIFY(pixelsOf(exp->grab().toImage(), Qt::white) > 0 &&
                pixelsOf(exp->grab().toImage(), Qt::black) == 0);
        QVERIFY(pixelsOf(sine->grab().toImage(), Qt::black) > 0);
        QVERIFY(fieldText(dialog, "lbText") == QStringLiteral("0.00") &&
                !child<QScrollBar>(dialog, "gb")->isVisible());

        // The LB bar has the keyboard; each step re-transforms the stored FID and shows its S/N.
        auto* lb = child<QScrollBar>(dialog, "lb");
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(dialog->focusWidget(), static_cast<QWidget*>(lb));
        const QString snAtOpen = fieldText(dialog, "snText");
        QTest::keyClick(lb, Qt::Key_Right);
        QCOMPARE(std::pair(fieldText(dialog, "lbText"), lb->value()), std::pair(QStringLiteral("0.04"), 2));
        QVERIFY(fieldText(dialog, "snText") != snAtOpen && plot() != before);
        QTest::keyClick(lb, Qt::Key_PageDown);
        QCOMPARE(std::pair(fieldText(dialog, "snText"), lb->value()),
                 std::pair(QString::fromStdString(dialog->model().snText()), 27));
        sine->click();
        QVERIFY(sine->isChecked() && !exp->isChecked());
        QCOMPARE(std::pair(fieldText(dialog, "lbLabel"), fieldText(dialog, "lbText")),
                 std::pair(QStringLiteral("Degrees"), QStringLiteral("49.86")));
        click(dialog, "function5");
        QVERIFY(child<QScrollBar>(dialog, "gb")->isVisible());
        setControl(dialog, "gb", "");
        QCOMPARE(fieldText(dialog, "gbText"), QStringLiteral("0.60"));

        // Escape cancels: the FID comes back and the window's items return.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(window_->apodizationDialog() == nullptr);
        QVERIFY(std::equal(fid.begin(), fid.end(), doc_->spectrum.specData.begin()) &&
                enabled(app::kCmdFourier));

        // Opened again on the function chosen last; OK keeps the spectrum on a ppm axis.
        window_->dispatcher().dispatch(app::kCmdInteractiveApodization);
        dialog = window_->apodizationDialog();
        QVERIFY(child(dialog, "function5")->isChecked() &&
                fieldText(dialog, "gbText") == QStringLiteral("0.50"));
        child<QScrollBar>(dialog, "lb")->triggerAction(QAbstractSlider::SliderPageStepSub);
        click(dialog, "ok");
        QTRY_VERIFY(window_->apodizationDialog() == nullptr);
        QCOMPARE(std::pair(int{doc_->spectrum.xUnits}, doc_->spectrum.ftInverse),
                 std::pair(int{pelvaron::kPpm}, 1));
    }

    void ctrlEOpensAChildWindowThatASetUpCloses() {
        openExample();
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        const auto windows = window_->expansionWindows();
        QCOMPARE(std::pair(windows.size(), view().nExpansions), std::pair(std::size_t{2}, 2));
        gui::ExpansionWindow* w = windows[0]->slot() == 0 ? windows[0] : windows[1];
        QCOMPARE(w->parentWidget(), window_->plotView());
        // Where it stands, for the printed page: at (100, 100) of the client area, 200 x 150.
        const display::ExpansionSlot& slot = view().expansions.windows[0];
        QCOMPARE(std::pair(slot.frame, slot.captionHeight),
                 std::pair(pelvaron::Rect{100, 100, 300, 250}, 150 - w->view()->height()));
        QVERIFY(pixelsOf(w->view()->grab().toImage(), Qt::blue) > 20);

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
        QCOMPARE(std::pair(view().expansionUsed[0], window_->expansionWindows().size()),
                 std::pair(0, std::size_t{1}));
        openExample();
        QVERIFY(window_->expansionWindows().empty() && view().nExpansions == 0);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(window_->expansionWindows().at(0)->slot(), 0);
    }

    void theStripsButtonsAndBarsReachTheTwoSetDisplay() {
        openExample();
        // As Add/Subtract does once its Open has loaded the new set.
        display::prepareTwoSetDisplay(*doc_, view());
        window_->showTwoSetControls(true);
        display::beginTwoSetDisplay(*doc_, view());
        auto* strip = window_->twoSetStrip();
        QVERIFY(strip != nullptr);
        const double before = doc_->spectrum.specData[0];
        strip->bar(display::TwoSetBar::Shift)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(std::pair(view().secondShift, window_->statusText(0)),
                 std::pair(25, QStringLiteral("Offset: 25")));
        auto button = [&](int id) {
            return strip->findChild<QPushButton*>(QStringLiteral("twoSet%1").arg(id));
        };
        QCOMPARE(button(app::kCmdTwoSetAdd)->text(), QStringLiteral("1+2"));
        QTest::mouseClick(button(app::kCmdTwoSetSubtract), Qt::LeftButton);
        // The shift leaves the first doubles alone.
        QCOMPARE(std::pair(doc_->spectrum.specData[0], doc_->spectrum.specData[25]),
                 std::pair(before, doc_->secondData[25] - doc_->secondData[0]));
        QTest::mouseClick(button(app::kCmdTwoSetRange), Qt::LeftButton);
        QCOMPARE(strip->bar(display::TwoSetBar::Factor)->maximum(), 5000);
        QTest::mouseClick(button(app::kCmdTwoSetQuit), Qt::LeftButton);
        QVERIFY(view().addSubMode == 0 && window_->twoSetStrip() == nullptr);
        QCOMPARE(doc_->spectrum.specData[25], doc_->undo.specData[25]);
    }

    void helpAboutSplashAndDialogsKeptOnTheScreen() {
        window_->dispatcher().dispatch(app::kCmdHelp);
        QVERIFY(window_->helpWindow()->isVisible());
        QVERIFY(window_->helpWindow()->guideText().contains(QStringLiteral("Pelvaron user guide")));
        QCOMPARE(runAnswering(app::kCmdAbout, {ModalAnswerer::accept()}), QStringList{"About Pelvaron"});
        gui::SplashDialog splash(window_.get(), 50);  // closes by itself
        QCOMPARE(splash.exec(), int(QDialog::Accepted));
        // Centred over the owner; near the right and bottom edges pushed back onto the screen;
        // larger than the screen, its top-left corner stays visible.
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(gui::centeredPosition(QRect(100, 100, 800, 600), QSize(200, 100), screen), QPoint(400, 350));
        QCOMPARE(gui::centeredPosition(QRect(1700, 1000, 400, 200), QSize(300, 200), screen),
                 QPoint(1620, 880));
        QCOMPARE(gui::centeredPosition(QRect(0, 0, 100, 100), QSize(2500, 1500), screen), QPoint(0, 0));
    }

    void simulationPagesReachTheirModelsAndShowWhatTheySay() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        // Each nucleus button where the model lays it, inside the dialog and on nothing else.
        for (const int n : {1, 2, 3, 7, 10}) {
            doc_->sim.nNucleiInput = n;
            simulation::SimulationDataDialog model(*doc_);
            gui::SimulationDataDialogWidget dialog(model, *doc_, ui_, nullptr);
            QRegion taken;
            for (QWidget* block : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                if (!block->objectName().startsWith(QStringLiteral("nucleus"))) taken += block->geometry();
            QVERIFY(child(&dialog, qPrintable(QStringLiteral("nucleus%1").arg(n + 1))) == nullptr);
            for (int i = 0; i < n; ++i) {
                QAbstractButton* button = child(&dialog, qPrintable(QStringLiteral("nucleus%1").arg(i + 1)));
                const simulation::RingButton placed = model.ring().at(static_cast<std::size_t>(i));
                QVERIFY2(button != nullptr && button->text() == QString::number(i + 1) &&
                             button->geometry().topLeft() == QPoint(placed.x, placed.y) &&
                             dialog.rect().contains(button->geometry()) &&
                             !taken.intersects(button->geometry()),
                         qPrintable(QStringLiteral("%1 of %2").arg(i + 1).arg(n)));
                taken += button->geometry();
            }
        }

        doc_->sim.nNucleiInput = 3;
        simulation::SimulationDataDialog model(*doc_);
        gui::SimulationDataDialogWidget dialog(model, *doc_, ui_, nullptr);
        // Nucleus 1, then nucleus 3: the pair's coupling, and its line on the ring in its pen.
        ModalAnswerer answerer;
        QString pair;
        click(&dialog, "nucleus1");
        answerer.answer(typeAndOk("coupling", QStringLiteral("7"), &pair));
        click(&dialog, "nucleus3");
        QCOMPARE(std::pair(pair, doc_->sim.editCouplings[0][2]), std::pair(QStringLiteral("1,3"), 7.0));
        const auto& ring = model.ring();
        const QPoint middle((ring[0].anchorX + ring[2].anchorX) / 2, (ring[0].anchorY + ring[2].anchorY) / 2);
        const QImage shot = dialog.grab().toImage();
        const simulation::Rgb pen = model.ringLines().at(0).colour;
        QCOMPARE(shot.pixelColor((QPointF(middle) * shot.devicePixelRatio()).toPoint()),
                 QColor(pen.r, pen.g, pen.b));

        // A double click on nucleus 2 asks for its shift and leaves no click behind it: nucleus 3
        // next is a first click, not the pair 2,3. A line of the couplings list asks for its pair.
        answerer.answer(typeAndOk("shift", QStringLiteral("1500")));
        QWidget* second = child(&dialog, "nucleus2");
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
            sendMouse(second, type, second->rect().center(), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton));
        {
            ModalAnswerer stray;
            stray.answer(ModalAnswerer::reject());
            click(&dialog, "nucleus3");
            QCOMPARE(stray.pending(), 1);
        }
        answerer.answer(typeAndOk("coupling", QStringLiteral("3")));
        clickLine(&dialog, "couplings", 0);
        QCOMPARE(std::tuple(answerer.pending(), doc_->sim.editShifts[1], doc_->sim.editCouplings[0][1]),
                 std::tuple(0, 1500.0, 3.0));

        // ppm needs a frequency: without one the radios stay on Hertz. Then every edit, the unit
        // and both lists show what the model says, and a line of the shifts list asks for its
        // nucleus in the list's units.
        setControl(&dialog, "sf", "0");
        click(&dialog, "ppm");
        QVERIFY(fieldText(&dialog, "hertz") == QStringLiteral("on") && !model.ppm());
        setControl(&dialog, "sf", "300.00");
        click(&dialog, "ppm");
        const simulation::SimulationFields f = model.fields();
        QStringList shown;
        for (const char* name : {"sf", "from", "to", "points", "lineWidth", "threshold", "unit"})
            shown << fieldText(&dialog, name);
        QCOMPARE(shown + listLines(&dialog, "shifts") + listLines(&dialog, "couplings"),
                 qt({f.sf, f.from, f.to, f.points, f.lineWidth, f.threshold, "ppm", "1= 0.00", "2= 5.00",
                     "3= 0.00", "1,2= 3.00", "1,3= 7.00", "2,3= 0.00"}));
        answerer.answer([&shown](QWidget* shift) {
            shown = QStringList{fieldText(shift, "shift")};
            ModalAnswerer::reject()(shift);
        });
        clickLine(&dialog, "shifts", 1);
        QCOMPARE(shown, QStringList{"5.00"});
        dialog.open();
        click(&dialog, "ok");
        QCOMPARE(std::pair(dialog.result(), doc_->sim.simExists),
                 std::pair(int{simulation::SimulationDataDialog::kOk}, 1));

        // Select Subsystem chooses the line clicked, its edit read-only; the page that edits it
        // has no Cancel and no New, and Escape keeps what was edited, as OK does.
        enterSubsystem(*doc_, 3);
        doc_->sim.lastSubsystem = 1;
        enterSubsystem(*doc_, 2);
        simulation::SelectSubsystemDialog select(*doc_);
        gui::SelectSubsystemDialogWidget chooser(select, nullptr);
        QVERIFY(child<QLineEdit>(&chooser, "current")->isReadOnly());
        clickLine(&chooser, "subsystems", 1);
        QCOMPARE(std::pair(listLines(&chooser, "subsystems"), fieldText(&chooser, "current")),
                 std::pair(QStringList{"1-> No. of Nuclei: 3", "2-> No. of Nuclei: 2"}, QStringLiteral("2")));
        chooser.open();
        click(&chooser, "ok");
        QCOMPARE(std::pair(chooser.result(), doc_->sim.currentSubsystem),
                 std::pair(int{QDialog::Accepted}, 1));
        doc_->sim.simNewSubsystem = 0;
        simulation::SimulationDataDialog editing(*doc_);
        gui::SimulationDataDialogWidget page(editing, *doc_, ui_, nullptr);
        for (const char* gone : {"cancel", "new", "addSubsystem"})
            QVERIFY2(page.findChild<QWidget*>(QString::fromLatin1(gone)) == nullptr, gone);
        page.open();
        QTest::keyClick(&page, Qt::Key_Escape);
        QCOMPARE(std::pair(page.result(), page.isVisible()),
                 std::pair(int{simulation::SimulationDataDialog::kOk}, false));
        // With nothing to choose, Select Subsystem's OK does not accept.
        doc_->sim = {};
        simulation::SelectSubsystemDialog none(*doc_);
        gui::SelectSubsystemDialogWidget empty(none, nullptr);
        empty.open();
        click(&empty, "ok");
        QCOMPARE(empty.result(), int{QDialog::Rejected});
    }

    void interactiveSimStepsTheChosenValueAndEndsOnce() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        enterSubsystem(*doc_, 10);
        RecordingTuning runner;
        gui::InteractiveSimDialogWidget dialog(*doc_, ui_, runner, nullptr);
        QVERIFY(!dialog.isModal() && doc_->sim.simInteractive == 1);
        dialog.show();
        // Nothing is chosen by the lists taking the focus as the dialog opens.
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget* d = &dialog;
        QCOMPARE(QStringList(
                     {fieldText(d, "increment"), fieldText(d, "parameterLabel"), fieldText(d, "parameter")}),
                 QStringList({"0.00", "Sel. Param.", ""}));

        // Each control reaches the model, and the dialog shows the value it changed; a button
        // keeps the lists where they were, the last coupling of a long list chosen and in view.
        const pelvaron::SpinSubsystem& tuned = doc_->sim.spinSubsystems[0];
        auto* couplings = child<QListWidget>(d, "couplings");
        clickLine(d, "shifts", 1);
        setControl(d, "increment", "1"), click(d, "inc");
        QCOMPARE(std::pair(fieldText(d, "parameter"), listLines(d, "shifts").at(1)),
                 std::pair(QStringLiteral("201.00"), QStringLiteral("2= 201.00")));
        setControl(d, "parameter", "250"), click(d, "apply");
        clickLine(d, "width", 0);
        click(d, "inc");
        clickLine(d, "couplings", 44);
        const int scrolled = couplings->verticalScrollBar()->value();
        click(d, "dec");
        QCOMPARE(std::tuple(tuned.shifts()[1], doc_->sim.simLineWidth, tuned.couplings()[8][9]),
                 std::tuple(250.0, 1.3, -1.0));
        QCOMPARE(std::tuple(listLines(d, "width"), listLines(d, "couplings").at(44),
                            fieldText(d, "parameterLabel")),
                 std::tuple(QStringList{"1.30"}, QStringLiteral("9,10= -1.00"), QStringLiteral("J (9,10)")));
        QVERIFY(scrolled > 0 && couplings->verticalScrollBar()->value() == scrolled &&
                couplings->currentRow() == 44 && child<QListWidget>(d, "shifts")->selectedItems().isEmpty());
        using R = simulation::Recompute;
        QCOMPARE(runner.asked, (std::vector<R>{R::Full, R::Full, R::WidthOnly, R::Full}));

        // Holding Inc down repeats the step.
        const std::size_t before = runner.asked.size();
        QTest::mousePress(child(d, "inc"), Qt::LeftButton);
        QTRY_VERIFY(runner.asked.size() >= before + 3);
        QTest::mouseRelease(child(d, "inc"), Qt::LeftButton);
        // Help opens its box; Close ends the dialog once, and the interactive mode with it.
        ModalAnswerer answerer;
        answerer.answer(ModalAnswerer::accept());
        click(d, "help");
        QCOMPARE(answerer.seen(), QStringList{QStringLiteral("Help on Interactive Simulation")});
        QSignalSpy finished(&dialog, &QDialog::finished);
        click(d, "close");
        dialog.reject();
        QCOMPARE(std::pair(static_cast<int>(finished.count()), doc_->sim.simInteractive), std::pair(1, 0));
    }

    void fitOnTheStripRunsBesideTheWindowLandsItsValuesAndUndoAndCancelLeaveTheStart() {
        // An ABX "measured" at 300 MHz (500 to 800 Hz), then compared with a start that is off.
        auto simulate = [this](const std::vector<double>& shifts, double j12, double j13, double j23,
                               double width) {
            auto& sim = doc_->sim;
            sim.nNucleiInput = 3;
            sim.editShifts = shifts;
            sim.editCouplings = {{0, j12, j13}, {j12, 0, j23}, {j13, j23, 0}};
            sim.simLineWidth = width;
            simulation::Messages said;
            QVERIFY(simulation::storeSubsystemParams(*doc_, said) &&
                    simulation::completeSimulation(*doc_, said));
        };
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        doc_->sim.simFromHz = 500.0;
        doc_->sim.simToHz = 800.0;
        doc_->sim.simPoints = 16384;
        simulate({610.0, 622.0, 700.0}, 15.5, 3.2, 8.7, 0.8);
        display::prepareTwoSetDisplay(*doc_, view());
        simulation::beginCompareSimulation(*doc_);
        const std::vector<double> start = {611.5, 620.8, 701.2};
        simulate(start, 14.0, 4.0, 7.5, 1.2);
        window_->showTwoSetControls(true);
        display::beginTwoSetDisplay(*doc_, view());
        display::matchSecondSetHeight(*doc_);
        doc_->notify(pelvaron::kAllDrawn);
        // As Interactive Simulation does once the subsystem is chosen.
        doc_->sim.currentSubsystem = 0;
        window_->showInteractiveSimDialog();
        auto* tuning = window_->findChild<gui::InteractiveSimDialogWidget*>();
        QVERIFY(tuning != nullptr);

        auto* strip = window_->twoSetStrip();
        QWidget* fit = child<QWidget>(strip, "twoSetFit");
        QWidget* cancel = child<QWidget>(strip, "twoSetCancelFit");
        QWidget* undo = child<QWidget>(strip, "twoSetUndoFit");
        QVERIFY(fit->isVisible() && !cancel->isEnabled() && !undo->isEnabled());
        const pelvaron::SpinSubsystem& rec = doc_->sim.spinSubsystems[0];
        // Fit runs beside the window: the strip's other commands and Interactive Sim.'s steps wait.
        QTest::mouseClick(fit, Qt::LeftButton);
        QVERIFY(strip->fitting() && !fit->isEnabled() && cancel->isEnabled());
        QVERIFY(!child<QWidget>(strip, "twoSet3457")->isEnabled() &&
                !child<QWidget>(tuning, "inc")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!strip->fitting(), 30000);
        QVERIFY2(fieldText(strip, "twoSetFitProgress").startsWith("fitted: relative rms"),
                 qPrintable(fieldText(strip, "twoSetFitProgress")));
        for (int i = 0; i < 3; ++i)
            QVERIFY(std::fabs(rec.shifts()[i] - std::vector{610.0, 622.0, 700.0}[i]) < 0.05);
        QVERIFY(std::fabs(rec.couplings()[0][1] - 15.5) < 0.05 &&
                std::fabs(doc_->sim.simLineWidth - 0.8) < 0.02);
        // The values land in Interactive Sim. with their sigmas, and the steps are back.
        QVERIFY(listLines(tuning, "shifts").at(0).contains(QStringLiteral(" ± ")));
        QVERIFY(child<QWidget>(tuning, "inc")->isEnabled() && undo->isEnabled());

        // Edit Parameters' page: the sigmas beside the values; a click on a line's box holds the
        // value and opens no dialog, as Fit width's box holds the width.
        doc_->sim.simNewSubsystem = 0;
        simulation::SimulationDataDialog model(*doc_);
        gui::SimulationDataDialogWidget page(model, *doc_, ui_, nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(listLines(&page, "shifts").at(1).contains(QStringLiteral(" ± ")) &&
                fieldText(&page, "widthSigma").startsWith(QStringLiteral("± ")));
        {
            ModalAnswerer stray;
            stray.answer(ModalAnswerer::reject());
            auto* shifts = child<QListWidget>(&page, "shifts");
            const QRect line = shifts->visualItemRect(shifts->item(1));
            QTest::mouseClick(shifts->viewport(), Qt::LeftButton, {},
                              QPoint(line.left() + 10, line.center().y()));
            click(&page, "fitWidth");
            QCOMPARE(std::tuple(stray.pending(), doc_->sim.editHeld.shift(1), doc_->sim.editHeld.shift(0),
                                doc_->sim.editHeld.width),
                     std::tuple(1, true, false, true));
        }
        page.hide();
        doc_->sim.simNewSubsystem = 1;

        // The residual, in its green, only while its box is checked.
        auto green = [](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == QColor(0, 140, 0);
            return count;
        };
        QCOMPARE(green(plot()), 0);
        child(strip, "twoSetResidual")->click();
        QVERIFY(view().showFitResidual == 1 && green(plot()) > 100);

        // Undo fit: the start exactly.
        QTest::mouseClick(undo, Qt::LeftButton);
        QVERIFY(rec.shifts() == start && doc_->sim.simLineWidth == 1.2 && !undo->isEnabled());
        QCOMPARE(green(plot()), 0);
        // Interactive Sim.'s Fit is the strip's; Cancel leaves the values as they were.
        click(tuning, "fit");
        QVERIFY(strip->fitting());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!strip->fitting(), 30000);
        QCOMPARE(std::pair(fieldText(strip, "twoSetFitProgress"), strip->fitter()->result().status),
                 std::pair(QStringLiteral("cancelled"), simulation::FitResult::Status::Cancelled));
        QVERIFY(rec.shifts() == start && doc_->sim.simLineWidth == 1.2 && !undo->isEnabled());
        tuning->close();
    }

    void thePageAndThePlotAsFilesAndTheRefusalsThatWriteNothing() {
        QTemporaryDir dir;
        auto page = [&dir](const char* name) {
            std::vector<std::string> args{"render", kExample, "--page", "-o",
                                          dir.filePath(QString::fromLatin1(name)).toStdString()};
            for (const char* word : {"--steps", "em=0.3,ft,autophase", "--integrate", "4.3/3.9", "--peaks",
                                     "4.3/3.9", "--threshold", "5"})
                args.emplace_back(word);
            return args;
        };
        QCOMPARE(runCli(page("page.pdf")), 0);
#ifdef PELVARON_HAVE_QTPDF
        // One A4 portrait page, 595 x 842 points, with the legend.
        QPdfDocument pdf;
        QCOMPARE(pdf.load(dir.filePath(QStringLiteral("page.pdf"))), QPdfDocument::Error::None);
        QCOMPARE(std::pair(pdf.pageCount(), pdf.pagePointSize(0).toSize()), std::pair(1, QSize(595, 842)));
        for (const char* expected : {"SF: 400.13 MHz", "SW: 6009.62 Hz", "TD: 16384 points",
                                     "Scale units: ppm", "File: fid", "Date: "})
            QVERIFY2(pdf.getAllText(0).text().contains(QString::fromLatin1(expected)), expected);
#else
        QCOMPARE(pdfPages(dir.filePath(QStringLiteral("page.pdf"))), 1);
#endif
        QCOMPARE(runCli(page("page.svg")), 0);
        QSvgRenderer renderer(dir.filePath(QStringLiteral("page.svg")));
        QFile svg(dir.filePath(QStringLiteral("page.svg")));
        QVERIFY(renderer.isValid() && renderer.viewBox() == QRect(0, 0, 2480, 3508) &&
                svg.open(QIODevice::ReadOnly));
        const QByteArray content = svg.readAll();
        QVERIFY(content.contains("SF: 400.13 MHz") && content.contains("Scale units: ppm"));
        std::vector<std::string> args = page("page.png");
        args.insert(args.end(), {"--paper", "letter", "--landscape", "--dpi", "100"});
        QCOMPARE(runCli(args), 0);
        const QImage letter(dir.filePath(QStringLiteral("page.png")));
        QCOMPARE(std::pair(letter.size(), qRound(letter.dotsPerMeterX() * 0.0254)),
                 std::pair(QSize(1100, 850), 100));

        // The plot: the trace, then the peaks and integrals asked for, as the window draws them.
        const std::string png = dir.filePath(QStringLiteral("plot.png")).toStdString();
        args = {"render", kExample, "-o", png, "--width", "640", "--height", "400"};
        std::string out;
        QCOMPARE(std::pair(runCli(args, nullptr, &out), out), std::pair(0, png + "\n"));
        const QImage image(QString::fromStdString(png));
        QVERIFY(image.size() == QSize(640, 400) && pixelsOf(image, Qt::blue) > 500);
        args.insert(args.end(),
                    {"--steps", "em=0.3,ft,autophase", "--peaks", "4.3/3.9", "--integrate", "2.2/1.9"});
        QCOMPARE(runCli(args), 0);
        const QImage marked(QString::fromStdString(png));
        QVERIFY(pixelsOf(marked, Qt::red) > 40 &&
                pixelsOf(marked, Qt::black) > pixelsOf(image, Qt::black) + 40);

        // The page's picture type comes from its extension; its options mean nothing without --page.
        QTemporaryDir empty;
        const std::string in = empty.filePath(QStringLiteral("plot")).toStdString(), none = in + ".png";
        // clang-format off
        const std::tuple<std::vector<std::string>, int, const char*> refusals[] = {
            {{"render", kExample, "--page", "-o", in + ".jpg"}, 2, "PDF, SVG or PNG"},
            {{"render", kExample, "--page", "-o", in}, 2, "PDF, SVG or PNG"},
            {{"render", kExample, "--page", "-o", in + ".pdf.txt"}, 2, "PDF, SVG or PNG"},
            {{"render", kExample, "-o", none, "--landscape"}, 2, ""},
            {{"render", kExample, "--page", "-o", none, "--dpi", "5000"}, 2, ""},
            {{"render", kExample, "--page", "-o", none, "--paper", "a3"}, 2, ""},
            {{"render", kExample, "-o", none, "--width", "12x"}, 2, "--width must be a whole number"},
            {{"render", kExample, "-o", none, "--peaks", "4.3"}, 2, "--peaks 4.3: expected FROM/TO in ppm"},
            {{"render", kExample, "-o", "/nonexistent-folder/plot.png"}, 1, "cannot write /nonexistent-folder"}};
        // clang-format on
        for (const auto& [refused, status, says] : refusals) {
            std::string err;
            QCOMPARE(runCli(refused, &err), status);
            QVERIFY2(err.find(says) != std::string::npos, err.c_str());
        }
        QCOMPARE(QDir(empty.path()).entryList(QDir::Files), QStringList{});
    }

    void theMultipletReportListsEditsAndCopiesTheRangesBesideThePlot() {
        using Dock = gui::MultipletReportDock;
        using pelvaron::RangeKind;
        namespace analysis = pelvaron::analysis;
        using pelvaron::testing::multipletRange;
        const std::vector<pelvaron::MultipletRange> byHand = {
            multipletRange(7.28, 7.24, "s", {}, 0, RangeKind::Solvent),
            multipletRange(4.17, 4.07, "q", {7.1}, 2), multipletRange(2.08, 2.02, "s", {}, 3),
            multipletRange(1.30, 1.22, "t", {7.1}, 3)};

        // On the FID the report is refused with its message, and the one there was stays.
        openExample();
        doc_->multiplets.ranges = byHand;
        QString said;
        runAnswering(app::kCmdMultipletReport, {[&said](QWidget* w) {
                         auto* box = qobject_cast<QMessageBox*>(w);
                         said = box->text();
                         box->button(QMessageBox::Ok)->click();
                     }});
        QCOMPARE(said, QString::fromStdString(
                           analysis::multipletMessage(analysis::MultipletProblem::NotSpectrum).text));
        QCOMPARE(std::tuple(window_->multipletReport(), doc_->multiplets.ranges.size(),
                            doc_->multiplets.labelsShown),
                 std::tuple(static_cast<Dock*>(nullptr), byHand.size(), false));

        // On the spectrum: the list beside the plot, a row for each range the analysis found, the
        // labels on and the digits chosen kept.
        openExample(true);
        doc_->multiplets.format.deltaDigits = 3;
        window_->action(app::kCmdMultipletReport)->trigger();
        Dock* dock = window_->multipletReport();
        QVERIFY(dock != nullptr && dock->isVisible() &&
                window_->dockWidgetArea(dock) == Qt::RightDockWidgetArea);
        QTableWidget* table = dock->table();
        QCOMPARE(table->rowCount(), static_cast<int>(doc_->multiplets.ranges.size()));
        QVERIFY(doc_->multiplets.labelsShown && doc_->multiplets.format.deltaDigits == 3);

        // Ranges set by hand follow at the next notice: the solvent's row greyed, not editable.
        doc_->multiplets.ranges = byHand;
        doc_->multiplets.format.deltaDigits = 2;
        doc_->notify(pelvaron::kOverlaysChanged);
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(QStringList({table->item(0, Dock::kCount)->text(), table->item(1, Dock::kDelta)->text(),
                              table->item(3, Dock::kCouplings)->text()}),
                 QStringList({"solvent", "4.12", "7.1"}));
        QVERIFY(!(table->item(0, Dock::kCount)->flags() & Qt::ItemIsEditable) &&
                (table->item(1, Dock::kCount)->flags() & Qt::ItemIsEditable) &&
                table->item(0, 1)->foreground() != table->item(1, 1)->foreground());
        auto shownLine = [this] {
            const std::string html = analysis::reportLineHtml(doc_->spectrum, doc_->multiplets);
            return QString::fromStdString(
                html.empty() ? analysis::reportLine(doc_->spectrum, doc_->multiplets) : html);
        };
        QCOMPARE(fieldText(dock, "line"), shownLine());
        click(dock, "labels");
        QVERIFY(!doc_->multiplets.labelsShown);
        click(dock, "labels");
        // The line's decimals follow the two boxes.
        child<QSpinBox>(dock, "deltaDigits")->setValue(3);
        child<QSpinBox>(dock, "jDigits")->setValue(2);
        QVERIFY(doc_->multiplets.format.deltaDigits == 3 && doc_->multiplets.format.jDigits == 2);
        QVERIFY(fieldText(dock, "line").contains(QStringLiteral("7.10 Hz")));
        child<QSpinBox>(dock, "deltaDigits")->setValue(2);
        child<QSpinBox>(dock, "jDigits")->setValue(1);
        QCOMPARE(fieldText(dock, "line"), shownLine());

        // A count typed that is no count shows the count again; one that is goes to the analysis,
        // which sets it, and the line follows.
        table->item(2, Dock::kCount)->setText(QStringLiteral("x"));
        QCOMPARE(table->item(2, Dock::kCount)->text(), QStringLiteral("3"));
        table->item(1, Dock::kCount)->setText(QStringLiteral("4"));
        QCOMPARE(doc_->multiplets.ranges[1].nH, 4);
        QCOMPARE(table->item(1, Dock::kCount)->text(), QString::number(doc_->multiplets.ranges[1].nH));
        QCOMPARE(fieldText(dock, "line"), shownLine());

        // Merge takes two neighbours only; Delete the rows selected.
        table->setSelectionMode(QAbstractItemView::MultiSelection);
        table->selectRow(1);
        table->selectRow(3);
        QVERIFY(!child(dock, "merge")->isEnabled() && child(dock, "delete")->isEnabled());
        table->clearSelection();
        table->selectRow(0);
        click(dock, "delete");
        table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        QCOMPARE(doc_->multiplets.ranges.size(), 3u);
        QCOMPARE(table->rowCount(), static_cast<int>(doc_->multiplets.ranges.size()));

        // The clipboard gets the text and the rich text. Ctrl+C in the list copies the line, not
        // the page (the window's Ctrl+C).
        QVERIFY(window_->copyText("\u03b4 1.26", "<i>\u03b4</i> 1.26"));
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime->text() == QStringLiteral("\u03b4 1.26") &&
                mime->html().contains(QStringLiteral("<i>\u03b4</i>")));
        // The window takes the keys again after the message box on the FID.
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const std::string line = analysis::reportLine(doc_->spectrum, doc_->multiplets);
        QCOMPARE(child(dock, "copy")->isEnabled(), !line.empty());
        for (QWidget* focus : {static_cast<QWidget*>(table), child<QWidget>(dock, "labels")}) {
            QGuiApplication::clipboard()->clear();
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
            mime = QGuiApplication::clipboard()->mimeData();
            QVERIFY(mime == nullptr || !mime->hasFormat(QStringLiteral("image/svg+xml")));
            QCOMPARE(mime != nullptr ? mime->text() : QString(), QString::fromStdString(line));
            if (!line.empty())
                QCOMPARE(mime->html(),
                         QString::fromStdString(analysis::reportLineHtml(doc_->spectrum, doc_->multiplets)));
        }

        // Add and Split arm their tools on the plot; another tool puts them down; a drag adds.
        const int before = table->rowCount();
        click(dock, "add");
        QVERIFY(view().mouse.tool == display::Tool::MultipletAdd);
        drag(300, 400);
        QCOMPARE(table->rowCount(), static_cast<int>(doc_->multiplets.ranges.size()));
        QCOMPARE(table->rowCount(), before + 1);
        click(dock, "split");
        QVERIFY(view().mouse.tool == display::Tool::MultipletSplit && !child(dock, "add")->isChecked());
        window_->action(app::kCmdZoom)->trigger();
        QVERIFY(!child(dock, "split")->isChecked());

        // Closing keeps the report; the command shows it again, analysed afresh.
        click(dock, "split");
        dock->close();
        QVERIFY(!dock->isVisible() && view().mouse.tool == display::Tool::None &&
                doc_->multiplets.ranges.size() == static_cast<std::size_t>(table->rowCount()));
        window_->action(app::kCmdMultipletReport)->trigger();
        QVERIFY(window_->multipletReport() == dock && dock->isVisible());
        QCOMPARE(table->rowCount(), static_cast<int>(doc_->multiplets.ranges.size()));
    }

    void copiesGoToTheClipboardAndPrintsThroughThePrintDialog() {
        openExample();
        QVERIFY(window_->dispatcher().dispatch(app::kCmdCopyMetafile));
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime != nullptr && mime->hasImage() &&
                mime->data(QStringLiteral("image/svg+xml")).contains("SF: "));
        QVERIFY(mime->data(QStringLiteral("application/pdf")).startsWith("%PDF"));
        QVERIFY(window_->dispatcher().dispatch(app::kCmdCopyBitmap));
        QCOMPARE(QGuiApplication::clipboard()->image().size(), plot().size());

        // A text report prints its lines page by page, each copy starting a page of its own.
        int perPage = 0;
        const gui::PageSource pages = [&perPage](int n) {
            perPage = n;
            return pelvaron::analysis::paginate(
                std::vector<std::string>(250, "   1    100.00      1.00     50.000"), n);
        };
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("report.pdf")));
        printer.setCopyCount(2);
        QVERIFY(gui::paintTextPages(printer, pages, 5, 14) && perPage > 10 && perPage < 250);
        QCOMPARE(pdfPages(printer.outputFileName()), 2 * ((250 + perPage - 1) / perPage));

        // Through the print dialog, with no printer installed: a PDF file named for the job.
        const auto report = printToPdf([&pages] {
            QVERIFY(gui::printReport(nullptr, pages,
                                     QString::fromLatin1(pelvaron::analysis::kPeakPrintJobName), 0));
        });
        const auto page = printToPdf([this] { window_->dispatcher().dispatch(app::kCmdPrint); });
        if (report == nullptr) QSKIP("a printer is installed");
        QCOMPARE(pdfPages(report->filePath(QStringLiteral("Peak Picking Ouput.pdf"))),
                 (250 + perPage - 1) / perPage);
        QCOMPARE(pdfPages(page->filePath(QStringLiteral("Pelvaron.pdf"))), 1);
    }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
