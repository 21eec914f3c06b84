// The end forces the stand-in records as a beam-column's localForce: in equilibrium with the
// member's own loads, so that a diagram drawn from them has the shape an engineer expects.
//
//   forces = fixed-end forces of the member loads (all patterns, a member fixed at both ends)
//          + a sway term: shear Vy = 10 (1 + hc), Vz = 5 (1 + hc) with moments equal at both
//            ends (zero at mid-length), axial N = -20 (1 + hc), torque T = 1 + hc
//   hc = mean height of the member's nodes, as for the other element values; every record
//   scales the forces by the step factor s(k).
//
//   const QVector<double> f = memberEndForces(3, length, loads, hc);   // 12 values; 6 in 2-D
#pragma once

#include <QVector>

// One member load in local axes: per length (uniform) or a force at AT from end i (point).
struct StandinMemberLoad {
    bool point = false;
    double x = 0.0, y = 0.0, z = 0.0;
    double at = 0.0;
};

// N1 V1 M1 N2 V2 M2 for NDM 2, N1 Vy1 Vz1 T1 My1 Mz1 N2 Vy2 Vz2 T2 My2 Mz2 for NDM 3: the forces
// on the member at its ends, in local axes.
QVector<double> memberEndForces(int ndm, double length, const QVector<StandinMemberLoad>& loads, double hc);
