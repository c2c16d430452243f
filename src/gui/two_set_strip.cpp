// The two-set display's controls.
#include "gui/two_set_strip.h"

#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/display_commands.h"
#include "gui/scroll_code.h"

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

}  // namespace

TwoSetStrip::TwoSetStrip(Document& doc, display::View& view, platform::UserInterface& ui,
                         app::CommandDispatcher& dispatcher, int topRows, QWidget* plot)
    : QWidget(plot), doc_(doc), view_(view), ui_(ui), dispatcher_(dispatcher) {
    setObjectName(QStringLiteral("twoSetStrip"));
    // Transparent: the panel painted with the plot shows between the controls.
    setAttribute(Qt::WA_NoSystemBackground);
    const int y = kRow - topRows;
    setGeometry(0, 0, 680, y + 25);
    for (const ButtonPlace& place : kButtons) {
        auto* b = new QPushButton(QString::fromLatin1(place.text), this);
        b->setObjectName(QStringLiteral("twoSet%1").arg(place.id));
        // The plot keeps the keyboard: its arrow keys move the second set.
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(place.x, y, place.width, 25);
        const int id = place.id;
        connect(b, &QPushButton::clicked, this,
                [this, id] { dispatcher_.dispatch(id, app::CommandSource::Menu); });
    }
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

QScrollBar* TwoSetStrip::bar(display::TwoSetBar which) const { return bars_[static_cast<int>(which)]; }

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
}

void TwoSetStrip::scrolled(display::TwoSetBar which, int action) {
    QScrollBar* b = bar(which);
    const int value =
        display::twoSetScroll(doc_, view_, ui_, which, scrollCodeOf(action), b->sliderPosition());
    // The bar shows the variable, not where Qt would have moved the thumb.
    b->setSliderPosition(value);
}

}  // namespace pelvaron::gui
