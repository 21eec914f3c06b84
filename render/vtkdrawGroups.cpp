// The eight geometry builders. Points are never shared between cells, so that a result
// step can address every corner by its build number.
#include "vtkdraw.h"

#include <QColor>

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkCellType.h>
#include <vtkDataSetMapper.h>
#include <vtkExtractEdges.h>
#include <vtkFloatArray.h>
#include <vtkIdList.h>
#include <vtkIntArray.h>
#include <vtkLookupTable.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>
#include <vtkUnstructuredGrid.h>

#include "ModelRecord.h"
#include "NodeIndex.h"

#include <algorithm>
#include "SettingsStore.h"

namespace {

const char* tagArrayName(vtkdraw::Group group)
{
    switch (group) {
        case vtkdraw::FreeNodes:
            return "freeNodeLabels";
        case vtkdraw::FixedNodes:
            return "fixedNodeLabels";
        case vtkdraw::Frames:
            return "twoNodeElemLabels";
        case vtkdraw::ThreeNode:
            return "threeNodeElemLabels";
        case vtkdraw::FourNode:
            return "fourNodeElemLabels";
        case vtkdraw::EightNode:
            return "eightNodeElemLabels";
        default:
            return "";
    }
}

vtkSmartPointer<vtkIntArray> newTagArray(vtkdraw::Group group)
{
    auto tags = vtkSmartPointer<vtkIntArray>::New();
    tags->SetName(tagArrayName(group));
    return tags;
}

void insertNodePoint(vtkPoints* points, const ModelRecord& model, int position)
{
    points->InsertNextPoint(model.nodeX[position], model.nodeY[position], model.nodeZ[position]);
}

}  // namespace

void vtkdraw::applyColor(vtkActor* actor, const QString& colorKey, const QString& transparencyKey) const
{
    const QColor c = SettingsStore::color(m_settingsPath, colorKey);
    actor->GetProperty()->SetColor(c.redF(), c.greenF(), c.blueF());
    actor->GetProperty()->SetOpacity(SettingsStore::opacity(m_settingsPath, transparencyKey));
}

int vtkdraw::sizeSetting(const QString& key) const
{
    return SettingsStore::integer(m_settingsPath, key);
}

void vtkdraw::drawFreeNodes()
{
    drawNodes(FreeNodes, false);
}

void vtkdraw::drawFixedNodes()
{
    drawNodes(FixedNodes, true);
}

void vtkdraw::drawNodes(Group group, bool restrained)
{
    const ModelRecord& model = *modelRecord();
    GroupStore& g = m_groups[group];
    g.points = vtkSmartPointer<vtkPoints>::New();
    g.tags = newTagArray(group);
    g.actor = nullptr;
    g.edgeActor = nullptr;
    vtkNew<vtkCellArray> vertices;
    auto data = vtkSmartPointer<vtkPolyData>::New();
    g.dataSet = data;

    const QSet<int> fixed = tagSet(model.fixNodeTags);
    const NodeIndex& index = nodeIndex();
    g.nodePositions.clear();
    g.entries.clear();
    vtkIdType k = 0;
    for (int i = 0; i < model.nodeTags.size(); ++i) {
        if (fixed.contains(model.nodeTags[i]) != restrained)
            continue;
        insertNodePoint(g.points, model, i);
        // A result step moves a node by its tag, that is from the tag's first definition.
        g.nodePositions.append(index.position(model.nodeTags[i]));
        vertices->InsertNextCell(1, &k);
        g.tags->InsertNextValue(model.nodeTags[i]);
        g.entries.append(i);
        ++k;
    }
    data->SetPoints(g.points);
    data->SetVerts(vertices);
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(data);
    g.mapper = mapper;

    g.actor = vtkSmartPointer<vtkActor>::New();
    g.actor->SetMapper(mapper);
    if (restrained)
        applyColor(g.actor, QStringLiteral("MODELCOLOR/Restraints"),
                   QStringLiteral("MODELTRANSPARENCY/Restraints"));
    else
        applyColor(g.actor, QStringLiteral("MODELCOLOR/Points"), QStringLiteral("MODELTRANSPARENCY/Points"));
    g.actor->GetProperty()->SetPointSize(float(sizeSetting(QStringLiteral("SIZEANDWIDTH/PointSize"))));
    m_renderer->AddActor(g.actor);

    buildLabels(group,
                restrained ? QStringLiteral("LABELCOLOR/Restraints") : QStringLiteral("LABELCOLOR/Points"));
}

