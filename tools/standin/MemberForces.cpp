#include "MemberForces.h"

QVector<double> memberEndForces(int ndm, double length, const QVector<StandinMemberLoad>& loads, double hc)
{
    const double L = length;
    double p[12] = {};
    for (const StandinMemberLoad& w : loads) {
        if (!w.point) {
            p[0] -= w.x * L / 2;
            p[6] -= w.x * L / 2;
            p[1] -= w.y * L / 2;
            p[7] -= w.y * L / 2;
            p[5] -= w.y * L * L / 12;
            p[11] += w.y * L * L / 12;
            p[2] -= w.z * L / 2;
            p[8] -= w.z * L / 2;
            p[4] += w.z * L * L / 12;
            p[10] -= w.z * L * L / 12;
            continue;
        }
        const double a = w.at, b = L - w.at;
        p[0] -= w.x * b / L;
        p[6] -= w.x * a / L;
        p[1] -= w.y * b * b * (3 * a + b) / (L * L * L);
        p[7] -= w.y * a * a * (a + 3 * b) / (L * L * L);
        p[5] -= w.y * a * b * b / (L * L);
        p[11] += w.y * a * a * b / (L * L);
        p[2] -= w.z * b * b * (3 * a + b) / (L * L * L);
        p[8] -= w.z * a * a * (a + 3 * b) / (L * L * L);
        p[4] += w.z * a * b * b / (L * L);
        p[10] -= w.z * a * a * b / (L * L);
    }
    const double size = 1.0 + hc;
    const double vy = 10.0 * size, vz = 5.0 * size, n = -20.0 * size, t = size;
    p[0] -= n;
    p[6] += n;
    p[1] += vy;
    p[7] -= vy;
    p[5] += vy * L / 2;
    p[11] += vy * L / 2;
    p[2] -= vz;
    p[8] += vz;
    p[4] += vz * L / 2;
    p[10] += vz * L / 2;
    p[3] -= t;
    p[9] += t;
    if (ndm == 3)
        return QVector<double>(p, p + 12);
    return {p[0], p[1], p[5], p[6], p[7], p[11]};
}
