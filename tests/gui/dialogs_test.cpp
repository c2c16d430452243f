// The dialog widgets, offscreen: baseline correction, the data operations, the peak report, the
// integrals and the simulation's, each passing its controls to its model and showing what the
// model says (compared with the model's own output); the ring of nucleus buttons stays clear of
// the other controls; the text reports print as pages. Measure J's and Reference's are checked in
// the window. What the models compute is checked with them.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "../display/display_fixture.h"
#include "analysis/integral_dialogs.h"
#include "analysis/peaks.h"
#include "display/tool_actions.h"
#include "gui/dialogs/baseline_dialog.h"
#include "gui/dialogs/hydrogens_dialog.h"
#include "gui/dialogs/input_parameters_dialog.h"
#include "gui/dialogs/integral_factor_dialog.h"
#include "gui/dialogs/interactive_sim_dialog.h"
#include "gui/dialogs/multi_point_baseline_dialog.h"
#include "gui/dialogs/peak_picking_dialog.h"
#include "gui/dialogs/select_subsystem_dialog.h"
#include "gui/dialogs/shift_data_dialog.h"
#include "gui/dialogs/signal_to_noise_dialog.h"
#include "gui/dialogs/simulation_data_dialog.h"
#include "gui/dialogs/suppress_peaks_dialog.h"
#include "gui/report_printer.h"
#include "modal_helper.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/spin_engine.h"

using pelvaron::Document;
using pelvaron::testing::child;
using pelvaron::testing::click;
using pelvaron::testing::fieldText;
using pelvaron::testing::listLines;
using pelvaron::testing::makeDocument;
using pelvaron::testing::ModalAnswerer;
using pelvaron::testing::RecordingUserInterface;
using pelvaron::testing::sendMouse;
using pelvaron::testing::typeInto;
namespace analysis = pelvaron::analysis;
namespace display = pelvaron::display;
namespace gui = pelvaron::gui;
namespace processing = pelvaron::processing;
namespace simulation = pelvaron::simulation;
using simulation::SimulationDataDialog;

namespace {

/// Page objects of a PDF file (the page tree's "/Pages" is not one).
int pdfPageCount(const QByteArray& pdf) {
    int count = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        count += pdf.mid(at + 11, 1) != "s";
    return count;
}

/// Whether the button named `name` is checked.
bool checked(QWidget* dialog, const char* name) { return child(dialog, name)->isChecked(); }

QStringList qt(const std::vector<std::string>& lines) { return pelvaron::testing::qtLines(lines); }

/// Every edit, the unit and both lists of Simulation data show what its model says.
void expectShowsModel(QWidget* dialog, const SimulationDataDialog& model) {
    const simulation::SimulationFields f = model.fields();
    QStringList shown;
    for (const char* name : {"sf", "from", "to", "points", "lineWidth", "threshold", "unit"})
        shown << fieldText(dialog, name);
    const QStringList want = qt({f.sf, f.from, f.to, f.points, f.lineWidth, f.threshold, model.unitLabel()});
    QCOMPARE(shown + listLines(dialog, "shifts") + listLines(dialog, "couplings"),
             want + qt(model.shiftLines()) + qt(model.couplingLines()));
}

/// Interactive Sim. shows what a model given the same events says.
void expectShowsModel(QWidget* dialog, const simulation::InteractiveSimDialog& model) {
    const QStringList shown =
        listLines(dialog, "shifts") + listLines(dialog, "couplings") + listLines(dialog, "width") +
        QStringList{fieldText(dialog, "parameterLabel"), fieldText(dialog, "parameter")};
    QCOMPARE(shown, qt(model.shiftLines()) + qt(model.couplingLines()) +
                        qt({model.widthLine(), model.parameterLabel(), model.parameterText()}));
}

/// A click on a list's line, where a person would click.
void clickLine(QWidget* dialog, const char* list, int row) {
    auto* widget = child<QListWidget>(dialog, list);
    QVERIFY2(widget != nullptr && widget->item(row) != nullptr, list);
    widget->scrollToItem(widget->item(row));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(widget->item(row)).center());
}

