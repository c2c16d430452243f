// The Display Data Points dialog widget.
#include "gui/dialogs/data_points_dialog.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace pelvaron::gui {

DataPointsDialogWidget::DataPointsDialogWidget(io::DataPointsDialog& model, Document& doc,
                                               platform::UserInterface& ui, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc), ui_(ui) {
    setWindowTitle(QStringLiteral("Display Data Points (Reals)"));
    model_.open(doc_);

    auto* layout = new QGridLayout(this);
    auto* column = new QLabel(QString::fromStdString(model_.columnTitle), this);
    column->setObjectName(QStringLiteral("columnTitle"));
    layout->addWidget(column, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Intensity"), this), 0, 1, Qt::AlignRight);

    // The lines are printf-aligned columns: a fixed-pitch font keeps them aligned.
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("values"));
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list->setUniformItemSizes(true);
    QStringList items;
    items.reserve(static_cast<qsizetype>(model_.lines.size()));
    for (const auto& line : model_.lines) items.append(QString::fromStdString(line));
    list->addItems(items);
    list->setMinimumSize(320, 300);
    layout->addWidget(list, 1, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto* exportButton = new QPushButton(QStringLiteral("Export as   ASCII"), this);
    exportButton->setObjectName(QStringLiteral("exportAscii"));
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    buttons->addWidget(exportButton);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons, 2, 0, 1, 2);

    // The export leaves the dialog open.
    connect(exportButton, &QPushButton::clicked, this, [this] { model_.exportAscii(doc_, ui_); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace pelvaron::gui