void vtkdraw::drawFrames()
{
    drawElements(Frames, 2);
}

void vtkdraw::drawThreeNodeElements()
{
    drawElements(ThreeNode, 3);
}

void vtkdraw::drawFourNodeElements()
{
    drawElements(FourNode, 4);
}

void vtkdraw::drawEightNodeElements()
{
    drawElements(EightNode, 8);
}

void vtkdraw::drawEqualDOF()
{
    const ModelRecord& model = *modelRecord();
    drawPairs(EqualDOF, model.equalDofRetainedNodes, model.equalDofConstrainedNodes,
              QStringLiteral("MODELCOLOR/EqualDOF"), QStringLiteral("MODELTRANSPARENCY/EqualDOF"));
}

void vtkdraw::drawRigidLinks()
{
    const ModelRecord& model = *modelRecord();
    drawPairs(RigidLinks, model.rigidLinkRetainedNodes, model.rigidLinkConstrainedNodes,
              QStringLiteral("MODELCOLOR/RigidLink"), QStringLiteral("MODELTRANSPARENCY/RigidLink"));
}

void vtkdraw::drawPairs(Group group, const QVector<int>& retained, const QVector<int>& constrained,
                        const QString& colorKey, const QString& transparencyKey)
{
    const ModelRecord& model = *modelRecord();
    GroupStore& g = m_groups[group];
    g.points = vtkSmartPointer<vtkPoints>::New();
    g.actor = nullptr;
    auto lines = vtkSmartPointer<vtkCellArray>::New();
    auto data = vtkSmartPointer<vtkPolyData>::New();
    data->SetPoints(g.points);
    g.dataSet = data;
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    g.mapper = mapper;

    const NodeIndex& index = nodeIndex();
    g.nodePositions.clear();
    g.entries.clear();
    // A failed script can leave half a pair: only complete pairs are drawn.
    const int pairs = qMin(retained.size(), constrained.size());
    vtkIdType k = 0;
    for (int i = 0; i < pairs; ++i) {
        const int a = index.position(retained[i]);
        const int b = index.position(constrained[i]);
        if (a < 0 || b < 0)
            return;
        insertNodePoint(g.points, model, a);
        insertNodePoint(g.points, model, b);
        g.nodePositions << a << b;
        const vtkIdType ends[2] = {k, k + 1};
        lines->InsertNextCell(2, ends);
        g.entries.append(i);
        k += 2;
    }
    data->SetLines(lines);
    mapper->SetInputData(data);
    g.actor = vtkSmartPointer<vtkActor>::New();
    g.actor->SetMapper(mapper);
    applyColor(g.actor, colorKey, transparencyKey);
    g.actor->GetProperty()->SetLineWidth(float(sizeSetting(QStringLiteral("SIZEANDWIDTH/LineWidth"))));
    m_renderer->AddActor(g.actor);
}

const NodeIndex& vtkdraw::nodeIndex()
{
    // Every group of one build looks tags up in the same list: index it once.
    const QVector<int>& tags = modelRecord()->nodeTags;
    if (!m_nodeIndex || !m_indexedTags.isSharedWith(tags)) {
        m_indexedTags = tags;
        m_nodeIndex = std::make_unique<NodeIndex>(tags);
    }
    return *m_nodeIndex;
}

