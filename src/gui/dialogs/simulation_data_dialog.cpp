// The Simulation data dialog widget. The controls sit in four blocks around a free middle where
// the model lays its ring of nucleus buttons; the dialog is sized so that the ring, which the
// model places by the dialog's own width and height, never reaches a block.
#include "gui/dialogs/simulation_data_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/dialogs/chemical_shift_dialog.h"
#include "gui/dialogs/coupling_constant_dialog.h"
#include "gui/dialogs/line_list.h"

namespace pelvaron::gui {

namespace {

using simulation::EditRequest;
using simulation::SimulationDataDialog;

constexpr int kMargin = 10;
/// Between the ring and the blocks around it.
constexpr int kGap = 14;
/// The narrowest the shift and coupling lists get.
constexpr int kListWidth = 150;
constexpr const char* kHelp =
    "To enter Shifts: Click twice on the desired nucleus.\n"
    "To enter J's: Click once on the 1st nucleus and then on the 2nd nucleus.\n"
    "Alternative: click once on the desired nucleus or coupling in the appropiate table";

/// The ring's radius for a dialog `height` high: it spans height/2 -+ r, and width/2 -+ 2r
/// across (the buttons hang right and down from their points).
int ringRadius(int height) { return static_cast<int>(0.2 * height); }

QLineEdit* numberEdit(const std::string& text, const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")) + 12);
    return edit;
}

QLabel* label(const char* text, QWidget* parent) { return new QLabel(QString::fromLatin1(text), parent); }

QWidget* listBlock(const char* caption, QListWidget* list, QWidget* parent) {
    auto* block = new QWidget(parent);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label(caption, block));
    layout->addWidget(list, 1);
    list->setParent(block);
    list->setMinimumWidth(kListWidth);
    return block;
}

int blockHeight(const QWidget* block, int width) {
    return block->hasHeightForWidth() ? block->heightForWidth(width) : block->sizeHint().height();
}

}  // namespace

