#include "SolverProcess.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

SolverProcess::SolverProcess(QObject* parent) : QProcess(parent)
{
#ifdef Q_OS_WIN
    // The Windows counterpart of a process group: taskkill /T walks the tree from the child.
    setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->flags |= CREATE_NEW_PROCESS_GROUP;
    });
#endif
    connect(this, &QProcess::stateChanged, this, [this](QProcess::ProcessState state) {
        if (state == QProcess::Starting)
            m_group = 0;  // the last run's group is not this one
        else if (state == QProcess::Running)
            m_group = processId();
    });
}

void SolverProcess::signalGroup(bool kill)
{
    if (m_group > 0) {
        signalProcessGroup(m_group, kill);
        return;
    }
    if (state() == QProcess::NotRunning)
        return;
    if (kill)
        QProcess::kill();
    else
        terminate();
}

void SolverProcess::setupChildProcess()
{
    leaveParentProcessGroup();
}

#ifdef Q_OS_WIN

void leaveParentProcessGroup()
{
}

void signalProcessGroup(qint64 group, bool kill)
{
    // /T takes the child's whole tree; without /F the processes are asked to close.
    QStringList args{QStringLiteral("/T"), QStringLiteral("/PID"), QString::number(group)};
    if (kill)
        args.prepend(QStringLiteral("/F"));
    QProcess::execute(QStringLiteral("taskkill"), args);
}

#else

void leaveParentProcessGroup()
{
    // Only async-signal-safe calls here: this runs between fork and exec.
    ::setpgid(0, 0);
}

void signalProcessGroup(qint64 group, bool kill)
{
    // A group whose processes have all ended is simply not there any more (ESRCH).
    ::kill(-pid_t(group), kill ? SIGKILL : SIGTERM);
}

#endif
