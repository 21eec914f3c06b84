// MemberDiagram: the internal forces along one beam-column, from the end forces the solver records
// as localForce and the member loads of the model record. Between the ends the values follow from
// equilibrium: linear without member load, parabolic moments under a uniform load, a kink (and a
// jump in shear) at a point load. The recorded loads give the shape; their size at the step is what
// balances the end forces (so a load pattern at any load factor is drawn right). A rest the
// recorded loads do not explain (inertia, loads applied otherwise) is spread linearly, so the
// values at both ends are always the recorded ones.
//
// Conventions, those of the solver's sections: N tension positive; Vy = dMz/dx, Vz = dMy/dx;
// T and the moments as the part beyond the section acts on the part towards end i. A positive Mz
// stretches the side of negative local y, a positive My the side of positive local z.
//
//   const MemberDiagram d(length, endForces, loads);   // 6 values in 2-D, 12 in 3-D
//   d.value(ForceComponent::Mz, length / 2);
//   const MemberDiagram::Extreme e = d.extreme(ForceComponent::Mz);   // e.value, e.at
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

enum class ForceComponent { N, Vy, Vz, T, My, Mz };

// "N", "Vy", "Vz", "T", "My", "Mz"; false for another word.
bool parseForceComponent(const QString& word, ForceComponent* out);
QString forceComponentName(ForceComponent c);
// The components a model of NDM dimensions has: N, Vy, Mz in 2-D; all six in 3-D.
QVector<ForceComponent> forceComponents(int ndm);

// One member load in local axes: a uniform load per length (y, z, x) or point forces at AT, the
// distance from end i.
struct MemberLoad {
    bool point = false;
    double y = 0.0, z = 0.0, x = 0.0;
    double at = 0.0;
};

class MemberDiagram {
public:
    // ENDFORCES: N1 V1 M1 N2 V2 M2 (2-D) or N1 Vy1 Vz1 T1 My1 Mz1 N2 Vy2 Vz2 T2 My2 Mz2 (3-D), the
    // forces on the member at its ends in local axes. Any other count reads as zeros.
    MemberDiagram(double length, const QVector<double>& endForces, const QVector<MemberLoad>& loads);

    double length() const { return m_length; }
    // The value at distance S from end i; at a point load, the value just before it (from end i),
    // or just after it with AFTER.
    double value(ForceComponent c, double s, bool after = false) const;

    struct Station {
        double at;
        bool after;
    };
    // Where to draw: SEGMENTS + 1 even stations, and both sides of every point load, in order.
    QVector<Station> stations(int segments) const;

    struct Extreme {
        double value = 0.0;
        double at = 0.0;
    };
    // The value of largest magnitude and where it is (the first such place from end i).
    Extreme extreme(ForceComponent c) const;

private:
    double raw(ForceComponent c, double s, bool after) const;

    double m_length;
    double m_p[12] = {};
    double m_uniform[3] = {};   // x, y, z per length, scaled to the step
    QVector<MemberLoad> m_points;  // scaled, sorted by position
    double m_correction[6] = {};   // per component, the slope of the linear rest
};

// The values of one recorder line after its time field, as the result files hold them (a field that
// is not a number reads as 0); element I's block of W values starts at I * W.
QVector<double> resultLineValues(const QString& line);
