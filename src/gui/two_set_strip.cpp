// The two-set display's controls.
#include "gui/two_set_strip.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/display_commands.h"
#include "base/format.h"
#include "document/units.h"
#include "gui/scroll_code.h"
#include "gui/simulation_fitter.h"
#include "simulation/fit_session.h"

namespace pelvaron::gui {

namespace {

struct ButtonPlace {
    const char* text;
    int id;
    int x, width;
};

// Document pixels of the window's client area; the strip's row is y = 30.
constexpr int kRow = 30;
constexpr ButtonPlace kButtons[] = {
    {"1+2", app::kCmdTwoSetAdd, 5, 35},     {"1-2", app::kCmdTwoSetSubtract, 44, 35},
    {"swap", app::kCmdTwoSetSwap, 83, 50},  {"OK", app::kCmdTwoSetOk, 137, 35},
    {"Quit", app::kCmdTwoSetQuit, 176, 38}, {"x10", app::kCmdTwoSetRange, 640, 35},
};

struct BarPlace {
    display::TwoSetBar bar;
    const char* name;
    int x;
};

constexpr BarPlace kBars[] = {
    {display::TwoSetBar::Shift, "twoSetShift", 225},
    {display::TwoSetBar::Offset, "twoSetOffset", 365},
    {display::TwoSetBar::Factor, "twoSetFactor", 505},
};

/// The fit's controls, right of x10.
constexpr int kFitX = 685;
constexpr int kStripWidth = 1200;

constexpr const char* kSwappedText =
    "The measured set is the first one now: swap the sets back before fitting";

}  // namespace

TwoSetStrip::TwoSetStrip(Document& doc, display::View& view, platform::UserInterface& ui,
                         app::CommandDispatcher& dispatcher, int topRows, QWidget* plot)
    : QWidget(plot), doc_(doc), view_(view), ui_(ui), dispatcher_(dispatcher) {
    setObjectName(QStringLiteral("twoSetStrip"));
    // Transparent: the panel painted with the plot shows between the controls.
    setAttribute(Qt::WA_NoSystemBackground);
    const int y = kRow - topRows;
    setGeometry(0, 0, kStripWidth, y + 25);
    for (const ButtonPlace& place : kButtons) {
        auto* b = new QPushButton(QString::fromLatin1(place.text), this);
        b->setObjectName(QStringLiteral("twoSet%1").arg(place.id));
        // The plot keeps the keyboard: its arrow keys move the second set.
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(place.x, y, place.width, 25);
        const int id = place.id;
        connect(b, &QPushButton::clicked, this, [this, id] {
            if (id == app::kCmdTwoSetSwap) swapped_ = !swapped_;
            dispatcher_.dispatch(id, app::CommandSource::Menu);
        });
        commands_.push_back(b);
    }

    fitter_ = new SimulationFitter(this);
    connect(fitter_, &SimulationFitter::progress, this, &TwoSetStrip::fitProgress);
    connect(fitter_, &SimulationFitter::finished, this, &TwoSetStrip::fitFinished);
    auto fitButton = [&](const char* text, const char* name, int x, int width) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(x, y, width, 25);
        return b;
    };
    fit_ = fitButton("Fit", "twoSetFit", kFitX, 35);
    cancel_ = fitButton("Cancel", "twoSetCancelFit", kFitX + 39, 50);
    undo_ = fitButton("Undo fit", "twoSetUndoFit", kFitX + 93, 60);
    connect(fit_, &QPushButton::clicked, this, &TwoSetStrip::fit);
    connect(cancel_, &QPushButton::clicked, this, &TwoSetStrip::cancelFit);
    connect(undo_, &QPushButton::clicked, this, &TwoSetStrip::undoFit);
    residual_ = new QCheckBox(QStringLiteral("Residual"), this);
    residual_->setObjectName(QStringLiteral("twoSetResidual"));
    residual_->setFocusPolicy(Qt::NoFocus);
    residual_->setGeometry(kFitX + 159, y, 80, 25);
    // A new display starts without it, whatever an earlier one showed.
    view_.showFitResidual = 0;
    connect(residual_, &QCheckBox::toggled, this, [this](bool on) {
        view_.showFitResidual = on ? 1 : 0;
        doc_.notify(kViewChanged);
    });
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("twoSetFitProgress"));
    progress_->setGeometry(kFitX + 243, y, kStripWidth - kFitX - 243, 25);
    for (const BarPlace& place : kBars) {
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName(QString::fromLatin1(place.name));
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setGeometry(place.x, y, 130, 20);
        const display::TwoSetBar which = place.bar;
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, which](int action) { scrolled(which, action); });
        bars_[static_cast<int>(which)] = bar;
    }
    sync();
    show();
    raise();
}