SimulationDataDialogWidget::SimulationDataDialogWidget(SimulationDataDialog& model, Document& doc,
                                                       platform::UserInterface& ui, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc), ui_(ui) {
    setWindowTitle(QStringLiteral("Simulation data"));
    opened_ = model_.open();
    platform::reportAll(ui_, model_.said);
    if (!opened_) return;

    const simulation::SimulationFields shown = model_.fields();

    // The window, resolution and units, across the top.
    fieldsBlock_ = new QWidget(this);
    sf_ = numberEdit(shown.sf, "sf", fieldsBlock_);
    from_ = numberEdit(shown.from, "from", fieldsBlock_);
    to_ = numberEdit(shown.to, "to", fieldsBlock_);
    points_ = numberEdit(shown.points, "points", fieldsBlock_);
    lineWidth_ = numberEdit(shown.lineWidth, "lineWidth", fieldsBlock_);
    threshold_ = numberEdit(shown.threshold, "threshold", fieldsBlock_);
    unit_ = new QLabel(QString::fromStdString(model_.unitLabel()), fieldsBlock_);
    unit_->setObjectName(QStringLiteral("unit"));
    // Wide enough for either unit, so the grid does not move when it changes.
    unit_->setMinimumWidth(unit_->fontMetrics().horizontalAdvance(QStringLiteral("Hertz")) + 4);

    auto* units = new QGroupBox(QStringLiteral("Units:"), fieldsBlock_);
    units->setObjectName(QStringLiteral("units"));
    hertz_ = new QRadioButton(QStringLiteral("Hertz"), units);
    hertz_->setObjectName(QStringLiteral("hertz"));
    ppm_ = new QRadioButton(QStringLiteral("ppm"), units);
    ppm_->setObjectName(QStringLiteral("ppm"));
    auto* unitGroup = new QButtonGroup(this);
    unitGroup->addButton(hertz_);
    unitGroup->addButton(ppm_);
    (shown.ppm ? ppm_ : hertz_)->setChecked(true);
    auto* unitsLayout = new QVBoxLayout(units);
    unitsLayout->addWidget(hertz_);
    unitsLayout->addWidget(ppm_);
    connect(ppm_, &QRadioButton::toggled, this, &SimulationDataDialogWidget::unitsToggled);

    auto* grid = new QGridLayout(fieldsBlock_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label("Spc. Freq.", fieldsBlock_), 0, 0);
    grid->addWidget(sf_, 0, 1);
    grid->addWidget(label("MHz", fieldsBlock_), 0, 2);
    grid->addWidget(label("From:", fieldsBlock_), 1, 0);
    grid->addWidget(from_, 1, 1);
    grid->addWidget(label("To:", fieldsBlock_), 2, 0);
    grid->addWidget(to_, 2, 1);
    grid->addWidget(unit_, 1, 2, 2, 1, Qt::AlignVCenter);
    grid->setColumnMinimumWidth(3, 24);
    grid->addWidget(label("No. Points", fieldsBlock_), 0, 4);
    grid->addWidget(points_, 0, 5);
    grid->addWidget(label("Line Width", fieldsBlock_), 1, 4);
    grid->addWidget(lineWidth_, 1, 5);
    grid->addWidget(label("Hz", fieldsBlock_), 1, 6);
    grid->addWidget(label("Threshold", fieldsBlock_), 2, 4);
    grid->addWidget(threshold_, 2, 5);
    fitWidth_ = new QCheckBox(QStringLiteral("Fit width"), fieldsBlock_);
    fitWidth_->setObjectName(QStringLiteral("fitWidth"));
    fitWidth_->setChecked(model_.widthFree());
    connect(fitWidth_, &QCheckBox::toggled, this, [this](bool free) { model_.setWidthFree(free); });
    grid->addWidget(fitWidth_, 1, 7);
    widthSigma_ = new QLabel(QString::fromStdString(model_.widthSigmaText()), fieldsBlock_);
    widthSigma_->setObjectName(QStringLiteral("widthSigma"));
    grid->addWidget(widthSigma_, 2, 7);
    grid->setColumnStretch(8, 1);
    grid->addWidget(units, 0, 9, 3, 1);

    // The lists, left and right of the ring.
    shifts_ = new QListWidget(this);
    shifts_->setObjectName(QStringLiteral("shifts"));
    couplings_ = new QListWidget(this);
    couplings_->setObjectName(QStringLiteral("couplings"));
    shiftsBlock_ = listBlock("Chemical Shifts:", shifts_, this);
    couplingsBlock_ = listBlock("Coupling Constants:", couplings_, this);
    refreshLists();
    // After a fit the lines carry sigmas: the lists, and the page with them, widen to show them.
    for (QListWidget* list : {shifts_, couplings_}) widenToLines(list, kListWidth);
    connect(shifts_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!checkToggled_) edit(model_.selectShiftLine(shifts_->row(item)));
    });
    connect(couplings_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!checkToggled_) edit(model_.selectCouplingLine(couplings_->row(item)));
    });
    for (QListWidget* list : {shifts_, couplings_}) {
        list->setToolTip(QStringLiteral("Checked: a fit moves the value; unchecked: it holds it"));
        connect(list, &QListWidget::itemChanged, this,
                [this, list](QListWidgetItem* item) { lineChecked(list, item); });
    }

    // How to enter values, New and the buttons, across the bottom.
    bottomBlock_ = new QWidget(this);
    auto* bottom = new QHBoxLayout(bottomBlock_);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(helpBox(QString::fromLatin1(kHelp), bottomBlock_), 1);
    if (!model_.editing()) {
        auto* add = new QGroupBox(QStringLiteral("Add Subsystem"), bottomBlock_);
        add->setObjectName(QStringLiteral("addSubsystem"));
        auto* text = new QLabel(QStringLiteral("To add a new subsystem of spins, click the New button"), add);
        text->setObjectName(QStringLiteral("addSubsystemText"));
        text->setWordWrap(true);
        text->setFixedWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("To add a new subsystem")) +
                            8);
        QPushButton* newButton = dialogButton(QStringLiteral("New"), "new", add);
        newButton->setEnabled(model_.canAddSubsystem());
        connect(newButton, &QPushButton::clicked, this, [this] {
            const int result = model_.addSubsystem(fields());
            platform::reportAll(ui_, model_.said);
            if (result != SimulationDataDialog::kKeepOpen) done(result);
        });
        auto* addLayout = new QVBoxLayout(add);
        addLayout->addWidget(text);
        addLayout->addWidget(newButton, 0, Qt::AlignHCenter);
        bottom->addWidget(add);
    }
    auto* buttons = new QVBoxLayout;
    QPushButton* ok = dialogButton(QStringLiteral("OK"), "ok", bottomBlock_);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    if (!model_.editing()) {
        QPushButton* cancel = dialogButton(QStringLiteral("Cancel"), "cancel", bottomBlock_);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        buttons->addWidget(cancel);
    }
    buttons->addStretch();
    bottom->addLayout(buttons);

    // The ring: one button per nucleus, numbered from 1.
    const QFontMetrics metrics = fontMetrics();
    nucleusSize_ = QSize(std::max(38, metrics.horizontalAdvance(QStringLiteral("10")) + 24),
                         std::max(25, metrics.height() + 10));
    for (int i = 0; i < model_.nuclei(); ++i) {
        const QByteArray name = "nucleus" + QByteArray::number(i + 1);
        QPushButton* button = dialogButton(QString::asprintf("%d", i + 1), name.constData(), this);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { edit(model_.clickNucleus(i)); });
        nuclei_.push_back(button);
    }

    setFixedSize(fittingSize());
    // A hidden dialog gets its resize event only when shown; the ring is wanted before.
    arrange();
}

