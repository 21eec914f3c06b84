// --modes: the Modes table of a script's last run as text; and the mode shape that
// `--render --mode` draws.
#include <QFileInfo>
#include <QTextStream>

#include "BatchCommands.h"
#include "DeformationScale.h"
#include "ModelRecord.h"
#include "Modes.h"
#include "RunRecord.h"

namespace {

// The calls of the script's last run; false with the reason and exit status when there are none
// to show.
bool readRunModes(const QFileInfo& script, QVector<EigenCall>* calls, QString* why, int* status)
{
    RunRecord record;
    if (!readScriptRunRecord(script, &record, why, status))
        return false;
    *calls = readRecordedModes(script.absolutePath() + QStringLiteral("/TolvaneResult"));
    if (calls->isEmpty()) {
        *why = QStringLiteral("the last run of %1 made no eigen call").arg(script.fileName());
        return false;
    }
    return true;
}

}  // namespace

int modesMain(const QString& script)
{
    QTextStream err(stderr);
    const QFileInfo info(script);
    if (!info.isFile()) {
        err << "tolvane: cannot read " << script << '\n';
        return 2;
    }
    QVector<EigenCall> calls;
    QString why;
    int status = 0;
    if (!readRunModes(info, &calls, &why, &status)) {
        err << "tolvane: " << why << '\n';
        return status;
    }
    for (const EigenCall& call : calls)
        if (!call.problem.isEmpty())
            err << "tolvane: eigen call " << call.number << ": " << call.problem << '\n';
    QTextStream out(stdout);
    for (const QString& line : modeTableLines(calls))
        out << line << '\n';
    return 0;
}

bool loadModeShape(const QFileInfo& script, int mode, double scale, QVector<double>* x, QVector<double>* y,
                   QVector<double>* z, double* amplitude, QString* why, int* status)
{
    QVector<EigenCall> calls;
    if (!readRunModes(script, &calls, why, status))
        return false;
    const EigenCall& call = calls.last();
    *status = 2;
    if (!call.problem.isEmpty()) {
        *why = QStringLiteral("eigen call %1: %2").arg(call.number).arg(call.problem);
        return false;
    }
    if (mode < 1 || mode > call.modeCount()) {
        *why = QStringLiteral("mode %1 is not among the %2 modes of eigen call %3")
                   .arg(mode)
                   .arg(call.modeCount())
                   .arg(call.number);
        return false;
    }
    if (!modeRow(call, mode - 1).oscillates) {
        *why = QStringLiteral("mode %1 has the eigenvalue %2, which is not positive: no mode shape to draw")
                   .arg(mode)
                   .arg(call.eigenvalues[mode - 1]);
        return false;
    }
    modeDisplacements(call, mode - 1, modelRecord()->nodeTags, x, y, z);
    *amplitude = scale != 0.0 ? scale
                             : automaticScale(modelExtent(*modelRecord()), largestTranslation(call, mode - 1));
    *status = 0;
    return true;
}
