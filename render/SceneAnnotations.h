// What the scene builder keeps of the symbols over the model (ModelAnnotations): their actors,
// the switches of local axes and loads, and the springs' cells for picking.
#pragma once

#include <QVector>

#include <vtkSmartPointer.h>

#include <memory>

#include "PickIndex.h"

class vtkActor;
class vtkActor2D;
class vtkPolyData;

struct SceneAnnotations {
    vtkSmartPointer<vtkActor> supports;
    vtkSmartPointer<vtkActor> springs;
    vtkSmartPointer<vtkActor> localAxes;
    vtkSmartPointer<vtkActor> loads;
    vtkSmartPointer<vtkActor> diagramFill;
    vtkSmartPointer<vtkActor> diagramOutline;
    vtkSmartPointer<vtkActor2D> diagramLabels;
    // The springs cut into single segments, each with its element entry, for picking.
    vtkSmartPointer<vtkPolyData> springSegments;
    QVector<int> springSegmentEntries;
    std::unique_ptr<PickIndex> springIndex;
    vtkSmartPointer<vtkActor> springHighlight;  // in the inspection's overlay
    bool localAxesShown = false;
    bool loadsShown = false;
    int loadPattern = -1;
};
