// --diagram: the member force values of a result step of the script's last run, as a table.
#include <cstdio>

#include <QFileInfo>
#include <QTextStream>

#include "BatchCommands.h"
#include "DiagramResults.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "RunRecord.h"
#include "ScriptEvaluation.h"

namespace {

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

}  // namespace

bool readScriptRunRecord(const QFileInfo& script, RunRecord* record, QString* why, int* status)
{
    const QString dir = script.absolutePath();
    *record = readRunRecord(dir + QLatin1Char('/') + runRecordFileName());
    *status = 2;
    if (!record->readable) {
        *why = QStringLiteral("no run record %1/%2: run the analysis first").arg(dir, runRecordFileName());
        return false;
    }
    if (record->digest != scriptDigest(script.absoluteFilePath())) {
        *status = 1;
        *why = resultsOfAnotherScriptText();
        return false;
    }
    return true;
}

bool loadDiagramStep(const QFileInfo& script, int wantedStep, QVector<DiagramResults::Member>* members,
                     int* step, QString* why, int* status)
{
    const QString dir = script.absolutePath();
    RunRecord record;
    if (!readScriptRunRecord(script, &record, why, status))
        return false;
    DiagramResults results;
    if (!results.load(dir, record, *modelRecord(), why))
        return false;
    const int count = results.stepCount();
    *step = wantedStep < 0 ? count : wantedStep;
    if (*step < 1 || *step > count) {
        *why = QStringLiteral("step %1 is not among the %2 steps of the member forces").arg(*step).arg(count);
        return false;
    }
    *members = results.membersAt(*step, *modelRecord());
    *status = 0;
    return true;
}

int reportEvaluation(const EvaluationResult& evaluation)
{
    QTextStream err(stderr);
    if (!evaluation.leftUndone.isEmpty())
        err << "tolvane: " << evaluation.leftUndone << '\n';
    if (evaluation.afterAnalysis) {
        err << "tolvane: " << evaluationStoppedAfterAnalysisText(evaluation) << '\n';
        return 0;
    }
    if (evaluation.code != 0) {
        err << "tolvane: " << evaluationErrorText(evaluation) << '\n';
        return 1;
    }
    return 0;
}

int evaluateBatchScript(ModelInterpreter& interpreter, const QString& script)
{
    const EvaluationResult evaluation = evaluateScriptFile(interpreter, QFileInfo(script).absoluteFilePath());
    if (!evaluation.readable) {
        QTextStream(stderr) << "tolvane: cannot read " << script << '\n';
        return 2;
    }
    return reportEvaluation(evaluation);
}

int diagramMain(const DiagramOptions& options)
{
    QTextStream err(stderr);
    const QFileInfo script(options.script);
    ModelInterpreter interpreter(options.trust);
    if (const int status = evaluateBatchScript(interpreter, options.script))
        return status;
    QVector<DiagramResults::Member> members;
    int step = 0, status = 0;
    QString why;
    if (!loadDiagramStep(script, options.step, &members, &step, &why, &status)) {
        err << "tolvane: " << why << '\n';
        return status;
    }
    const QString c = forceComponentName(options.component);
    QTextStream out(stdout);
    out << "element\t" << c << "_i\t" << c << "_mid\t" << c << "_j\t" << c << "_max_abs\tx_max\n";
    for (const DiagramResults::Member& m : members) {
        const MemberDiagram& d = m.diagram;
        const MemberDiagram::Extreme e = d.extreme(options.component);
        out << m.tag << '\t' << number(d.value(options.component, 0.0)) << '\t'
            << number(d.value(options.component, d.length() / 2.0)) << '\t'
            << number(d.value(options.component, d.length(), true)) << '\t' << number(std::abs(e.value)) << '\t'
            << number(e.at) << '\n';
    }
    return 0;
}
