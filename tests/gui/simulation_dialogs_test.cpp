// The simulation dialog widgets, offscreen: each passes its controls to its model and shows what
// the model says; the ring of nucleus buttons stays clear of the other controls. What the models
// compute is checked with them.
#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "../display/display_fixture.h"
#include "base/format.h"
#include "gui/dialogs/input_parameters_dialog.h"
#include "gui/dialogs/interactive_sim_dialog.h"
#include "gui/dialogs/select_subsystem_dialog.h"
#include "gui/dialogs/simulation_data_dialog.h"
#include "modal_helper.h"
#include "simulation/simulation_dialogs.h"

using pelvaron::Document;
using pelvaron::testing::makeDocument;
using pelvaron::testing::ModalAnswerer;
using pelvaron::testing::RecordingUserInterface;
using pelvaron::testing::sendMouse;
using pelvaron::testing::typeInto;
namespace gui = pelvaron::gui;
namespace simulation = pelvaron::simulation;
using simulation::SimulationDataDialog;

namespace {

template <typename T = QAbstractButton>
T* child(QWidget* dialog, const QString& name) {
    return dialog->findChild<T*>(name);
}

void click(QWidget* dialog, const char* name) {
    auto* button = child(dialog, QString::fromLatin1(name));
    QVERIFY2(button != nullptr, name);
    button->click();
}

QString text(QWidget* dialog, const char* name) {
    if (auto* edit = child<QLineEdit>(dialog, QString::fromLatin1(name))) return edit->text();
    if (auto* label = child<QLabel>(dialog, QString::fromLatin1(name))) return label->text();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QString line(QWidget* dialog, const char* list, int row) {
    auto* widget = child<QListWidget>(dialog, QString::fromLatin1(list));
    return widget != nullptr && widget->item(row) != nullptr ? widget->item(row)->text() : QString();
}

/// A click on a list's line, where a person would click.
void clickLine(QWidget* dialog, const char* list, int row) {
    auto* widget = child<QListWidget>(dialog, QString::fromLatin1(list));
    QVERIFY2(widget != nullptr && widget->item(row) != nullptr, list);
    widget->scrollToItem(widget->item(row));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(widget->item(row)).center());
}

/// Answers the next dialog by typing into `edit` and pressing OK; `shown` gets `label`'s text.
ModalAnswerer::Answer typeAndOk(const char* edit, QString typed, const char* label = nullptr,
                                QString* shown = nullptr) {
    return [=](QWidget* dialog) {
        if (shown != nullptr) *shown = text(dialog, label);
        typeInto(dialog, edit, typed);
        ModalAnswerer::clickButton(QStringLiteral("OK"))(dialog);
    };
}

QPushButton* nucleus(QWidget* dialog, int number) {
    return child<QPushButton>(dialog, QStringLiteral("nucleus%1").arg(number));
}

/// The same double click a person makes: a click, then the second press as a double click.
void doubleClick(QWidget* button) {
    const QPoint at = button->rect().center();
    sendMouse(button, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    sendMouse(button, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

/// A tuning runner that only notes what it was asked.
struct RecordingTuning final : simulation::TuningRunner {
    std::vector<simulation::Recompute> asked;
    void recompute(simulation::Recompute what) override { asked.push_back(what); }
};

/// A subsystem of n nuclei entered already: shifts 100, 200 ... Hz, J(1,2) = 7 Hz.
void enterSubsystem(Document& doc, int n) {
    auto& sim = doc.sim;
    sim.spinSubsystems.assign(pelvaron::kMaxSubsystems, {});
    sim.subsystemsAllocated = 1;
    auto& s = sim.spinSubsystems[0];
    s.nNuclei = n;
    s.nCouplings = n * (n - 1) / 2;
    for (int i = 0; i < n; ++i) s.shifts.push_back(100.0 * (i + 1));
    s.couplings.assign(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n), 0.0));
    s.couplings[0][1] = 7.0;
    sim.lastSubsystem = 0;
    sim.currentSubsystem = 0;
    sim.simExists = 1;
    sim.simNewSubsystem = 1;
}

}  // namespace

class SimulationDialogsTest : public QObject {
    Q_OBJECT

private:
    RecordingUserInterface ui_;
    std::unique_ptr<Document> doc_;

private slots:
    void init() {
        ui_ = RecordingUserInterface{};
        doc_ = makeDocument(ui_);
        QVERIFY(simulation::beginNewSimulation(*doc_, ui_));
    }

