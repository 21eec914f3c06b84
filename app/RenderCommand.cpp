// --render: interpret a script as the application does and write the picture of its model
// through the same scene builder and capture, without showing a window; with --step, the
// picture of a result step as the animation shows it.
#include <QFileInfo>
#include <QTextStream>

#include "BatchCommands.h"
#include "CaptureFormat.h"
#include "DiagramDisplay.h"
#include "LocalAxes.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "OffscreenSnapshot.h"
#include "ResultDisplay.h"
#include "ResultFile.h"
#include "ResultParsing.h"
#include "ResultStep.h"
#include "RunRecord.h"
#include "ScriptEvaluation.h"
#include "SettingsStore.h"
#include "vtkdraw.h"
#include "zor_result_read_panel.h"
#include "zorloadresult.h"

namespace {

struct StepFailure {
    int status = 0;
    QString reason;
};

// Loads the results of the script's last run as Load Result would and prepares the step.
StepFailure loadStep(const RenderOptions& options, const QFileInfo& script, zorloadresult& loader,
                     ResultStep* step, int* stepNumber)
{
    const QString dir = script.absolutePath();
    const RunRecord record = readRunRecord(dir + QLatin1Char('/') + runRecordFileName());
    if (!record.readable)
        return {2,
                QStringLiteral("no run record %1/%2: run the analysis first").arg(dir, runRecordFileName())};
    if (record.digest != scriptDigest(script.absoluteFilePath()))
        return {1, resultsOfAnotherScriptText()};

    const QString results = dir + QStringLiteral("/TolvaneResult/");
    QStringList disp, reactions, elements;
    loader.loadNodeDisp(results + QStringLiteral("NodeDisp.file"), disp);
    loader.loadNodeReaction(results + QStringLiteral("NodeReaction.file"), reactions);
    if (!options.result.isEmpty()) {
        const QString type = options.result.section(QLatin1Char(':'), 0, 0);
        const QString response = options.result.section(QLatin1Char(':'), 1);
        bool recorded = false;
        for (const QStringList& setting : record.settings)
            recorded = recorded || (setting.value(0) == type && setting.mid(1).contains(response));
        if (!recorded)
            return {2, QStringLiteral("the last run did not record %1").arg(options.result)};
        QString sample;
        readFirstResultLine(results + QStringLiteral("%1_%2S.file").arg(type, response), &sample);
        const int columns = sampleColumns(sample);
        const int nodes = firstNodeCount(*modelRecord(), type);
        if (options.pointAttribute && (nodes == 0 || columns % nodes != 0))
            return {2, QStringLiteral("%1 writes %2 values per element: no values per point")
                           .arg(options.result)
                           .arg(columns)};
        const int widest = options.pointAttribute ? columns / nodes : columns;
        if (options.column < 1 || options.column > widest)
            return {2,
                    QStringLiteral("--column must be from 1 to %1 for %2").arg(widest).arg(options.result)};
        loader.loadElementResult(
            results + QStringLiteral("%1_%2.file").arg(type, response), elements, type, response,
            options.pointAttribute ? QStringLiteral("Point Attribute") : QStringLiteral("Element Attribute"),
            QString::number(columns), QString::number(options.column));
    }
    const int count = disp.size();
    const int wanted = options.step < 0 ? count : options.step;
    if (wanted < 1 || wanted > count)
        return {2, QStringLiteral("step %1 is not among the %2 steps of the results").arg(wanted).arg(count)};
    *stepNumber = wanted;
    if (!prepareResultStep(loader, disp, reactions, elements, wanted, step))
        return {2, QStringLiteral("step %1 does not hold three values per node of the model").arg(wanted)};
    return {};
}

}  // namespace

int renderMain(const RenderOptions& options)
{
    QTextStream err(stderr);
    // Evaluating the script moves the working directory to the script's folder.
    const QString output = QFileInfo(options.output).absoluteFilePath();
    const QFileInfo script(options.script);
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
    const EvaluationResult evaluation = evaluateScriptFile(interpreter, script.absoluteFilePath());
    if (!evaluation.readable) {
        err << "tolvane: cannot read " << options.script << '\n';
        return 2;
    }

    SnapshotOptions snapshot;
    snapshot.view = options.view;
    snapshot.perspective = options.perspective;
    snapshot.labels = options.labels;
    snapshot.size = options.size;
    zorloadresult loader;
    ResultStep step;
    int stepNumber = 0;
    if (options.step != 0) {
        const StepFailure failure = loadStep(options, script, loader, &step, &stepNumber);
        if (failure.status != 0) {
            err << "tolvane: " << failure.reason << '\n';
            return failure.status;
        }
        QVector<DiagramCurve> curves;
        double diagramScale = 1.0;
        if (options.drawDiagram) {
            QVector<DiagramResults::Member> members;
            int diagramStep = 0, status = 0;
            QString why;
            if (!loadDiagramStep(script, options.step, &members, &diagramStep, &why, &status)) {
                err << "tolvane: " << why << '\n';
                return status;
            }
            double largest = 0.0;
            curves = diagramCurves(members, options.diagramComponent, false, &largest);
            diagramScale = automaticDiagramScale(largest, MemberGeometry(*modelRecord()).extent());
        }
        const bool contour = !options.result.isEmpty();
        snapshot.decorate = [&loader, &step, &options, contour, curves, diagramScale](vtkdraw& scene) {
            scene.setScalarRange(loader.contourMin(), loader.contourMax());
            if (contour)
                scene.showScalarBar();
            markHeldNodes(scene, step.heldNodes);
            showDeformed(scene, options.scale, step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
            if (!curves.isEmpty())
                scene.showDiagram(curves, diagramScale);
        };
    }
    QString error;
    if (!renderSnapshot(settingsPath, output, snapshot, &error)) {
        err << "tolvane: " << error << '\n';
        return 2;
    }

    // The picture is written all the same: it shows where the values ran out.
    if (step.notNumbers > 0) {
        err << "tolvane: " << notNumbersText(stepNumber, step.notNumbers) << '\n';
        return 1;
    }
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
