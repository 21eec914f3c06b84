#include "UndeformedGhost.h"

#include <QColor>

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkDataSetMapper.h>
#include <vtkNew.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>
#include <vtkUnstructuredGrid.h>

#include <algorithm>

#include "ModelRecord.h"
#include "StraightLines.h"

namespace {

// Lines and faces: their sides, each straight run of them as one line. The reference frame's
// 154,020 members are 4,641 lines, which a step draws at a few percent of its cost.
vtkSmartPointer<vtkMapper> sideLines(const GroupStore& g, vtkdraw::Group group, int count)
{
    const ModelRecord& model = *modelRecord();
    const int corners = group == vtkdraw::Frames ? 2 : group == vtkdraw::ThreeNode ? 3 : 4;
    const QVector<int> cornerNodes = g.nodePositions.mid(0, count - count % corners);
    const QVector<int> lines = joinStraightRuns(corners == 2 ? cornerNodes : uniqueEdges(cornerNodes, corners),
                                                model.nodeX, model.nodeY, model.nodeZ);
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(lines.size());
    for (int k = 0; k < lines.size(); ++k)
        points->SetPoint(k, model.nodeX[lines[k]], model.nodeY[lines[k]], model.nodeZ[lines[k]]);
    vtkNew<vtkCellArray> cells;
    cells->AllocateExact(lines.size() / 2, lines.size());
    for (vtkIdType k = 0; k + 1 < lines.size(); k += 2) {
        const vtkIdType ends[2] = {k, k + 1};
        cells->InsertNextCell(2, ends);
    }
    vtkNew<vtkPolyData> outline;
    outline->SetPoints(points);
    outline->SetLines(cells);
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(outline);
    return mapper;
}

// Solids: the outer surface's edges, which the mapper finds, of a copy at the node coordinates.
vtkSmartPointer<vtkMapper> surfaceEdges(const GroupStore& g, vtkUnstructuredGrid* grid, int count)
{
    const ModelRecord& model = *modelRecord();
    const int nodes = std::min({model.nodeX.size(), model.nodeY.size(), model.nodeZ.size()});
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(g.points->GetNumberOfPoints());
    for (vtkIdType k = 0; k < g.points->GetNumberOfPoints(); ++k) {
        const int n = k < count ? g.nodePositions[int(k)] : -1;
        if (n >= 0 && n < nodes)
            points->SetPoint(k, model.nodeX[n], model.nodeY[n], model.nodeZ[n]);
        else
            points->SetPoint(k, g.points->GetPoint(k));
    }
    vtkNew<vtkUnstructuredGrid> outline;
    outline->SetPoints(points);
    outline->SetCells(grid->GetCellTypesArray(), grid->GetCells());
    auto mapper = vtkSmartPointer<vtkDataSetMapper>::New();
    mapper->SetInputData(outline);
    return mapper;
}

vtkSmartPointer<vtkActor> outline(const GroupStore& g, vtkdraw::Group group, const double background[3])
{
    const ModelRecord& model = *modelRecord();
    const int count = int(std::min<vtkIdType>(g.points->GetNumberOfPoints(), g.nodePositions.size()));
    if (std::any_of(g.nodePositions.cbegin(), g.nodePositions.cbegin() + count,
                    [&](int n) { return n < 0 || n >= model.nodeX.size() || n >= model.nodeY.size() ||
                                        n >= model.nodeZ.size(); }))
        return nullptr;  // a build of another model
    auto* grid = vtkUnstructuredGrid::SafeDownCast(g.dataSet);
    vtkSmartPointer<vtkMapper> mapper = grid ? surfaceEdges(g, grid, count) : sideLines(g, group, count);
    mapper->ScalarVisibilityOff();
    auto actor = vtkSmartPointer<vtkActor>::New();
    actor->SetMapper(mapper);
    actor->PickableOff();
    vtkProperty* p = actor->GetProperty();
    // White on a dark background, black on a light one, mostly see-through: seen, but not taken for
    // the moved shape. Translucent lines are also the cheaper in a multisampled window.
    const double lightness = 0.299 * background[0] + 0.587 * background[1] + 0.114 * background[2];
    const double toward = lightness < 0.5 ? 1.0 : 0.0;
    p->SetColor(toward, toward, toward);
    p->SetOpacity(0.25);
    p->SetRepresentationToWireframe();
    p->LightingOff();
    p->SetLineWidth(1.0f);
    return actor;
}

}  // namespace

void UndeformedGhost::show(vtkdraw& scene)
{
    double background[3];
    scene.renderer()->GetBackground(background);
    for (vtkdraw::Group group : {vtkdraw::Frames, vtkdraw::ThreeNode, vtkdraw::FourNode, vtkdraw::EightNode}) {
        const GroupStore& g = scene.group(group);
        // A rebuild made new data sets and removed every actor: build the outline anew.
        if (m_actors[group] && m_source[group] != g.dataSet)
            m_actors[group] = nullptr;
        if (!m_actors[group] && g.points && g.dataSet && g.actor) {
            m_actors[group] = outline(g, group, background);
            m_source[group] = g.dataSet;
            if (m_actors[group])
                scene.renderer()->AddActor(m_actors[group]);
        }
        if (m_actors[group])
            m_actors[group]->SetVisibility(true);
    }
}

vtkActor* UndeformedGhost::actor(vtkdraw::Group group) const
{
    return m_actors[group];
}

void UndeformedGhost::hide()
{
    for (const auto& actor : m_actors)
        if (actor)
            actor->SetVisibility(false);
}