/// Answers the next dialog by typing into `edit` and pressing OK; `shown` gets `label`'s text.
ModalAnswerer::Answer typeAndOk(const char* edit, QString typed, const char* label = nullptr,
                                QString* shown = nullptr) {
    return [=](QWidget* dialog) {
        if (shown != nullptr) *shown = fieldText(dialog, label);
        typeInto(dialog, edit, typed);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
    };
}

QPushButton* nucleus(QWidget* dialog, int number) {
    return child<QPushButton>(dialog, QByteArray("nucleus" + QByteArray::number(number)).constData());
}

/// The same double click a person makes: a click, then the second press as a double click.
void doubleClick(QWidget* button) {
    const QPoint at = button->rect().center();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                            QEvent::MouseButtonRelease})
        sendMouse(button, type, at, Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton));
}

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
    QVERIFY(pelvaron::simulation::storeSubsystemParams(doc, said));
    sim.simExists = 1;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private:
    RecordingUserInterface ui_;
    std::unique_ptr<Document> doc_;
    display::View view_;

private slots:
    void init() {
        ui_ = RecordingUserInterface{};
        doc_ = makeDocument(ui_);
        view_ = pelvaron::testing::makeView(*doc_);
    }

    void manualBaselinePreviewsAndEndsWithOkOrCancel() {
        const double before = doc_->spectrum.specData[0];
        for (const bool ok : {false, true}) {
            processing::BaselineDialog model(*doc_, display::baselinePreview(view_));
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
            gui::MultiPointBaselineWidget dialog(*doc_, view_, nullptr);
            QVERIFY(!dialog.isModal());
            QVERIFY(view_.mouse.baselinePick);
            dialog.show();
            QVERIFY(processing::MultiPointBaseline(*doc_).addPoint(0.5));
            QSignalSpy finished(&dialog, &QDialog::finished);
            // Apply zeroes the last point; Escape, then the window's own closing, leave the data.
            const double lastImaginary = doc_->spectrum.specData[doc_->spectrum.nData - 1];
            apply ? click(&dialog, "apply") : QTest::keyClick(&dialog, Qt::Key_Escape);
            pelvaron::testing::RecordingObserver seen(*doc_);
            dialog.reject();
            dialog.accept();
            QCOMPARE(std::tuple(finished.count(), seen.notices.size(), view_.mouse.baselinePick),
                     std::tuple(1, std::size_t{0}, false));
            QCOMPARE(doc_->spectrum.specData[doc_->spectrum.nData - 1], apply ? 0.0 : lastImaginary);
            QCOMPARE(doc_->baseline.baselinePointCount, 0);
        }
    }

    void dataOperationDialogsPassTheirControls() {
        // Shift left by a typed count of 3 points; the direction is remembered.
        for (int i = 0; i < doc_->spectrum.nData; ++i) doc_->spectrum.specData[i] = i;
        doc_->dataOps.shiftLeft = 0;
        for (const bool ok : {true, false}) {
            processing::ShiftDataDialog model(*doc_);
            gui::ShiftDataDialogWidget dialog(model, nullptr);
            QCOMPARE(checked(&dialog, "leftShift"), !ok);
            click(&dialog, "leftShift");
            QVERIFY(typeInto(&dialog, "count", QStringLiteral("3")));
            click(&dialog, ok ? "ok" : "cancel");
            QCOMPARE(doc_->spectrum.specData[0], 6.0);
        }

        // Supress Peaks by zeros over the picked region.
        doc_->dataOps.suppressByZeros = 0;
        {
            processing::SuppressPeaksDialog model(*doc_, 8, 16);
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
            gui::HydrogensDialogWidget dialog(model, *doc_, nullptr);
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
            QCOMPARE(listLines(&dialog, "report"), qt(model.lines()));
            QCOMPARE(model.lines().size(), std::size_t{4});
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

    void textReportsPrintOnPagesAndEachCopyStartsAPageOfItsOwn() {
        QTemporaryDir dir;
        int perPage = 0;
        const gui::PageSource pages = [&perPage](int n) {
            perPage = n;
            return analysis::paginate(std::vector<std::string>(250, "   1    100.00      1.00     50.000"),
                                      n);
        };
        auto pdfPages = [](const QString& path) {
            QFile file(path);
            const QByteArray pdf = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return pdf.startsWith("%PDF") ? pdfPageCount(pdf) : -1;
        };
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("report.pdf")));
        printer.setCopyCount(2);
        QVERIFY(gui::paintTextPages(printer, pages, 5, 14));
        QVERIFY(perPage > 10 && perPage < 250);
        QCOMPARE(pdfPages(printer.outputFileName()), 2 * ((250 + perPage - 1) / perPage));

        // Through the print dialog: with no printer installed, a PDF file named for the job.
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed");
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", dir.path().toLocal8Bit());
        ModalAnswerer answerer;
        answerer.answer(ModalAnswerer::accept());
        const bool printed =
            gui::printReport(nullptr, pages, QString::fromLatin1(analysis::kPeakPrintJobName), 0);
        qputenv("HOME", oldHome);
        QVERIFY(printed);
        QCOMPARE(pdfPages(dir.filePath(QStringLiteral("Peak Picking Ouput.pdf"))),
                 (250 + perPage - 1) / perPage);
    }

    void inputParametersEndsWithTheModelsResult() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        // The typed count, then OK; Escape is Cancel.
        using Model = simulation::InputParametersDialog;
        const std::tuple<const char*, int, int> cases[] = {
            {"11", Model::kRefused, 0}, {"3", Model::kAccepted, 3}, {nullptr, Model::kCancelled, 0}};
        for (const auto& [typed, result, count] : cases) {
            Model model(*doc_);
            gui::InputParametersDialogWidget dialog(model, nullptr);
            QCOMPARE(fieldText(&dialog, "count"), QString::fromStdString(model.countText()));
            dialog.open();
            if (typed != nullptr && typeInto(&dialog, "count", QString::fromLatin1(typed)))
                click(&dialog, "ok");
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(std::pair(dialog.result(), doc_->sim.nNucleiInput), std::pair(result, count));
        }
    }

    void simulationDataRingStaysClearOfTheControls() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        // Each nucleus button where the model lays it, inside the dialog and on nothing else.
        for (const int n : {1, 2, 3, 7, 10}) {
            doc_->sim.nNucleiInput = n;
            SimulationDataDialog model(*doc_);
            gui::SimulationDataDialogWidget dialog(model, *doc_, ui_, nullptr);
            QCOMPARE(static_cast<int>(model.ring().size()), n);
            QVERIFY(nucleus(&dialog, n + 1) == nullptr);
            QRegion taken;
            for (QWidget* block : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                if (!block->objectName().startsWith(QStringLiteral("nucleus"))) taken += block->geometry();
            for (int i = 0; i < n; ++i) {
                QPushButton* button = nucleus(&dialog, i + 1);
                QVERIFY(button != nullptr && button->text() == QString::number(i + 1));
                const simulation::RingButton placed = model.ring()[static_cast<std::size_t>(i)];
                QCOMPARE(button->geometry().topLeft(), QPoint(placed.x, placed.y));
                QVERIFY2(dialog.rect().contains(button->geometry()) && !taken.intersects(button->geometry()),
                         qPrintable(QStringLiteral("%1 of %2").arg(i + 1).arg(n)));
                taken += button->geometry();
            }
        }
    }

    void simulationDataEntersValuesAndComputes() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        doc_->sim.nNucleiInput = 3;
        SimulationDataDialog model(*doc_);
        gui::SimulationDataDialogWidget dialog(model, *doc_, ui_, nullptr);
        QVERIFY(child(&dialog, "new")->isEnabled());
        expectShowsModel(&dialog, model);

        // Nucleus 1, then nucleus 3: the pair's coupling, its line in the list and on the ring.
        ModalAnswerer answerer;
        QString pair;
        click(&dialog, "nucleus1");
        answerer.answer(typeAndOk("coupling", QStringLiteral("7"), "pair", &pair));
        click(&dialog, "nucleus3");
        QCOMPARE(std::pair(pair, doc_->sim.editCouplings[0][2]), std::pair(QStringLiteral("1,3"), 7.0));
        expectShowsModel(&dialog, model);
        const auto& ring = model.ring();
        const QPoint middle((ring[0].anchorX + ring[2].anchorX) / 2, (ring[0].anchorY + ring[2].anchorY) / 2);
        const QImage shot = dialog.grab().toImage();
        const simulation::Rgb pen = model.ringLines().at(0).colour;
        QCOMPARE(shot.pixelColor((QPointF(middle) * shot.devicePixelRatio()).toPoint()),
                 QColor(pen.r, pen.g, pen.b));

        // A double click on nucleus 2 asks for its shift and leaves no click behind it: nucleus 3
        // next is a first click, not the pair 2,3. A line of the couplings list asks for its pair.
        answerer.answer(typeAndOk("shift", QStringLiteral("1500")));
        doubleClick(nucleus(&dialog, 2));
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
        expectShowsModel(&dialog, model);

        // ppm needs a frequency: without one the radios stay on Hertz.
        QVERIFY(typeInto(&dialog, "sf", QStringLiteral("0")));
        click(&dialog, "ppm");
        QVERIFY(child<QRadioButton>(&dialog, "hertz")->isChecked() && !model.ppm());
        QVERIFY(typeInto(&dialog, "sf", QStringLiteral("300.00")));
        click(&dialog, "ppm");
        QVERIFY(model.ppm());
        expectShowsModel(&dialog, model);

        // A line of the shifts list asks for its nucleus, in the list's units.
        QString shown;
        answerer.answer([&shown](QWidget* shift) {
            shown = fieldText(shift, "shift");
            ModalAnswerer::reject()(shift);
        });
        clickLine(&dialog, "shifts", 1);
        QCOMPARE(shown, QString::fromStdString(
                            simulation::ChemicalShiftDialog(*doc_, 1, model.ppmFactor()).valueText()));

        dialog.open();
        click(&dialog, "ok");
        QCOMPARE(std::pair(dialog.result(), doc_->sim.simExists),
                 std::pair(int{SimulationDataDialog::kOk}, 1));
    }

    void selectSubsystemThenEditItWithoutCancel() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        enterSubsystem(*doc_, 3);
        doc_->sim.lastSubsystem = 1;
        enterSubsystem(*doc_, 2);
        {
            simulation::SelectSubsystemDialog model(*doc_), twin(*doc_);
            gui::SelectSubsystemDialogWidget dialog(model, nullptr);
            QVERIFY(child<QLineEdit>(&dialog, "current")->isReadOnly());
            clickLine(&dialog, "subsystems", 1);
            twin.select(1);
            QCOMPARE(std::pair(listLines(&dialog, "subsystems"), fieldText(&dialog, "current")),
                     std::pair(qt(twin.lines()), QString::fromStdString(twin.currentText())));
            dialog.open();
            click(&dialog, "ok");
            QCOMPARE(std::pair(dialog.result(), doc_->sim.currentSubsystem),
                     std::pair(int{QDialog::Accepted}, 1));
        }
        // Its page has no Cancel and no New; Escape keeps what was edited, as OK does.
        doc_->sim.simNewSubsystem = 0;
        SimulationDataDialog model(*doc_);
        gui::SimulationDataDialogWidget dialog(model, *doc_, ui_, nullptr);
        for (const char* gone : {"cancel", "new", "addSubsystem"})
            QVERIFY2(dialog.findChild<QWidget*>(QString::fromLatin1(gone)) == nullptr, gone);
        expectShowsModel(&dialog, model);
        dialog.open();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(std::pair(dialog.result(), dialog.isVisible()),
                 std::pair(int{SimulationDataDialog::kOk}, false));
        // With nothing to choose, Select Subsystem's OK does not accept.
        doc_->sim = {};
        simulation::SelectSubsystemDialog none(*doc_);
        gui::SelectSubsystemDialogWidget empty(none, nullptr);
        empty.open();
        click(&empty, "ok");
        QCOMPARE(empty.result(), int{QDialog::Rejected});
    }

    void interactiveSimFollowsItsModel() {
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
        enterSubsystem(*doc_, 10);
        auto twinDoc = makeDocument(ui_);
        QVERIFY(simulation::beginNewSimulation(*twinDoc, ui_));
        enterSubsystem(*twinDoc, 10);
        RecordingTuning runner, twinRunner;
        gui::InteractiveSimDialogWidget dialog(*doc_, ui_, runner, nullptr);
        simulation::InteractiveSimDialog twin(*twinDoc, twinRunner);
        twin.open();
        QVERIFY(!dialog.isModal());
        QCOMPARE(doc_->sim.simInteractive, 1);
        dialog.show();
        // Nothing is chosen by the lists taking the focus as the dialog opens.
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(fieldText(&dialog, "increment"), QString::fromStdString(twin.initialIncrementText()));
        expectShowsModel(&dialog, twin);

        auto type = [&dialog](const char* edit, const char* typed) {
            QVERIFY(typeInto(&dialog, edit, QString::fromLatin1(typed)));
        };
        // Each control and its event on the model: the dialog shows what the model says after it,
        // and a button keeps the lists where they were.
        auto* couplings = child<QListWidget>(&dialog, "couplings");
        const std::tuple<bool, std::function<void()>, std::function<void()>> steps[] = {
            {false, [&] { clickLine(&dialog, "shifts", 1); }, [&] { twin.selectShift(1); }},
            {true, [&] { type("increment", "1"), click(&dialog, "inc"); }, [&] { twin.inc("1"); }},
            {true, [&] { type("parameter", "250"), click(&dialog, "apply"); }, [&] { twin.apply("250"); }},
            {false, [&] { clickLine(&dialog, "width", 0); }, [&] { twin.selectWidth(); }},
            {true, [&] { click(&dialog, "inc"); }, [&] { twin.inc("1"); }},
            {false, [&] { clickLine(&dialog, "couplings", 44); }, [&] { twin.selectCoupling(44); }},
            {true, [&] { click(&dialog, "dec"); }, [&] { twin.dec("1"); }},
        };
        for (const auto& [button, onDialog, onModel] : steps) {
            const int scrolled = couplings->verticalScrollBar()->value();
            onDialog();
            onModel();
            expectShowsModel(&dialog, twin);
            QCOMPARE(runner.asked, twinRunner.asked);
            if (button) QCOMPARE(couplings->verticalScrollBar()->value(), scrolled);
        }
        QCOMPARE(
            std::pair(doc_->sim.spinSubsystems[0].shifts(), doc_->sim.spinSubsystems[0].couplings()),
            std::pair(twinDoc->sim.spinSubsystems[0].shifts(), twinDoc->sim.spinSubsystems[0].couplings()));
        // The last coupling of a long list stays chosen and in view; the shift's line is not chosen.
        QVERIFY(couplings->verticalScrollBar()->value() > 0 && couplings->currentRow() == 44);
        QVERIFY(child<QListWidget>(&dialog, "shifts")->selectedItems().isEmpty());

        // Holding Inc down repeats the step.
        const std::size_t before = runner.asked.size();
        auto* inc = child<QPushButton>(&dialog, "inc");
        QTest::mousePress(inc, Qt::LeftButton);
        QTRY_VERIFY(runner.asked.size() >= before + 3);
        QTest::mouseRelease(inc, Qt::LeftButton);

        ModalAnswerer answerer;
        answerer.answer(ModalAnswerer::accept());
        click(&dialog, "help");
        QCOMPARE(answerer.seen(), QStringList{QStringLiteral("Help on Interactive Simulation")});

        QSignalSpy finished(&dialog, &QDialog::finished);
        click(&dialog, "close");
        dialog.reject();
        QCOMPARE(std::pair(static_cast<int>(finished.count()), doc_->sim.simInteractive), std::pair(1, 0));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
