// Lists of text lines that a dialog shows again after every change: the lines are rewritten in
// place, so the selection and the scroll position stay where the person left them.
#pragma once

#include <string>
#include <vector>

class QListWidget;

namespace pelvaron::gui {

/// Shows `lines` in `list`, rewriting the items that are there; only a change in the number of
/// lines rebuilds the list.
void showLines(QListWidget* list, const std::vector<std::string>& lines);

/// Widens `list` (never below `minimum` pixels) so that its longest line shows whole beside its
/// check box and the vertical scroll bar: a value with its sigma is longer than one without.
void widenToLines(QListWidget* list, int minimum);

}  // namespace pelvaron::gui
