#include "TolvaneDiagrams.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>

#include "DiagramDisplay.h"
#include "DiagramPanel.h"
#include "LocalAxes.h"
#include "ModelRecord.h"
#include "RunRecord.h"
#include "Tolvane.h"
#include "vtkdraw.h"

DiagramCommands::DiagramCommands(Tolvane* window) : QObject(window), m_window(window)
{
    QMenu* view = window->form()->menu_View;
    view->addSeparator();
    localAxesAction = view->addAction(QStringLiteral("Local Axes"));
    localAxesAction->setObjectName(QStringLiteral("actionLocal_Axes"));
    localAxesAction->setCheckable(true);
    loadsAction = view->addAction(QStringLiteral("Loads"));
    loadsAction->setObjectName(QStringLiteral("actionLoads"));
    loadsAction->setCheckable(true);
    patternMenu = view->addMenu(QStringLiteral("Load Pattern"));
    patternMenu->setObjectName(QStringLiteral("menuLoad_Pattern"));
    diagramsAction = view->addAction(QStringLiteral("Diagrams..."));
    diagramsAction->setObjectName(QStringLiteral("actionDiagrams"));

    connect(localAxesAction, &QAction::toggled, this, [this](bool on) {
        m_window->sceneBuilder()->showLocalAxes(on);
        m_window->sceneBuilder()->render();
    });
    connect(loadsAction, &QAction::toggled, this, [this](bool on) {
        vtkdraw* scene = m_window->sceneBuilder();
        scene->showLoads(on, scene->loadPattern());
        scene->render();
    });
    connect(patternMenu, &QMenu::aboutToShow, this, &DiagramCommands::fillPatternMenu);
    connect(diagramsAction, &QAction::triggered, this, &DiagramCommands::openPanel);
}

void DiagramCommands::fillPatternMenu()
{
    patternMenu->clear();
    auto* group = new QActionGroup(patternMenu);
    const int current = m_window->sceneBuilder()->loadPattern();
    const auto add = [&](const QString& text, int tag) {
        QAction* a = patternMenu->addAction(text);
        a->setCheckable(true);
        a->setChecked(tag == current);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, tag] {
            vtkdraw* scene = m_window->sceneBuilder();
            scene->showLoads(true, tag);
            const QSignalBlocker quiet(loadsAction);
            loadsAction->setChecked(true);
            scene->render();
        });
    };
    add(QStringLiteral("All Patterns"), -1);
    const ModelRecord& model = *modelRecord();
    for (int i = 0; i < qMin(model.patternTags.size(), model.patternTypes.size()); ++i)
        if (model.patternTags.indexOf(model.patternTags[i]) == i)
            add(QStringLiteral("Pattern %1 (%2)").arg(model.patternTags[i]).arg(model.patternTypes[i]),
                model.patternTags[i]);
}

void DiagramCommands::openPanel()
{
    if (!m_panel) {
        m_panel = new DiagramPanel(m_window);
        connect(m_panel, &DiagramPanel::settingsChanged, this, &DiagramCommands::redraw);
        connect(m_panel, &QObject::destroyed, this, [this] {
            m_window->sceneBuilder()->clearDiagram();
            m_window->sceneBuilder()->render();
        });
        loadResults();
    }
    m_panel->show();
    m_panel->raise();
    redraw();
}

void DiagramCommands::followStep(int step)
{
    m_step = step;
    if (m_panel)
        redraw();
}

void DiagramCommands::modelRedrawn()
{
    if (!m_panel)
        return;
    loadResults();
    redraw();
}

void DiagramCommands::loadResults()
{
    m_results = DiagramResults();
    m_panel->setComponents(forceComponents(modelRecord()->ndm));
    const QString dir = m_window->currentFileDir();
    const QString script = dir + QLatin1Char('/') + m_window->currentFileName();
    if (m_window->currentFileName().isEmpty()) {
        m_panel->setStatus(QStringLiteral("Open a script and run it first."));
        return;
    }
    const RunRecord record = readRunRecord(dir + QLatin1Char('/') + runRecordFileName());
    if (!record.readable) {
        m_panel->setStatus(QStringLiteral("No results for %1 yet. ").arg(m_window->currentFileName()) +
                           memberForcesNeeded(*modelRecord()));
        return;
    }
    if (record.digest != scriptDigest(script)) {
        m_panel->setStatus(QStringLiteral("%1 has changed since its last run: run it again.")
                               .arg(m_window->currentFileName()));
        return;
    }
    QString why;
    if (!m_results.load(dir, record, *modelRecord(), &why))
        m_panel->setStatus(why);
}

void DiagramCommands::redraw()
{
    vtkdraw* scene = m_window->sceneBuilder();
    if (!m_panel || m_results.isEmpty()) {
        scene->clearDiagram();
        scene->render();
        return;
    }
    const ModelRecord& model = *modelRecord();
    const int steps = m_results.stepCount();
    const int step = m_step > 0 ? qMin(m_step, steps) : steps;
    const QVector<DiagramResults::Member> members = m_results.membersAt(step, model);
    const ForceComponent component = m_panel->component();
    double largest = 0.0;
    const QVector<DiagramCurve> curves = diagramCurves(members, component, m_panel->compressionSide(), &largest);
    const double automatic = automaticDiagramScale(largest, MemberGeometry(model).extent());
    m_panel->setAutomaticScale(automatic);
    const double scale = m_panel->scale() > 0.0 ? m_panel->scale() : automatic;
    scene->showDiagram(curves, scale);
    scene->render();
    m_panel->setStatus(QStringLiteral("Step %1 of %2: %3 of %4 members, largest |%5| %6.")
                           .arg(step)
                           .arg(steps)
                           .arg(forceComponentName(component))
                           .arg(members.size())
                           .arg(forceComponentName(component))
                           .arg(largest, 0, 'g', 4));
}