int SimulationDataDialogWidget::exec() {
    if (!opened_) {
        setResult(SimulationDataDialog::kFailed);
        return SimulationDataDialog::kFailed;
    }
    return CenteredDialog::exec();
}

void SimulationDataDialogWidget::open() {
    if (!opened_) {
        done(SimulationDataDialog::kFailed);
        return;
    }
    CenteredDialog::open();
}

simulation::SimulationFields SimulationDataDialogWidget::fields() const {
    simulation::SimulationFields typed;
    if (!opened_) return typed;
    typed.sf = sf_->text().toStdString();
    typed.from = from_->text().toStdString();
    typed.to = to_->text().toStdString();
    typed.points = points_->text().toStdString();
    typed.lineWidth = lineWidth_->text().toStdString();
    typed.threshold = threshold_->text().toStdString();
    typed.ppm = ppm_->isChecked();
    return typed;
}

void SimulationDataDialogWidget::accept() {
    ui_.setWaitCursor(true);
    const int result = model_.ok(fields());
    ui_.setWaitCursor(false);
    platform::reportAll(ui_, model_.said);
    if (result != SimulationDataDialog::kKeepOpen) done(result);
}

void SimulationDataDialogWidget::reject() {
    if (!opened_) {
        done(SimulationDataDialog::kFailed);
        return;
    }
    // An edited subsystem has no Cancel to go back to: closing the dialog keeps what it shows.
    if (model_.editing()) {
        accept();
        return;
    }
    done(model_.cancel());
}

void SimulationDataDialogWidget::unitsToggled(bool ppm) {
    simulation::SimulationFields typed = fields();
    if (!model_.setUnits(ppm, typed)) {
        const QSignalBlocker hertzBlocker(hertz_);
        const QSignalBlocker ppmBlocker(ppm_);
        (model_.ppm() ? ppm_ : hertz_)->setChecked(true);
        return;
    }
    from_->setText(QString::fromStdString(typed.from));
    to_->setText(QString::fromStdString(typed.to));
    unit_->setText(QString::fromStdString(model_.unitLabel()));
    refreshLists();
}

void SimulationDataDialogWidget::edit(const EditRequest& request) {
    switch (request.kind) {
        case EditRequest::kNone: return;
        case EditRequest::kShift: {
            // In the frequency the shift list is shown with, so that the two agree.
            simulation::ChemicalShiftDialog shift(doc_, request.i, model_.ppmFactor());
            ChemicalShiftDialogWidget dialog(shift, this);
            if (dialog.exec() != QDialog::Accepted) return;
            break;
        }
        case EditRequest::kCoupling: {
            simulation::CouplingConstantDialog coupling(doc_, {request.i, request.j});
            CouplingConstantDialogWidget dialog(coupling, this);
            if (dialog.exec() != QDialog::Accepted) return;
            break;
        }
    }
    refreshLists();
    update();
}

void SimulationDataDialogWidget::refreshLists() {
    for (QListWidget* list : {shifts_, couplings_}) {
        const QSignalBlocker blocker(list);
        const bool shifts = list == shifts_;
        showLines(list, shifts ? model_.shiftLines() : model_.couplingLines());
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            const bool free = shifts ? model_.shiftFree(row) : model_.couplingFree(row);
            item->setCheckState(free ? Qt::Checked : Qt::Unchecked);
        }
    }
    if (widthSigma_ != nullptr) widthSigma_->setText(QString::fromStdString(model_.widthSigmaText()));
}

