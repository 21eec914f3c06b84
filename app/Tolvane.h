// The main window: owns the editors, the 3-D view, the interpreter and the scene,
// and turns every menu and tool bar command into calls on them.
//
//   Tolvane window;
//   window.show();
//   window.openScriptAtStart("frame.tcl");
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

#include "TolvaneForm.h"

class DiagramCommands;
class ModesCommands;
class ModelInterpreter;
class QDialog;
class QLabel;
class QToolButton;
class QMdiSubWindow;
class tcleditor;
class vtkdraw;
class zor_options_panel;
class zor_monitor_nodedisp_panel;
class zor_monitor_panel;
class zor_output_panel;
class zor_result_panel;
class zor_result_read_panel;
class zorcontrl;
class zorloadresult;
class zortcpserver;
struct EvaluationResult;
struct ResultStep;
struct ResultTables;

class Tolvane : public QMainWindow {
    Q_OBJECT
public:
    explicit Tolvane(QWidget* parent = nullptr);
    ~Tolvane() override;

    // Every dialog the window opens goes through these, so tests can answer them.
    struct Dialogs {
        std::function<QString(QWidget*, const QString& caption, const QString& dir, const QString& filter)>
            openFileName;
        std::function<QString(QWidget*, const QString& caption, const QString& dir, const QString& filter)>
            saveFileName;
        std::function<void(QWidget*, const QString& title, const QString& text)> warning;
        std::function<void(QWidget*, const QString& title, const QString& text)> information;
        std::function<void(QWidget*, const QString& title, const QString& text)> critical;
        // Yes or No; true for Yes.
        std::function<bool(QWidget*, const QString& title, const QString& text)> question;
        // Save or Cancel; true for Save.
        std::function<bool(QWidget*, const QString& title, const QString& text)> saveFirst;
        std::function<int(QDialog*)> exec;
        // A progress dialog of TOTAL steps; the function it returns is told the steps done and
        // answers false once the user cancelled.
        std::function<std::function<bool(int done)>(QWidget*, const QString& text, int total)> progress;
    };
    Dialogs dialogs;

    // Opens and interprets a script given on the command line, as Open would.
    void openScriptAtStart(const QString& path);
    // --trust: scripts get the whole of Tcl whatever the settings say.
    bool trustScriptsFromCommandLine = false;

    tcleditor* activeEditor() const;
    tcleditor* createMdiChild();
    QMdiSubWindow* findMdiChild(const QString& path) const;
    void buildCodeSnippetMenu();

    TolvaneForm* form() const { return ui; }
    vtkdraw* sceneBuilder() const { return scene; }
    zorcontrl* runControl() const { return runController; }
    zortcpserver* liveDataServer() const { return liveServer; }
    const QStringList& displacementLines() const { return nodeDispLines; }
    QString currentFileName() const { return fileName; }
    QString currentFileDir() const { return fileDir; }
    const QVector<QString>& codeSnippetTitles() const { return snippetTitles; }
    DiagramCommands* diagrams() const { return diagramCommands; }
    ModesCommands* modes() const { return modesCommands; }

signals:
    void monitorInitialPlot(QVector<double> dataTime, QVector<double> dataPath, double cFactor);
    void monitorInitialTracer();
    void monitorRefreshNodeDispTracer(double graphKey);
    void monitorRefreshTimeSeriesTracer(double graphKey);
    // A result step (from 1) was drawn: node and XY plots move their markers to it.
    void resultStepShown(int step);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_actionOpen_Tcl_File_triggered();
    void on_actionRefresh_Tcl_File_triggered();
    void on_actionRun_Tcl_File_triggered();
    void on_actionLoad_Result_triggered();
    void sliderChangedSlot(int value, double sFactor);
    void outputReadSlot(QStringList);
    void outputSettingSlot(QVector<QStringList>, int);
    // Plots (TolvanePlots.cpp): node plots, XY plots and the animation export.
    void plotNodeDispSlot(int nodeTag, int dof, bool overSteps);
    void plotNodeRectSlot(int nodeTag, int dof, bool overSteps);
    void on_actionXY_Plot_triggered();
    void exportAnimationSlot(int start, int end, int interval, double sFactor);
    void tcpReceiveData(double domainTime, QVector<double>, QVector<double>, QVector<double>);
    void addCodeSnippetSlot();
    void on_actionSet_XY_View_Positive_triggered();
    void on_actionSet_XY_View_Negative_triggered();
    void on_actionSet_XZ_View_Positive_triggered();
    void on_actionSet_XZ_View_Negative_triggered();
    void on_actionSet_YZ_View_Positive_triggered();
    void on_actionSet_YZ_View_Negative_triggered();
    void on_actionSet_Perspective_triggered();
    void on_actionSet_Default_View_triggered();
    void on_actionCapture_Screen_triggered();
    void on_actionFree_Node_Labels_triggered();
    void on_actionFixed_Node_Labels_triggered();
    void on_actionElement_Labels_triggered();
    void on_actionRotate_Model_Positive_triggered();
    void on_actionRotate_Model_Negative_triggered();
    void on_actionNew_Tcl_File_triggered();
    void on_actionTile_Windows_triggered();
    void on_actionClose_Window_triggered();
    void on_actionClose_All_Windows_triggered();
    void on_actionCascade_Windows_triggered();
    void on_actionNext_Window_triggered();
    void on_actionPrevious_Window_triggered();
    void on_actionSave_triggered();
    void on_actionSave_As_triggered();
    void on_actionAbout_triggered();
    void on_actionTimeSeries_Monitor_triggered();
    void on_actionNodeDisp_Monitor_triggered();
    void on_actionOptions_triggered();
    void on_actionNodeReact_Monitor_triggered();
    void on_actionExit_triggered();
    void on_actionStop_Analysis_triggered();
    // Inspection (TolvaneInspection.cpp): a click in the view, "Show in Model" of an editor, Esc.
    void pickInView(int x, int y, bool doubleClick);
    void showLineInModel(int line);
    void clearInspection();
    // Results (TolvaneResults.cpp): the undeformed outline, and Load Result offered after a run.
    void on_actionUndeformed_Shape_triggered();
    void offerResults(int exitCode, bool crashed, bool stopped);

private:
    void setUpInspection();
    void setUpResults();
    // The values at the picked node or element for the step on display, if results are loaded.
    void showPickedValues();
    tcleditor* showSourceLine(const QString& path, int line);
    void solverStarted();
    void solverFinished(int exitCode, bool crashed, bool stopped, double seconds);
    void solverFailedToStart(const QString& reason);
    // Makes sure the live data server listens before a run that streams the live view; says why
    // the live view is off when it cannot.
    QString startLiveServer();
    zor_monitor_panel* openMonitor();
    void openNodeChooser(const QStringList& lines, const QString& warningTitle, bool reactions);
    void plotNodeCurve(int nodeTag, int dof, bool overSteps, bool reactions);
    // The loaded results as the plots read them.
    ResultTables resultTables() const;
    void openScript(const QString& path);
    // Asks to save the editor of PATH when it has unsaved edits; false when the user cancels or
    // the save fails.
    bool saveBeforeEvaluating(const QString& path, const QString& command);
    // Evaluates PATH as the window's script and draws its model.
    EvaluationResult interpretScript(const QString& path);
    // The script's model can be run: it evaluated far enough and holds a node. Says why not.
    bool modelIsRunnable(const EvaluationResult& result);
    void applyView(const QString& word);
    void showLabelNote();
    void showEvaluationError(const QString& errorFile, int errorLine);

