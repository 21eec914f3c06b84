// UndeformedGhost: the undeformed model as a faint outline behind a moved one (a mode shape), so
// that the eye sees what moves. Each element group's cells drawn once more at the node
// coordinates, thin, unlit and in a colour a little off the background. Built from the scene's
// last build and kept until the next one; moving the model later costs it nothing.
//
//   UndeformedGhost ghost;
//   ghost.show(scene);   // after a build, or again after a rebuild
//   ghost.hide();
#pragma once

#include <vtkSmartPointer.h>

#include "vtkdraw.h"

class vtkActor;
class vtkPointSet;

class UndeformedGhost {
public:
    void show(vtkdraw& scene);
    void hide();
    // The outline of one group; null when that group has nothing drawn or the ghost was never shown.
    vtkActor* actor(vtkdraw::Group group) const;

private:
    vtkSmartPointer<vtkActor> m_actors[vtkdraw::groupCount];
    // The group's data set each was built from, held so that a rebuild's new one cannot take its address.
    vtkSmartPointer<vtkPointSet> m_source[vtkdraw::groupCount];
};
