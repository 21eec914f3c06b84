#include "ResultDisplay.h"

#include "ModelInspection.h"
#include "ResultStep.h"
#include "vtkdraw.h"

void moveGroups(vtkdraw& scene, double scale, const QVector<double>& x, const QVector<double>& y,
                const QVector<double>& z, const QVector<double>& s2, const QVector<double>& s3,
                const QVector<double>& s4, const QVector<double>& s8)
{
    scene.deformFreeNodes(scale, x, y, z);
    scene.deformFixedNodes(scale, x, y, z);
    scene.deformEqualDOF(scale, x, y, z);
    scene.deformRigidLinks(scale, x, y, z);
    scene.deformFrames(scale, x, y, z, s2);
    scene.deformThreeNodeElements(scale, x, y, z, s3);
    scene.deformFourNodeElements(scale, x, y, z, s4);
    scene.deformEightNodeElements(scale, x, y, z, s8);
}

void showDeformed(vtkdraw& scene, double scale, const QVector<double>& x, const QVector<double>& y,
                  const QVector<double>& z, const QVector<double>& s2, const QVector<double>& s3,
                  const QVector<double>& s4, const QVector<double>& s8)
{
    scene.attachResultScalars();
    moveGroups(scene, scale, x, y, z, s2, s3, s4, s8);
    scene.render();
}

void showResultStep(vtkdraw& scene, double scale, const ResultStep& step)
{
    if (step.contour)
        scene.setScalarRange(step.min, step.max);
    showDeformed(scene, scale, step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
}

void markHeldNodes(vtkdraw& scene, const QVector<int>& nodes)
{
    if (nodes.isEmpty()) {
        scene.clearHighlight();
        return;
    }
    LineItems items;
    items.nodes = nodes;
    scene.highlight(items);
}
