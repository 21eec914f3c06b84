// EvaluationGuard: keeps the window alive while a script is interpreted. The evaluation runs on
// the GUI thread, so the guard is asked from inside it (EvaluationWatch): it lets the window
// repaint, shows a Stop button, stops on Stop or Esc, and stops a script that eats the memory,
// while every other click and key waits, so nothing else runs in the middle of a refresh.
//
//   EvaluationGuard guard(statusBar());
//   evaluateScriptFile(interpreter, path, [&] { return guard.keepGoing(); });
//   if (!guard.reason().isEmpty()) say(guard.reason());
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QPushButton;
class QStatusBar;

class EvaluationGuard : public QObject {
    Q_OBJECT
public:
    explicit EvaluationGuard(QStatusBar* statusBar);
    ~EvaluationGuard() override;

    // Lets pending events through; false once the script should stop.
    bool keepGoing();
    // Why it stopped, empty while it has not.
    QString reason() const { return m_reason; }
    void requestStop(const QString& reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QStatusBar> m_statusBar;
    QPushButton* m_stop = nullptr;
    QString m_reason;
    qint64 m_memoryLimit = 0;  // bytes of resident memory; 0 when unknown
};

// The resident memory of this process in bytes, or 0 where it cannot be read.
qint64 residentMemory();
