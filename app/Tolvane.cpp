#include "Tolvane.h"

#include <QVTKOpenGLNativeWidget.h>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "AboutDialog.h"
#include "BatchCommands.h"
#include "CodeSnippets.h"
#include "EvaluationGuard.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "ResultStep.h"
#include "RunLogView.h"
#include "RunRecord.h"
#include "ScriptEvaluation.h"
#include "TolvaneDiagrams.h"
#include "TolvaneModes.h"
#include "SettingsStore.h"
#include "tcleditor.h"
#include "vtkdraw.h"
#include "zor_options_panel.h"
#include "zor_output_panel.h"
#include "zorcontrl.h"
#include "zorloadresult.h"
#include "zortcpserver.h"

namespace {

Tolvane::Dialogs realDialogs()
{
    Tolvane::Dialogs d;
    d.openFileName = [](QWidget* p, const QString& c, const QString& dir, const QString& f) {
        return QFileDialog::getOpenFileName(p, c, dir, f);
    };
    d.saveFileName = [](QWidget* p, const QString& c, const QString& dir, const QString& f) {
        return QFileDialog::getSaveFileName(p, c, dir, f);
    };
    d.warning = [](QWidget* p, const QString& title, const QString& text) {
        QMessageBox::warning(p, title, text);
    };
    d.information = [](QWidget* p, const QString& title, const QString& text) {
        QMessageBox::information(p, title, text, QMessageBox::Ok);
    };
    d.critical = [](QWidget* p, const QString& title, const QString& text) {
        QMessageBox::critical(p, title, text, QMessageBox::Ok);
    };
    d.question = [](QWidget* p, const QString& title, const QString& text) {
        return QMessageBox::question(p, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    d.saveFirst = [](QWidget* p, const QString& title, const QString& text) {
        return QMessageBox::question(p, title, text, QMessageBox::Save | QMessageBox::Cancel,
                                     QMessageBox::Save) == QMessageBox::Save;
    };
    d.exec = [](QDialog* dialog) { return dialog->exec(); };
    d.progress = [](QWidget* p, const QString& text, int total) {
        auto dialog = std::make_shared<QProgressDialog>(text, QStringLiteral("Cancel"), 0, total, p);
        dialog->setWindowTitle(QStringLiteral("Progress"));
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setMinimumDuration(0);
        dialog->setValue(0);
        // Setting the value of a modal progress dialog lets it repaint and take the Cancel click.
        return std::function<bool(int)>([dialog](int done) {
            dialog->setValue(done);
            return !dialog->wasCanceled();
        });
    };
    return d;
}

}  // namespace

Tolvane::Tolvane(QWidget* parent) : QMainWindow(parent), dialogs(realDialogs())
{
    ui = new TolvaneForm;
    fileName.clear();
    fileDir.clear();
    ui->setupUi(this);
    setCentralWidget(ui->mdiArea);
    ui->mainToolBar->setIconSize(QSize(32, 32));
    ui->viewToolBar->setIconSize(QSize(32, 32));
    firstShow = true;

    // Constructing the dialog writes the settings file when it is missing.
    optionsPanel = new zor_options_panel(SettingsStore::settingsFilePath(), this);

    scene = new vtkdraw(ui->qvtkwidget->renderWindow(), nullptr);
    runController = new zorcontrl(this);
    loader = new zorloadresult(this);
    connect(runController, &zorcontrl::solverStarted, this, &Tolvane::solverStarted);
    connect(runController, &zorcontrl::solverOutput, ui->runLog, &RunLogView::appendOutput);
    connect(runController, &zorcontrl::solverFinished, this, &Tolvane::solverFinished);
    connect(runController, &zorcontrl::solverFailedToStart, this, &Tolvane::solverFailedToStart);
    scaleFactor = 1.0;
    fileName = QString();
    fileDir = QString();
    interpreter = std::make_unique<ModelInterpreter>();
    optionsPanel->close();
    buildCodeSnippetMenu();
    setUpInspection();
    setUpResults();
    diagramCommands = new DiagramCommands(this);
    modesCommands = new ModesCommands(this);
}

Tolvane::~Tolvane()
{
    // The scene holds the 3-D widget's render window, so it goes before the widgets.
    delete scene;
    delete ui;
}

void Tolvane::showEvent(QShowEvent* event)
{
    if (firstShow) {
        on_actionNew_Tcl_File_triggered();
        firstShow = false;
    }
    event->accept();
}

void Tolvane::closeEvent(QCloseEvent* event)
{
    // The run first: No must leave the window as it was, editors included.
    const bool running = runController->isRunning();
    if (running && !dialogs.question(this, QStringLiteral("Tolvane"),
                                     QStringLiteral("An analysis is running. Stop it and quit?"))) {
        event->ignore();
        return;
    }
    // Every editor gets its save prompt; one Cancel keeps the application, and the run, going.
    ui->mdiArea->closeAllSubWindows();
    if (!ui->mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (running)
        runController->stopSolverAndWait();
    event->accept();
}

// --- editors -----------------------------------------------------------------

tcleditor* Tolvane::activeEditor() const
{
    if (QMdiSubWindow* sub = ui->mdiArea->currentSubWindow())
        return qobject_cast<tcleditor*>(sub->widget());
    return nullptr;
}

tcleditor* Tolvane::createMdiChild()
{
    auto* child = new tcleditor;
    ui->mdiArea->addSubWindow(child);
    connect(child, &tcleditor::showInModelRequested, this, &Tolvane::showLineInModel);
    return child;
}

QMdiSubWindow* Tolvane::findMdiChild(const QString& path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (QMdiSubWindow* sub : ui->mdiArea->subWindowList()) {
        auto* editor = qobject_cast<tcleditor*>(sub->widget());
        if (editor && editor->currentFile() == canonical)
            return sub;
    }
    return nullptr;
}

void Tolvane::on_actionNew_Tcl_File_triggered()
{
    tcleditor* child = createMdiChild();
    child->newFile();
    child->showMaximized();
}

void Tolvane::on_actionSave_triggered()
{
    if (tcleditor* editor = activeEditor())
        if (editor->save())
            ui->statusBar->showMessage(QStringLiteral("Save Success!"), 2000);
}

void Tolvane::on_actionSave_As_triggered()
{
    if (tcleditor* editor = activeEditor())
        if (editor->saveAs())
            ui->statusBar->showMessage(QStringLiteral("Save Success!"), 2000);
}

void Tolvane::on_actionTile_Windows_triggered()
{
    ui->mdiArea->tileSubWindows();
}
void Tolvane::on_actionCascade_Windows_triggered()
{
    ui->mdiArea->cascadeSubWindows();
}
void Tolvane::on_actionClose_Window_triggered()
{
    ui->mdiArea->closeActiveSubWindow();
}
void Tolvane::on_actionClose_All_Windows_triggered()
{
    ui->mdiArea->closeAllSubWindows();
}
void Tolvane::on_actionNext_Window_triggered()
{
    ui->mdiArea->activateNextSubWindow();
}
void Tolvane::on_actionPrevious_Window_triggered()
{
    ui->mdiArea->activatePreviousSubWindow();
}

// --- open and interpret --------------------------------------------------------

void Tolvane::on_actionOpen_Tcl_File_triggered()
{
    const QString path = dialogs.openFileName(this, QStringLiteral("Open File..."), QStringLiteral("."),
                                              QStringLiteral("Tcl File (*.tcl)"));
    if (path.isEmpty())
        return;
    openScript(path);
}

void Tolvane::openScriptAtStart(const QString& path)
{
    openScript(path);
}

void Tolvane::openScript(const QString& path)
{
    if (QMdiSubWindow* existing = findMdiChild(path)) {
        ui->mdiArea->setActiveSubWindow(existing);
    } else {
        tcleditor* child = createMdiChild();
        if (child->loadFile(path)) {
            ui->statusBar->showMessage(QStringLiteral("Success!"), 2000);
            child->showMaximized();
        } else {
            child->parentWidget()->close();
            // Interpreting whatever editor is active instead would report another script's
            // result as if the chosen file had been read.
            dialogs.warning(this, QStringLiteral("Open Tcl File"),
                            QStringLiteral("Cannot read file %1.").arg(QDir::toNativeSeparators(path)));
            return;
        }
    }
    on_actionRefresh_Tcl_File_triggered();
}

void Tolvane::on_actionRefresh_Tcl_File_triggered()
{
    if (evaluating)
        return;
    scene->updateBackground();
    scene->render();

    tcleditor* editor = activeEditor();
    if (!editor)
        return;
    // A never-saved script has only its "new N" name: nothing on disk to evaluate,
    // and the title and the last script's name stay as they were.
    const QString path = editor->isUntitledFile() ? QString() : editor->currentFile();
    if (path.isEmpty() || !saveBeforeEvaluating(path, QStringLiteral("Refresh Tcl File")))
        return;
    interpretScript(path);
}

bool Tolvane::saveBeforeEvaluating(const QString& path, const QString& command)
{
    QMdiSubWindow* sub = findMdiChild(path);
    auto* editor = sub ? qobject_cast<tcleditor*>(sub->widget()) : nullptr;
    if (!editor || !editor->document()->isModified())
        return true;
    // The file on disk is what gets evaluated and run; edits only on screen would silently not count.
    const QString name = QFileInfo(path).fileName();
    if (!dialogs.saveFirst(this, command,
                           QStringLiteral("%1 has unsaved changes. %2 uses the saved file: save them first?")
                               .arg(name, command)))
        return false;
    return editor->save();
}

EvaluationResult Tolvane::interpretScript(const QString& path)
{
    EvaluationResult result;
    result.readable = false;
    fileName = path.section(QLatin1Char('/'), -1, -1);
    fileDir = path.section(QLatin1Char('/'), 0, -2);
    setWindowTitle(QStringLiteral("Tolvane %1").arg(fileName));
    if (fileName.isEmpty() || fileDir.isEmpty())
        return result;

    interpreter = std::make_unique<ModelInterpreter>(openingTrust(trustScriptsFromCommandLine));
    ui->statusBar->showMessage(QStringLiteral("Interpreter Tcl File..."));
    // Marks of an earlier refresh belong to text that may have been fixed since.
    for (QMdiSubWindow* sub : ui->mdiArea->subWindowList())
        if (auto* open = qobject_cast<tcleditor*>(sub->widget()))
            open->clearErrorMark();
    QString stopReason;
    {
        EvaluationGuard guard(ui->statusBar);
        evaluating = true;
        result = evaluateScriptFile(*interpreter, path, [&guard] { return guard.keepGoing(); });
        evaluating = false;
        stopReason = guard.reason();
    }
    if (result.stopped && !stopReason.isEmpty())
        modelRecord()->statusMessage = QStringLiteral("Interpretation %1").arg(stopReason);
    QString note;
    if (result.encoding != QLatin1String("UTF-8") && !result.encoding.isEmpty())
        note = QStringLiteral(" (read as %1)").arg(result.encoding);
    if (result.code != 0) {
        // The place first, as --dump-model says it, so the message names where to look.
        ui->statusBar->showMessage((result.afterAnalysis ? evaluationStoppedAfterAnalysisText(result)
                                                         : evaluationErrorText(result)) +
                                       note,
                                   result.afterAnalysis ? 10000 : 5000);
        showEvaluationError(result.errorFile, result.errorLine);
    } else {
        // What was left out needs longer than a bare success to be read.
        const bool bare = result.leftOut.isEmpty() && result.leftUndone.isEmpty() && note.isEmpty();
        ui->statusBar->showMessage(evaluationSuccessText(result) + note, bare ? 2000 : 8000);
    }

    scene->drawModel();
    diagramCommands->modelRedrawn();
    modesCommands->modelRedrawn();
    scaleFactor = 1.0;
    return result;
}

bool Tolvane::modelIsRunnable(const EvaluationResult& result)
{
    QString reason;
    if (!result.modelComplete())
        reason =
            QStringLiteral("%1 stops with an error before its first analysis:\n%2\nMend it and run again.")
                .arg(fileName, evaluationErrorText(result));
    else if (modelRecord()->nodeTags.isEmpty())
        reason = QStringLiteral("The model of %1 has no node: a run would record nothing.").arg(fileName);
    if (!reason.isEmpty())
        dialogs.critical(this, QStringLiteral("Run"), reason);
    return reason.isEmpty();
}

void Tolvane::showEvaluationError(const QString& errorFile, int errorLine)
{
    if (errorFile.isEmpty() || errorLine <= 0)
        return;
    if (QMdiSubWindow* sub = findMdiChild(errorFile))
        if (auto* editor = qobject_cast<tcleditor*>(sub->widget()))
            editor->markErrorLine(errorLine);
}

// --- view ------------------------------------------------------------------------

void Tolvane::applyView(const QString& word)
{
    scene->setView(word);
    scene->resetCamera();
    scene->render();
}

void Tolvane::on_actionSet_Default_View_triggered()
{
    applyView(QStringLiteral("XYZ"));
}
void Tolvane::on_actionSet_XY_View_Positive_triggered()
{
    applyView(QStringLiteral("XY+"));
}
void Tolvane::on_actionSet_XY_View_Negative_triggered()
{
    applyView(QStringLiteral("XY-"));
}
void Tolvane::on_actionSet_XZ_View_Positive_triggered()
{
    applyView(QStringLiteral("XZ+"));
}
void Tolvane::on_actionSet_XZ_View_Negative_triggered()
{
    applyView(QStringLiteral("XZ-"));
}
void Tolvane::on_actionSet_YZ_View_Positive_triggered()
{
    applyView(QStringLiteral("YZ+"));
}
void Tolvane::on_actionSet_YZ_View_Negative_triggered()
{
    applyView(QStringLiteral("YZ-"));
}

void Tolvane::on_actionSet_Perspective_triggered()
{
    applyView(ui->actionSet_Perspective->isChecked() ? QStringLiteral("PerspectiveOn")
                                                     : QStringLiteral("PerspectiveOff"));
}

void Tolvane::on_actionRotate_Model_Positive_triggered()
{
    scene->rotateView(true);
    scene->render();
}

void Tolvane::on_actionRotate_Model_Negative_triggered()
{
    scene->rotateView(false);
    scene->render();
}

// Renders, and says so when not every label fits the view.
void Tolvane::showLabelNote()
{
    scene->render();
    const QString note = scene->labelNote();
    if (!note.isEmpty())
        ui->statusBar->showMessage(note, 5000);
}

void Tolvane::on_actionFree_Node_Labels_triggered()
{
    scene->showFreeNodeLabels(ui->actionFree_Node_Labels->isChecked());
    showLabelNote();
}

void Tolvane::on_actionFixed_Node_Labels_triggered()
{
    scene->showFixedNodeLabels(ui->actionFixed_Node_Labels->isChecked());
    showLabelNote();
}

void Tolvane::on_actionElement_Labels_triggered()
{
    scene->showElementLabels(ui->actionElement_Labels->isChecked());
    showLabelNote();
}

void Tolvane::on_actionCapture_Screen_triggered()
{
    const QString name = dialogs.saveFileName(this, QStringLiteral("Save File"), QStringLiteral("."),
                                              QStringLiteral("Images (*.png *.bmp *.jpg)"));
    if (name.isEmpty())
        return;
    QString error;
    // The view stays as it was: the capture draws into a window of its own.
    if (!scene->capture(name, &error))
        dialogs.warning(this, QStringLiteral("Capture Screen"), error);
    scene->render();
}

// --- dialogs -------------------------------------------------------------------

void Tolvane::on_actionOptions_triggered()
{
    optionsPanel = new zor_options_panel(SettingsStore::settingsFilePath(), this);
    connect(optionsPanel, &zor_options_panel::configChanged, this,
            &Tolvane::on_actionRefresh_Tcl_File_triggered);
    dialogs.exec(optionsPanel);
}

void Tolvane::on_actionAbout_triggered()
{
    aboutPanel = new AboutDialog(this);
    dialogs.exec(aboutPanel);
}

void Tolvane::on_actionExit_triggered()
{
    // Through close() so that unsaved editors get their prompt first.
    if (close())
        QCoreApplication::quit();
}

// --- code snippets ---------------------------------------------------------------

void Tolvane::buildCodeSnippetMenu()
{
    const QString path = SettingsStore::snippetFileToRead();
    // Installed, the shared snippets serve until the user makes a copy of their own.
    if (path == SettingsStore::snippetFilePath())
        ensureSnippetFile(path);
    const Snippets snippets = readSnippetFile(path);
    snippetTitles = snippets.titles;
    snippetBodies = snippets.bodies;
    for (int i = 0; i < snippetTitles.size(); ++i) {
        auto* action = new QAction(ui->menuCode_Snippets);
        action->setText(snippetTitles[i]);
        // The index travels with the action so that equal titles keep their own bodies.
        action->setData(i);
        ui->menuCode_Snippets->addAction(action);
        connect(action, &QAction::triggered, this, &Tolvane::addCodeSnippetSlot);
    }
}

void Tolvane::addCodeSnippetSlot()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    bool ok = false;
    int index = action->data().toInt(&ok);
    if (!ok)
        index = snippetTitles.indexOf(action->text());
    if (index < 0 || index >= snippetBodies.size())
        return;
    if (tcleditor* editor = activeEditor())
        editor->insertPlainText(snippetBodies[index]);
}

// --- run -------------------------------------------------------------------------

void Tolvane::on_actionRun_Tcl_File_triggered()
{
    if (evaluating || fileName.isEmpty() || fileDir.isEmpty())
        return;
    if (runController->isRunning()) {
        if (!dialogs.question(this, QStringLiteral("Run"),
                              QStringLiteral("An analysis is running. Stop it and start a new one?")))
            return;
        // The recorder dialog opens once the solver has gone.
        runAfterStop = true;
        runController->stopSolver();
        return;
    }
    // The recorders list the model of the file the solver gets: the saved file, evaluated now.
    const QString script = fileDir + QLatin1Char('/') + fileName;
    if (!saveBeforeEvaluating(script, QStringLiteral("Run")))
        return;
    if (!modelIsRunnable(interpretScript(script)))
        return;
    outputPanel = new zor_output_panel(this);
    connect(outputPanel, &zor_output_panel::outputSettingSignal, this, &Tolvane::outputSettingSlot);
    outputPanel->refreshOutputTree();
    outputPanel->checkSettings(readRunRecord(fileDir + QLatin1Char('/') + runRecordFileName()).settings);
    outputPanel->setModal(true);
    dialogs.exec(outputPanel);
}

void Tolvane::outputSettingSlot(QVector<QStringList> settings, int monitorScale)
{
    recorderSettings = settings;
    QDir::setCurrent(fileDir);

    const QString solver = SettingsStore::solverPath(SettingsStore::settingsFilePath());
    const QFileInfo solverFile(solver);
    if (solver.isEmpty() || !solverFile.isFile() || !solverFile.isExecutable()) {
        dialogs.information(this, QStringLiteral("Run"),
                            QStringLiteral("Please set <b>OpenSees PATH</b> in Options!"));
        return;
    }
    runController->setSolverPath(solver);
    runController->setScriptLocation(fileDir, fileName);
    // The server first: the live recorder names the port it listens on. Without a server the
    // script streams nowhere rather than into another window's.
    liveNote.clear();
    int liveScale = 0;
    if (monitorScale > 0) {
        scaleFactor = double(monitorScale);
        liveNote = startLiveServer();
        if (liveNote.isEmpty())
            liveScale = monitorScale;
    }
    const int livePort = liveScale > 0 ? liveServer->serverPort() : 0;
    QString error;
    // A stale copy from an earlier run must never be analysed in place of this one.
    if (!runController->writeInstrumentedScript(settings, liveScale, livePort, &error)) {
        dialogs.critical(this, QStringLiteral("Run"), error);
        return;
    }
    // The record names this run's results only once the solver runs; a run that never starts
    // leaves the earlier record, and the results it names, as they were.
    pendingDigest = scriptDigest(fileDir + QLatin1Char('/') + fileName);
    pendingSettings = settings;
    // Before the start: the solver's first lines may arrive before the start is reported.
    ui->runLog->clearLog();
    ui->runLog->appendNote(
        QStringLiteral("%1 %2").arg(QDir::toNativeSeparators(runController->solverPath()),
                                    QDir::toNativeSeparators(runController->instrumentedScriptPath())));
    if (liveScale > 0)
        ui->runLog->appendNote(QStringLiteral("Live view on 127.0.0.1:%1").arg(livePort));
    runController->runSolver();
}

void Tolvane::on_actionStop_Analysis_triggered()
{
    runController->stopSolver();
}

void Tolvane::solverStarted()
{
    QString error;
    if (!writeRunRecord(fileDir + QLatin1Char('/') + runRecordFileName(), pendingDigest, fileDir,
                        pendingSettings, &error)) {
        // Results nobody could load are not worth the solver's time.
        runController->stopSolver();
        dialogs.critical(this, QStringLiteral("Run"), error);
        return;
    }
    ui->runLogDock->show();
    ui->runLogDock->raise();
    ui->actionStop_Analysis->setEnabled(true);
    if (!liveNote.isEmpty())
        ui->runLog->appendNote(liveNote);
    ui->statusBar->showMessage(liveNote.isEmpty() ? QStringLiteral("Analysis running...")
                                                  : QStringLiteral("Analysis running... (%1)").arg(liveNote));
}

void Tolvane::solverFinished(int exitCode, bool crashed, bool stopped, double seconds)
{
    ui->actionStop_Analysis->setEnabled(false);
    QString text;
    if (stopped)
        text = QStringLiteral("Analysis stopped after %1 s").arg(seconds, 0, 'f', 1);
    else if (crashed)
        text = QStringLiteral("Analysis crashed: see Run Log");
    else if (exitCode != 0)
        text = QStringLiteral("Analysis failed (exit code %1): see Run Log").arg(exitCode);
    else
        text = QStringLiteral("Analysis finished in %1 s").arg(seconds, 0, 'f', 1);
    ui->runLog->appendNote(text);
    ui->statusBar->showMessage(text, 5000);
    if (runAfterStop) {
        runAfterStop = false;
        QTimer::singleShot(0, this, &Tolvane::on_actionRun_Tcl_File_triggered);
    }
}

void Tolvane::solverFailedToStart(const QString& reason)
{
    ui->actionStop_Analysis->setEnabled(false);
    ui->runLog->appendNote(reason);
    ui->statusBar->clearMessage();
    dialogs.critical(this, QStringLiteral("Run"), reason);
}
