// Member force diagrams from end forces as the solver records them, against hand calculations.
#include <QtTest>

#include "MemberDiagram.h"

class MemberDiagramTest : public QObject {
    Q_OBJECT

private slots:
    void handCalculatedMembers()
    {
        struct Value {
            double at;
            bool after;
            double expected;
        };
        struct Case {
            const char* name;
            QString line;  // a localForce line: time, then the member's end forces
            double length;
            QVector<MemberLoad> loads;
            ForceComponent component;
            QVector<Value> values;
            double extreme, extremeAt;
        };
        MemberLoad uniform;  // 5 per length downwards (local -y)
        uniform.y = -5.0;
        MemberLoad uniformZ;  // 6 per length along local -z, recorded at twice the step's load
        uniformZ.z = -6.0;
        MemberLoad point;  // 8 downwards at a quarter of the span
        point.point = true;
        point.y = -8.0;
        point.at = 1.0;
        const Case cases[] = {
            // Cantilever fixed at i, 10 down at the free end j (a nodal load): M linear, PL at the root.
            {"cantilever", "1.0 0 10 20 0 -10 0", 2.0, {}, ForceComponent::Mz,
             {{0.0, false, -20.0}, {1.0, false, -10.0}, {2.0, true, 0.0}}, -20.0, 0.0},
            {"cantilever shear", "1.0 0 10 20 0 -10 0", 2.0, {}, ForceComponent::Vy,
             {{0.0, false, 10.0}, {2.0, true, 10.0}}, 10.0, 0.0},
            // Simply supported, w = 5 over 4: wL^2/8 = 10 at mid-span, shear +-wL/2 = +-10.
            {"simple span", "1.0 0 10 0 0 0 0 0 10 0 0 0 0", 4.0, {uniform}, ForceComponent::Mz,
             {{0.0, false, 0.0}, {2.0, false, 10.0}, {4.0, true, 0.0}}, 10.0, 2.0},
            {"simple span shear", "1.0 0 10 0 0 0 0 0 10 0 0 0 0", 4.0, {uniform}, ForceComponent::Vy,
             {{0.0, false, 10.0}, {2.0, false, 0.0}, {4.0, true, -10.0}}, 10.0, 0.0},
            // Fixed at both ends, w = 3 over 6 in local z at this step: wL^2/12 = 9 at the ends,
            // wL^2/24 = 4.5 at mid-span; the recorded 6 scaled by what the end forces show.
            {"fixed-fixed", "1.0 0 0 9 0 -9 0 0 0 9 0 9 0", 6.0, {uniformZ}, ForceComponent::My,
             {{0.0, false, 9.0}, {3.0, false, -4.5}, {6.0, true, 9.0}}, 9.0, 0.0},
            // Simply supported, 8 at a quarter of 4: a kink of Pab/L = 6 and a jump in shear.
            {"point load", "1.0 0 6 0 0 2 0", 4.0, {point}, ForceComponent::Mz,
             {{1.0, false, 6.0}, {2.0, false, 4.0}}, 6.0, 1.0},
            {"point load shear", "1.0 0 6 0 0 2 0", 4.0, {point}, ForceComponent::Vy,
             {{1.0, false, 6.0}, {1.0, true, -2.0}, {4.0, true, -2.0}}, 6.0, 0.0},
        };
        for (const Case& c : cases) {
            const MemberDiagram d(c.length, resultLineValues(c.line), c.loads);
            for (const Value& v : c.values)
                QVERIFY2(qAbs(d.value(c.component, v.at, v.after) - v.expected) < 1e-9,
                         qPrintable(QStringLiteral("%1 at %2: %3").arg(c.name).arg(v.at).arg(
                             d.value(c.component, v.at, v.after))));
            const MemberDiagram::Extreme e = d.extreme(c.component);
            QVERIFY2(qAbs(e.value - c.extreme) < 1e-9 && qAbs(e.at - c.extremeAt) < 1e-9, c.name);
        }
    }
};

QTEST_APPLESS_MAIN(MemberDiagramTest)
#include "tst_member_diagram.moc"
