// The main window's form: actions, menus, tool bars, the MDI area and the dock
// holding the 3-D view. Built in code; the object names are what the slots'
// automatic connection relies on.
#pragma once

#include <QVector>

class QAction;
class QDockWidget;
class QMainWindow;
class QMdiArea;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QVBoxLayout;
class QVTKOpenGLNativeWidget;
class RunLogView;
class QWidget;

struct TolvaneForm {
    QAction* actionOpen_Tcl_File = nullptr;
    QAction* actionRun_Tcl_File = nullptr;
    QAction* actionLoad_Result = nullptr;
    QAction* actionSet_XY_View_Positive = nullptr;
    QAction* actionSet_XY_View_Negative = nullptr;
    QAction* actionSet_XZ_View_Positive = nullptr;
    QAction* actionSet_XZ_View_Negative = nullptr;
    QAction* actionSet_YZ_View_Positive = nullptr;
    QAction* actionSet_YZ_View_Negative = nullptr;
    QAction* actionSet_Perspective = nullptr;
    QAction* actionSet_Default_View = nullptr;
    QAction* actionCapture_Screen = nullptr;
    QAction* actionFree_Node_Labels = nullptr;
    QAction* actionFixed_Node_Labels = nullptr;
    QAction* actionElement_Labels = nullptr;
    QAction* actionRotate_Model_Positive = nullptr;
    QAction* actionRotate_Model_Negative = nullptr;
    QAction* actionRefresh_Tcl_File = nullptr;
    QAction* actionNew_Tcl_File = nullptr;
    QAction* actionClose_Window = nullptr;
    QAction* actionClose_All_Windows = nullptr;
    QAction* actionTile_Windows = nullptr;
    QAction* actionCascade_Windows = nullptr;
    QAction* actionNext_Window = nullptr;
    QAction* actionPrevious_Window = nullptr;
    QAction* actionSave = nullptr;
    QAction* actionSave_As = nullptr;
    QAction* actionAbout = nullptr;
    QAction* actionTimeSeries_Monitor = nullptr;
    QAction* actionNodeDisp_Monitor = nullptr;
    QAction* actionOptions = nullptr;
    QAction* actionNodeReact_Monitor = nullptr;
    QAction* actionExit = nullptr;
    QAction* actionStop_Analysis = nullptr;
    QAction* actionXY_Plot = nullptr;

    QWidget* centralWidget = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QMdiArea* mdiArea = nullptr;
    QMenuBar* menuBar = nullptr;
    QMenu* menu_File = nullptr;
    QMenu* menu_Monitor = nullptr;
    QMenu* menu_View = nullptr;
    QMenu* menu_Windows = nullptr;
    QMenu* menu_Tool = nullptr;
    QMenu* menuCode_Snippets = nullptr;
    QMenu* menu_Help = nullptr;
    QToolBar* mainToolBar = nullptr;
    QToolBar* viewToolBar = nullptr;
    QStatusBar* statusBar = nullptr;
    QDockWidget* dockWidget = nullptr;
    QWidget* dockWidgetContents = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QVTKOpenGLNativeWidget* qvtkwidget = nullptr;
    // What the solver prints; shown when a run starts.
    QDockWidget* runLogDock = nullptr;
    RunLogView* runLog = nullptr;

    // Builds everything into the window and connects the slots by name.
    void setupUi(QMainWindow* window);
};
