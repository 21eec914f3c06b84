// One result or live step drawn on a scene: the window's step display, its live view and
// `tolvane --render --step` all go through here, so they show the same picture.
//
//   showDeformed(*scene, scale, step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
#pragma once

#include <QVector>

class vtkdraw;
struct ResultStep;

// Moves every group to the displacements times SCALE and writes the element groups' values
// (shown only once result scalars are attached); no render.
void moveGroups(vtkdraw& scene, double scale, const QVector<double>& x, const QVector<double>& y,
                const QVector<double>& z, const QVector<double>& s2, const QVector<double>& s3,
                const QVector<double>& s4, const QVector<double>& s8);

// Moves every group to the displacements times SCALE and colours the element groups by their
// normalised values (empty lists: the middle colour), then renders.
void showDeformed(vtkdraw& scene, double scale, const QVector<double>& x, const QVector<double>& y,
                  const QVector<double>& z, const QVector<double>& s2, const QVector<double>& s3,
                  const QVector<double>& s4, const QVector<double>& s8);

// The same for a prepared result step: the legend spans the step's range when it colours by a response.
void showResultStep(vtkdraw& scene, double scale, const ResultStep& step);

// Outlines the nodes at these positions of the model's node list (the nodes a step holds at
// their last numeric values); none removes the outline.
void markHeldNodes(vtkdraw& scene, const QVector<int>& nodes);
