#include "RunLogView.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextCodec>
#include <QTextDecoder>
#include <QTimer>

namespace {
const int flushIntervalMs = 100;
// Between passes the event loop reads on: a pipe gives at most some kilobytes per read, and a
// solver waits while its pipe is full.
const int passIntervalMs = 10;
}

RunLogView::RunLogView(QWidget* parent)
    : QPlainTextEdit(parent),
      m_decoder(QTextCodec::codecForName("UTF-8")->makeDecoder()),
      m_flushTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("runLog"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(keptLines);
    QFont font(QStringLiteral("Consolas"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    m_flushTimer->setSingleShot(true);
    connect(m_flushTimer, &QTimer::timeout, this, [this] {
        if (insertPass())
            m_flushTimer->start(passIntervalMs);
    });
}

RunLogView::~RunLogView() = default;

void RunLogView::appendOutput(const QByteArray& text)
{
    const QString decoded = m_decoder->toUnicode(text);
    if (decoded.isEmpty())
        return;
    m_endsMidLine = !decoded.endsWith(QLatin1Char('\n'));
    queue(decoded);
    if (!m_flushTimer->isActive())
        m_flushTimer->start(flushIntervalMs);
}

void RunLogView::appendNote(const QString& line)
{
    // A line the solver left unfinished is ended first.
    queue((m_endsMidLine ? QStringLiteral("\n") : QString()) + line + QLatin1Char('\n'));
    m_endsMidLine = false;
    m_flushTimer->start(0);
}

void RunLogView::clearLog()
{
    m_flushTimer->stop();
    m_pending.clear();
    m_pendingLines = 0;
    m_endsMidLine = false;
    m_decoder.reset(QTextCodec::codecForName("UTF-8")->makeDecoder());
    clear();
}

void RunLogView::flush()
{
    m_flushTimer->stop();
    while (insertPass()) {
    }
}

void RunLogView::queue(const QString& text)
{
    m_pendingLines += text.count(QLatin1Char('\n'));
    m_pending += text;
    // Trimmed only once twice the shown lines wait, so that the cost stays in proportion to the
    // text received.
    if (m_pendingLines > 2 * keptLines)
        dropPendingLines(keptLines);
}

bool RunLogView::insertPass()
{
    if (m_pending.isEmpty())
        return false;
    if (m_pendingLines >= keptLines) {
        // Everything shown now would be pushed out by what waits: start afresh, which is far
        // quicker than pushing the old lines out one by one.
        dropPendingLines(keptLines - 1);
        clear();
    }
    int end = 0;
    int lines = 0;
    while (lines < linesPerPass) {
        const int next = m_pending.indexOf(QLatin1Char('\n'), end);
        if (next < 0) {
            end = m_pending.size();
            break;
        }
        end = next + 1;
        ++lines;
    }
    // Follow the end only when the reader has not scrolled back.
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_pending.left(end));
    m_pending.remove(0, end);
    m_pendingLines -= lines;
    if (atEnd)
        bar->setValue(bar->maximum());
    return !m_pending.isEmpty();
}

void RunLogView::dropPendingLines(int keep)
{
    if (m_pendingLines <= keep)
        return;
    int cut = m_pending.size();
    for (int n = 0; n <= keep && cut > 0; ++n)
        cut = m_pending.lastIndexOf(QLatin1Char('\n'), cut - 1);
    if (cut < 0)
        return;
    m_pending.remove(0, cut + 1);
    m_pendingLines = keep;
}
