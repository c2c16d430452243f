// The helpers of the window tests and of tools/screenshots: answering modal dialogs (each answer
// waits for the next modal dialog to appear and acts on it), mouse events and typing.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>

namespace pelvaron::testing {

class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget*)>;

    ModalAnswerer();
    ~ModalAnswerer() override;

    /// Queues an action on the next modal dialog that opens (answers run in order).
    void answer(Answer action);
    /// Answers still waiting for their dialog.
    [[nodiscard]] int pending() const { return static_cast<int>(answers_.size()); }
    /// Titles of the dialogs answered, in order.
    [[nodiscard]] const QStringList& seen() const { return seen_; }

    // Common answers.
    static Answer clickButton(const QString& text);
    static Answer accept();
    static Answer reject();

private:
    std::deque<Answer> answers_;
    QStringList seen_;
    QPointer<QWidget> last_;
    int timer_ = 0;

    void timerEvent(QTimerEvent* event) override;
};

/// Sends one mouse event to `w` at `at`, in widget coordinates.
void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons);
/// Replaces the text of the edit box named `name` in `dialog` by typing, as a person would;
/// false when there is no such box.
bool typeInto(QWidget* dialog, const char* name, const QString& text);

}  // namespace pelvaron::testing
