// --instrument: prepare a run without starting the solver, so that the analysis can run elsewhere
// (a cluster, a scheduler, a parallel build of the solver) and its results be loaded afterwards.
#include <QFileInfo>
#include <QTextStream>

#include "BatchCommands.h"
#include "ElementResponseTable.h"
#include "Instrumentation.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "RunRecord.h"
#include "ScriptEvaluation.h"
#include "zor_output_panel.h"

namespace {

// Reads the --record options into (type, response) pairs; false with a reason for a word the
// response table does not list.
bool readRecordOptions(const QStringList& records, QVector<QStringList>* pairs, QString* error)
{
    for (const QString& record : records) {
        const int colon = record.indexOf(QLatin1Char(':'));
        const QString type = record.left(colon);
        const QStringList responses = record.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (colon <= 0 || responses.isEmpty()) {
            *error = QStringLiteral("bad --record \"%1\", expected TYPE:RESPONSE[,RESPONSE...]").arg(record);
            return false;
        }
        const QStringList known = responsesOf(type);
        if (known.isEmpty()) {
            *error = QStringLiteral("no responses can be recorded for element type \"%1\"").arg(type);
            return false;
        }
        for (const QString& response : responses) {
            if (!known.contains(response)) {
                *error = QStringLiteral("element type %1 has no response \"%2\"; it has: %3")
                             .arg(type, response, known.join(QLatin1Char(' ')));
                return false;
            }
            pairs->append({type, response});
        }
    }
    return true;
}

}  // namespace

int instrumentMain(const InstrumentOptions& options)
{
    QTextStream err(stderr);
    QVector<QStringList> pairs;
    QString error;
    if (!readRecordOptions(options.records, &pairs, &error)) {
        err << "tolvane: " << error << '\n';
        return 2;
    }
    const QFileInfo script(options.script);
    ModelInterpreter interpreter(options.trust);
    if (const int status = evaluateBatchScript(interpreter, options.script))
        return status;
    if (modelRecord()->nodeTags.isEmpty()) {
        err << "tolvane: the model has no node: a run would record nothing\n";
        return 2;
    }
    for (const QStringList& pair : pairs)
        if (!modelRecord()->elementTypes.contains(pair[0])) {
            err << "tolvane: the model has no element of type " << pair[0] << '\n';
            return 2;
        }

    // As the recorder dialog would give them: types and responses in table order.
    const QVector<QStringList> settings = settingsInTableOrder(pairs);
    const QString dir = script.absolutePath();
    const QString fileName = script.fileName();
    // The script first: a run record must never name results that no script of ours will write.
    if (!writeInstrumentedScript(script.absoluteFilePath(),
                                 recorderBlock(*modelRecord(), settings, options.liveScale), &error) ||
        !writeRunRecord(dir + QLatin1Char('/') + runRecordFileName(), scriptDigest(script.absoluteFilePath()),
                        dir, settings, &error)) {
        err << "tolvane: " << error << '\n';
        return 2;
    }
    const QString target = dir + QLatin1Char('/') + instrumentedScriptName(fileName);
    QTextStream(stdout) << target << '\n';
    return 0;
}
