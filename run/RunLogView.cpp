#include "RunLogView.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCodec>
#include <QTextDecoder>
#include <QTimer>

namespace {
const int flushIntervalMs = 100;
}

RunLogView::RunLogView(QWidget* parent)
    : QPlainTextEdit(parent),
      m_decoder(QTextCodec::codecForName("UTF-8")->makeDecoder()),
      m_flushTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("runLog"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(keptLines);
    QFont font(QStringLiteral("Consolas"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    m_flushTimer->setSingleShot(true);
    m_flushTimer->setInterval(flushIntervalMs);
    connect(m_flushTimer, &QTimer::timeout, this, &RunLogView::flush);
}

RunLogView::~RunLogView() = default;

void RunLogView::appendOutput(const QByteArray& text)
{
    m_pending += m_decoder->toUnicode(text);
    if (!m_flushTimer->isActive())
        m_flushTimer->start();
}

void RunLogView::appendNote(const QString& line)
{
    flush();
    // A line the solver left unfinished is ended first.
    const bool midLine = !document()->lastBlock().text().isEmpty();
    m_pending = (midLine ? QStringLiteral("\n") : QString()) + line + QLatin1Char('\n');
    flush();
}

void RunLogView::clearLog()
{
    m_flushTimer->stop();
    m_pending.clear();
    m_decoder.reset(QTextCodec::codecForName("UTF-8")->makeDecoder());
    clear();
}

void RunLogView::flush()
{
    m_flushTimer->stop();
    if (m_pending.isEmpty())
        return;
    // Follow the end only when the reader has not scrolled back.
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_pending);
    m_pending.clear();
    if (atEnd)
        bar->setValue(bar->maximum());
}
