#include "TolvaneForm.h"

#include "RunLogView.h"

#include <QVTKOpenGLNativeWidget.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <vtkNew.h>
#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char* kFormFont = "Microsoft YaHei UI";

struct ActionRow {
    QAction* TolvaneForm::*member;
    const char* name;
    const char* text;
    const char* shortcut;
    const char* icon;  // empty: no icon
    bool checkable;
    bool formFont;  // the view actions carry the form font
    bool toolTipIsText;
};

// Form order.
const ActionRow kActions[] = {
    {&TolvaneForm::actionOpen_Tcl_File, "actionOpen_Tcl_File", "Open Tcl File...", "Ctrl+O", "Open", false,
     false, false},
    {&TolvaneForm::actionRun_Tcl_File, "actionRun_Tcl_File", "Run Tcl File", "F5", "Run", false, false,
     false},
    {&TolvaneForm::actionLoad_Result, "actionLoad_Result", "Load Result", "Ctrl+L", "Load", false, false,
     false},
    {&TolvaneForm::actionSet_XY_View_Positive, "actionSet_XY_View_Positive", "Set XY View +", "", "XYViewPos",
     false, true, false},
    {&TolvaneForm::actionSet_XY_View_Negative, "actionSet_XY_View_Negative", "Set XY View -", "", "XYViewNeg",
     false, true, false},
    {&TolvaneForm::actionSet_XZ_View_Positive, "actionSet_XZ_View_Positive", "Set XZ View +", "", "XZViewPos",
     false, true, false},
    {&TolvaneForm::actionSet_XZ_View_Negative, "actionSet_XZ_View_Negative", "Set XZ View -", "", "XZViewNeg",
     false, true, false},
    {&TolvaneForm::actionSet_YZ_View_Positive, "actionSet_YZ_View_Positive", "Set YZ View +", "", "YZViewPos",
     false, true, false},
    {&TolvaneForm::actionSet_YZ_View_Negative, "actionSet_YZ_View_Negative", "Set YZ View -", "", "YZViewNeg",
     false, true, false},
    {&TolvaneForm::actionSet_Perspective, "actionSet_Perspective", "Set Perspective", "", "Perspective", true,
     true, false},
    {&TolvaneForm::actionSet_Default_View, "actionSet_Default_View", "Set Default View", "", "XYZDefaultView",
     false, true, false},
    {&TolvaneForm::actionCapture_Screen, "actionCapture_Screen", "Capture Screen", "", "Screenshot", false,
     false, false},
    {&TolvaneForm::actionFree_Node_Labels, "actionFree_Node_Labels", "Free Node Labels", "", "FreeNodeLabel",
     true, false, true},
    {&TolvaneForm::actionFixed_Node_Labels, "actionFixed_Node_Labels", "Fixed Node Labels", "",
     "FixedNodeLabel", true, false, true},
    {&TolvaneForm::actionElement_Labels, "actionElement_Labels", "Element Labels", "", "ElementLabel", true,
     false, true},
    {&TolvaneForm::actionRotate_Model_Positive, "actionRotate_Model_Positive", "Rotate Model Positive", "",
     "RotateViewPositive", false, false, false},
    {&TolvaneForm::actionRotate_Model_Negative, "actionRotate_Model_Negative", "Rotate Model Negative", "",
     "RotateViewNegative", false, false, false},
    {&TolvaneForm::actionRefresh_Tcl_File, "actionRefresh_Tcl_File", "Refresh Tcl File", "Ctrl+F", "Refresh",
     false, false, false},
    {&TolvaneForm::actionNew_Tcl_File, "actionNew_Tcl_File", "New Tcl File", "Ctrl+N", "New", false, false,
     false},
    {&TolvaneForm::actionClose_Window, "actionClose_Window", "Close Window", "", "CloseWindow", false, false,
     false},
    {&TolvaneForm::actionClose_All_Windows, "actionClose_All_Windows", "Close All Windows", "",
     "CloseAllWindows", false, false, false},
    {&TolvaneForm::actionTile_Windows, "actionTile_Windows", "Tile Windows", "", "", false, false, false},
    {&TolvaneForm::actionCascade_Windows, "actionCascade_Windows", "Cascade Windows", "", "", false, false,
     false},
    {&TolvaneForm::actionNext_Window, "actionNext_Window", "Next Window", "", "NextWindow", false, false,
     false},
    {&TolvaneForm::actionPrevious_Window, "actionPrevious_Window", "Previous Window", "", "PreviousWindow",
     false, false, false},
    {&TolvaneForm::actionSave, "actionSave", "Save...", "Ctrl+S", "Save", false, false, false},
    {&TolvaneForm::actionSave_As, "actionSave_As", "Save As...", "Ctrl+Shift+S", "SaveAs", false, false,
     false},
    {&TolvaneForm::actionAbout, "actionAbout", "About", "", "About", false, false, false},
    {&TolvaneForm::actionTimeSeries_Monitor, "actionTimeSeries_Monitor", "TimeSeries Monitor", "", "", false,
     false, false},
    {&TolvaneForm::actionNodeDisp_Monitor, "actionNodeDisp_Monitor", "NodeDisp Monitor", "", "", false, false,
     false},
    {&TolvaneForm::actionOptions, "actionOptions", "Options...", "", "Options", false, false, false},
    {&TolvaneForm::actionNodeReact_Monitor, "actionNodeReact_Monitor", "NodeReact Monitor", "", "", false,
     false, false},
    {&TolvaneForm::actionXY_Plot, "actionXY_Plot", "XY Plot...", "", "", false, false, false},
    {&TolvaneForm::actionExit, "actionExit", "Exit", "", "Exit", false, false, false},
    {&TolvaneForm::actionStop_Analysis, "actionStop_Analysis", "Stop Analysis", "", "Stop", false, false,
     false},
};

