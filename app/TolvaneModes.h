// The main window's Modes command (Monitor menu, tool bar, Ctrl+M): opens the Modes window on the
// eigen calls of the script's last run and draws the chosen mode shape in the 3-D view over a
// faint undeformed outline, still or playing.
//
//   auto* modes = new ModesCommands(window);   // adds its action to the Monitor menu and tool bar
//   modes->modelRedrawn();                     // after every refresh
#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>

#include "ModesPanel.h"
#include "UndeformedGhost.h"

class QAction;
class Tolvane;
class vtkdraw;

// Moves every group to the mode shape times AMPLITUDE in the model's own colours, over the
// undeformed outline when GHOST is given, then renders; the Modes window and `--render --mode`.
void showModeShape(vtkdraw& scene, UndeformedGhost* ghost, double amplitude, const QVector<double>& x,
                   const QVector<double>& y, const QVector<double>& z);

class ModesCommands : public QObject {
    Q_OBJECT
public:
    explicit ModesCommands(Tolvane* window);

    // Opens the Modes window (or brings it to the front) with the modes of the last run.
    void openPanel();
    void modelRedrawn();
    ModesPanel* panel() const { return m_panel; }
    const UndeformedGhost& ghost() const { return m_ghost; }

    QAction* modesAction = nullptr;

private:
    void loadModes();
    void draw(double amplitude);
    void panelClosed();

    Tolvane* m_window;
    QPointer<ModesPanel> m_panel;
    UndeformedGhost m_ghost;
    // The shape on display in the model's node order, kept while only its amplitude changes.
    const EigenCall* m_shapeCall = nullptr;
    int m_shapeMode = -1;
    QVector<double> m_x, m_y, m_z;
};
