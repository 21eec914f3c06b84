// The synthetic motion the stand-in records in place of an analysis. Every response is a fixed
// shape over the model times one factor of the step, so that anyone can predict a value by hand:
//
//   s(k) = sin(2 pi k / 20) * (k / 25) * exp(1 - k / 25), k = step number from 1 (wipe restarts it)
//   v = Z for ndm 3, Y for ndm 2 (none for ndm 1); h = (v - vmin) / (vmax - vmin), 0 when vmax = vmin
//   L = largest extent of the node bounding box (1 if 0); r(c) = (c - cmin) / (cmax - cmin), 0.5 if
//   the range of c is 0
//   disp, vmax > vmin:  dof1 = 0.02 L h s, dof2 = 0.01 L h s when ndm 3 (else 0), dof3 = 0
//   disp, flat model:   dof ndm = -0.02 L b s, b = product of sin(pi r(c)) over X (ndm 2), X and Y (ndm 3)
//   disp, ndm 1:        dof1 = 0.02 L r(x) s
//   rotation, vmax > vmin: dof 3 + j (j = 1, 2, 3) = 0.001 j h s
//   reaction:           dofs 1 to 6 restrained by fix: -1000 s, -500 s, -250 s, -100 s, -50 s, -25 s
//   element value j of W:  100 s (1 + hc) (j + 1) / W, hc = mean h of the element's nodes
//   localForce of a beam-column (an element with a coordinate transformation, in a model of
//   ndm 2 and ndf 3 or ndm 3 and ndf 6): s times the end forces of MemberForces.h
//   Dofs above 6 or above ndf, restrained dofs (for disp), rotations of flat models and unknown
//   tags are 0.
//
//   const MotionShapes shapes(*modelRecord());  // once per model state
//   const double x = shapes.displacement(tag, 1) * stepFactor(k);
#pragma once

#include <QHash>
#include <QString>
#include <QVector>

#include "NodeIndex.h"

struct ModelRecord;

// s(k).
double stepFactor(int k);

struct MotionElement {
    QString type;  // canonical name from the element table
    int nodeCount = 0;
    double meanHeight = 0.0;  // hc
};

// The responses at s = 1 for one state of the model record.
class MotionShapes {
public:
    explicit MotionShapes(const ModelRecord& model);

    int ndf() const { return m_ndf; }
    double displacement(int nodeTag, int dof) const;
    double reaction(int nodeTag, int dof) const;
    // Null for a tag that is not an element of the model.
    const MotionElement* element(int tag) const;
    double elementValue(int tag, int j, int width) const;
    // The localForce values at s = 1 of a beam-column; null for other elements.
    const QVector<double>* memberForces(int tag) const;

private:
    double height(int position) const;
    double flatDisplacement(int position, int dof) const;
    void addMemberForces(const ModelRecord& model);

    int m_ndm = 0;
    int m_ndf = 0;
    QVector<double> m_coordinates[3];
    double m_min[3] = {0.0, 0.0, 0.0};
    double m_max[3] = {0.0, 0.0, 0.0};
    double m_extent = 1.0;  // L
    NodeIndex m_nodes;
    QHash<int, int> m_restrained;  // node tag -> bit d-1 set when dof d is fixed
    QHash<int, MotionElement> m_elements;
    QHash<int, QVector<double>> m_memberForces;
};
