// The Interactive Sim. dialog widget and its help.
#include "gui/dialogs/interactive_sim_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/line_list.h"

namespace pelvaron::gui {

namespace {

using simulation::InteractiveSimDialog;

/// Holding Inc or Dec repeats the step: this soon, then this often (ms).
constexpr int kRepeatDelay = 300;
constexpr int kRepeatInterval = 50;

constexpr const char* kHelpParagraphs[] = {
    "1. Choose the parameter to change by clicking its line: a chemical shift, a coupling constant "
    "or the line width. Its name and present value appear under Parameter.",
    "2. To give it a new value, type the value in the Parameter box and click Apply. The spectrum "
    "is computed again at once.",
    "3. To change it step by step, type the step in the Increment box and click Inc to add it or "
    "Dec to subtract it. Holding the button down repeats the step, so you can watch the spectrum "
    "follow.",
};

QListWidget* lineList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

QVBoxLayout* captioned(const char* caption, QWidget* widget, QWidget* parent) {
    auto* layout = new QVBoxLayout;
    layout->addWidget(new QLabel(QString::fromLatin1(caption), parent));
    layout->addWidget(widget, 1);
    return layout;
}

QPushButton* repeatingButton(const char* text, const char* name, QWidget* parent) {
    QPushButton* button = dialogButton(QString::fromLatin1(text), name, parent);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelay);
    button->setAutoRepeatInterval(kRepeatInterval);
    return button;
}

}  // namespace

