// The main window's result commands: Load Result (offered as soon as a run finished well), the
// step display of the animation panel with its legend and the undeformed outline, the values at a
// picked item, and the live step of a running analysis.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <QVTKOpenGLNativeWidget.h>

#include "ComponentNames.h"
#include "DeformationScale.h"
#include "ModelRecord.h"
#include "ResultCheck.h"
#include "ResultDisplay.h"
#include "ResultStep.h"
#include "ResultTexts.h"
#include "RunLogView.h"
#include "RunRecord.h"
#include "Tolvane.h"
#include "TolvaneDiagrams.h"
#include "vtkdraw.h"
#include "zor_result_panel.h"
#include "zor_result_read_panel.h"
#include "zorloadresult.h"
#include "zorcontrl.h"
#include "zortcpserver.h"

namespace {

QString resultPath(const QString& dir, const QString& file)
{
    return dir + QStringLiteral("/TolvaneResult/") + file;
}

// The legend's title for the selection texts of the result choice.
QString titleOf(const QStringList& selection, int steps)
{
    const int columns = selection[3].toInt();
    const ComponentNames names =
        componentNames(selection[1], firstNodeCount(*modelRecord(), selection[0]), modelRecord()->ndm, columns);
    const QVector<ComponentName>& list = attributeComponents(names, selection[2]);
    const int column = selection[4].toInt();
    const QString symbol = column >= 1 && column <= list.size() ? list[column - 1].symbol
                                                                : QStringLiteral("value %1").arg(column);
    const int value = std::max(0, int(contourValueWords().indexOf(selection.value(5))));
    return legendTitle(selection[0], selection[1], selection[2], symbol, ContourValue(value), steps);
}

}  // namespace

void Tolvane::setUpResults()
{
    // After the window's own report of the run's end.
    connect(runController, &zorcontrl::solverFinished, this,
            [this](int exitCode, bool crashed, bool stopped, double) { offerResults(exitCode, crashed, stopped); });
    connect(runController, &zorcontrl::solverStarted, this, [this] { offerResults(-1, false, true); });
    statusLoadButton = new QToolButton(ui->statusBar);
    statusLoadButton->setDefaultAction(ui->actionLoad_Result);
    statusLoadButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ui->statusBar->addPermanentWidget(statusLoadButton);
    statusLoadButton->hide();
    connect(ui->loadResultButton, &QPushButton::clicked, ui->actionLoad_Result, &QAction::trigger);

    valuePanel = new QLabel(ui->qvtkwidget);
    valuePanel->setObjectName(QStringLiteral("valuePanel"));
    valuePanel->setAutoFillBackground(true);
    valuePanel->setPalette(QPalette(QColor(255, 255, 225)));
    valuePanel->setFrameShape(QFrame::Box);
    valuePanel->setMargin(4);
    valuePanel->move(8, 8);
    valuePanel->hide();
}

void Tolvane::offerResults(int exitCode, bool crashed, bool stopped)
{
    const bool offered = exitCode == 0 && !crashed && !stopped;
    ui->loadResultButton->setVisible(offered);
    statusLoadButton->setVisible(offered);
    if (offered)
        ui->statusBar->showMessage(ui->statusBar->currentMessage() + QStringLiteral(" - results ready: Load Result"),
                                   15000);
}

void Tolvane::on_actionUndeformed_Shape_triggered()
{
    scene->setUndeformedGhost(ui->actionUndeformed_Shape->isChecked());
    scene->render();
}

void Tolvane::showPickedValues()
{
    const int s = drawnStep;
    // A refresh shows the plain model again, whatever was loaded.
    if (pickedKind == 0 || s < 1 || s > nodeDispLines.size() || !scene->resultShown()) {
        valuePanel->hide();
        return;
    }
    const ModelRecord& model = *modelRecord();
    PickedValues values;
    if (pickedKind == PickedItem::Node)
        values = nodeValues(model, pickedEntry, nodeDispLines[s - 1], nodeReactionLines.value(s - 1), s);
    else if (pickedEntry < model.elementTypes.size() && model.elementTypes[pickedEntry] == loader->elementType() &&
             s <= elementLines.size())
        values = elementValues(model, pickedEntry, pickedBlock, loader->response(),
                               loader->columnsPerElement().toInt(), elementLines[s - 1], s);
    if (values.title.isEmpty()) {
        valuePanel->hide();
        return;
    }
    ui->statusBar->showMessage(values.statusText());
    valuePanel->setText(values.panelText());
    valuePanel->adjustSize();
    valuePanel->show();
    valuePanel->raise();
}

void Tolvane::on_actionLoad_Result_triggered()
{
    ui->loadResultButton->hide();
    statusLoadButton->hide();
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
    while (selection.size() < 7)
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
    loader->loadNodeRotations(resultPath(fileDir, QStringLiteral("NodeDisp456.file")), nodeDisp456Lines);
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
    contourValue = std::max(0, int(contourValueWords().indexOf(selection[5])));
    envelopeUndeformed = selection[6] == QLatin1String("undeformed");
    if (!elementLines.isEmpty()) {
        scene->setLegendTitle(titleOf(selection, elementLines.size()));
        scene->showScalarBar();
    }
    pickedKind = 0;
    valuePanel->hide();
    resultPanel = new zor_result_panel(this);
    connect(resultPanel, &zor_result_panel::sliderChangedSignal, this, &Tolvane::sliderChangedSlot);
    connect(resultPanel, &zor_result_panel::exportAnimationSignal, this, &Tolvane::exportAnimationSlot);
    // An envelope is one picture: the steps do not change it.
    resultPanel->setStepsApply(ContourValue(contourValue) == ContourValue::Step || elementLines.isEmpty());
    resultPanel->setStepCount(nodeDispLines.size(),
                              automaticScale(modelExtent(*modelRecord()), loader->largestDisplacement()));
    resultPanel->show();
}

void Tolvane::sliderChangedSlot(int value, double sFactor)
{
    scaleFactor = sFactor;
    if (evaluating)
        return;
    if (!step)
        step = std::make_unique<ResultStep>();
    ContourDisplay display = resultPanel ? resultPanel->contourDisplay() : ContourDisplay();
    display.value = ContourValue(contourValue);
    const bool envelope = display.value != ContourValue::Step && !elementLines.isEmpty();
    // An envelope is drawn on the last step's shape, or on the model itself.
    const int shown = envelope ? int(nodeDispLines.size()) : value;
    if (!prepareResultStep(*loader, nodeDispLines, nodeReactionLines, elementLines, shown, step.get(), display))
        return;
    // Marked before drawing: the marks share the points the step moves.
    if (!step->heldNodes.isEmpty() || heldNodesMarked)
        markHeldNodes(*scene, step->heldNodes);
    heldNodesMarked = !step->heldNodes.isEmpty();
    showResultStep(*scene, envelope && envelopeUndeformed ? 0.0 : scaleFactor, *step);
    drawnStep = shown;
    ui->statusBar->showMessage(
        step->notNumbers > 0 ? notNumbersText(shown, step->notNumbers)
                             : QStringLiteral("Current Step: %1 | Domain Time: %2").arg(shown).arg(step->time));
    diagramCommands->followStep(value);

    shownStep = value;
    showPickedValues();
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
