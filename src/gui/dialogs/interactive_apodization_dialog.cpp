// The Interactive Apodization dialog widget. The buttons draw their window's own outline; the
// scroll bars report what was done to them and the model decides where they stand.
#include "gui/dialogs/interactive_apodization_dialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <vector>

#include "gui/dialogs/dialog_scroll_bar.h"

namespace pelvaron::gui {

using processing::InteractiveApodizationDialog;
using processing::ScrollAction;

/// A button showing a window function's outline with its caption under it: white on the dark
/// face of the selected function, black on the others.
class ApoFunctionButton : public QAbstractButton {
public:
    ApoFunctionButton(int function, QWidget* parent)
        : QAbstractButton(parent), shape_(processing::apoWindowShape(function, 48)) {
        setText(QString::fromLatin1(processing::kApoCaptions[function]));
        setObjectName(QStringLiteral("function%1").arg(function));
        setCheckable(true);
        setFocusPolicy(Qt::StrongFocus);
        setToolTip(text());
    }

    [[nodiscard]] QSize sizeHint() const override {
        const int captionWidth = fontMetrics().horizontalAdvance(QStringLiteral("Sine Sq.")) + 12;
        return {std::max(64, captionWidth), 44 + fontMetrics().height() + 6};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QPalette& pal = palette();
        const bool selected = isChecked();
        const QRectF face = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        p.setPen(QPen(pal.color(QPalette::Mid), 1.0));
        p.setBrush(selected ? QColor(0, 0, 128) : pal.color(QPalette::Button));
        p.drawRoundedRect(face, 4, 4);

        // The outline over the acquisition time, from a baseline at the picture's foot.
        const QRectF picture(face.left() + 6, face.top() + 6, face.width() - 12, 44 - 12);
        const QColor ink = selected ? Qt::white : Qt::black;
        p.setPen(QPen(selected ? QColor(160, 160, 255) : pal.color(QPalette::Dark), 1.0));
        p.drawLine(picture.bottomLeft(), picture.bottomRight());
        QPainterPath path;
        for (std::size_t k = 0; k < shape_.size(); ++k) {
            const double x = picture.left() + picture.width() * static_cast<double>(k) / (shape_.size() - 1);
            const double y = picture.bottom() - picture.height() * shape_[k];
            if (k == 0)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        p.setPen(QPen(selected ? QColor(255, 255, 0) : QColor(0, 0, 160), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);

        p.setPen(ink);
        const QRectF caption(face.left(), face.top() + 44, face.width(), face.height() - 44);
        p.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, text());
        if (hasFocus()) {
            p.setPen(QPen(ink, 1.0, Qt::DotLine));
            p.drawRect(caption.adjusted(3, 0, -3, -2));
        }
    }

private:
    std::vector<double> shape_;
};

namespace {

QLineEdit* readOnlyBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-00000.00")) + 16);
    return box;
}

}  // namespace

InteractiveApodizationDialogWidget::InteractiveApodizationDialogWidget(Document& doc, display::View& view,
                                                                       platform::UserInterface& ui,
                                                                       QWidget* owner)
    : CenteredDialog(owner),
      model_(doc),
      doc_(doc),
      view_(view),
      ui_(ui),
      hScrollRangeAtOpen_(view.hScrollRange) {
    setModal(false);
    setWindowTitle(QStringLiteral("Interactive Apodization"));
    model_.open();

    auto* pictures = new QHBoxLayout;
    for (int function : processing::kApoButtonOrder) {
        auto* button = new ApoFunctionButton(function, this);
        buttons_[function] = button;
        connect(button, &QAbstractButton::clicked, this, [this, function] { choose(function); });
        pictures->addWidget(button);
    }

    lbBar_ = dialogScrollBar("lb", -InteractiveApodizationDialog::kLbLimit,
                             InteractiveApodizationDialog::kLbLimit, 2, 25, this);
    gbBar_ = dialogScrollBar("gb", 0, InteractiveApodizationDialog::kGbMaximum, 2, 10, this);
    lbBox_ = readOnlyBox("lbText", this);
    gbBox_ = readOnlyBox("gbText", this);
    snBox_ = readOnlyBox("snText", this);
    lbLabel_ = new QLabel(this);
    lbLabel_->setObjectName(QStringLiteral("lbLabel"));
    lbLabel_->setMinimumWidth(lbLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Degrees")));
    gbLabel_ = new QLabel(QStringLiteral("GB"), this);
    connect(lbBar_, &QScrollBar::actionTriggered, this, [this](int a) { lbScrolled(a); });
    connect(gbBar_, &QScrollBar::actionTriggered, this, [this](int a) { gbScrolled(a); });

    auto* grid = new QGridLayout;
    grid->addWidget(lbLabel_, 0, 0);
    grid->addWidget(lbBar_, 0, 1);
    grid->addWidget(lbBox_, 0, 2);
    grid->addWidget(gbLabel_, 1, 0);
    grid->addWidget(gbBar_, 1, 1);
    grid->addWidget(gbBox_, 1, 2);
    auto* snRow = new QHBoxLayout;
    snRow->addStretch();
    snRow->addWidget(new QLabel(QStringLiteral("S/N"), this));
    snRow->addWidget(snBox_);

    QDialogButtonBox* buttons = okCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pictures);
    layout->addLayout(grid);
    layout->addLayout(snRow);
    layout->addWidget(buttons);
    // The GB row comes and goes with the Lorentzian/Gaussian: the dialog keeps its size.
    for (QWidget* w : std::initializer_list<QWidget*>{gbBar_, gbBox_, gbLabel_}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    showState();
    lbBar_->setFocus();
}

void InteractiveApodizationDialogWidget::choose(int function) {
    model_.chooseFunction(function);
    showState();
}

void InteractiveApodizationDialogWidget::lbScrolled(int action) {
    ScrollAction what;
    if (!toScrollAction(action, what)) return;
    // The bar has moved its slider already; the model starts from its own position instead.
    const int size = doc_.spectrum.nData;
    tell(model_.scrollLb(what, lbBar_->sliderPosition()));
    followSize(size);
    showState();
}

void InteractiveApodizationDialogWidget::gbScrolled(int action) {
    ScrollAction what;
    if (!toScrollAction(action, what)) return;
    const int size = doc_.spectrum.nData;
    tell(model_.scrollGb(what, gbBar_->sliderPosition()));
    followSize(size);
    showState();
}

void InteractiveApodizationDialogWidget::followSize(int sizeBefore) {
    if (doc_.spectrum.nData == sizeBefore) return;
    view_.hScrollRange = doc_.spectrum.nData;
    doc_.notify(kAxisChanged | kViewChanged);
}

void InteractiveApodizationDialogWidget::tell(const Status<processing::ApoRefusal>& step) {
    if (step) return;
    if (const std::optional<Message> m = processing::apodizationMessage(step.error()))
        platform::report(ui_, *m);
}

void InteractiveApodizationDialogWidget::showState() {
    for (int f = 0; f < processing::kApoFunctionCount; ++f) {
        const QSignalBlocker blocker(buttons_[f]);
        buttons_[f]->setChecked(f == model_.function());
    }
    {
        const QSignalBlocker b0(lbBar_);
        const QSignalBlocker b1(gbBar_);
        lbBar_->setSliderPosition(model_.lbPosition());
        gbBar_->setSliderPosition(model_.gbPosition());
    }
    lbBox_->setText(QString::fromStdString(model_.lbText()));
    gbBox_->setText(QString::fromStdString(model_.gbText()));
    snBox_->setText(QString::fromStdString(model_.snText()));
    lbLabel_->setText(QString::fromStdString(model_.lbLabel()));
    const bool gb = model_.gbVisible();
    gbBar_->setVisible(gb);
    gbBox_->setVisible(gb);
    gbLabel_->setVisible(gb);
}

void InteractiveApodizationDialogWidget::accept() {
    model_.ok();
    QDialog::accept();
}

void InteractiveApodizationDialogWidget::reject() {
    // Before the model's repaint, which the scroll bar follows.
    view_.hScrollRange = hScrollRangeAtOpen_;
    model_.cancel();
    QDialog::reject();
}

}  // namespace pelvaron::gui