    TolvaneForm* ui = nullptr;
    std::unique_ptr<ModelInterpreter> interpreter;
    vtkdraw* scene = nullptr;
    zorcontrl* runController = nullptr;
    QPointer<zor_result_panel> resultPanel;
    QPointer<zor_output_panel> outputPanel;
    zorloadresult* loader = nullptr;
    QPointer<zor_result_read_panel> resultReadPanel;
    QPointer<zor_monitor_nodedisp_panel> nodeChooser;
    QPointer<zor_options_panel> optionsPanel;
    DiagramCommands* diagramCommands = nullptr;  // View: local axes, loads, diagrams
    ModesCommands* modesCommands = nullptr;      // Monitor: the Modes window
    QPointer<QDialog> aboutPanel;
    QString fileName;
    QString fileDir;
    double scaleFactor = 1.0;
    QStringList nodeDispLines;
    QStringList nodeReactionLines;
    QStringList elementLines;
    QStringList nodeDisp456Lines;  // DOFs 4 to 6 of 6-DOF models, when the run recorded them
    QStringList nodeReaction456Lines;
    int shownStep = 0;  // the result step on display
    QVector<QStringList> recorderSettings;
    // The run record of a run that is starting: written once the solver runs.
    QString pendingDigest;
    QVector<QStringList> pendingSettings;
    bool firstShow = true;
    QPointer<zor_monitor_panel> timeSeriesMonitor;
    QPointer<zor_monitor_panel> nodeDispMonitor;
    QPointer<zor_monitor_panel> nodeReactionMonitor;
    zortcpserver* liveServer = nullptr;
    QString liveNote;                  // why the live view of the current run is off, if it is
    std::unique_ptr<ResultStep> step;  // kept between steps so its vectors keep their capacity
    bool heldNodesMarked = false;      // the view outlines nodes whose values are not numbers
    bool runAfterStop = false;
    bool evaluating = false;  // a script is being interpreted: the record is half built         // Run asked
                              // to stop the previous run first
    // What the loaded results show: the step's values or an envelope, drawn on the last step's
    // shape or the undeformed model; the step whose lines are drawn (an envelope's shape is the
    // last step's); the item picked in the view.
    int contourValue = 0;  // ContourValue
    bool envelopeUndeformed = false;
    int drawnStep = 0;
    int pickedKind = 0;  // PickedItem::Kind
    int pickedEntry = -1;
    int pickedBlock = -1;
    QLabel* valuePanel = nullptr;            // over the 3-D view
    QToolButton* statusLoadButton = nullptr;  // in the status bar after a run that finished well
    QVector<QString> snippetTitles;
    QVector<QString> snippetBodies;
};
