// Lists rewritten in place.
#include "gui/dialogs/line_list.h"

#include <QListWidget>
#include <QSignalBlocker>

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

}  // namespace pelvaron::gui
