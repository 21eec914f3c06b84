// RunLogView: what the solver prints, as it prints it. Text arrives in chunks that may end inside
// a line or a character; it is gathered and appended a few times a second, and only the last
// lines are kept, so a chatty solver costs little.
//
//   connect(&run, &zorcontrl::solverOutput, log, &RunLogView::appendOutput);
#pragma once

#include <QPlainTextEdit>
#include <memory>

class QTextDecoder;
class QTimer;

class RunLogView : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int keptLines = 100000;

    explicit RunLogView(QWidget* parent = nullptr);
    ~RunLogView() override;

    // Appends TEXT (UTF-8, possibly cut anywhere) soon.
    void appendOutput(const QByteArray& text);
    // Appends a line of the application's own (start, end of a run) at once.
    void appendNote(const QString& line);
    // Forgets the previous run's text.
    void clearLog();
    // Shows what is gathered now instead of at the next flush.
    void flush();

private:
    QString m_pending;
    std::unique_ptr<QTextDecoder> m_decoder;
    QTimer* m_flushTimer;
};
