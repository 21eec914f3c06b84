// Result display: every step rewrites, in place, the points and scalars that the builders
// kept, walking the node positions each build recorded per point; nothing is rebuilt.
#include "vtkdraw.h"

#include <QColor>

#include <vtkDataSetAttributes.h>
#include <vtkDoubleArray.h>
#include <vtkFloatArray.h>
#include <vtkLookupTable.h>
#include <vtkMapper.h>
#include <vtkPointData.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkScalarBarActor.h>
#include <vtkScalarBarRepresentation.h>
#include <vtkScalarBarWidget.h>
#include <vtkTextProperty.h>
#include <vtkVariant.h>
#include <vtkActor.h>
#include <vtkProperty.h>

#include <algorithm>

#include "LegendText.h"
#include "UndeformedGhost.h"
#include "ModelRecord.h"
#include "SettingsStore.h"

namespace {

template <typename T>
void writePoints(T* xyz, const int* j, int count, const ModelRecord& model, double scale,
                 const QVector<double>& dx, const QVector<double>& dy, const QVector<double>& dz, int nodes)
{
    for (int k = 0; k < count; ++k, xyz += 3) {
        const int n = j[k];
        // A position from a build of another model: leave that point alone.
        if (n < 0 || n >= nodes)
            continue;
        xyz[0] = T(model.nodeX[n] + scale * dx[n]);
        xyz[1] = T(model.nodeY[n] + scale * dy[n]);
        xyz[2] = T(model.nodeZ[n] + scale * dz[n]);
    }
}

}  // namespace

void vtkdraw::setScalarRange(double min, double max)
{
    m_contourMin = min;
    m_contourMax = max;
    if (m_scalarBarWidget->GetEnabled() && (min != m_labelledMin || max != m_labelledMax))
        updateLegendLabels();
}

void vtkdraw::setLegendTitle(const QString& title)
{
    m_legendTitle = title;
    if (vtkScalarBarActor* bar = m_scalarBarWidget->GetScalarBarActor()) {
        const QString font = legendFontFile();
        bar->SetTitle((font.isEmpty() ? latinSymbols(title) : title).toUtf8().constData());
    }
}

void vtkdraw::updateLegendLabels()
{
    // The labels are annotations of the table: VTK's own tick labels take only a printf format.
    m_contourTable->ResetAnnotations();
    for (double v : legendTicks(m_contourMin, m_contourMax, 5))
        m_contourTable->SetAnnotation(vtkVariant(v), legendNumber(v).toStdString());
    m_labelledMin = m_contourMin;
    m_labelledMax = m_contourMax;
}

void vtkdraw::showScalarBar()
{
    auto bar = vtkSmartPointer<vtkScalarBarActor>::New();
    bar->SetOrientationToHorizontal();
    bar->SetLookupTable(m_contourTable);
    const QColor c = SettingsStore::color(m_settingsPath, QStringLiteral("MODELCOLOR/Scalars"));
    bar->GetLabelTextProperty()->SetColor(c.redF(), c.greenF(), c.blueF());
    bar->DrawTickLabelsOff();
    bar->DrawAnnotationsOn();
    // Labels at a size of their own (a magnified capture enlarges it); the title fitted to the bar.
    bar->SetAnnotationTextScaling(0);
    bar->GetAnnotationTextProperty()->SetFontSize(14);
    bar->SetTitleRatio(0.35);
    // Numbers above the bar, the title below it.
    bar->SetTextPositionToPrecedeScalarBar();
    const QString font = legendFontFile();
    for (vtkTextProperty* text : {bar->GetTitleTextProperty(), bar->GetAnnotationTextProperty()}) {
        text->SetColor(c.redF(), c.greenF(), c.blueF());
        text->ItalicOff();
        text->ShadowOff();
        text->BoldOff();
        // The embedded fonts have no Greek letters for the components' names.
        if (!font.isEmpty()) {
            text->SetFontFamily(VTK_FONT_FILE);
            text->SetFontFile(font.toLocal8Bit().constData());
        }
    }
    if (!m_legendRenderer) {
        m_legendRenderer = vtkSmartPointer<vtkRenderer>::New();
        m_legendRenderer->SetLayer(1);
        m_legendRenderer->InteractiveOff();
        m_renderWindow->SetNumberOfLayers(std::max(2, m_renderWindow->GetNumberOfLayers()));
        m_renderWindow->AddRenderer(m_legendRenderer);
    }
    m_scalarBarWidget->SetDefaultRenderer(m_legendRenderer);
    m_scalarBarWidget->SetInteractor(m_renderWindow->GetInteractor());
    m_scalarBarWidget->SetScalarBarActor(bar);
    // The representation hands a new actor the old one's orientation: set it there, which also
    // gives the bar's box a horizontal shape.
    vtkScalarBarRepresentation* representation = m_scalarBarWidget->GetScalarBarRepresentation();
    representation->SetOrientation(VTK_ORIENT_HORIZONTAL);
    // Left where the vertical bar stood, the horizontal one would run off the view's right edge.
    representation->SetPosition(0.2, 0.01);
    representation->SetPosition2(0.6, 0.11);
    m_scalarBarWidget->SetEnabled(1);
    setLegendTitle(m_legendTitle);
    updateLegendLabels();
}