    void inputParametersEndsWithTheModelsResult() {
        struct Case {
            const char* typed;
            int result;
        };
        for (const Case c : {Case{"11", simulation::InputParametersDialog::kRefused},
                             Case{"3", simulation::InputParametersDialog::kAccepted}}) {
            simulation::InputParametersDialog model(*doc_);
            gui::InputParametersDialogWidget dialog(model, nullptr);
            QCOMPARE(text(&dialog, "count"), QString::fromStdString(model.countText()));
            QVERIFY(typeInto(&dialog, "count", QString::fromLatin1(c.typed)));
            dialog.open();
            click(&dialog, "ok");
            QCOMPARE(dialog.result(), c.result);
        }
        QCOMPARE(doc_->sim.nNucleiInput, 3);
        simulation::InputParametersDialog model(*doc_);
        gui::InputParametersDialogWidget dialog(model, nullptr);
        dialog.open();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(std::pair(dialog.result(), doc_->sim.nNucleiInput),
                 std::pair(int{simulation::InputParametersDialog::kCancelled}, 0));
    }

    void simulationDataRingStaysClearOfTheControls() {
        for (const int n : {1, 2, 3, 7, 10}) {
            doc_->sim.nNucleiInput = n;
            SimulationDataDialog model(*doc_, ui_);
            gui::SimulationDataDialogWidget dialog(model, *doc_, nullptr);
            QCOMPARE(static_cast<int>(model.ring().size()), n);
            QVERIFY(nucleus(&dialog, n + 1) == nullptr);
            std::vector<QRect> buttons;
            for (int i = 0; i < n; ++i) {
                QPushButton* button = nucleus(&dialog, i + 1);
                QVERIFY(button != nullptr);
                QCOMPARE(button->text(), QString::number(i + 1));
                const auto& placed = model.ring()[static_cast<std::size_t>(i)];
                QCOMPARE(button->pos(), QPoint(placed.x, placed.y));
                QVERIFY(dialog.rect().contains(button->geometry()));
                buttons.push_back(button->geometry());
            }
            for (std::size_t a = 0; a < buttons.size(); ++a) {
                for (std::size_t b = a + 1; b < buttons.size(); ++b)
                    QVERIFY(!buttons[a].intersects(buttons[b]));
                for (QWidget* block : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                    if (block->objectName().startsWith(QStringLiteral("nucleus"))) continue;
                    QVERIFY2(!block->geometry().intersects(buttons[a]), qPrintable(QString::number(n)));
                }
            }
        }
    }

