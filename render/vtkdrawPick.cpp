// Inspection: which node or element lies under a point of the view, and outlines of chosen items
// drawn over the model. The outlines share the groups' points, so they follow a result step.
#include "vtkdraw.h"

#include <QSet>

#include <vtkActor.h>
#include <vtkCamera.h>
#include <vtkCellArray.h>
#include <vtkIdList.h>
#include <vtkIntArray.h>
#include <vtkMapper.h>
#include <vtkNew.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>

#include <algorithm>

#include <cmath>

#include "ModelInspection.h"
#include "ModelRecord.h"
#include "SceneAnnotations.h"
#include "SceneInspection.h"

namespace {

struct Ray {
    double from[3];
    double to[3];
    double pixel;  // world length of one pixel at the focal point
};

void displayToWorld(vtkRenderer* renderer, double x, double y, double z, double world[3])
{
    renderer->SetDisplayPoint(x, y, z);
    renderer->DisplayToWorld();
    const double* w = renderer->GetWorldPoint();
    for (int i = 0; i < 3; ++i)
        world[i] = w[3] != 0.0 ? w[i] / w[3] : w[i];
}

Ray rayThrough(vtkRenderer* renderer, int x, int y)
{
    Ray ray;
    displayToWorld(renderer, x, y, 0.0, ray.from);
    displayToWorld(renderer, x, y, 1.0, ray.to);
    double focal[4];
    renderer->GetActiveCamera()->GetFocalPoint(focal);
    focal[3] = 1.0;
    renderer->SetWorldPoint(focal);
    renderer->WorldToDisplay();
    const double depth = renderer->GetDisplayPoint()[2];
    double a[3], b[3];
    displayToWorld(renderer, x, y, depth, a);
    displayToWorld(renderer, x + 1, y, depth, b);
    ray.pixel = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                          (a[2] - b[2]) * (a[2] - b[2]));
    return ray;
}

bool isLineGroup(vtkdraw::Group g)
{
    return g == vtkdraw::Frames || g == vtkdraw::EqualDOF || g == vtkdraw::RigidLinks;
}

// Corner pairs of the outline of a cell of N corners: the edges of a hexahedron, the closed
// boundary of a face, the segment itself.
QVector<QPair<int, int>> outlineOf(int n)
{
    if (n == 8)
        return {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    if (n == 2)
        return {{0, 1}};
    QVector<QPair<int, int>> edges;
    for (int k = 0; k < n; ++k)
        edges.append({k, (k + 1) % n});
    return edges;
}

double colorDistance(const QColor& a, const double b[3])
{
    return std::abs(a.redF() - b[0]) + std::abs(a.greenF() - b[1]) + std::abs(a.blueF() - b[2]);
}

}  // namespace

bool vtkdraw::hasHighlight() const
{
    for (const auto& actor : m_inspection->highlights)
        if (actor)
            return true;
    return m_annotations->springHighlight != nullptr;
}

void vtkdraw::clearHighlight()
{
    for (auto& actor : m_inspection->highlights) {
        if (actor && m_inspection->overlay)
            m_inspection->overlay->RemoveActor(actor);
        actor = nullptr;
    }
    if (m_annotations->springHighlight && m_inspection->overlay)
        m_inspection->overlay->RemoveActor(m_annotations->springHighlight);
    m_annotations->springHighlight = nullptr;
}

// Layer 1, as the axes marker's, and never the renderer the mouse moves: the style would fit
// the shared camera's clipping range to the outline alone.
static vtkRenderer* overlayOf(SceneInspection& inspection, vtkRenderer* scene, vtkRenderWindow* window)
{
    if (!inspection.overlay) {
        inspection.overlay = vtkSmartPointer<vtkRenderer>::New();
        inspection.overlay->SetLayer(1);
        inspection.overlay->InteractiveOff();
        inspection.overlay->SetActiveCamera(scene->GetActiveCamera());
        window->SetNumberOfLayers(std::max(2, window->GetNumberOfLayers()));
        window->AddRenderer(inspection.overlay);
    }
    return inspection.overlay;
}