void vtkdraw::drawElements(Group group, int nodeCount)
{
    const ModelRecord& model = *modelRecord();
    GroupStore& g = m_groups[group];
    g.points = vtkSmartPointer<vtkPoints>::New();
    g.scalars = vtkSmartPointer<vtkFloatArray>::New();
    g.tags = newTagArray(group);
    g.actor = nullptr;
    g.edgeActor = nullptr;
    auto cells = vtkSmartPointer<vtkCellArray>::New();
    vtkSmartPointer<vtkPolyData> poly;
    vtkSmartPointer<vtkUnstructuredGrid> grid;
    if (nodeCount == 8) {
        grid = vtkSmartPointer<vtkUnstructuredGrid>::New();
        grid->SetPoints(g.points);
        g.dataSet = grid;
        auto mapper = vtkSmartPointer<vtkDataSetMapper>::New();
        mapper->SetInputData(grid);
        g.mapper = mapper;
    } else {
        poly = vtkSmartPointer<vtkPolyData>::New();
        poly->SetPoints(g.points);
        g.dataSet = poly;
        g.mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    }

    const NodeIndex& index = nodeIndex();
    // Sized once: frames of large models run to 150,000 elements.
    const vtkIdType count =
        std::count(model.elementNodeCounts.cbegin(), model.elementNodeCounts.cend(), nodeCount);
    g.points->Allocate(count * nodeCount);
    g.nodePositions.clear();
    g.nodePositions.reserve(int(count * nodeCount));
    g.entries.clear();
    g.entries.reserve(int(count));
    g.scalars->Allocate(count * nodeCount);
    g.tags->Allocate(count);
    cells->AllocateExact(count, count * nodeCount);
    if (grid)
        grid->Allocate(count);
    vtkIdType k = 0;
    int corners[8];
    vtkIdType ids[8];
    // A failed script can leave a partial element, missing from the lists appended after its tag.
    int elements = std::min(model.elementTags.size(), model.elementNodeCounts.size());
    for (int c = 1; c <= nodeCount; ++c)
        elements = std::min(elements, model.elementNodes(c).size());
    for (int i = 0; i < elements; ++i) {
        if (model.elementNodeCounts[i] != nodeCount)
            continue;
        for (int c = 0; c < nodeCount; ++c) {
            corners[c] = index.position(model.elementNodes(c + 1)[i]);
            if (corners[c] < 0)
                return;
        }
        for (int c = 0; c < nodeCount; ++c) {
            insertNodePoint(g.points, model, corners[c]);
            g.nodePositions.append(corners[c]);
            g.scalars->InsertValue(k + c, 0.0f);
            ids[c] = k + c;
        }
        cells->InsertNextCell(nodeCount, ids);
        if (grid)
            grid->InsertNextCell(VTK_HEXAHEDRON, nodeCount, ids);
        g.tags->InsertNextValue(model.elementTags[i]);
        g.entries.append(i);
        k += nodeCount;
    }

    if (nodeCount == 2)
        poly->SetLines(cells);
    else if (poly)
        poly->SetPolys(cells);
    if (poly)
        static_cast<vtkPolyDataMapper*>(g.mapper.GetPointer())->SetInputData(poly);

    g.actor = vtkSmartPointer<vtkActor>::New();
    g.actor->SetMapper(g.mapper);
    if (nodeCount == 2) {
        applyColor(g.actor, QStringLiteral("MODELCOLOR/Frames"), QStringLiteral("MODELTRANSPARENCY/Frames"));
        g.actor->GetProperty()->SetLineWidth(float(sizeSetting(QStringLiteral("SIZEANDWIDTH/LineWidth"))));
        m_renderer->AddActor(g.actor);
    } else if (nodeCount == 8) {
        applyColor(g.actor, QStringLiteral("MODELCOLOR/SolidFace"),
                   QStringLiteral("MODELTRANSPARENCY/SolidFace"));
        m_renderer->AddActor(g.actor);
        addEdges(group, QStringLiteral("MODELCOLOR/SolidEdge"),
                 QStringLiteral("MODELTRANSPARENCY/SolidEdge"));
    } else {
        applyColor(g.actor, QStringLiteral("MODELCOLOR/AreaFace"),
                   QStringLiteral("MODELTRANSPARENCY/AreaFace"));
        m_renderer->AddActor(g.actor);
        addEdges(group, QStringLiteral("MODELCOLOR/AreaEdge"), QStringLiteral("MODELTRANSPARENCY/AreaEdge"));
    }
    g.opacity = g.actor->GetProperty()->GetOpacity();
    buildLabels(group, QStringLiteral("LABELCOLOR/Elements"));
}

void vtkdraw::addEdges(Group group, const QString& colorKey, const QString& transparencyKey)
{
    GroupStore& g = m_groups[group];
    vtkNew<vtkExtractEdges> edges;
    edges->SetInputData(g.dataSet);
    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputConnection(edges->GetOutputPort());
    // Once result scalars are attached to the shared data set the edges turn white.
    mapper->SetLookupTable(m_edgeTable);
    g.edgeActor = vtkSmartPointer<vtkActor>::New();
    g.edgeActor->SetMapper(mapper);
    applyColor(g.edgeActor, colorKey, transparencyKey);
    g.edgeOpacity = g.edgeActor->GetProperty()->GetOpacity();
    m_renderer->AddActor(g.edgeActor);
}