    void simulationDataEntersValuesAndComputes() {
        doc_->sim.nNucleiInput = 3;
        SimulationDataDialog model(*doc_, ui_);
        gui::SimulationDataDialogWidget dialog(model, *doc_, nullptr);
        QVERIFY(child(&dialog, QStringLiteral("new"))->isEnabled());
        QCOMPARE(text(&dialog, "from"), QString::fromStdString(model.fields().from));

        // Nucleus 1, then nucleus 3: the pair's coupling, its line in the list and on the ring.
        ModalAnswerer answerer;
        QString pair;
        click(&dialog, "nucleus1");
        answerer.answer(typeAndOk("coupling", QStringLiteral("7"), "pair", &pair));
        click(&dialog, "nucleus3");
        QCOMPARE(answerer.seen(), QStringList{QStringLiteral("Coupling Constant")});
        QCOMPARE(pair, QStringLiteral("1,3"));
        QCOMPARE(line(&dialog, "couplings", simulation::couplingPairToIndex(0, 2, 3)),
                 QStringLiteral("1,3= 7.00"));
        const auto& ring = model.ring();
        const QPoint middle((ring[0].anchorX + ring[2].anchorX) / 2, (ring[0].anchorY + ring[2].anchorY) / 2);
        const QImage shot = dialog.grab().toImage();
        QCOMPARE(shot.pixelColor((QPointF(middle) * shot.devicePixelRatio()).toPoint()), QColor(255, 0, 0));

        // A double click on nucleus 2 asks for its shift, and leaves no click behind it: nucleus
        // 3 next is a first click, not the pair 2,3.
        answerer.answer(typeAndOk("shift", QStringLiteral("1500")));
        doubleClick(nucleus(&dialog, 2));
        QCOMPARE(answerer.seen().last(), QStringLiteral("Chemical Shift"));
        QCOMPARE(line(&dialog, "shifts", 1), QStringLiteral("2= 1500.00"));
        {
            ModalAnswerer stray;
            stray.answer(ModalAnswerer::reject());
            click(&dialog, "nucleus3");
            QCOMPARE(stray.pending(), 1);
        }
        // A line of the couplings list asks for its pair.
        answerer.answer(typeAndOk("coupling", QStringLiteral("3"), "pair", &pair));
        clickLine(&dialog, "couplings", 0);
        QCOMPARE(std::pair(pair, line(&dialog, "couplings", 0)),
                 std::pair(QStringLiteral("1,2"), QStringLiteral("1,2= 3.00")));
        QCOMPARE(answerer.pending(), 0);

        // ppm needs a frequency: without one the radios stay on Hertz.
        auto* hertz = child<QRadioButton>(&dialog, QStringLiteral("hertz"));
        QVERIFY(typeInto(&dialog, "sf", QStringLiteral("0")));
        click(&dialog, "ppm");
        QVERIFY(hertz->isChecked());
        QCOMPARE(text(&dialog, "to"), QStringLiteral("3000.00"));
        QVERIFY(typeInto(&dialog, "sf", QStringLiteral("300")));
        click(&dialog, "ppm");
        QCOMPARE(QStringList({text(&dialog, "from"), text(&dialog, "to"), text(&dialog, "unit"),
                              line(&dialog, "shifts", 1)}),
                 QStringList({"0.0000", "10.0000", "ppm", "2= 5.00"}));

        // A line of the shifts list asks for its nucleus, in the list's units.
        QString shown;
        answerer.answer([&shown](QWidget* shift) {
            shown = text(shift, "shift") + QLatin1Char(' ') + text(shift, "unit");
            ModalAnswerer::reject()(shift);
        });
        clickLine(&dialog, "shifts", 1);
        QCOMPARE(shown, QStringLiteral("5.00 ppm"));
        QCOMPARE(answerer.pending(), 0);

        dialog.open();
        click(&dialog, "ok");
        QCOMPARE(dialog.result(), int{SimulationDataDialog::kOk});
        QCOMPARE(doc_->sim.simExists, 1);
        const double* data = doc_->spectrum.specData.data();
        QVERIFY(std::any_of(data, data + doc_->spectrum.nData, [](double v) { return v != 0.0; }));
    }

    void simulationDataEditingHasNoCancel() {
        enterSubsystem(*doc_, 3);
        doc_->sim.simNewSubsystem = 0;
        SimulationDataDialog model(*doc_, ui_);
        gui::SimulationDataDialogWidget dialog(model, *doc_, nullptr);
        for (const char* gone : {"cancel", "new", "addSubsystem"})
            QVERIFY2(dialog.findChild<QWidget*>(QString::fromLatin1(gone)) == nullptr, gone);
        QCOMPARE(line(&dialog, "shifts", 2), QStringLiteral("3= 300.00"));
        // Escape keeps what was edited, as OK does.
        dialog.open();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int{SimulationDataDialog::kOk});
        QVERIFY(!dialog.isVisible());
    }

