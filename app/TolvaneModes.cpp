#include "TolvaneModes.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include <vtkCamera.h>
#include <vtkDataSetAttributes.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPointSet.h>
#include <vtkRenderer.h>

#include "DeformationScale.h"
#include "ModelRecord.h"
#include "ResultDisplay.h"
#include "RunRecord.h"
#include "Tolvane.h"
#include "vtkdraw.h"
#include "zorcontrl.h"

namespace {

// A result step colours the element groups; a mode is drawn in the model's own colours.
bool showsResultColours(const vtkdraw& scene)
{
    for (vtkdraw::Group group : {vtkdraw::Frames, vtkdraw::ThreeNode, vtkdraw::FourNode, vtkdraw::EightNode}) {
        const GroupStore& g = scene.group(group);
        if (g.dataSet && g.dataSet->GetPointData()->GetScalars())
            return true;
    }
    return false;
}

}  // namespace

void showModeShape(vtkdraw& scene, UndeformedGhost* ghost, double amplitude, const QVector<double>& x,
                   const QVector<double>& y, const QVector<double>& z)
{
    if (ghost)
        ghost->show(scene);
    // Without attached scalars the element groups keep their colours.
    moveGroups(scene, amplitude, x, y, z, {}, {}, {}, {});
    scene.render();
}

ModesCommands::ModesCommands(Tolvane* window) : QObject(window), m_window(window)
{
    modesAction = new QAction(QStringLiteral("Modes..."), window);
    modesAction->setObjectName(QStringLiteral("actionModes"));
    modesAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    modesAction->setIcon(QIcon(QStringLiteral(":/Icon/SRC/Icon/Modes.png")));
    modesAction->setToolTip(QStringLiteral("Modes: periods, mass ratios and mode shapes of the last run (Ctrl+M)"));
    window->form()->menu_Monitor->addSeparator();
    window->form()->menu_Monitor->addAction(modesAction);
    window->form()->mainToolBar->addAction(modesAction);
    connect(modesAction, &QAction::triggered, this, &ModesCommands::openPanel);
    // A run that ends may have written new modes.
    connect(window->runControl(), &zorcontrl::solverFinished, this, [this] {
        if (m_panel)
            loadModes();
    });
}

void ModesCommands::openPanel()
{
    if (!m_panel) {
        m_panel = new ModesPanel(m_window);
        connect(m_panel, &ModesPanel::shapeRequested, this, &ModesCommands::draw);
        connect(m_panel, &QObject::destroyed, this, &ModesCommands::panelClosed);
    }
    loadModes();
    m_panel->show();
    m_panel->raise();
}

void ModesCommands::modelRedrawn()
{
    if (m_panel)
        loadModes();
}

void ModesCommands::loadModes()
{
    m_shapeCall = nullptr;
    const QString dir = m_window->currentFileDir();
    const QString name = m_window->currentFileName();
    QString why;
    QVector<EigenCall> calls;
    if (name.isEmpty()) {
        why = QStringLiteral("Open a script and run it first.");
    } else {
        const RunRecord record = readRunRecord(dir + QLatin1Char('/') + runRecordFileName());
        if (!record.readable)
            why = QStringLiteral("No results for %1 yet: run the analysis first.").arg(name);
        else if (record.digest != scriptDigest(dir + QLatin1Char('/') + name))
            why = QStringLiteral("%1 has changed since its last run: run it again.").arg(name);
        else
            calls = readRecordedModes(dir + QStringLiteral("/TolvaneResult"));
        if (why.isEmpty() && calls.isEmpty())
            why = QStringLiteral("The last run of %1 made no eigen call.").arg(name);
    }
    m_panel->setModelExtent(modelExtent(*modelRecord()));
    m_panel->setCalls(calls);
    if (!why.isEmpty())
        m_panel->setStatus(why);
}

void ModesCommands::draw(double amplitude)
{
    const EigenCall* call = m_panel->currentCall();
    const int mode = m_panel->currentMode();
    if (call != m_shapeCall || mode != m_shapeMode || m_x.size() != modelRecord()->nodeTags.size()) {
        if (call)
            modeDisplacements(*call, mode, modelRecord()->nodeTags, &m_x, &m_y, &m_z);
        else
            modeDisplacements(EigenCall(), -1, modelRecord()->nodeTags, &m_x, &m_y, &m_z);
        m_shapeCall = call;
        m_shapeMode = mode;
    }
    // After a result step (the Animation window, the live view) the model is built again, in its
    // own colours and seen from where the user left the camera.
    vtkdraw* scene = m_window->sceneBuilder();
    if (showsResultColours(*scene)) {
        vtkNew<vtkCamera> camera;
        camera->DeepCopy(scene->renderer()->GetActiveCamera());
        scene->drawModel();
        scene->renderer()->GetActiveCamera()->DeepCopy(camera);
    }
    showModeShape(*scene, &m_ghost, amplitude, m_x, m_y, m_z);
}

void ModesCommands::panelClosed()
{
    m_ghost.hide();
    m_shapeCall = nullptr;
    showModeShape(*m_window->sceneBuilder(), nullptr, 0.0, m_x, m_y, m_z);
}
