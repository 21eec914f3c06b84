// The undeformed model under a result: each element group's outline drawn once more, thin and
// faint, at the node coordinates. It shares the group's cells and is built once per build, so a
// step costs it nothing but its drawing.
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
#include "StraightLines.h"
#include "SettingsStore.h"

namespace {

// White on a dark background, black on a light one, mostly see-through: seen, but not taken for
// the deformed shape. Translucent geometry is also the cheaper to draw in a multisampled window.
QColor contrast(const QColor& background)
{
    return background.lightnessF() < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
}

const double kGhostOpacity = 0.25;

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

    vtkSmartPointer<vtkMapper> mapper;
    if (auto* grid = vtkUnstructuredGrid::SafeDownCast(g.dataSet)) {
        // Solids: the outer surface's edges, which the mapper finds.
        vtkNew<vtkPoints> points;
        points->SetNumberOfPoints(count);
        for (int k = 0; k < count; ++k) {
            const int n = g.nodePositions[k];
            if (n >= 0 && n < nodes)
                points->SetPoint(k, model.nodeX[n], model.nodeY[n], model.nodeZ[n]);
            else
                points->SetPoint(k, g.points->GetPoint(k));
        }
        vtkNew<vtkUnstructuredGrid> outline;
        outline->SetPoints(points);
        outline->SetCells(grid->GetCellTypesArray(), grid->GetCells());
        auto m = vtkSmartPointer<vtkDataSetMapper>::New();
        m->SetInputData(outline);
        mapper = m;
    } else {
        // Lines and faces: their sides, each straight run of them as one line. The reference
        // frame's 154,020 members are 4,641 lines.
        const int corners = group == Frames ? 2 : group == ThreeNode ? 3 : 4;
        const QVector<int> cornerNodes = g.nodePositions.mid(0, count - count % corners);
        const QVector<int> lines = joinStraightRuns(
            corners == 2 ? cornerNodes : uniqueEdges(cornerNodes, corners), model.nodeX, model.nodeY, model.nodeZ);
        vtkNew<vtkPoints> points;
        points->SetNumberOfPoints(lines.size());
        vtkNew<vtkCellArray> cells;
        cells->AllocateExact(lines.size() / 2, lines.size());
        for (int k = 0; k < lines.size(); ++k)
            points->SetPoint(k, model.nodeX[lines[k]], model.nodeY[lines[k]], model.nodeZ[lines[k]]);
        for (vtkIdType k = 0; k + 1 < lines.size(); k += 2) {
            const vtkIdType ends[2] = {k, k + 1};
            cells->InsertNextCell(2, ends);
        }
        vtkNew<vtkPolyData> outline;
        outline->SetPoints(points);
        outline->SetLines(cells);
        auto m = vtkSmartPointer<vtkPolyDataMapper>::New();
        m->SetInputData(outline);
        mapper = m;
    }
    mapper->ScalarVisibilityOff();

    auto actor = vtkSmartPointer<vtkActor>::New();
    actor->SetMapper(mapper);
    actor->PickableOff();
    vtkProperty* p = actor->GetProperty();
    const QColor c = contrast(SettingsStore::color(m_settingsPath, QStringLiteral("MODELCOLOR/Background")));
    p->SetColor(c.redF(), c.greenF(), c.blueF());
    p->SetOpacity(kGhostOpacity);
    p->SetRepresentationToWireframe();
    p->LightingOff();
    p->SetLineWidth(1.0f);
    actor->SetVisibility(m_ghostWanted);
    m_renderer->AddActor(actor);
    m_ghosts[group] = actor;
}
