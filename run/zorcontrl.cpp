#include "zorcontrl.h"

#include <QDir>
#include <QTimer>

#include "Instrumentation.h"
#include "ModelRecord.h"
#include "SolverProcess.h"

namespace {
const int killDelayMs = 3000;
}

zorcontrl::zorcontrl(QObject* parent)
    : QObject(parent), m_process(new SolverProcess(this)), m_killTimer(new QTimer(this))
{
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &zorcontrl::readOutput);
    connect(m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &zorcontrl::finished);
    connect(m_process, &QProcess::errorOccurred, this, &zorcontrl::processError);
    // Only a solver that really runs makes a run: the caller records it then.
    connect(m_process, &QProcess::started, this, &zorcontrl::solverStarted);
    m_killTimer->setSingleShot(true);
    m_killTimer->setInterval(killDelayMs);
    connect(m_killTimer, &QTimer::timeout, m_process, [this] { m_process->signalGroup(true); });
}

zorcontrl::~zorcontrl()
{
    // A solver left running would write into a folder nobody reads any more.
    if (isRunning())
        stopSolverAndWait();
}

void zorcontrl::setSolverPath(const QString& path)
{
    m_solverPath = path;
}

void zorcontrl::setScriptLocation(const QString& directory, const QString& fileName)
{
    m_scriptDir = directory;
    m_scriptFile = fileName;
}

QString zorcontrl::instrumentedScriptPath() const
{
    if (m_scriptDir.isEmpty() || m_scriptFile.isEmpty())
        return QString();
    return m_scriptDir + QLatin1Char('/') + instrumentedScriptName(m_scriptFile);
}

bool zorcontrl::writeInstrumentedScript(const QVector<QStringList>& settings, int monitorScale,
                                        int livePort, QString* error)
{
    if (m_solverPath.isEmpty() || m_scriptDir.isEmpty() || m_scriptFile.isEmpty()) {
        if (error)
            *error = QStringLiteral("No solver or script to run.");
        return false;
    }
    if (modelRecord()->nodeTags.isEmpty()) {
        if (error)
            *error =
                QStringLiteral("The model of %1 has no node: a run would record nothing.").arg(m_scriptFile);
        return false;
    }
    const QStringList block = recorderBlock(*modelRecord(), settings, monitorScale, livePort);
    return ::writeInstrumentedScript(m_scriptDir + QLatin1Char('/') + m_scriptFile, block, error);
}

bool zorcontrl::runSolver()
{
    if (m_solverPath.isEmpty() || m_scriptDir.isEmpty() || m_scriptFile.isEmpty() || isRunning())
        return false;
    // Unwritable, the file is skipped: the Run Log still shows everything.
    m_log.open(m_scriptDir + QStringLiteral("/TolvaneRun.log"));
    m_stopRequested = false;
    m_clock.start();
    m_process->setWorkingDirectory(m_scriptDir);
    m_process->setProgram(m_solverPath);
    m_process->setArguments({instrumentedScriptPath()});
    m_process->start(QIODevice::ReadOnly);
    return true;
}

bool zorcontrl::isRunning() const
{
    return m_process->state() != QProcess::NotRunning;
}

void zorcontrl::stopSolver()
{
    if (!isRunning())
        return;
    m_stopRequested = true;
    m_process->signalGroup(false);
    m_killTimer->start();
}

void zorcontrl::stopSolverAndWait()
{
    if (!isRunning())
        return;
    m_stopRequested = true;
    m_process->signalGroup(false);
    if (!m_process->waitForFinished(killDelayMs)) {
        m_process->signalGroup(true);
        m_process->waitForFinished(killDelayMs);
    }
    // finished() has run by now and ended what was left of the group.
}

void zorcontrl::readOutput()
{
    const QByteArray text = m_process->readAll();
    if (text.isEmpty())
        return;
    m_log.write(text);
    emit solverOutput(text);
}

void zorcontrl::finished(int exitCode, QProcess::ExitStatus status)
{
    m_killTimer->stop();
    // Stopped, the group had its warning with the solver: whatever the solver left behind (a
    // wrapper's children that ignore it) goes now.
    if (m_stopRequested)
        m_process->signalGroup(true);
    readOutput();
    m_log.close();
    emit solverFinished(exitCode, status == QProcess::CrashExit, m_stopRequested, m_clock.elapsed() / 1000.0);
}

void zorcontrl::processError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    m_log.close();
    emit solverFailedToStart(QStringLiteral("Cannot start %1: %2")
                                 .arg(QDir::toNativeSeparators(m_solverPath), m_process->errorString()));
}