InteractiveSimDialogWidget::InteractiveSimDialogWidget(Document& doc, platform::UserInterface& ui,
                                                       simulation::TuningRunner& runner, QWidget* owner)
    : CenteredDialog(owner), model_(doc, runner), doc_(doc), ui_(ui) {
    setModal(false);
    setWindowTitle(QStringLiteral("Interactive Sim."));
    model_.open();

    shifts_ = lineList("shifts", this);
    couplings_ = lineList("couplings", this);
    width_ = lineList("width", this);
    for (QListWidget* list : {shifts_, couplings_}) list->setMinimumSize(130, 200);
    showLines(width_, {model_.widthLine()});
    // One line, shown whole without a scroll bar.
    width_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    width_->setFixedHeight(width_->sizeHintForRow(0) + 2 * width_->frameWidth() + 2);
    // A click or Enter on a line chooses it, not the current line moving: a list taking the focus
    // as the dialog opens makes its first line current, and nobody pointed at that.
    for (QListWidget* list : {shifts_, couplings_, width_}) {
        const auto chosen = [this, list](QListWidgetItem* item) { choose(list, list->row(item)); };
        connect(list, &QListWidget::itemClicked, this, chosen);
        connect(list, &QListWidget::itemActivated, this, chosen);
    }

    parameterLabel_ = new QLabel(this);
    parameterLabel_->setObjectName(QStringLiteral("parameterLabel"));
    parameterLabel_->setMinimumWidth(
        parameterLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Shift Nuc. 10")) + 8);
    parameter_ = new QLineEdit(this);
    parameter_->setObjectName(QStringLiteral("parameter"));
    increment_ = new QLineEdit(QString::fromStdString(InteractiveSimDialog::initialIncrementText()), this);
    increment_->setObjectName(QStringLiteral("increment"));
    for (QLineEdit* edit : {parameter_, increment_})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);

    QPushButton* apply = dialogButton(QStringLiteral("Apply"), "apply", this);
    QPushButton* inc = repeatingButton("Inc", "inc", this);
    dec_ = repeatingButton("Dec", "dec", this);
    inc_ = inc;
    apply_ = apply;
    fit_ = dialogButton(QStringLiteral("Fit"), "fit", this);
    fit_->setToolTip(QStringLiteral("Fit the simulation to the spectrum it is compared with"));
    connect(fit_, &QPushButton::clicked, this, &InteractiveSimDialogWidget::fitRequested);
    QPushButton* close = dialogButton(QStringLiteral("Close"), "close", this);
    QPushButton* help = dialogButton(QStringLiteral("Help"), "help", this);
    connect(apply, &QPushButton::clicked, this, [this] {
        (void)model_.apply(parameter_->text().toStdString());
        tell();
        refresh();
    });
    connect(inc, &QPushButton::clicked, this, [this] {
        (void)model_.inc(increment_->text().toStdString());
        tell();
        refresh();
    });
    connect(dec_, &QPushButton::clicked, this, [this] {
        (void)model_.dec(increment_->text().toStdString());
        tell();
        refresh();
        // A held Dec stops at the narrowest width instead of repeating its warning.
        if (model_.selected() == InteractiveSimDialog::Selected::Width &&
            doc_.sim.simLineWidth <= simulation::kMinTuningWidth)
            dec_->setDown(false);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] {
        InteractiveSimHelpDialogWidget dialog(this);
        dialog.exec();
    });

    auto* parameter = new QGroupBox(QStringLiteral("Parameter"), this);
    parameter->setObjectName(QStringLiteral("parameterGroup"));
    auto* parameterLayout = new QGridLayout(parameter);
    parameterLayout->addWidget(parameterLabel_, 0, 0, 1, 2);
    parameterLayout->addWidget(parameter_, 1, 0);
    parameterLayout->addWidget(apply, 1, 1);

    auto* step = new QGridLayout;
    step->addWidget(new QLabel(QStringLiteral("Increment:"), this), 0, 0, 1, 2);
    step->addWidget(increment_, 1, 0, 1, 2);
    step->addWidget(inc, 2, 0);
    step->addWidget(dec_, 2, 1);

    auto* endButtons = new QHBoxLayout;
    endButtons->addWidget(close);
    endButtons->addWidget(help);

    auto* controls = new QVBoxLayout;
    controls->addLayout(captioned("Width:", width_, this));
    controls->addWidget(parameter);
    controls->addLayout(step);
    controls->addStretch();
    controls->addWidget(fit_);
    controls->addLayout(endButtons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(captioned("Chem. Shifts (Hz):", shifts_, this), 1);
    layout->addLayout(captioned("Coupling Const.:", couplings_, this), 1);
    layout->addLayout(controls);
    refresh();
}

InteractiveSimDialogWidget::~InteractiveSimDialogWidget() {
    if (!ended_) model_.close();
}

void InteractiveSimDialogWidget::tell() { platform::reportAll(ui_, model_.said); }

void InteractiveSimDialogWidget::setFitting(bool running) {
    for (QPushButton* b : {inc_, dec_, apply_, fit_}) b->setEnabled(!running);
    // A held Inc or Dec stops with the fit's start.
    if (running) inc_->setDown(false), dec_->setDown(false);
}

void InteractiveSimDialogWidget::refresh() {
    showLines(shifts_, model_.shiftLines());
    showLines(couplings_, model_.couplingLines());
    showLines(width_, {model_.widthLine()});
    for (QListWidget* list : {shifts_, couplings_}) widenToLines(list, 130);
    showParameter();
}

void InteractiveSimDialogWidget::showParameter() {
    parameterLabel_->setText(QString::fromStdString(model_.parameterLabel()));
    parameter_->setText(QString::fromStdString(model_.parameterText()));
}

void InteractiveSimDialogWidget::choose(QListWidget* list, int row) {
    if (list == shifts_) {
        model_.selectShift(row);
    } else if (list == couplings_) {
        model_.selectCoupling(row);
    } else {
        model_.selectWidth();
    }
    for (QListWidget* other : {shifts_, couplings_, width_}) {
        if (other == list) continue;
        const QSignalBlocker blocker(other);
        other->setCurrentRow(-1);
        other->clearSelection();
    }
    showParameter();
}

void InteractiveSimDialogWidget::end() {
    if (ended_) return;
    ended_ = true;
    model_.close();
}

void InteractiveSimDialogWidget::accept() {
    if (ended_) return;
    end();
    QDialog::accept();
}

void InteractiveSimDialogWidget::reject() {
    if (ended_) return;
    end();
    QDialog::reject();
}

InteractiveSimHelpDialogWidget::InteractiveSimHelpDialogWidget(QWidget* owner) : CenteredDialog(owner) {
    setWindowTitle(QStringLiteral("Help on Interactive Simulation"));
    auto* layout = new QVBoxLayout(this);
    int index = 0;
    for (const char* paragraph : kHelpParagraphs) {
        auto* text = new QLabel(QString::fromLatin1(paragraph), this);
        text->setObjectName(QStringLiteral("paragraph%1").arg(++index));
        text->setWordWrap(true);
        text->setFixedWidth(360);
        layout->addWidget(text);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace pelvaron::gui
