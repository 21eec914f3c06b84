// SolverProcess: the solver as a child process that leads a process group of its own. A solver
// is often started through a wrapper (a shell script that sets up the environment, a scheduler's
// launcher); stopping only the direct child would leave the real analysis running. Signalling the
// group ends the wrapper and everything it started.
//
//   SolverProcess p;
//   p.start(solver, {script});   // the child starts its own group before it runs the solver
//   p.signalGroup(false);        // ask every process of the group to end; true kills them
#pragma once

#include <QProcess>

class SolverProcess : public QProcess {
    Q_OBJECT
public:
    explicit SolverProcess(QObject* parent = nullptr);

    // Signals the group of the last started child, also after that child itself has ended (a
    // process it started may still be running). Without a group yet, the child alone.
    void signalGroup(bool kill);

protected:
    // Runs in the child between fork and exec.
    void setupChildProcess() override;

private:
    qint64 m_group = 0;  // the child's process id, which names its group
};

// The platform calls, one small function each. The first runs in a freshly forked child and
// makes it the leader of a new group; the second asks the group to end, or kills it.
void leaveParentProcessGroup();
void signalProcessGroup(qint64 group, bool kill);
