// --dump-model: evaluate a script without a display and print its model record as JSON.
#include <cstdio>

#include <QTextStream>

#include "BatchCommands.h"
#include "ModelInterpreter.h"
#include "ModelJson.h"
#include "ModelRecord.h"
#include "ScriptEvaluation.h"
#include "SettingsStore.h"

ScriptTrust openingTrust(bool trustOption)
{
    const bool trusted = trustOption || SettingsStore::trustScripts(SettingsStore::settingsFilePath());
    return trusted ? ScriptTrust::Whole : ScriptTrust::Safe;
}

int dumpModelMain(const QString& script, ScriptTrust trust)
{
    ModelInterpreter interpreter(trust);
    const EvaluationResult r = evaluateScriptFile(interpreter, script);
    QTextStream err(stderr);
    if (!r.readable) {
        err << "tolvane: cannot read " << script << '\n';
        return 2;
    }
    const QByteArray json = modelRecordToJson(*modelRecord());
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    if (!r.leftOut.isEmpty())
        err << "tolvane: " << r.leftOut << '\n';
    err.flush();
    return reportEvaluation(r);
}