// Of a few vivid colours, the one farthest from the background and from every group's colour.
QColor vtkdraw::highlightColor() const
{
    const QColor candidates[] = {QColor(255, 0, 255), QColor(255, 255, 0), QColor(0, 255, 255),
                                 QColor(255, 128, 0)};
    QColor best = candidates[0];
    double bestScore = -1.0;
    for (const QColor& c : candidates) {
        double score = colorDistance(c, m_renderer->GetBackground());
        for (const GroupStore& g : m_groups)
            if (g.actor)
                score = std::min(score, colorDistance(c, g.actor->GetProperty()->GetColor()));
        if (score > bestScore) {
            bestScore = score;
            best = c;
        }
    }
    return best;
}

PickedItem vtkdraw::pick(int x, int y)
{
    PickedItem picked;
    const Ray ray = rayThrough(m_renderer, x, y);
    double length = 0.0;
    for (int i = 0; i < 3; ++i)
        length += (ray.to[i] - ray.from[i]) * (ray.to[i] - ray.from[i]);
    length = std::sqrt(length);
    if (!(length > 0.0) || !(ray.pixel > 0.0))
        return picked;

    struct Found {
        Group group = FreeNodes;
        PickIndex::Hit hit;
    };
    const double underPointer = 3.0 * ray.pixel;
    // Nodes are met within their drawn size plus a few pixels, lines within their width plus a few.
    const auto nearest = [&](std::initializer_list<Group> groups, Found* found) {
        for (Group group : groups) {
            GroupStore& g = m_groups[group];
            if (!g.actor || !g.dataSet || !g.actor->GetVisibility() ||
                g.actor->GetProperty()->GetOpacity() <= 0.0 || !m_renderer->HasViewProp(g.actor))
                continue;
            std::unique_ptr<PickIndex>& index = m_inspection->indexes[group];
            if (!index || !index->isCurrentFor(g.dataSet))
                index = std::make_unique<PickIndex>(g.dataSet);
            vtkProperty* p = g.actor->GetProperty();
            const double reach = group == FreeNodes || group == FixedNodes ? 0.5 * p->GetPointSize() + 4.0
                                 : group == Frames                         ? 0.5 * p->GetLineWidth() + 3.0
                                                                           : 1.0;
            const PickIndex::Hit hit = index->pick(ray.from, ray.to, reach * ray.pixel, underPointer);
            if (hit.found() && hit.cell < g.entries.size() && hit.betterThan(found->hit, underPointer))
                *found = {group, hit};
        }
    };
    Found node, element;
    nearest({FreeNodes, FixedNodes}, &node);
    nearest({Frames, ThreeNode, FourNode, EightNode}, &element);
    // A face or solid in front hides a node; lines never do.
    const double margin =
        node.hit.found()
            ? (0.5 * m_groups[node.group].actor->GetProperty()->GetPointSize() + 4.0) * ray.pixel / length
            : 0.0;
    if (node.hit.found() &&
        (!element.hit.found() || element.group == Frames || node.hit.t <= element.hit.t + margin)) {
        picked.kind = PickedItem::Node;
        picked.entry = m_groups[node.group].entries[int(node.hit.cell)];
    } else if (element.hit.found()) {
        picked.kind = PickedItem::Element;
        picked.entry = m_groups[element.group].entries[int(element.hit.cell)];
    }
    // A zero-length spring is drawn beside its node: met on its zigzag, it wins unless the node is nearer.
    PickIndex::Hit springHit;
    const vtkActor* frames = m_groups[Frames].actor;
    const double springReach =
        (0.5 * (frames ? m_groups[Frames].actor->GetProperty()->GetLineWidth() : 1.0) + 3.0) * ray.pixel;
    const int spring = pickSpring(ray.from, ray.to, springReach, underPointer, &springHit);
    if (spring >= 0 && (!node.hit.found() || springHit.miss < node.hit.miss) &&
        (picked.kind == PickedItem::Node || springHit.betterThan(element.hit, underPointer))) {
        picked.kind = PickedItem::Element;
        picked.entry = spring;
    }
    return picked;
}