    void selectSubsystemFollowsTheList() {
        enterSubsystem(*doc_, 3);
        doc_->sim.spinSubsystems[1].nNuclei = 2;
        doc_->sim.lastSubsystem = 1;
        {
            simulation::SelectSubsystemDialog model(*doc_);
            gui::SelectSubsystemDialogWidget dialog(model, nullptr);
            QCOMPARE(std::pair(line(&dialog, "subsystems", 1), text(&dialog, "current")),
                     std::pair(QString::fromStdString(model.lines()[1]), QStringLiteral("1")));
            QVERIFY(child<QLineEdit>(&dialog, QStringLiteral("current"))->isReadOnly());
            clickLine(&dialog, "subsystems", 1);
            QCOMPARE(text(&dialog, "current"), QStringLiteral("2"));
            dialog.open();
            click(&dialog, "ok");
            QCOMPARE(std::pair(dialog.result(), doc_->sim.currentSubsystem),
                     std::pair(int{QDialog::Accepted}, 1));
        }
        // Nothing to choose: OK does not accept.
        doc_->sim = {};
        simulation::SelectSubsystemDialog model(*doc_);
        gui::SelectSubsystemDialogWidget dialog(model, nullptr);
        dialog.open();
        click(&dialog, "ok");
        QCOMPARE(dialog.result(), int{QDialog::Rejected});
    }

    void interactiveSimTunesTheSelectedParameter() {
        enterSubsystem(*doc_, 10);
        RecordingTuning runner;
        gui::InteractiveSimDialogWidget dialog(*doc_, ui_, runner, nullptr);
        QVERIFY(!dialog.isModal());
        QCOMPARE(doc_->sim.simInteractive, 1);
        dialog.show();
        // Nothing is chosen by the lists taking the focus as the dialog opens.
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QStringList({text(&dialog, "parameterLabel"), text(&dialog, "increment"),
                              line(&dialog, "width", 0)}),
                 QStringList({"Sel. Param.", "0.00", "0.30"}));

        // A shift: Inc by the typed step, then Apply of a typed value.
        clickLine(&dialog, "shifts", 1);
        QCOMPARE(std::pair(text(&dialog, "parameterLabel"), text(&dialog, "parameter")),
                 std::pair(QStringLiteral("Shift Nuc. 2"), QStringLiteral("200.00")));
        QVERIFY(typeInto(&dialog, "increment", QStringLiteral("1")));
        click(&dialog, "inc");
        QCOMPARE(std::pair(line(&dialog, "shifts", 1), text(&dialog, "parameter")),
                 std::pair(QStringLiteral("2= 201.00"), QStringLiteral("201.00")));
        QCOMPARE(runner.asked, std::vector{simulation::Recompute::Full});
        QVERIFY(typeInto(&dialog, "parameter", QStringLiteral("250")));
        click(&dialog, "apply");
        QCOMPARE(line(&dialog, "shifts", 1), QStringLiteral("2= 250.00"));

        // The last coupling of a long list: the list keeps its place and its selection, the
        // shift's line is no longer selected.
        auto* couplings = child<QListWidget>(&dialog, QStringLiteral("couplings"));
        clickLine(&dialog, "couplings", 44);
        const int scrolled = couplings->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QCOMPARE(text(&dialog, "parameterLabel"), QStringLiteral("J (9,10)"));
        click(&dialog, "dec");
        QCOMPARE(line(&dialog, "couplings", 44), QStringLiteral("9,10= -1.00"));
        QCOMPARE(std::pair(couplings->verticalScrollBar()->value(), couplings->currentRow()),
                 std::pair(scrolled, 44));
        QVERIFY(child<QListWidget>(&dialog, QStringLiteral("shifts"))->selectedItems().isEmpty());

        // The width, and holding Inc down repeats the step.
        clickLine(&dialog, "width", 0);
        QCOMPARE(text(&dialog, "parameterLabel"), QStringLiteral("Width"));
        const std::size_t before = runner.asked.size();
        auto* inc = child<QPushButton>(&dialog, QStringLiteral("inc"));
        QTest::mousePress(inc, Qt::LeftButton);
        QTRY_VERIFY(runner.asked.size() >= before + 3);
        QTest::mouseRelease(inc, Qt::LeftButton);
        QCOMPARE(runner.asked.back(), simulation::Recompute::WidthOnly);
        QCOMPARE(line(&dialog, "width", 0),
                 QString::fromStdString(pelvaron::cformat("%.2lf", doc_->sim.simLineWidth)));

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

QTEST_MAIN(SimulationDialogsTest)
#include "simulation_dialogs_test.moc"
