// Batch commands of the command line: they evaluate or draw a script without
// showing the main window. Each returns the process exit status.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include "DiagramResults.h"
#include "ModelInterpreter.h"

class QFileInfo;
struct EvaluationResult;
struct RunRecord;

// Evaluates SCRIPT for a batch command: 0 when it ran without error or stopped only after its first
// analyze (said on standard error), otherwise the exit status (1: script error, 2: unreadable),
// with the reason on standard error.
int evaluateBatchScript(ModelInterpreter& interpreter, const QString& script);

// The exit status of a batch command after an evaluation, saying on standard error what was left
// undone and how the script ended: 0 for a success or a stop after the first analyze, 1 for an
// error before it.
int reportEvaluation(const EvaluationResult& evaluation);

// Scripts are opened safely unless --trust was given (TRUSTOPTION) or the settings trust them.
ScriptTrust openingTrust(bool trustOption);

// Evaluates SCRIPT and prints the model record as JSON on standard output, and on standard error
// what was left out or left undone.
// 0: evaluated without error, or stopped after the first analyze (said on standard error),
// 1: the script ended in an error, 2: SCRIPT unreadable.
int dumpModelMain(const QString& script, ScriptTrust trust);

struct RenderOptions {
    QString script;
    QString output;
    QString view = QStringLiteral("XYZ");
    bool perspective = false;
    QStringList labels;  // any of "free", "fixed", "elements"
    QSize size = QSize(800, 600);
    // A result step of the last run instead of the bare model: 0 for none, -1 for the last.
    int step = 0;
    double scale = 1.0;
    QString result;  // "TYPE:RESPONSE" to colour by, empty for none
    bool pointAttribute = false;
    int column = 1;
    ScriptTrust trust = ScriptTrust::Safe;
    // A member force diagram over the step's picture.
    bool drawDiagram = false;
    ForceComponent diagramComponent = ForceComponent::Mz;
    // --steps A:B[:K]: an animation of every K-th step from A to B (-1: the last) at FPS frames
    // a second instead of a picture; the frames are SIZE itself. stepsStart 0: no animation.
    int stepsStart = 0;
    int stepsEnd = 0;
    int stepsInterval = 1;
    int fps = 25;
    // Mode K of the last run's last eigen call instead of a step (0: none), drawn at SCALE when
    // it was given, else at the automatic scale.
    int mode = 0;
    bool scaleGiven = false;
};

// Interprets SCRIPT, draws it (with a result step of its last run when asked) and captures the
// view into OUTPUT (3x the size), or writes the animation of a range of steps into OUTPUT.
// 0: success, 1: script error (picture still written) or results that belong to another version
// of the script, 2: nothing written.
int renderMain(const RenderOptions& options);

struct InstrumentOptions {
    QString script;
    QStringList records;  // "TYPE:RESPONSE[,RESPONSE...]", as given
    int liveScale = 0;    // 0: no live stream
    ScriptTrust trust = ScriptTrust::Safe;
};

// Interprets SCRIPT and writes the instrumented script and the run record as a run from the
// window would, printing the instrumented script's path; starts nothing. An error after the
// script's first analyze is reported on standard error and does not stop it.
// 0: written, 1: the script ended in an error before its first analysis (nothing written),
// 2: bad options, a model without nodes, or a file it cannot (or must not) write.
int instrumentMain(const InstrumentOptions& options);

struct DiagramOptions {
    QString script;
    int step = -1;  // -1: the last
    ForceComponent component = ForceComponent::Mz;
    ScriptTrust trust = ScriptTrust::Safe;
};

// Interprets SCRIPT and prints, for a step of its last run, a header line and per member its tag,
// the values at end i, mid-length and end j, the largest magnitude and its distance from end i,
// tab-separated. 0: printed, 1: script error or results of another version, 2: no member forces,
// no such step or an unreadable script.
int diagramMain(const DiagramOptions& options);

// The members of step WANTEDSTEP (-1: the last) of the script's last run, as the Diagrams panel
// reads them; the script must have been evaluated. False with *WHY and an exit *STATUS otherwise.
bool loadDiagramStep(const QFileInfo& script, int wantedStep, QVector<DiagramResults::Member>* members,
                     int* step, QString* why, int* status);

// The run record beside SCRIPT, when it belongs to the script as it is now. False with *WHY and an
// exit *STATUS otherwise (2: no record, 1: the script changed since).
bool readScriptRunRecord(const QFileInfo& script, RunRecord* record, QString* why, int* status);

// Prints the Modes table of SCRIPT's last run: a header line, then per mode of every eigen call
// the call, the mode, the eigenvalue, circular frequency, frequency, period and mass ratios,
// tab-separated. 0: printed, 1: results of another version of the script, 2: no run, no eigen
// call or an unreadable script.
int modesMain(const QString& script);

// Mode MODE (from 1) of the last eigen call of the script's last run in the order of the model
// record's nodes, and the amplitude to draw it at: SCALE, or the automatic scale when SCALE is 0.
// The script must have been evaluated. False with *WHY and an exit *STATUS otherwise.
bool loadModeShape(const QFileInfo& script, int mode, double scale, QVector<double>* x, QVector<double>* y,
                   QVector<double>* z, double* amplitude, QString* why, int* status);
