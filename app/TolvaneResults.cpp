// The main window's result commands: Load Result, the step display of the animation panel and
// the live step of a running analysis.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include "ModelRecord.h"
#include "ResultCheck.h"
#include "ResultDisplay.h"
#include "ResultStep.h"
#include "RunLogView.h"
#include "RunRecord.h"
#include "Tolvane.h"
#include "TolvaneDiagrams.h"
#include "vtkdraw.h"
#include "zor_result_panel.h"
#include "zor_result_read_panel.h"
#include "zorloadresult.h"
#include "zortcpserver.h"

namespace {

QString resultPath(const QString& dir, const QString& file)
{
    return dir + QStringLiteral("/TolvaneResult/") + file;
}

}  // namespace

void Tolvane::on_actionLoad_Result_triggered()
{
    nodeDispLines.clear();
    nodeReactionLines.clear();
    elementLines.clear();
    nodeDisp456Lines.clear();
    nodeReaction456Lines.clear();
    if (fileName.isEmpty() || fileDir.isEmpty())
        return;
    const QString recordPath = fileDir + QLatin1Char('/') + runRecordFileName();
    const RunRecord record = readRunRecord(recordPath);
    if (!record.readable) {
        // Loading nothing without a word would look like a broken command.
        const QFileInfo info(recordPath);
        dialogs.information(
            this, QStringLiteral("Load Result"),
            !info.exists() ? QStringLiteral("No results for %1 yet: run the analysis first.").arg(fileName)
            : info.isDir() ? QStringLiteral("Cannot read %1: it is a directory.").arg(recordPath)
                           : QStringLiteral("Cannot read %1.").arg(recordPath));
        return;
    }
    if (record.digest != scriptDigest(fileDir + QLatin1Char('/') + fileName)) {
        dialogs.critical(this, QStringLiteral("Load Result"), resultsOfAnotherScriptText());
        return;
    }
    resultReadPanel = new zor_result_read_panel(this);
    connect(resultReadPanel, &zor_result_read_panel::outputReadSignal, this, &Tolvane::outputReadSlot);
    resultReadPanel->setModal(true);
    resultReadPanel->loadRunRecord(fileDir);
    dialogs.exec(resultReadPanel);
}

void Tolvane::outputReadSlot(QStringList selection)
{
    while (selection.size() < 5)
        selection << QString();
    const QString dispPath = resultPath(fileDir, QStringLiteral("NodeDisp.file"));
    const QString reactionPath = resultPath(fileDir, QStringLiteral("NodeReaction.file"));
    for (const QString& path : {dispPath, reactionPath}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || QFileInfo(path).isDir()) {
            dialogs.critical(
                this, QStringLiteral("Load Result"),
                QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
            return;
        }
    }
    step.reset();  // what it keeps belongs to the lines loaded before
    loader->loadNodeDisp(dispPath, nodeDispLines);
    loader->loadNodeReaction(reactionPath, nodeReactionLines);
    // DOFs 4 to 6 of 6-DOF models; runs before they were recorded have none.
    loader->loadNodeDisp(resultPath(fileDir, QStringLiteral("NodeDisp456.file")), nodeDisp456Lines);
    loader->loadNodeReaction(resultPath(fileDir, QStringLiteral("NodeReaction456.file")),
                             nodeReaction456Lines);
    const int nodes = modelRecord()->nodeTags.size();
    QStringList problems;
    for (const ResultCheck& check :
         {checkNodeLines(QStringLiteral("NodeDisp.file"), nodeDispLines, nodes),
          checkNodeLines(QStringLiteral("NodeReaction.file"), nodeReactionLines, nodes)}) {
        if (!check.usable) {
            dialogs.critical(this, QStringLiteral("Load Result"), check.problem);
            return;
        }
        if (!check.problem.isEmpty())
            problems << check.problem;
    }
    if (!problems.isEmpty())
        dialogs.warning(this, QStringLiteral("Load Result"), problems.join(QLatin1Char('\n')));
    loader->loadElementResult(
        resultPath(fileDir, QStringLiteral("%1_%2.file").arg(selection[0], selection[1])), elementLines,
        selection[0], selection[1], selection[2], selection[3], selection[4]);
    scene->setScalarRange(loader->contourMin(), loader->contourMax());
    if (!elementLines.isEmpty())
        scene->showScalarBar();
    resultPanel = new zor_result_panel(this);
    connect(resultPanel, &zor_result_panel::sliderChangedSignal, this, &Tolvane::sliderChangedSlot);
    connect(resultPanel, &zor_result_panel::exportAnimationSignal, this, &Tolvane::exportAnimationSlot);
    resultPanel->setStepCount(nodeDispLines.size());
    resultPanel->show();
}

void Tolvane::sliderChangedSlot(int value, double sFactor)
{
    scaleFactor = sFactor;
    if (evaluating)
        return;
    if (!step)
        step = std::make_unique<ResultStep>();
    if (!prepareResultStep(*loader, nodeDispLines, nodeReactionLines, elementLines, value, step.get()))
        return;
    // Marked before drawing: the marks share the points the step moves.
    if (!step->heldNodes.isEmpty() || heldNodesMarked)
        markHeldNodes(*scene, step->heldNodes);
    heldNodesMarked = !step->heldNodes.isEmpty();
    showDeformed(*scene, scaleFactor, step->x, step->y, step->z, step->s2, step->s3, step->s4, step->s8);
    ui->statusBar->showMessage(
        step->notNumbers > 0 ? notNumbersText(value, step->notNumbers)
                             : QStringLiteral("Current Step: %1 | Domain Time: %2").arg(value).arg(step->time));
    diagramCommands->followStep(value);

    shownStep = value;
    emit monitorRefreshNodeDispTracer(double(value));
    // The series is read at the domain time, so its marker sits at the step's own time.
    emit monitorRefreshTimeSeriesTracer(step->time);
    emit resultStepShown(value);
}

void Tolvane::tcpReceiveData(double domainTime, QVector<double> x, QVector<double> y, QVector<double> z)
{
    const int n = modelRecord()->nodeTags.size();
    if (evaluating || x.size() != n || y.size() != n || z.size() != n)
        return;
    showDeformed(*scene, scaleFactor, x, y, z, {}, {}, {}, {});
    ui->statusBar->showMessage(QStringLiteral("Domain Time: %1").arg(domainTime));
}

QString Tolvane::startLiveServer()
{
    // A port taken at the first live run may be free at a later one.
    if (liveServer && !liveServer->isListening()) {
        delete liveServer;
        liveServer = nullptr;
    }
    if (!liveServer) {
        liveServer = new zortcpserver(zortcpserver::defaultPort, this);
        connect(liveServer, &zortcpserver::tclSendData, this, &Tolvane::tcpReceiveData);
        connect(liveServer, &zortcpserver::streamRefused, this, [this](const QString& problem) {
            const QString text = QStringLiteral("Live view: %1; nothing of it is drawn.").arg(problem);
            ui->runLog->appendNote(text);
            ui->statusBar->showMessage(text, 10000);
        });
    }
    liveServer->setNodeCount(modelRecord()->nodeTags.size());
    if (liveServer->isListening())
        return QString();
    return QStringLiteral("live view off: cannot listen on 127.0.0.1: %1").arg(liveServer->errorString());
}
