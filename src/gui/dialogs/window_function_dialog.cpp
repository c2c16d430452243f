// The Window Function Parameters dialog widget.
#include "gui/dialogs/window_function_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

WindowFunctionDialogWidget::WindowFunctionDialogWidget(processing::WindowFunctionDialog& model,
                                                       platform::UserInterface& ui, QWidget* owner)
    : CenteredDialog(owner), model_(model), ui_(ui) {
    setWindowTitle(QStringLiteral("Window Function Parameters"));
    model_.open();

    auto* grid = new QGridLayout;
    choices_ = new QButtonGroup(this);
    int row = 0;
    auto addChoice = [&](const char* text, const char* name, Window window) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), this);
        radio->setObjectName(QString::fromLatin1(name));
        choices_->addButton(radio, static_cast<int>(window));
        grid->addWidget(radio, row, 0);
    };
    auto addParameter = [&](int column, const char* label, QLineEdit* edit) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), row, column);
        grid->addWidget(edit, row, column + 1);
    };

    addChoice("Exponential Multiplication", "exponential", Window::Exponential);
    addParameter(1, "LB", addEdit("lbExponential", model_.lbExpText));
    ++row;
    addChoice("Gaussian Multiplication", "gaussian", Window::Gaussian);
    addParameter(1, "LB", addEdit("lbGaussian", model_.lbGaussText));
    addParameter(3, "Shift (between 0 and 1)", addEdit("shift", model_.shiftText));
    ++row;
    addChoice("Lorentzian/Gaussian resolution enhancement", "lorentzGauss", Window::LorentzGauss);
    addParameter(1, "LB", addEdit("lbLorentzGauss", model_.lbLgText));
    addParameter(3, "GB", addEdit("gb", model_.gbText));
    ++row;
    addChoice("TRAFICANTE resolution enhancement", "traficante", Window::Traficante);
    addParameter(1, "LB", addEdit("lbTraficante", model_.lbTrafText));
    ++row;
    addChoice("Sine bell multiplication", "sineBell", Window::Sine);
    addParameter(1, "Degrees", addEdit("sineDegrees", model_.sineDegText));
    ++row;
    addChoice("Sine Squared Multiplication", "sineSquared", Window::SineSquared);
    addParameter(1, "Degrees", addEdit("sineSquaredDegrees", model_.sine2DegText));
    ++row;
    addChoice("Hamming Function", "hamming", Window::Hamming);
    ++row;
    addChoice("Hanning Function", "hanning", Window::Hanning);

    {
        const QSignalBlocker blocker(choices_);
        if (QAbstractButton* selected = choices_->button(static_cast<int>(model_.selected)))
            selected->setChecked(true);
    }
    connect(choices_, &QButtonGroup::idClicked, this,
            [this](int id) { model_.selected = static_cast<Window>(id); });

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

QLineEdit* WindowFunctionDialogWidget::addEdit(const char* name, std::string& text) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    {
        const QSignalBlocker blocker(edit);
        edit->setText(QString::fromStdString(text));
    }
    // The model holds the text itself; the reference stays valid as long as the model.
    connect(edit, &QLineEdit::textEdited, this, [&text](const QString& t) { text = t.toStdString(); });
    return edit;
}

void WindowFunctionDialogWidget::accept() {
    const processing::WindowCheck check = model_.ok();
    for (const Message& m : processing::windowMessages(check)) platform::report(ui_, m);
    if (!check.problem) QDialog::accept();
}

}  // namespace pelvaron::gui
