// The instrumented copy of a script: the recorder commands that make the solver write the result
// files (and stream the live view), inserted after every model command of the script.
//
//   const QStringList block = recorderBlock(*modelRecord(), settings, monitorScale);
//   writeInstrumentedCopy(dir + "/frame.tcl", dir + "/" + instrumentedScriptName("frame.tcl"), block);
#pragma once

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

// The lines inserted after a model command: the result directory, the node displacement recorder,
// the live recorder when monitorScale is above 0, the node reaction recorder, for ndf above 3 the
// recorders of DOFs 4 to 6 ("NodeDisp456.file", "NodeReaction456.file"), then a full and a sample
// element recorder per chosen response. Settings whose type has no element are skipped.
QStringList recorderBlock(const ModelRecord& model, const QVector<QStringList>& settings, int monitorScale);

// Copies SOURCE to TARGET without whole-line comments, inserting BLOCK after every complete
// command whose line begins with "model". False with a reason when a file cannot be read or
// written; TARGET is then left as it was.
bool writeInstrumentedCopy(const QString& source, const QString& target, const QStringList& block,
                           QString* error = nullptr);
