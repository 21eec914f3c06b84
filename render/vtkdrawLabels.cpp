// Tag labels: one 2-D actor per group, anchored at the centre of each vertex or element
// cell. Built with the geometry but shown only through the label switches.
#include "vtkdraw.h"

#include <QColor>

#include <vtkActor2D.h>
#include <vtkCellCenters.h>
#include <vtkIdFilter.h>
#include <vtkIntArray.h>
#include <vtkLabeledDataMapper.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkProperty2D.h>
#include <vtkTextProperty.h>

#include "SettingsStore.h"

void vtkdraw::buildLabels(Group group, const QString& colorKey)
{
    GroupStore& g = m_groups[group];

    vtkNew<vtkTextProperty> text;
    text->SetFontFamilyToCourier();
    text->SetFontSize(sizeSetting(QStringLiteral("SIZEANDWIDTH/LabelSize")));

    vtkNew<vtkIdFilter> cellIds;
    cellIds->SetInputData(g.dataSet);
    cellIds->PointIdsOn();
    cellIds->CellIdsOn();
    cellIds->FieldDataOn();
    vtkNew<vtkCellCenters> centres;
    centres->SetInputConnection(cellIds->GetOutputPort());
    centres->Update();

    // Centre i carries the tag of cell i.
    vtkNew<vtkPoints> anchors;
    anchors->DeepCopy(centres->GetOutput()->GetPoints());
    g.labelData = vtkSmartPointer<vtkPolyData>::New();
    g.labelData->SetPoints(anchors);
    g.labelData->GetPointData()->AddArray(g.tags);
    g.labelData->GetPointData()->SetActiveScalars(g.tags->GetName());

    vtkNew<vtkIdFilter> anchorIds;
    anchorIds->SetInputData(g.labelData);
    anchorIds->PointIdsOn();
    anchorIds->CellIdsOn();
    anchorIds->FieldDataOn();
    vtkNew<vtkLabeledDataMapper> mapper;
    mapper->SetInputConnection(anchorIds->GetOutputPort());
    mapper->SetLabelModeToLabelScalars();
    mapper->SetLabelTextProperty(text);

    g.labelActor = vtkSmartPointer<vtkActor2D>::New();
    shareLabelActors();
    g.labelActor->SetMapper(mapper);
    const QColor c = SettingsStore::color(m_settingsPath, colorKey);
    g.labelActor->GetProperty()->SetColor(c.redF(), c.greenF(), c.blueF());
}
