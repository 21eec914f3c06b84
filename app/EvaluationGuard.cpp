#include "EvaluationGuard.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QStatusBar>

#include <unistd.h>

namespace {

// A quarter of the machine is left for everything else; TOLVANE_SCRIPT_MEMORY_LIMIT_MB overrides.
qint64 memoryLimit()
{
    bool ok = false;
    const qint64 megabytes = qEnvironmentVariableIntValue("TOLVANE_SCRIPT_MEMORY_LIMIT_MB", &ok);
    if (ok && megabytes > 0)
        return megabytes << 20;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize / 4 * 3 : 0;
}

bool isInput(QEvent::Type type)
{
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

qint64 residentMemory()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

EvaluationGuard::EvaluationGuard(QStatusBar* statusBar) : m_statusBar(statusBar), m_memoryLimit(memoryLimit())
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_stop = new QPushButton(QStringLiteral("Stop"), statusBar);
    m_stop->setObjectName(QStringLiteral("stopInterpretation"));
    m_stop->setToolTip(QStringLiteral("Stop the script (Esc)"));
    m_stop->setCursor(Qt::ArrowCursor);
    connect(m_stop, &QPushButton::clicked, this,
            [this] { requestStop(QStringLiteral("stopped by the user")); });
    statusBar->addPermanentWidget(m_stop);
    m_stop->show();
    qApp->installEventFilter(this);
}

EvaluationGuard::~EvaluationGuard()
{
    qApp->removeEventFilter(this);
    if (m_statusBar)
        m_statusBar->removeWidget(m_stop);
    delete m_stop;
    QApplication::restoreOverrideCursor();
}

void EvaluationGuard::requestStop(const QString& reason)
{
    if (m_reason.isEmpty())
        m_reason = reason;
}

bool EvaluationGuard::keepGoing()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
    const qint64 used = residentMemory();
    if (m_memoryLimit > 0 && used > m_memoryLimit)
        requestStop(
            QStringLiteral("stopped: the script took more than %1 MB of memory").arg(m_memoryLimit >> 20));
    return m_reason.isEmpty();
}

bool EvaluationGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        requestStop(QStringLiteral("stopped by the user"));
        return true;
    }
    // Closing a window in the middle of a refresh would pull the model from under it.
    if (event->type() == QEvent::Close && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        requestStop(QStringLiteral("stopped by the user"));
        event->ignore();
        return true;
    }
    if (!isInput(event->type()))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool onStop = widget && (widget == m_stop || m_stop->isAncestorOf(widget));
    return !onStop;
}
