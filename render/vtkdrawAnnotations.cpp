// Symbols over the model: supports and zero-length springs with every build, local axes and loads
// when switched on, and member force diagrams when given. They are drawn at the model's geometry.
#include "vtkdraw.h"

#include <QColor>
#include <QSet>

#include <cmath>

#include <vtkActor.h>
#include <vtkActor2D.h>
#include <vtkCellArray.h>
#include <vtkIdList.h>
#include <vtkLabeledDataMapper.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkProperty2D.h>
#include <vtkRenderer.h>
#include <vtkStringArray.h>
#include <vtkTextProperty.h>

#include "LocalAxes.h"
#include "ModelAnnotations.h"
#include "ModelRecord.h"
#include "SceneAnnotations.h"
#include "SettingsStore.h"

namespace {

Rgb settingColor(const QString& path, const QString& key)
{
    const QColor c = SettingsStore::color(path, key);
    return {static_cast<unsigned char>(c.red()), static_cast<unsigned char>(c.green()),
            static_cast<unsigned char>(c.blue())};
}

// An actor drawing the glyphs in their own cell colours.
vtkSmartPointer<vtkActor> glyphActor(vtkPolyData* data, double lineWidth, double opacity = 1.0)
{
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(data);
    mapper->SetScalarModeToUseCellData();
    mapper->SetColorModeToDirectScalars();
    auto actor = vtkSmartPointer<vtkActor>::New();
    actor->SetMapper(mapper);
    actor->GetProperty()->SetLineWidth(float(lineWidth));
    actor->GetProperty()->SetOpacity(opacity);
    return actor;
}

// Each polyline of DATA as its segments, so that a pick meets the zigzag and not the polygon it
// would enclose.
vtkSmartPointer<vtkPolyData> segmentsOf(vtkPolyData* data, const QVector<int>& entries, QVector<int>* segmentEntries)
{
    auto segments = vtkSmartPointer<vtkCellArray>::New();
    segmentEntries->clear();
    vtkNew<vtkIdList> ids;
    vtkCellArray* lines = data->GetLines();
    lines->InitTraversal();
    for (int cell = 0; lines->GetNextCell(ids) && cell < entries.size(); ++cell) {
        for (vtkIdType k = 0; k + 1 < ids->GetNumberOfIds(); ++k) {
            const vtkIdType ends[2] = {ids->GetId(k), ids->GetId(k + 1)};
            segments->InsertNextCell(2, ends);
            segmentEntries->append(entries[cell]);
        }
    }
    auto out = vtkSmartPointer<vtkPolyData>::New();
    out->SetPoints(data->GetPoints());
    out->SetLines(segments);
    return out;
}

}  // namespace

void vtkdraw::swapAnnotation(vtkSmartPointer<vtkActor>& slot, vtkSmartPointer<vtkActor> actor)
{
    if (slot)
        m_renderer->RemoveActor(slot);
    slot = actor;
    if (slot)
        m_renderer->AddActor(slot);
}

void vtkdraw::drawAnnotations()
{
    SceneAnnotations& a = *m_annotations;
    const ModelRecord& model = *modelRecord();
    const MemberGeometry geometry(model);
    const double lineWidth = std::max(1, sizeSetting(QStringLiteral("SIZEANDWIDTH/LineWidth")));

    GlyphGeometry supports;
    addSupports(supports, model, geometry, settingColor(m_settingsPath, QStringLiteral("MODELCOLOR/Restraints")));
    swapAnnotation(a.supports,
                   supports.isEmpty()
                       ? nullptr
                       : glyphActor(supports.data(), 2.5,
                                    std::max(0.2, SettingsStore::opacity(
                                                      m_settingsPath, QStringLiteral("MODELTRANSPARENCY/Restraints")))));

    GlyphGeometry springs;
    QVector<int> entries;
    addSprings(springs, model, geometry, settingColor(m_settingsPath, QStringLiteral("MODELCOLOR/Frames")),
               &entries);
    vtkSmartPointer<vtkPolyData> springData = springs.data();
    a.springSegments = segmentsOf(springData, entries, &a.springSegmentEntries);
    a.springIndex.reset();
    swapAnnotation(a.springs, springs.isEmpty() ? nullptr : glyphActor(springData, lineWidth));

    showLocalAxes(a.localAxesShown);
    showLoads(a.loadsShown, a.loadPattern);
    clearDiagram();
}

void vtkdraw::showLocalAxes(bool on)
{
    SceneAnnotations& a = *m_annotations;
    a.localAxesShown = on;
    vtkSmartPointer<vtkActor> actor;
    if (on) {
        const ModelRecord& model = *modelRecord();
        GlyphGeometry axes;
        addLocalAxes(axes, model, MemberGeometry(model));
        if (!axes.isEmpty())
            actor = glyphActor(axes.data(), 3.0);
    }
    swapAnnotation(a.localAxes, actor);
}

void vtkdraw::showLoads(bool on, int pattern)
{
    SceneAnnotations& a = *m_annotations;
    a.loadsShown = on;
    a.loadPattern = pattern;
    vtkSmartPointer<vtkActor> actor;
    if (on) {
        const ModelRecord& model = *modelRecord();
        GlyphGeometry loads;
        addLoads(loads, model, MemberGeometry(model), pattern);
        if (!loads.isEmpty())
            actor = glyphActor(loads.data(), 2.0);
    }
    swapAnnotation(a.loads, actor);
}

bool vtkdraw::localAxesShown() const
{
    return m_annotations->localAxesShown;
}

