// --render: interpret a script as the application does and write the picture of its model
// through the same scene builder and capture, without showing a window; with --step, the
// picture of a result step as the animation shows it (legend and first scale included), or with
// --mode a mode shape as the Modes window shows it; with --steps, an animation of a range.
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

#include "AnimationExport.h"
#include "BatchCommands.h"
#include "CaptureFormat.h"
#include "ComponentNames.h"
#include "DeformationScale.h"
#include "DiagramDisplay.h"
#include "LocalAxes.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "OffscreenSnapshot.h"
#include "ResultDisplay.h"
#include "ResultFile.h"
#include "ResultParsing.h"
#include "ResultStep.h"
#include "ResultTexts.h"
#include "RunRecord.h"
#include "ScriptEvaluation.h"
#include "SettingsStore.h"
#include "TolvaneModes.h"
#include "UndeformedGhost.h"
#include "VideoEncoder.h"
#include "vtkdraw.h"
#include "zor_result_read_panel.h"
#include "zorloadresult.h"

namespace {

struct StepFailure {
    int status = 0;
    QString reason;
};

struct LoadedResults {
    QStringList disp, reactions, elements;
    QString title;  // of the legend, when a response colours the picture
};

QString attributeText(const QString& word)
{
    if (word == QLatin1String("point"))
        return zor_result_read_panel::pointText();
    if (word == QLatin1String("node"))
        return zorloadresult::nodeAveragedText();
    return zor_result_read_panel::elementText();
}

ContourDisplay contourDisplay(const RenderOptions& options)
{
    ContourDisplay display;
    display.value = ContourValue(std::max(0, int(contourValueWords().indexOf(options.envelope))));
    return display;
}

// Loads the chosen element response as Load Result would, its component found by name or number.
StepFailure loadContour(const RenderOptions& options, const RunRecord& record, const QString& results,
                        zorloadresult& loader, LoadedResults* loaded)
{
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
    const ComponentNames names = componentNames(response, nodes, modelRecord()->ndm, columns);
    const QString attribute = attributeText(options.attribute);
    if (!attributeChoices(names, nodes).contains(attribute))
        return {2, QStringLiteral("%1 writes %2 values per element: no values per %3")
                       .arg(options.result)
                       .arg(columns)
                       .arg(nodes == 0 ? QStringLiteral("node of this model") : QStringLiteral("element node"))};
    const QVector<ComponentName>& list = attributeComponents(names, attribute);
    const int column = findComponent(list, options.component);
    if (column == 0)
        return {2, QStringLiteral("%1 has no component \"%2\" %3; it has %4")
                       .arg(options.result, options.component,
                            options.attribute == QLatin1String("element") ? QStringLiteral("per element")
                                                                          : QStringLiteral("per element node"),
                            componentNameList(list))};
    loader.loadElementResult(results + QStringLiteral("%1_%2.file").arg(type, response), loaded->elements, type,
                             response, attribute, QString::number(columns), QString::number(column));
    loaded->title = legendTitle(type, response, attribute, list[column - 1].symbol,
                                contourDisplay(options).value, loaded->disp.size());
    return {};
}

// Loads the results of the script's last run as Load Result would.
StepFailure loadResults(const RenderOptions& options, const QFileInfo& script, zorloadresult& loader,
                        LoadedResults* loaded)
{
    const QString dir = script.absolutePath();
    const RunRecord record = readRunRecord(dir + QLatin1Char('/') + runRecordFileName());
    if (!record.readable)
        return {2,
                QStringLiteral("no run record %1/%2: run the analysis first").arg(dir, runRecordFileName())};
    if (record.digest != scriptDigest(script.absoluteFilePath()))
        return {1, resultsOfAnotherScriptText()};

    const QString results = dir + QStringLiteral("/TolvaneResult/");
    loader.loadNodeDisp(results + QStringLiteral("NodeDisp.file"), loaded->disp);
    loader.loadNodeReaction(results + QStringLiteral("NodeReaction.file"), loaded->reactions);
    if (!options.result.isEmpty())
        return loadContour(options, record, results, loader, loaded);
    return {};
}

// The scale given, or the one the Animation window starts with.
double stepScale(const RenderOptions& options, const zorloadresult& loader)
{
    return options.scaleGiven ? options.scale
                              : automaticScale(modelExtent(*modelRecord()), loader.largestDisplacement());
}

// The step --step names, prepared; *SHOWN is its number, *TITLE the legend's.
StepFailure loadStep(const RenderOptions& options, const QFileInfo& script, zorloadresult& loader,
                     ResultStep* step, int* shown, QString* title)
{
    LoadedResults loaded;
    const StepFailure failure = loadResults(options, script, loader, &loaded);
    if (failure.status != 0)
        return failure;
    *title = loaded.title;
    const int count = loaded.disp.size();
    const int wanted = options.step < 0 ? count : options.step;
    if (wanted < 1 || wanted > count)
        return {2, QStringLiteral("step %1 is not among the %2 steps of the results").arg(wanted).arg(count)};
    *shown = wanted;
    if (!prepareResultStep(loader, loaded.disp, loaded.reactions, loaded.elements, wanted, step,
                           contourDisplay(options)))
        return {2, QStringLiteral("step %1 does not hold three values per node of the model").arg(wanted)};
    return {};
}

// --steps: the frames of the range, as the Animation window's export writes them.
StepFailure writeAnimation(const RenderOptions& options, const QFileInfo& script, const QString& settingsPath,
                           const QString& output)
{
    zorloadresult loader;
    LoadedResults loaded;
    const StepFailure failure = loadResults(options, script, loader, &loaded);
    if (failure.status != 0)
        return failure;
    const int count = loaded.disp.size();
    const int end = options.stepsEnd < 0 ? count : std::min(options.stepsEnd, count);
    if (options.stepsStart > end)
        return {2, QStringLiteral("step %1 is not among the %2 steps of the results")
                       .arg(options.stepsStart)
                       .arg(count)};
    AnimationJob job;
    job.output = output;
    job.settingsPath = settingsPath;
    job.view.view = options.view;
    job.view.perspective = options.perspective;
    job.view.labels = options.labels;
    job.view.size = options.size;
    job.fps = options.fps;
    job.steps = animationSteps(options.stepsStart, end, options.stepsInterval);
    job.scale = stepScale(options, loader);
    job.loader = &loader;
    job.disp = &loaded.disp;
    job.reaction = &loaded.reactions;
    job.element = &loaded.elements;
    const AnimationOutcome outcome = exportAnimation(job);
    if (!outcome.written)
        return {2, outcome.error};
    return {};
}

// The picture of the model, or of a --step.
StepFailure writePicture(const RenderOptions& options, const QFileInfo& script, const QString& settingsPath,
                         const QString& output)
{
    SnapshotOptions snapshot;
    snapshot.view = options.view;
    snapshot.perspective = options.perspective;
    snapshot.labels = options.labels;
    snapshot.size = options.size;
    zorloadresult loader;
    ResultStep step;
    int shown = 0;
    // The outline must outlive the picture's drawing.
    UndeformedGhost ghost;
    if (options.mode > 0) {
        QVector<double> x, y, z;
        double amplitude = 0.0;
        QString why;
        int status = 0;
        if (!loadModeShape(script, options.mode, options.scaleGiven ? options.scale : 0.0, &x, &y, &z, &amplitude,
                           &why, &status))
            return {status, why};
        snapshot.decorate = [&ghost, amplitude, x, y, z](vtkdraw& scene) {
            showModeShape(scene, &ghost, amplitude, x, y, z);
        };
    } else if (options.step != 0) {
        QString title;
        const StepFailure failure = loadStep(options, script, loader, &step, &shown, &title);
        if (failure.status != 0)
            return failure;
        QVector<DiagramCurve> curves;
        double diagramScale = 1.0;
        if (options.drawDiagram) {
            QVector<DiagramResults::Member> members;
            int diagramStep = 0, status = 0;
            QString why;
            if (!loadDiagramStep(script, options.step, &members, &diagramStep, &why, &status))
                return {status, why};
            double largest = 0.0;
            curves = diagramCurves(members, options.diagramComponent, false, &largest);
            diagramScale = automaticDiagramScale(largest, MemberGeometry(*modelRecord()).extent());
        }
        const bool contour = !options.result.isEmpty();
        const double scale = stepScale(options, loader);
        snapshot.decorate = [&loader, &step, title, scale, contour, curves, diagramScale](vtkdraw& scene) {
            scene.setScalarRange(loader.contourMin(), loader.contourMax());
            if (contour) {
                scene.setLegendTitle(title);
                scene.showScalarBar();
            }
            markHeldNodes(scene, step.heldNodes);
            showResultStep(scene, scale, step);
            if (!curves.isEmpty())
                scene.showDiagram(curves, diagramScale);
        };
    }
    QString error;
    if (!renderSnapshot(settingsPath, output, snapshot, &error))
        return {2, error};
    // The picture is written all the same: it shows where the values ran out.
    if (step.notNumbers > 0)
        return {1, notNumbersText(shown, step.notNumbers)};
    return {};
}

}  // namespace

