// The undeformed model under a result: each element group's outline drawn once more, thin, opaque
// and in a colour between the background and the model's, at the node coordinates. It shares the
// group's cells and is built once per build, so a step costs it nothing but its drawing.
#include "vtkdraw.h"

#include <QColor>

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkDataSetMapper.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>
#include <vtkUnstructuredGrid.h>

#include "ModelRecord.h"
#include "SettingsStore.h"

namespace {

// A quarter of the way from the background towards white on a dark background, towards black on
// a light one: seen, but not taken for the deformed shape.
QColor faint(const QColor& background)
{
    const QColor toward = background.lightnessF() < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
    const double f = 0.3;
    return QColor::fromRgbF(background.redF() + f * (toward.redF() - background.redF()),
                            background.greenF() + f * (toward.greenF() - background.greenF()),
                            background.blueF() + f * (toward.blueF() - background.blueF()));
}

}  // namespace

vtkActor* vtkdraw::ghostActor(Group g) const
{
    return m_ghosts[g];
}

void vtkdraw::buildGhost(Group group)
{
    const GroupStore& g = m_groups[group];
    const ModelRecord& model = *modelRecord();
    if (!g.points || !g.dataSet || !g.actor)
        return;
    const int count = int(std::min<vtkIdType>(g.points->GetNumberOfPoints(), g.nodePositions.size()));
    const int nodes = std::min({model.nodeX.size(), model.nodeY.size(), model.nodeZ.size()});
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(count);
    for (int k = 0; k < count; ++k) {
        const int n = g.nodePositions[k];
        if (n >= 0 && n < nodes)
            points->SetPoint(k, model.nodeX[n], model.nodeY[n], model.nodeZ[n]);
        else
            points->SetPoint(k, g.points->GetPoint(k));
    }

    vtkSmartPointer<vtkMapper> mapper;
    if (auto* grid = vtkUnstructuredGrid::SafeDownCast(g.dataSet)) {
        vtkNew<vtkUnstructuredGrid> outline;
        outline->SetPoints(points);
        outline->SetCells(grid->GetCellTypesArray(), grid->GetCells());
        auto m = vtkSmartPointer<vtkDataSetMapper>::New();
        m->SetInputData(outline);
        mapper = m;
    } else if (auto* poly = vtkPolyData::SafeDownCast(g.dataSet)) {
        vtkNew<vtkPolyData> outline;
        outline->SetPoints(points);
        outline->SetLines(poly->GetLines());
        outline->SetPolys(poly->GetPolys());
        auto m = vtkSmartPointer<vtkPolyDataMapper>::New();
        m->SetInputData(outline);
        mapper = m;
    } else {
        return;
    }
    mapper->ScalarVisibilityOff();
    // Where the shapes meet (at supports), the deformed model is drawn over its outline.
    mapper->SetRelativeCoincidentTopologyLineOffsetParameters(0, 4);
    mapper->SetRelativeCoincidentTopologyPolygonOffsetParameters(0, 4);

    auto actor = vtkSmartPointer<vtkActor>::New();
    actor->SetMapper(mapper);
    actor->PickableOff();
    vtkProperty* p = actor->GetProperty();
    const QColor c = faint(SettingsStore::color(m_settingsPath, QStringLiteral("MODELCOLOR/Background")));
    p->SetColor(c.redF(), c.greenF(), c.blueF());
    p->SetRepresentationToWireframe();
    p->LightingOff();
    p->SetLineWidth(1.0f);
    actor->SetVisibility(m_ghostWanted);
    m_renderer->AddActor(actor);
    m_ghosts[group] = actor;
}