bool vtkdraw::loadsShown() const
{
    return m_annotations->loadsShown;
}

int vtkdraw::loadPattern() const
{
    return m_annotations->loadPattern;
}

void vtkdraw::showDiagram(const QVector<DiagramCurve>& curves, double scale)
{
    clearDiagram();
    SceneAnnotations& a = *m_annotations;
    const ModelRecord& model = *modelRecord();
    const MemberGeometry geometry(model);
    GlyphGeometry fill, outline;
    addDiagrams(fill, outline, curves, geometry, scale);
    if (fill.isEmpty() && outline.isEmpty())
        return;
    swapAnnotation(a.diagramFill, glyphActor(fill.data(), 1.0, 0.6));
    // Flat colours: the sign reads the same from every side.
    a.diagramFill->GetProperty()->LightingOff();
    swapAnnotation(a.diagramOutline, glyphActor(outline.data(), 1.5));

    // The labelled values, written where the curve reaches them.
    auto points = vtkSmartPointer<vtkPoints>::New();
    auto texts = vtkSmartPointer<vtkStringArray>::New();
    texts->SetName("values");
    for (const DiagramCurve& curve : curves) {
        const MemberAxes axes = geometry.axes(curve.entry);
        if (!axes.oriented)
            continue;
        for (int k = 0; k < std::min(curve.labelAt.size(), curve.labelValues.size()); ++k) {
            double p[3];
            axes.pointAt(curve.labelAt[k], curve.axis, curve.side * curve.labelValues[k] * scale, p);
            points->InsertNextPoint(p);
            texts->InsertNextValue(QString::number(curve.labelValues[k], 'g', 4).toStdString());
        }
    }
    auto anchors = vtkSmartPointer<vtkPolyData>::New();
    anchors->SetPoints(points);
    anchors->GetPointData()->AddArray(texts);
    auto mapper = vtkSmartPointer<vtkLabeledDataMapper>::New();
    mapper->SetInputData(anchors);
    mapper->SetLabelModeToLabelFieldData();
    mapper->SetFieldDataName("values");
    vtkTextProperty* text = mapper->GetLabelTextProperty();
    text->SetFontSize(std::max(10, sizeSetting(QStringLiteral("SIZEANDWIDTH/LabelSize"))));
    text->SetFontFamilyToArial();
    text->SetBold(true);
    text->SetShadow(false);
    const QColor c = SettingsStore::color(m_settingsPath, QStringLiteral("LABELCOLOR/Elements"));
    text->SetColor(c.redF(), c.greenF(), c.blueF());
    a.diagramLabels = vtkSmartPointer<vtkActor2D>::New();
    a.diagramLabels->SetMapper(mapper);
    m_renderer->AddActor2D(a.diagramLabels);
}

void vtkdraw::clearDiagram()
{
    SceneAnnotations& a = *m_annotations;
    swapAnnotation(a.diagramFill, nullptr);
    swapAnnotation(a.diagramOutline, nullptr);
    if (a.diagramLabels)
        m_renderer->RemoveActor2D(a.diagramLabels);
    a.diagramLabels = nullptr;
}

bool vtkdraw::hasDiagram() const
{
    return m_annotations->diagramFill != nullptr;
}

int vtkdraw::pickSpring(const double from[3], const double to[3], double tolerance, double near,
                        PickIndex::Hit* hit)
{
    SceneAnnotations& a = *m_annotations;
    if (!a.springs || !a.springSegments || a.springSegmentEntries.isEmpty() || !m_renderer->HasViewProp(a.springs))
        return -1;
    if (!a.springIndex)
        a.springIndex = std::make_unique<PickIndex>(a.springSegments);
    *hit = a.springIndex->pick(from, to, tolerance, near);
    return hit->found() && hit->cell < a.springSegmentEntries.size() ? a.springSegmentEntries[int(hit->cell)] : -1;
}

int vtkdraw::highlightSprings(const QSet<int>& elements, vtkRenderer* overlay, const double color[3])
{
    SceneAnnotations& a = *m_annotations;
    if (overlay && a.springHighlight)
        overlay->RemoveActor(a.springHighlight);
    a.springHighlight = nullptr;
    if (!overlay || !a.springs || !m_renderer->HasViewProp(a.springs))
        return 0;
    auto segments = vtkSmartPointer<vtkCellArray>::New();
    QSet<int> outlined;
    vtkNew<vtkIdList> ids;
    for (int c = 0; c < a.springSegmentEntries.size(); ++c) {
        if (!elements.contains(a.springSegmentEntries[c]))
            continue;
        a.springSegments->GetCellPoints(c, ids);
        segments->InsertNextCell(ids);
        outlined.insert(a.springSegmentEntries[c]);
    }
    if (outlined.isEmpty())
        return 0;
    auto data = vtkSmartPointer<vtkPolyData>::New();
    data->SetPoints(a.springSegments->GetPoints());
    data->SetLines(segments);
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(data);
    mapper->ScalarVisibilityOff();
    a.springHighlight = vtkSmartPointer<vtkActor>::New();
    a.springHighlight->SetMapper(mapper);
    a.springHighlight->GetProperty()->SetColor(color[0], color[1], color[2]);
    a.springHighlight->GetProperty()->LightingOff();
    a.springHighlight->GetProperty()->SetLineWidth(float(a.springs->GetProperty()->GetLineWidth() + 4.0));
    overlay->AddActor(a.springHighlight);
    return outlined.size();
}
