// The synthetic modes the stand-in answers `eigen N` with, so that the modes of a model can be
// shown without a solver. Every number can be worked by hand:
//
//   mode k = 1 .. N:  f = 2k - 1 Hz, T = 1 / (2k - 1) s, lambda = (2 pi (2k - 1))^2
//   a = the axis of the node box's longest extent (the first of equal ones), r = (c_a - min) / extent
//   d = the first axis other than a among the model's ndm (a itself when ndm is 1)
//   shape: translation d = sin((2k - 1) pi r / 2), the k-th shape of a cantilever fixed at r = 0;
//          every other value (other translations, rotations, restrained dofs) 0
//   mass ratio of mode k in direction d: 800 / (pi^2 (2k - 1)^2) percent (they add up to 100),
//          0 in the other directions; only when the script gave a node mass
//
//   const SyntheticModes modes(*modelRecord(), 3);
//   const double lambda = SyntheticModes::eigenvalue(1);   // 39.4784
//   modes.translation(tag, 2, 1);                          // mode 2, dof 1
#pragma once

#include <QHash>
#include <QVector>

struct ModelRecord;

class SyntheticModes {
public:
    SyntheticModes() = default;
    SyntheticModes(const ModelRecord& model, int count);

    int count() const { return m_count; }
    // The axis d the shapes move along, 0-based.
    int direction() const { return m_direction; }
    int ndm() const { return m_ndm; }
    static double eigenvalue(int mode);
    static double massRatio(int mode);
    // Value DOF (1-based) of the node's shape MODE; 0 for anything not moved.
    double value(int nodeTag, int mode, int dof) const;

private:
    int m_count = 0;
    int m_ndm = 0;
    int m_direction = 0;
    QHash<int, double> m_fraction;  // node tag -> r
    QHash<int, int> m_restrained;   // node tag -> bit d-1 set when dof d is fixed
};
