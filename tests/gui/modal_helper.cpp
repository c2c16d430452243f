// Answering modal dialogs from a queue, mouse events and typing.
#include "modal_helper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

namespace pelvaron::testing {

ModalAnswerer::ModalAnswerer() { timer_ = startTimer(5); }

ModalAnswerer::~ModalAnswerer() { killTimer(timer_); }

void ModalAnswerer::answer(Answer action) { answers_.push_back(std::move(action)); }

void ModalAnswerer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_ || answers_.empty()) return;
    QWidget* modal = QApplication::activeModalWidget();
    // The same dialog may stay open after an answer (a refused OK): it counts as new only
    // once it has been answered and is shown again, so wait for it to change or be re-shown.
    if (modal == nullptr || !modal->isVisible() || modal == last_.data()) {
        if (modal == nullptr) last_ = nullptr;
        return;
    }
    last_ = modal;
    Answer action = std::move(answers_.front());
    answers_.pop_front();
    seen_ << modal->windowTitle();
    // Run outside this timer event: an answer may open a nested dialog that needs this timer.
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [action = std::move(action), target] {
        if (target != nullptr) action(target.data());
    });
}

ModalAnswerer::Answer ModalAnswerer::clickButton(const QString& text) {
    return [text](QWidget* dialog) {
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->text().remove(QLatin1Char('&')) == text) {
                button->click();
                return;
            }
        }
        qWarning("no button %s", qPrintable(text));
    };
}

ModalAnswerer::Answer ModalAnswerer::accept() {
    return [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog)) d->accept();
    };
}

ModalAnswerer::Answer ModalAnswerer::reject() {
    return [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
    };
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

bool typeInto(QWidget* dialog, const char* name, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (edit == nullptr) return false;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    return true;
}

bool showActive(QWidget* window) {
    window->resize(1280, 800);
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) return false;
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

void click(QWidget* dialog, const char* name) {
    auto* button = child(dialog, name);
    QVERIFY2(button != nullptr, name);
    button->click();
}

QString fieldText(QWidget* dialog, const char* name) {
    if (auto* edit = child<QLineEdit>(dialog, name)) return edit->text();
    if (auto* label = child<QLabel>(dialog, name)) return label->text();
    return QStringLiteral("(no field %1)").arg(QString::fromLatin1(name));
}

QStringList listLines(QWidget* dialog, const char* name) {
    QStringList shown;
    if (auto* list = child<QListWidget>(dialog, name))
        for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
    return shown;
}

QStringList qtLines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out;
}

int pixelsOf(const QImage& image, Qt::GlobalColor colour) {
    const QColor pure(colour);
    auto fits = [](int value, int full) { return full > 0 ? value > 200 : value < 80; };
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count +=
                fits(c.red(), pure.red()) && fits(c.green(), pure.green()) && fits(c.blue(), pure.blue());
        }
    }
    return count;
}

}  // namespace pelvaron::testing