QMenu* addMenu(QMenuBar* bar, const char* name, const char* title)
{
    auto* menu = new QMenu(bar);
    menu->setObjectName(QLatin1String(name));
    menu->setTitle(QString::fromUtf8(title));
    bar->addMenu(menu);
    return menu;
}

// nullptr entries are separators.
template <typename Container>
void fill(Container* target, std::initializer_list<QAction*> actions)
{
    for (QAction* a : actions) {
        if (a)
            target->addAction(a);
        else
            target->addSeparator();
    }
}

QToolBar* addToolBar(QMainWindow* window, const char* name, const char* title)
{
    auto* bar = new QToolBar(window);
    bar->setObjectName(QLatin1String(name));
    bar->setWindowTitle(QString::fromUtf8(title));
    bar->setFont(QFont(QLatin1String(kFormFont)));
    bar->setIconSize(QSize(32, 32));
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

}  // namespace

void TolvaneForm::setupUi(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("Tolvane"));
    window->resize(1100, 600);
    window->setStyleSheet(QString());
    window->setWindowTitle(QStringLiteral("Tolvane"));

    for (const ActionRow& row : kActions) {
        auto* action = new QAction(window);
        action->setObjectName(QLatin1String(row.name));
        action->setText(QString::fromUtf8(row.text));
        if (*row.shortcut)
            action->setShortcut(QKeySequence(QString::fromUtf8(row.shortcut)));
        if (*row.icon) {
            QIcon icon;
            icon.addFile(QStringLiteral(":/Icon/SRC/Icon/%1.png").arg(QLatin1String(row.icon)), QSize(),
                         QIcon::Normal, QIcon::Off);
            action->setIcon(icon);
        }
        action->setCheckable(row.checkable);
        if (row.formFont) {
            QFont font{QString::fromLatin1(kFormFont)};
            font.setBold(false);
            font.setWeight(QFont::Normal);
            action->setFont(font);
        }
        if (row.toolTipIsText)
            action->setToolTip(action->text());
        this->*row.member = action;
    }

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    verticalLayout_2 = new QVBoxLayout(centralWidget);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setSpacing(6);
    verticalLayout_2->setContentsMargins(11, 11, 11, 11);
    mdiArea = new QMdiArea(centralWidget);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(QBrush(QColor(240, 240, 240), Qt::SolidPattern));
    mdiArea->setViewMode(QMdiArea::TabbedView);
    mdiArea->setDocumentMode(true);
    mdiArea->setTabsClosable(true);
    mdiArea->setTabsMovable(true);
    mdiArea->setTabShape(QTabWidget::Triangular);
    verticalLayout_2->addWidget(mdiArea);
    window->setCentralWidget(centralWidget);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    window->setMenuBar(menuBar);
    menu_File = addMenu(menuBar, "menu_File", "&File");
    menu_Monitor = addMenu(menuBar, "menu_Monitor", "&Monitor");
    menu_View = addMenu(menuBar, "menu_View", "&View");
    menu_Windows = addMenu(menuBar, "menu_Windows", "&Window");
    menu_Tool = addMenu(menuBar, "menu_Tool", "&Tool");
    menu_Help = addMenu(menuBar, "menu_Help", "&Help");
    menuCode_Snippets = new QMenu(menu_Tool);
    menuCode_Snippets->setObjectName(QStringLiteral("menuCode_Snippets"));
    menuCode_Snippets->setTitle(QStringLiteral("Code Snippets"));

    fill(menu_File, {actionNew_Tcl_File, actionOpen_Tcl_File, nullptr, actionSave, actionSave_As, nullptr,
                     actionRefresh_Tcl_File, actionRun_Tcl_File, actionLoad_Result, nullptr, actionExit});
    fill(menu_Monitor, {actionTimeSeries_Monitor, actionNodeDisp_Monitor, actionNodeReact_Monitor, nullptr,
                         actionXY_Plot});
    fill(menu_View, {actionSet_Default_View, actionSet_XY_View_Positive, actionSet_XY_View_Negative,
                     actionSet_XZ_View_Positive, actionSet_XZ_View_Negative, actionSet_YZ_View_Positive,
                     actionSet_YZ_View_Negative, nullptr, actionRotate_Model_Positive,
                     actionRotate_Model_Negative, nullptr, actionSet_Perspective, actionCapture_Screen,
                     nullptr, actionFree_Node_Labels, actionFixed_Node_Labels, actionElement_Labels});
    fill(menu_Windows,
         {actionClose_Window, actionClose_All_Windows, nullptr, actionNext_Window, actionPrevious_Window});
    menu_Tool->addMenu(menuCode_Snippets);
    fill(menu_Tool, {nullptr, actionStop_Analysis});
    fill(menu_Help, {actionAbout});

    mainToolBar = addToolBar(window, "mainToolBar", "Main Tool Bar");
    viewToolBar = addToolBar(window, "viewToolBar", "View Tool Bar");
    fill(mainToolBar, {actionNew_Tcl_File, actionOpen_Tcl_File, actionSave, nullptr, actionRefresh_Tcl_File,
                       actionRun_Tcl_File, actionLoad_Result, actionStop_Analysis});
    actionStop_Analysis->setEnabled(false);
    fill(viewToolBar, {actionSet_Default_View, actionSet_XY_View_Positive, actionSet_XY_View_Negative,
                       actionSet_XZ_View_Positive, actionSet_XZ_View_Negative, actionSet_YZ_View_Positive,
                       actionSet_YZ_View_Negative, nullptr, actionRotate_Model_Positive,
                       actionRotate_Model_Negative, nullptr, actionSet_Perspective, actionCapture_Screen,
                       nullptr, actionFree_Node_Labels, actionFixed_Node_Labels, actionElement_Labels});

    statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    window->setStatusBar(statusBar);

    dockWidget = new QDockWidget(window);
    dockWidget->setObjectName(QStringLiteral("dockWidget"));
    dockWidget->setFont(QFont(QLatin1String(kFormFont)));
    dockWidget->setFloating(false);
    dockWidget->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dockWidget->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dockWidget->setWindowTitle(QStringLiteral("Model View"));
    dockWidgetContents = new QWidget();
    dockWidgetContents->setObjectName(QStringLiteral("dockWidgetContents"));
    verticalLayout = new QVBoxLayout(dockWidgetContents);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    qvtkwidget = new QVTKOpenGLNativeWidget(dockWidgetContents);
    qvtkwidget->setObjectName(QStringLiteral("qvtkwidget"));
    qvtkwidget->setMinimumWidth(550);
    qvtkwidget->setFont(QFont(QLatin1String(kFormFont)));
    vtkNew<vtkGenericOpenGLRenderWindow> renderWindow;
    qvtkwidget->setRenderWindow(renderWindow);
    verticalLayout->addWidget(qvtkwidget);
    dockWidget->setWidget(dockWidgetContents);
    window->addDockWidget(Qt::LeftDockWidgetArea, dockWidget);

    runLogDock = new QDockWidget(window);
    runLogDock->setObjectName(QStringLiteral("runLogDock"));
    runLogDock->setWindowTitle(QStringLiteral("Run Log"));
    runLogDock->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea | Qt::LeftDockWidgetArea);
    runLog = new RunLogView(runLogDock);
    runLogDock->setWidget(runLog);
    window->addDockWidget(Qt::BottomDockWidgetArea, runLogDock);
    runLogDock->hide();
    fill(menu_Tool, {runLogDock->toggleViewAction(), nullptr, actionOptions});

    QMetaObject::connectSlotsByName(window);
}
