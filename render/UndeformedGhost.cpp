#include "UndeformedGhost.h"

#include <vtkActor.h>
#include <vtkDataSetMapper.h>
#include <vtkNew.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>

#include <algorithm>

#include "ModelRecord.h"

namespace {

// A copy of the group's cells on points at the node coordinates.
vtkSmartPointer<vtkActor> outline(const GroupStore& g, const double background[3])
{
    const ModelRecord& model = *modelRecord();
    const int nodes = std::min({model.nodeX.size(), model.nodeY.size(), model.nodeZ.size()});
    const int count = int(std::min<vtkIdType>(g.points->GetNumberOfPoints(), g.nodePositions.size()));
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(g.points->GetNumberOfPoints());
    for (vtkIdType k = 0; k < g.points->GetNumberOfPoints(); ++k) {
        const int n = k < count ? g.nodePositions[int(k)] : -1;
        if (n >= 0 && n < nodes)
            points->SetPoint(k, model.nodeX[n], model.nodeY[n], model.nodeZ[n]);
        else
            points->SetPoint(k, g.points->GetPoint(k));
    }
    vtkSmartPointer<vtkPointSet> copy;
    copy.TakeReference(g.dataSet->NewInstance());
    copy->CopyStructure(g.dataSet);
    copy->SetPoints(points);

    vtkNew<vtkDataSetMapper> mapper;
    mapper->SetInputData(copy);
    mapper->ScalarVisibilityOff();
    // Where the shapes meet (at supports) the moved model is drawn over its outline.
    mapper->SetRelativeCoincidentTopologyLineOffsetParameters(0, 4);
    mapper->SetRelativeCoincidentTopologyPolygonOffsetParameters(0, 4);
    auto actor = vtkSmartPointer<vtkActor>::New();
    actor->SetMapper(mapper);
    actor->PickableOff();
    vtkProperty* p = actor->GetProperty();
    // A third of the way from the background towards white on a dark one, towards black on a light one.
    const double lightness = 0.299 * background[0] + 0.587 * background[1] + 0.114 * background[2];
    const double toward = lightness < 0.5 ? 1.0 : 0.0;
    p->SetColor(background[0] + 0.35 * (toward - background[0]), background[1] + 0.35 * (toward - background[1]),
                background[2] + 0.35 * (toward - background[2]));
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
            m_actors[group] = outline(g, background);
            m_source[group] = g.dataSet;
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