TwoSetStrip::~TwoSetStrip() {
    // The fitter, a child, joins its worker as it goes; cancelled first, it does not wait long.
    fitter_->cancel();
}

QScrollBar* TwoSetStrip::bar(display::TwoSetBar which) const { return bars_[static_cast<int>(which)]; }

bool TwoSetStrip::comparing() const {
    return doc_.sim.simExists && doc_.sim.subsystemsAllocated &&
           doc_.spectrum.referenceSource == ReferenceSource::Simulation;
}

bool TwoSetStrip::fitting() const { return fitter_->running(); }

void TwoSetStrip::showFitControls() {
    const bool shown = comparing() || fitting();
    const bool running = fitting();
    for (QWidget* w : std::initializer_list<QWidget*>{fit_, cancel_, undo_, residual_, progress_})
        w->setVisible(shown);
    fit_->setEnabled(!running);
    cancel_->setEnabled(running);
    undo_->setEnabled(!running && simulation::fitUndoable(doc_.sim));
    // The display's own commands would change the sets the fit reads and writes.
    for (QPushButton* b : commands_) b->setEnabled(!running);
}

void TwoSetStrip::fit() {
    if (fitting() || abandoned_) return;
    if (swapped_) {
        ui_.message(kSwappedText, simulation::kFitCaption, platform::Icon::Exclamation);
        return;
    }
    // The window shown, in Hz on the document's axis.
    const double from = units::tToUnit(doc_, view_.viewLeft, kHz);
    const double to = units::tToUnit(doc_, view_.viewRight, kHz);
    simulation::FitJob job;
    Messages said;
    if (!simulation::prepareCompareFit(doc_, from, to, job, said)) {
        platform::reportAll(ui_, said);
        return;
    }
    (void)fitter_->start(job);
    progress_->setText(QStringLiteral("fitting..."));
    showFitControls();
    emit fittingChanged(true);
}

void TwoSetStrip::cancelFit() { fitter_->cancel(); }

void TwoSetStrip::abandonFit() {
    abandoned_ = true;
    fitter_->cancel();
}

void TwoSetStrip::undoFit() {
    if (fitting()) return;
    Messages said;
    if (simulation::undoFit(doc_, said)) progress_->setText(QStringLiteral("fit undone"));
    platform::reportAll(ui_, said);
    showFitControls();
    emit fittingChanged(false);
}

void TwoSetStrip::fitProgress(int iteration, double rms) {
    // The rms relative to the tallest measured line, as the fit reports it at the end.
    const double tallest = fitter_->job().tallest;
    progress_->setText(QString::fromStdString(
        cformat("iteration %d, rms %.4f", iteration, tallest > 0.0 ? rms / tallest : rms)));
}

void TwoSetStrip::fitFinished() {
    using Status = simulation::FitResult::Status;
    if (abandoned_) return;
    const simulation::FitResult& result = fitter_->result();
    Messages said;
    switch (result.status) {
        case Status::Converged:
            if (simulation::applyFit(doc_, fitter_->job(), result, said))
                progress_->setText(QString::fromStdString(cformat("fitted: relative rms %.4f, %d iterations",
                                                                  result.relativeRms, result.iterations)));
            else
                progress_->setText(QStringLiteral("fit left out"));
            break;
        case Status::NotConverged:
            said.push_back({result.message + "; the start values are kept", simulation::kFitCaption,
                            MessageIcon::Exclamation});
            progress_->setText(QStringLiteral("not converged"));
            break;
        case Status::Cancelled: progress_->setText(QStringLiteral("cancelled")); break;
        case Status::Refused:
            said.push_back(
                {"The fit is refused: " + result.message, simulation::kFitCaption, MessageIcon::Stop});
            progress_->setText(QString());
            break;
    }
    showFitControls();
    emit fittingChanged(false);
    platform::reportAll(ui_, said);
}

void TwoSetStrip::sync() {
    for (const BarPlace& place : kBars) {
        QScrollBar* b = bar(place.bar);
        const QSignalBlocker blocker(b);
        const display::BarRange range = display::twoSetBarRange(doc_, view_, place.bar);
        b->setRange(range.min, range.max);
        b->setSingleStep(place.bar == display::TwoSetBar::Offset ? 5 : 1);
        b->setPageStep(place.bar == display::TwoSetBar::Shift ? 25 : 10);
        b->setValue(display::twoSetBarValue(view_, place.bar));
    }
    showFitControls();
}

void TwoSetStrip::scrolled(display::TwoSetBar which, int action) {
    QScrollBar* b = bar(which);
    const int value =
        display::twoSetScroll(doc_, view_, ui_, which, scrollCodeOf(action), b->sliderPosition());
    // The bar shows the variable, not where Qt would have moved the thumb.
    b->setSliderPosition(value);
}

}  // namespace pelvaron::gui
