// The instrumented script: a short preamble that wraps the solver's model command so that every
// model call, wherever it stands (the script, a sourced file, a procedure, a loop), adds the
// recorders that write the result files and stream the live view, wraps eigen so that every call
// also writes its modes, and then sources the user's script unchanged. Tcl itself then handles comments, line ends and continuations, and the
// solver's messages name the user's own file and line.
//
//   const QStringList block = recorderBlock(*modelRecord(), settings, monitorScale);
//   if (!writeInstrumentedScript(dir + "/frame.tcl", block, &error)) refuse(error);
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct ModelRecord;

// The live stream's address; the live data server listens there.
constexpr int liveStreamPort = 19920;

// frame.tcl -> frameTemp.tcl, a.b.tcl -> a.bTemp.tcl, a name without a dot -> Temp.tcl.
QString instrumentedScriptName(const QString& scriptFileName);

// Every node tag followed by one blank, in record order.
QString nodeListText(const QVector<int>& nodeTags);

// The commands that run after a model command: the result directory, the node displacement
// recorder, the live recorder when monitorScale is above 0, the node reaction recorder, for ndf
// above 3 the recorders of DOFs 4 to 6 ("NodeDisp456.file", "NodeReaction456.file"), then a full
// and a sample element recorder per chosen response. Settings whose type has no element are skipped.
QStringList recorderBlock(const ModelRecord& model, const QVector<QStringList>& settings, int monitorScale,
                          int livePort = liveStreamPort);

// The result files the recorder lines of BLOCK write ("TolvaneResult/NodeDisp.file", ...).
QStringList recordedFiles(const QStringList& block);

// The first line of every instrumented script; a file that does not begin with it is the user's.
QByteArray instrumentedScriptMarker();

// The instrumented script for SCRIPTFILENAME (which lies in the same folder): the marker line, the
// model and wipe wrappers around BLOCK, the eigen wrapper that writes each call's modes
// (TolvaneResult/ModesK.file and its companions, K counting the calls from 1), the removal of the
// files BLOCK writes and of every earlier Modes file (so that a run that records nothing never
// leaves an earlier run's files to be read as its own), and the source command. UTF8 reads the script as UTF-8 whatever the solver's system encoding. Plain ASCII.
QByteArray instrumentedScriptText(const QString& scriptFileName, const QStringList& block, bool utf8);

// Writes the instrumented script beside SCRIPTPATH. False with a reason when the script cannot be
// read, when a file of that name exists that Tolvane did not write, or when it cannot be written;
// nothing is changed then.
bool writeInstrumentedScript(const QString& scriptPath, const QStringList& block, QString* error = nullptr);
