// Lists rewritten in place.
#include "gui/dialogs/line_list.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

namespace pelvaron::gui {

void showLines(QListWidget* list, const std::vector<std::string>& lines) {
    const QSignalBlocker blocker(list);
    const int count = static_cast<int>(lines.size());
    if (list->count() != count) {
        list->clear();
        for (const std::string& line : lines) list->addItem(QString::fromStdString(line));
        return;
    }
    for (int row = 0; row < count; ++row) {
        const QString text = QString::fromStdString(lines[static_cast<std::size_t>(row)]);
        if (list->item(row)->text() != text) list->item(row)->setText(text);
    }
}

void widenToLines(QListWidget* list, int minimum) {
    int widest = 0;
    for (int row = 0; row < list->count(); ++row)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->item(row)->text()));
    const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
    const int needed =
        widest + indicator + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth() + 16;
    list->setMinimumWidth(std::max({minimum, needed, list->minimumWidth()}));
}

}  // namespace pelvaron::gui
