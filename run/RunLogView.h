// RunLogView: what the solver prints, as it prints it. Text arrives in chunks that may end inside
// a line or a character; it is gathered and shown a few times a second, and only the newest lines
// are kept. A solver that floods its output must never hold up the window: lines that could never
// be shown are dropped while they wait, and what is shown goes in a few thousand lines per turn
// of the event loop.
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
    // Lines inserted per turn of the event loop: inserting, and pushing the oldest lines out,
    // costs some microseconds per line.
    static constexpr int linesPerPass = 2000;

    explicit RunLogView(QWidget* parent = nullptr);
    ~RunLogView() override;

    // Appends TEXT (UTF-8, possibly cut anywhere) soon.
    void appendOutput(const QByteArray& text);
    // Appends a line of the application's own (start, end of a run) after what waits.
    void appendNote(const QString& line);
    // Forgets the previous run's text.
    void clearLog();
    // Shows everything that waits now rather than over the next turns.
    void flush();

private:
    void queue(const QString& text);
    // Inserts up to linesPerPass waiting lines; true when more wait.
    bool insertPass();
    // Drops the oldest waiting lines, keeping the newest KEEP.
    void dropPendingLines(int keep);

    QString m_pending;
    int m_pendingLines = 0;     // line ends in m_pending
    bool m_endsMidLine = false;  // the text given so far ends inside a line
    std::unique_ptr<QTextDecoder> m_decoder;
    QTimer* m_flushTimer;
};
