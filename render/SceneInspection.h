// What the scene builder keeps for picking and highlighting between clicks: one pick index per
// actor group, built on the first pick after a build or a result step, and the highlight actors
// in a renderer of their own, drawn over the model's (translucent groups would veil them).
#pragma once

#include <vtkSmartPointer.h>

#include <memory>

#include "PickIndex.h"
#include "vtkdraw.h"

class vtkActor;
class vtkRenderer;

struct SceneInspection {
    std::unique_ptr<PickIndex> indexes[vtkdraw::groupCount];
    vtkSmartPointer<vtkActor> highlights[vtkdraw::groupCount];
    vtkSmartPointer<vtkRenderer> overlay;  // made with the first highlight; shares the scene's camera
};
