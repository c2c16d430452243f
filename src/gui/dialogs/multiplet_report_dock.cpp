// The Multiplet Report dock.
#include "gui/dialogs/multiplet_report_dock.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "display/tools.h"

namespace pelvaron::gui {

namespace {

QPushButton* button(const QString& text, const char* name, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

MultipletReportDock::MultipletReportDock(Document& doc, display::View& view, app::DialogHost& host,
                                         QWidget* owner)
    : QDockWidget(QStringLiteral("Multiplet Report"), owner), model_(doc), view_(view), host_(host) {
    setObjectName(QStringLiteral("multipletReport"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    auto* body = new QWidget(this);
    table_ = new QTableWidget(0, kColumns, body);
    table_->setObjectName(QStringLiteral("ranges"));
    table_->setHorizontalHeaderLabels({QStringLiteral("\u03b4 (ppm)"), QStringLiteral("Mult."),
                                       QStringLiteral("J (Hz)"), QStringLiteral("nH")});
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kCouplings, QHeaderView::Stretch);
    table_->installEventFilter(this);

    merge_ =
        button(QStringLiteral("Merge"), "merge", QStringLiteral("Two neighbouring ranges made one"), body);
    split_ = button(QStringLiteral("Split"), "split",
                    QStringLiteral("A click on the plot splits the range under it"), body);
    add_ = button(QStringLiteral("Add"), "add", QStringLiteral("A drag over the plot adds a range"), body);
    delete_ = button(QStringLiteral("Delete"), "delete", QStringLiteral("The selected ranges removed"), body);
    copy_ =
        button(QStringLiteral("Copy"), "copy", QStringLiteral("The line on the clipboard (Ctrl+C)"), body);
    split_->setCheckable(true);
    add_->setCheckable(true);
    labels_ = new QCheckBox(QStringLiteral("Labels"), body);
    labels_->setObjectName(QStringLiteral("labels"));
    labels_->setToolTip(QStringLiteral("Each range marked on the plot and the printed page"));

    auto digits = [body](const char* name, int most, const QString& tip) {
        auto* box = new QSpinBox(body);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, most);
        box->setToolTip(tip);
        return box;
    };
    deltaDigits_ = digits("deltaDigits", 6, QStringLiteral("Decimals of each \u03b4 in the line"));
    jDigits_ = digits("jDigits", 4, QStringLiteral("Decimals of each J in the line"));

    line_ = new QLabel(body);
    line_->setObjectName(QStringLiteral("line"));
    line_->setWordWrap(true);
    line_->setTextFormat(Qt::RichText);
    line_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QGridLayout;
    buttons->addWidget(merge_, 0, 0);
    buttons->addWidget(split_, 0, 1);
    buttons->addWidget(add_, 0, 2);
    buttons->addWidget(delete_, 1, 0);
    buttons->addWidget(copy_, 1, 1);
    buttons->addWidget(labels_, 1, 2);
    auto* decimals = new QHBoxLayout;
    decimals->addWidget(new QLabel(QStringLiteral("Decimals: \u03b4"), body));
    decimals->addWidget(deltaDigits_);
    decimals->addWidget(new QLabel(QStringLiteral("J"), body));
    decimals->addWidget(jDigits_);
    decimals->addStretch(1);
    buttons->addLayout(decimals, 2, 0, 1, 3);
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    layout->addWidget(line_);
    setWidget(body);

    connect(table_, &QTableWidget::cellChanged, this, &MultipletReportDock::cellEdited);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &MultipletReportDock::updateButtons);
    connect(merge_, &QPushButton::clicked, this, &MultipletReportDock::mergeSelected);
    connect(delete_, &QPushButton::clicked, this, &MultipletReportDock::deleteSelected);
    connect(split_, &QPushButton::toggled, this,
            [this](bool on) { chooseTool(display::Tool::MultipletSplit, on); });
    connect(add_, &QPushButton::toggled, this,
            [this](bool on) { chooseTool(display::Tool::MultipletAdd, on); });
    connect(copy_, &QPushButton::clicked, this, [this] { (void)copy(); });
    connect(labels_, &QCheckBox::toggled, this, [this](bool on) { model_.showLabels(on); });
    for (QSpinBox* box : {deltaDigits_, jDigits_})
        connect(box, &QSpinBox::valueChanged, this,
                [this] { model_.setDigits(deltaDigits_->value(), jDigits_->value()); });
    refresh();
}

void MultipletReportDock::refresh() {
    const std::vector<analysis::MultipletRow> rows = model_.rows();
    {
        // The cells are set in place, so that an edit under way keeps its row.
        const QSignalBlocker blocker(table_);
        table_->setRowCount(static_cast<int>(rows.size()));
        const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
        for (int r = 0; r < table_->rowCount(); ++r) {
            const analysis::MultipletRow& row = rows[static_cast<std::size_t>(r)];
            const std::string* texts[kColumns] = {&row.delta, &row.multiplicity, &row.J, &row.nH};
            for (int c = 0; c < kColumns; ++c) {
                QTableWidgetItem* item = table_->item(r, c);
                if (item == nullptr) {
                    item = new QTableWidgetItem;
                    table_->setItem(r, c, item);
                }
                item->setText(QString::fromStdString(*texts[c]));
                // Solvent and reference ranges stay in the list, greyed and not editable.
                Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
                if (row.signal && c != kDelta) flags |= Qt::ItemIsEditable;
                item->setFlags(flags);
                item->setForeground(row.signal ? palette().color(QPalette::Text) : grey);
            }
        }
    }
    const std::string html = model_.lineHtml();
    const std::string text = model_.line();
    line_->setTextFormat(html.empty() ? Qt::PlainText : Qt::RichText);
    line_->setText(QString::fromStdString(html.empty() ? text : html));
    {
        const QSignalBlocker blocker(labels_), deltaBlocker(deltaDigits_), jBlocker(jDigits_);
        labels_->setChecked(model_.labelsShown());
        deltaDigits_->setValue(model_.format().deltaDigits);
        jDigits_->setValue(model_.format().jDigits);
    }
    updateButtons();
}

void MultipletReportDock::updateButtons() {
    const std::vector<int> rows = selectedRows();
    merge_->setEnabled(rows.size() == 2 && rows[1] - rows[0] == 1);
    delete_->setEnabled(!rows.empty());
    copy_->setEnabled(!model_.line().empty());
    // The buttons follow the plot's tool: another tool chosen puts them down.
    const QSignalBlocker splitBlocker(split_);
    const QSignalBlocker addBlocker(add_);
    split_->setChecked(view_.mouse.tool == display::Tool::MultipletSplit);
    add_->setChecked(view_.mouse.tool == display::Tool::MultipletAdd);
}

std::vector<int> MultipletReportDock::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MultipletReportDock::cellEdited(int row, int column) {
    const QTableWidgetItem* item = table_->item(row, column);
    if (item == nullptr) return;
    const std::string typed = item->text().toStdString();
    switch (column) {
        case kMultiplicity: (void)model_.editMultiplicity(row, typed); break;
        case kCouplings: (void)model_.editCouplings(row, typed); break;
        case kCount: (void)model_.editCount(row, typed); break;
        default: break;
    }
    // A refused edit shows the value again.
    refresh();
}

void MultipletReportDock::chooseTool(display::Tool tool, bool on) {
    if (on)
        display::chooseRegionTool(view_, tool);
    else if (view_.mouse.tool == tool)
        display::resetTool(view_);
    updateButtons();
}

void MultipletReportDock::mergeSelected() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() == 2) (void)model_.merge(rows[0], rows[1]);
    table_->clearSelection();
    refresh();
}

