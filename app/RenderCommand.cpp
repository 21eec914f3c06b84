// --render: interpret a script as the application does and write the picture of its model
// through the same scene builder and capture, without showing a window.
#include <QFileInfo>
#include <QTextStream>

#include "BatchCommands.h"
#include "CaptureFormat.h"
#include "ModelInterpreter.h"
#include "OffscreenSnapshot.h"
#include "ScriptEvaluation.h"
#include "SettingsStore.h"

int renderMain(const RenderOptions& options)
{
    QTextStream err(stderr);
    // Evaluating the script moves the working directory to the script's folder.
    const QString output = QFileInfo(options.output).absoluteFilePath();
    if (captureFormatFor(output) == CaptureFormat::Unsupported) {
        err << "tolvane: cannot save \"" << options.output
            << "\": the picture type must be .png, .bmp or .jpg\n";
        return 2;
    }

    // Like start-up: a missing settings file is written with the defaults first.
    const QString settingsPath = SettingsStore::settingsFilePath();
    if (!QFileInfo(settingsPath).isFile() && !SettingsStore::writeDefaults(settingsPath))
        err << "tolvane: cannot write the settings file " << settingsPath << '\n';

    ModelInterpreter interpreter;
    const EvaluationResult evaluation = evaluateScriptFile(interpreter, options.script);
    if (!evaluation.readable) {
        err << "tolvane: cannot read " << options.script << '\n';
        return 2;
    }

    SnapshotOptions snapshot;
    snapshot.view = options.view;
    snapshot.perspective = options.perspective;
    snapshot.labels = options.labels;
    snapshot.size = options.size;
    QString error;
    if (!renderSnapshot(settingsPath, output, snapshot, &error)) {
        err << "tolvane: " << error << '\n';
        return 2;
    }

    if (evaluation.code != 0) {
        err << "tolvane: " << evaluationErrorText(evaluation) << '\n';
        return 1;
    }
    return 0;
}
