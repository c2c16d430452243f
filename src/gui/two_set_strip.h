// The control strip of the two-set display over the top of the plot: the buttons "1+2", "1-2",
// "swap", "OK", "Quit" and "x10", which send their commands through the dispatcher, and the
// shift, vertical offset and factor bars, which drive display/two_set. The panel and the bars'
// labels under them are drawn with the plot.
#pragma once

#include <QWidget>

#include "app/dispatcher.h"
#include "display/two_set.h"
#include "document/document.h"

class QPushButton;
class QScrollBar;

namespace pelvaron::gui {

class TwoSetStrip : public QWidget {
    Q_OBJECT
public:
    /// Placed over the plot widget `plot`, whose first row is document row `topRows`.
    TwoSetStrip(Document& doc, display::View& view, platform::UserInterface& ui,
                app::CommandDispatcher& dispatcher, int topRows, QWidget* plot);

    /// Ranges and positions of the bars from the view (the factor bar's range grows by x10).
    void sync();
    [[nodiscard]] QScrollBar* bar(display::TwoSetBar which) const;

private:
    Document& doc_;
    display::View& view_;
    platform::UserInterface& ui_;
    app::CommandDispatcher& dispatcher_;
    QScrollBar* bars_[3] = {nullptr, nullptr, nullptr};

    void scrolled(display::TwoSetBar which, int action);
};

}  // namespace pelvaron::gui