int renderMain(const RenderOptions& options)
{
    QTextStream err(stderr);
    // Evaluating the script moves the working directory to the script's folder.
    const QString output = QFileInfo(options.output).absoluteFilePath();
    const QFileInfo script(options.script);
    const bool animation = options.stepsStart > 0;
    if (animation && VideoEncoder::formatFor(output) == VideoEncoder::Format::Unsupported) {
        err << "tolvane: cannot save \"" << options.output << "\": the animation type must be .mp4 or .gif\n";
        return 2;
    }
    if (!animation && captureFormatFor(output) == CaptureFormat::Unsupported) {
        err << "tolvane: cannot save \"" << options.output
            << "\": the picture type must be .png, .bmp or .jpg\n";
        return 2;
    }

    // Like start-up: a missing settings file is written with the defaults first.
    const QString settingsPath = SettingsStore::settingsFilePath();
    if (!QFileInfo(settingsPath).isFile() && !SettingsStore::writeDefaults(settingsPath))
        err << "tolvane: cannot write the settings file " << settingsPath << '\n';

    ModelInterpreter interpreter(options.trust);
    const EvaluationResult evaluation = evaluateScriptFile(interpreter, script.absoluteFilePath());
    if (!evaluation.readable) {
        err << "tolvane: cannot read " << options.script << '\n';
        return 2;
    }

    const StepFailure failure = animation ? writeAnimation(options, script, settingsPath, output)
                                          : writePicture(options, script, settingsPath, output);
    if (failure.status != 0) {
        err << "tolvane: " << failure.reason << '\n';
        return failure.status;
    }
    return reportEvaluation(evaluation);
}