void MultipletReportDock::deleteSelected() {
    std::vector<int> rows = selectedRows();
    // From the last, so that the rows still to go keep their numbers.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) (void)model_.remove(*it);
    table_->clearSelection();
    refresh();
}

bool MultipletReportDock::copy() {
    const std::string text = model_.line();
    if (text.empty()) return false;
    return host_.copyText(text, model_.lineHtml());
}

bool MultipletReportDock::handleCopyKey(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Copy)) return false;
    // Taken from the window's Ctrl+C (Copy Metafile) while the report has the focus.
    event->accept();
    if (event->type() == QEvent::KeyPress) (void)copy();
    return true;
}

bool MultipletReportDock::event(QEvent* event) {
    if (handleCopyKey(event)) return true;
    return QDockWidget::event(event);
}

bool MultipletReportDock::eventFilter(QObject* watched, QEvent* event) {
    // The list would copy its current cell; the report copies its line.
    if (watched == table_ && handleCopyKey(event)) return true;
    return QDockWidget::eventFilter(watched, event);
}

void MultipletReportDock::closeEvent(QCloseEvent* event) {
    chooseTool(display::Tool::MultipletSplit, false);
    chooseTool(display::Tool::MultipletAdd, false);
    QDockWidget::closeEvent(event);
}

}  // namespace pelvaron::gui
