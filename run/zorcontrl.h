// zorcontrl: the run controller. Writes the instrumented copy of a script and runs the solver on
// it as a child process, passing on what the solver prints and how it ended; the same text goes
// to "TolvaneRun.log" beside the script. The solver leads a process group of its own, and Stop
// ends the whole group, so a solver started through a wrapper script stops with it.
//
//   zorcontrl run;
//   run.setSolverPath(path); run.setScriptLocation(dir, "frame.tcl");
//   if (run.writeInstrumentedScript(settings, 0, liveStreamPort, &error)) run.runSolver();
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVector>

#include "RunLogFile.h"

class QTimer;
class SolverProcess;

class zorcontrl : public QObject {
    Q_OBJECT
public:
    explicit zorcontrl(QObject* parent = nullptr);
    ~zorcontrl() override;

    void setSolverPath(const QString& path);
    void setScriptLocation(const QString& directory, const QString& fileName);
    QString solverPath() const { return m_solverPath; }
    // The instrumented script's full path; empty until the location is set.
    QString instrumentedScriptPath() const;

    // Builds the recorders from the model record and writes the instrumented script; the live
    // recorder streams to LIVEPORT on the loopback address. False with a reason when a location is
    // missing, the model has no node, the instrumented script's name belongs to a file of the
    // user's, or a file cannot be read or written.
    bool writeInstrumentedScript(const QVector<QStringList>& settings, int monitorScale, int livePort,
                                 QString* error = nullptr);
    // Starts the solver on the instrumented script in the script's directory without waiting.
    // False when a location is missing or a run is going. solverStarted follows once the solver
    // runs; a failed start is reported by solverFailedToStart instead.
    bool runSolver();

    bool isRunning() const;
    // Asks the solver's process group to end, and kills it when the solver has not ended 3 s
    // later; what is left of the group when the solver ends is killed then.
    void stopSolver();
    // The same, waiting for the end: for quitting, when nothing else may run.
    void stopSolverAndWait();

signals:
    void solverStarted();
    void solverOutput(const QByteArray& text);
    // exitCode is meaningful when crashed is false; stopped says Stop ended the run.
    void solverFinished(int exitCode, bool crashed, bool stopped, double seconds);
    void solverFailedToStart(const QString& reason);

private:
    void readOutput();
    void finished(int exitCode, QProcess::ExitStatus status);
    void processError(QProcess::ProcessError error);

    QString m_solverPath;
    QString m_scriptDir;
    QString m_scriptFile;
    SolverProcess* m_process;
    QTimer* m_killTimer;
    RunLogFile m_log;
    QElapsedTimer m_clock;
    bool m_stopRequested = false;
};
