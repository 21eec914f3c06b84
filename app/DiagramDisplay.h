// Member force diagrams as the scene draws them: the window's Diagrams panel and
// `tolvane --render --diagram` go through here, so they show the same picture.
//
//   double largest = 0;
//   const QVector<DiagramCurve> curves = diagramCurves(members, ForceComponent::Mz, false, &largest);
//   scene.showDiagram(curves, automaticDiagramScale(largest, MemberGeometry(model).extent()));
#pragma once

#include <QVector>

#include "DiagramResults.h"
#include "ModelAnnotations.h"

// The curves of COMPONENT for every member; the members with the largest values carry labels at
// their ends and at their extreme. *LARGEST receives the largest magnitude met.
QVector<DiagramCurve> diagramCurves(const QVector<DiagramResults::Member>& members, ForceComponent component,
                                    bool compressionSide, double* largest);

// The scale that draws LARGEST at a sixth of EXTENT (1 when there is nothing to draw).
double automaticDiagramScale(double largest, double extent);
