// The main window's commands for checking a frame: the View menu's Local Axes and Loads switches,
// the choice of load pattern, and the Diagrams panel, which draws member force diagrams of the
// loaded run at the step of the Animation window.
//
//   auto* diagrams = new DiagramCommands(window);   // adds its actions to the View menu
//   diagrams->followStep(step);                     // from the window's step display
//   diagrams->modelRedrawn();                       // after every refresh
#pragma once

#include <QObject>
#include <QPointer>

#include "DiagramPanel.h"
#include "DiagramResults.h"

class QAction;
class QMenu;
class Tolvane;

class DiagramCommands : public QObject {
    Q_OBJECT
public:
    explicit DiagramCommands(Tolvane* window);

    void followStep(int step);
    void modelRedrawn();
    // Opens the Diagrams panel (or brings it to the front) and draws the diagram.
    void openPanel();
    DiagramPanel* panel() const { return m_panel; }

    QAction* localAxesAction = nullptr;
    QAction* loadsAction = nullptr;
    QMenu* patternMenu = nullptr;
    QAction* diagramsAction = nullptr;

private:
    void fillPatternMenu();
    void loadResults();
    void redraw();

    Tolvane* m_window;
    QPointer<DiagramPanel> m_panel;
    DiagramResults m_results;
    int m_step = 0;  // the Animation's step; 0 before any, then the last step is drawn
};