void vtkdraw::attachResultScalars()
{
    for (Group group : {Frames, ThreeNode, FourNode, EightNode}) {
        GroupStore& g = m_groups[group];
        if (!g.dataSet || !g.scalars || !g.mapper)
            continue;
        // Setting the same array, table, range or opacity again marks nothing modified.
        g.dataSet->GetPointData()->SetScalars(g.scalars);
        g.mapper->SetLookupTable(m_contourTable);
        g.mapper->SetScalarRange(m_contourMin, m_contourMax);
    }
    // Built once per build; afterwards this only finds it there.
    if (m_ghostWanted)
        m_ghost->show(*this);
    m_resultShown = true;
}

void vtkdraw::setUndeformedGhost(bool on)
{
    m_ghostWanted = on;
    if (on && m_resultShown)
        m_ghost->show(*this);
    else if (!on)
        m_ghost->hide();
}

vtkActor* vtkdraw::ghostActor(Group g) const
{
    return m_ghost->actor(g);
}

void vtkdraw::deformFreeNodes(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                              const QVector<double>& dispZ)
{
    deformGroup(FreeNodes, scale, dispX, dispY, dispZ, nullptr);
}

void vtkdraw::deformFixedNodes(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                               const QVector<double>& dispZ)
{
    deformGroup(FixedNodes, scale, dispX, dispY, dispZ, nullptr);
}

void vtkdraw::deformEqualDOF(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                             const QVector<double>& dispZ)
{
    deformGroup(EqualDOF, scale, dispX, dispY, dispZ, nullptr);
}

void vtkdraw::deformRigidLinks(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                               const QVector<double>& dispZ)
{
    deformGroup(RigidLinks, scale, dispX, dispY, dispZ, nullptr);
}

void vtkdraw::deformFrames(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                           const QVector<double>& dispZ, const QVector<double>& values)
{
    deformGroup(Frames, scale, dispX, dispY, dispZ, &values);
}

void vtkdraw::deformThreeNodeElements(double scale, const QVector<double>& dispX,
                                      const QVector<double>& dispY, const QVector<double>& dispZ,
                                      const QVector<double>& values)
{
    deformGroup(ThreeNode, scale, dispX, dispY, dispZ, &values);
}

void vtkdraw::deformFourNodeElements(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                                     const QVector<double>& dispZ, const QVector<double>& values)
{
    deformGroup(FourNode, scale, dispX, dispY, dispZ, &values);
}

void vtkdraw::deformEightNodeElements(double scale, const QVector<double>& dispX,
                                      const QVector<double>& dispY, const QVector<double>& dispZ,
                                      const QVector<double>& values)
{
    deformGroup(EightNode, scale, dispX, dispY, dispZ, &values);
}

void vtkdraw::deformGroup(Group group, double scale, const QVector<double>& dispX,
                          const QVector<double>& dispY, const QVector<double>& dispZ,
                          const QVector<double>* values)
{
    GroupStore& g = m_groups[group];
    const ModelRecord& model = *modelRecord();
    const int nodes = std::min({model.nodeX.size(), model.nodeY.size(), model.nodeZ.size()});
    // A step that does not cover every node is not drawn for this group.
    const int needed = model.nodeTags.size();
    if (!g.points || dispX.size() < needed || dispY.size() < needed || dispZ.size() < needed)
        return;
    const int count = int(std::min<vtkIdType>(g.points->GetNumberOfPoints(), g.nodePositions.size()));
    const int* positions = g.nodePositions.constData();
    const int limit = std::min(nodes, needed);
    if (vtkFloatArray* xyz = vtkFloatArray::FastDownCast(g.points->GetData()))
        writePoints(xyz->GetPointer(0), positions, count, model, scale, dispX, dispY, dispZ, limit);
    else if (vtkDoubleArray* xyz = vtkDoubleArray::FastDownCast(g.points->GetData()))
        writePoints(xyz->GetPointer(0), positions, count, model, scale, dispX, dispY, dispZ, limit);
    g.points->Modified();

    if (!values || !g.scalars)
        return;
    const int n = int(std::min<vtkIdType>(g.scalars->GetNumberOfTuples(), count));
    // Values of another group size (a result of another model) are not this group's: middle colour.
    const bool usable = values->size() == count;
    // A translucent colour over the background is not the legend's colour: a contour is opaque,
    // with its white edges; without one the group keeps the settings' look.
    if (g.actor)
        g.actor->GetProperty()->SetOpacity(usable ? 1.0 : g.opacity);
    if (g.edgeActor)
        g.edgeActor->GetProperty()->SetOpacity(usable ? 1.0 : g.edgeOpacity);
    const double span = m_contourMax - m_contourMin;
    float* s = g.scalars->GetPointer(0);
    for (int k = 0; k < n; ++k)
        s[k] = float(m_contourMin + span * (usable ? (*values)[k] : 0.5));
    g.scalars->Modified();
}