int vtkdraw::highlight(const PickedItem& item)
{
    LineItems items;
    if (item.kind == PickedItem::Node)
        items.nodes.append(item.entry);
    else if (item.kind == PickedItem::Element)
        items.elements.append(item.entry);
    return highlight(items);
}

int vtkdraw::highlight(const LineItems& items)
{
    clearHighlight();
    const ModelRecord& model = *modelRecord();
    // Which cell of which group draws each wanted entry.
    QVector<int> cells[groupCount];
    QSet<int> nodeEntries(items.nodes.cbegin(), items.nodes.cend());
    QSet<int> elementEntries(items.elements.cbegin(), items.elements.cend());
    QSet<int> restrainedTags;
    for (int r : items.restraints)
        if (r >= 0 && r < model.fixNodeTags.size())
            restrainedTags.insert(model.fixNodeTags[r]);
    const QSet<int> equalDofs(items.equalDofs.cbegin(), items.equalDofs.cend());
    const QSet<int> rigidLinks(items.rigidLinks.cbegin(), items.rigidLinks.cend());
    for (int group = 0; group < groupCount; ++group) {
        const GroupStore& g = m_groups[group];
        if (!g.actor)
            continue;
        for (int c = 0; c < g.entries.size(); ++c) {
            const int entry = g.entries[c];
            const bool wanted = group == FreeNodes    ? nodeEntries.contains(entry)
                                : group == FixedNodes ? nodeEntries.contains(entry) ||
                                                            (g.tags && c < g.tags->GetNumberOfValues() &&
                                                             restrainedTags.contains(g.tags->GetValue(c)))
                                : group == EqualDOF   ? equalDofs.contains(entry)
                                : group == RigidLinks ? rigidLinks.contains(entry)
                                                      : elementEntries.contains(entry);
            if (wanted)
                cells[group].append(c);
        }
    }

    const QColor color = highlightColor();
    const double rgb[3] = {color.redF(), color.greenF(), color.blueF()};
    int outlined = 0;
    if (!elementEntries.isEmpty())
        highlightSprings(elementEntries, overlayOf(*m_inspection, m_renderer, m_renderWindow), rgb);
    vtkNew<vtkIdList> ids;
    for (int group = 0; group < groupCount; ++group) {
        if (cells[group].isEmpty())
            continue;
        const GroupStore& g = m_groups[group];
        const bool nodes = group == FreeNodes || group == FixedNodes;
        vtkNew<vtkCellArray> outline;
        for (int c : cells[group]) {
            g.dataSet->GetCellPoints(c, ids);
            if (nodes) {
                const vtkIdType id = ids->GetId(0);
                outline->InsertNextCell(1, &id);
                continue;
            }
            for (const auto& edge : outlineOf(int(ids->GetNumberOfIds()))) {
                const vtkIdType ends[2] = {ids->GetId(edge.first), ids->GetId(edge.second)};
                outline->InsertNextCell(2, ends);
            }
        }
        outlined += cells[group].size();
        vtkNew<vtkPolyData> data;
        data->SetPoints(g.points);  // shared: a result step moves the outline with the group
        if (nodes)
            data->SetVerts(outline);
        else
            data->SetLines(outline);
        vtkNew<vtkPolyDataMapper> mapper;
        mapper->SetInputData(data);
        mapper->ScalarVisibilityOff();
        auto actor = vtkSmartPointer<vtkActor>::New();
        actor->SetMapper(mapper);
        vtkProperty* p = actor->GetProperty();
        p->SetColor(color.redF(), color.greenF(), color.blueF());
        p->LightingOff();
        vtkProperty* drawn = g.actor->GetProperty();
        p->SetPointSize(float(std::max(2.0 * drawn->GetPointSize(), drawn->GetPointSize() + 8.0)));
        p->SetLineWidth(float(isLineGroup(Group(group)) ? drawn->GetLineWidth() + 4.0 : 3.0));
        m_inspection->highlights[group] = actor;
        overlayOf(*m_inspection, m_renderer, m_renderWindow)->AddActor(actor);
    }
    return outlined;
}
