// Answering modal dialogs from a queue, mouse events and typing.
#include "modal_helper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
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

}  // namespace pelvaron::testing
