// The one helper that answers modal dialogs in the window tests: each answer waits for the next
// modal dialog to appear and acts on it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <deque>
#include <functional>

class QWidget;

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

}  // namespace pelvaron::testing