void SimulationDataDialogWidget::lineChecked(QListWidget* list, QListWidgetItem* item) {
    const int row = list->row(item);
    const bool free = item->checkState() == Qt::Checked;
    if (list == shifts_)
        model_.setShiftFree(row, free);
    else
        model_.setCouplingFree(row, free);
    // The click on the box ends with the list's click on its line, which would open the value's
    // dialog; the flag lasts until the events of that click are handled.
    checkToggled_ = true;
    QTimer::singleShot(0, this, [this] { checkToggled_ = false; });
}

bool SimulationDataDialogWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto at = std::find(nuclei_.begin(), nuclei_.end(), watched);
        if (at != nuclei_.end()) {
            // Taken here, so that the button does not see the second press as another click.
            edit(model_.doubleClickNucleus(static_cast<int>(at - nuclei_.begin())));
            return true;
        }
    }
    return CenteredDialog::eventFilter(watched, event);
}

QSize SimulationDataDialogWidget::fittingSize() const {
    const QSize top = fieldsBlock_->sizeHint();
    const int side = std::max(
        {shiftsBlock_->minimumSizeHint().width(), couplingsBlock_->minimumSizeHint().width(), kListWidth});
    int width = top.width() + 2 * kMargin;
    int height = 0;
    // The bottom block wraps its text to the width, which the ring's height decides: settle both.
    for (int pass = 0; pass < 3; ++pass) {
        const int bottom = blockHeight(bottomBlock_, width - 2 * kMargin);
        // Rows 0.3 H and 0.7 H plus a button bound the ring; the blocks need those bands.
        const int band =
            std::max(kMargin + top.height() + kGap, nucleusSize_.height() + kGap + bottom + kMargin);
        height = static_cast<int>(std::ceil(band / 0.3)) + 2;
        const int half = 2 * ringRadius(height) + nucleusSize_.width() + kGap + side + kMargin;
        width = std::max(
            {2 * half + 2, top.width() + 2 * kMargin, bottomBlock_->minimumSizeHint().width() + 2 * kMargin});
    }
    return {width, height};
}

void SimulationDataDialogWidget::arrange() {
    if (!opened_) return;
    const int w = width();
    const int h = height();
    model_.layoutRing(w, h, nucleusSize_.width(), nucleusSize_.height());
    const std::vector<simulation::RingButton>& ring = model_.ring();
    for (std::size_t i = 0; i < nuclei_.size() && i < ring.size(); ++i)
        nuclei_[i]->setGeometry(ring[i].x, ring[i].y, nucleusSize_.width(), nucleusSize_.height());

    const int topHeight = fieldsBlock_->sizeHint().height();
    fieldsBlock_->setGeometry(kMargin, kMargin, w - 2 * kMargin, topHeight);
    const int bottomHeight = blockHeight(bottomBlock_, w - 2 * kMargin);
    bottomBlock_->setGeometry(kMargin, h - kMargin - bottomHeight, w - 2 * kMargin, bottomHeight);

    const int r = ringRadius(h);
    const int ringLeft = w / 2 - 2 * r;
    const int ringRight = w / 2 + 2 * r + nucleusSize_.width();
    const int columnTop = kMargin + topHeight + kGap;
    const int columnHeight = h - kMargin - bottomHeight - kGap - columnTop;
    shiftsBlock_->setGeometry(kMargin, columnTop, ringLeft - kGap - kMargin, columnHeight);
    couplingsBlock_->setGeometry(ringRight + kGap, columnTop, w - kMargin - ringRight - kGap, columnHeight);
    update();
}

void SimulationDataDialogWidget::resizeEvent(QResizeEvent* event) {
    CenteredDialog::resizeEvent(event);
    arrange();
}

void SimulationDataDialogWidget::paintEvent(QPaintEvent* event) {
    CenteredDialog::paintEvent(event);
    if (!opened_) return;
    const std::vector<simulation::RingButton>& ring = model_.ring();
    QPainter painter(this);
    for (const simulation::RingLine& line : model_.ringLines()) {
        const auto i = static_cast<std::size_t>(line.pair.i);
        const auto j = static_cast<std::size_t>(line.pair.j);
        if (line.pair.i < 0 || line.pair.j < 0 || i >= ring.size() || j >= ring.size()) continue;
        painter.setPen(QPen(QColor(line.colour.r, line.colour.g, line.colour.b), 2));
        painter.drawLine(ring[i].anchorX, ring[i].anchorY, ring[j].anchorX, ring[j].anchorY);
    }
}

}  // namespace pelvaron::gui
