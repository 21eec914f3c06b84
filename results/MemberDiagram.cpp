#include "MemberDiagram.h"

#include <QStringView>

#include <algorithm>
#include <cmath>

#include "ResultParsing.h"

namespace {

struct ComponentName {
    ForceComponent component;
    const char* name;
};

const ComponentName names[] = {
    {ForceComponent::N, "N"},   {ForceComponent::Vy, "Vy"}, {ForceComponent::Vz, "Vz"},
    {ForceComponent::T, "T"},   {ForceComponent::My, "My"}, {ForceComponent::Mz, "Mz"},
};

// Where the 2-D end forces N1 V1 M1 N2 V2 M2 sit among the twelve of 3-D.
const int planarSlots[6] = {0, 1, 5, 6, 7, 11};

}  // namespace

bool parseForceComponent(const QString& word, ForceComponent* out)
{
    for (const ComponentName& n : names) {
        if (word == QLatin1String(n.name)) {
            *out = n.component;
            return true;
        }
    }
    return false;
}

QString forceComponentName(ForceComponent c)
{
    return QLatin1String(names[int(c)].name);
}

QVector<ForceComponent> forceComponents(int ndm)
{
    if (ndm == 3)
        return {ForceComponent::N, ForceComponent::Vy, ForceComponent::Vz,
                ForceComponent::T, ForceComponent::My, ForceComponent::Mz};
    return {ForceComponent::N, ForceComponent::Vy, ForceComponent::Mz};
}

MemberDiagram::MemberDiagram(double length, const QVector<double>& endForces, const QVector<MemberLoad>& loads)
    : m_length(length)
{
    if (endForces.size() == 12)
        std::copy(endForces.cbegin(), endForces.cend(), m_p);
    else if (endForces.size() == 6)
        for (int k = 0; k < 6; ++k)
            m_p[planarSlots[k]] = endForces[k];

    // The recorded loads' resultants per direction (x, y, z), then the factor that makes each
    // direction balance the end forces: what the loads amount to at this step.
    double recorded[3] = {0, 0, 0};
    for (const MemberLoad& load : loads) {
        const double span = load.point ? 1.0 : length;
        recorded[0] += load.x * span;
        recorded[1] += load.y * span;
        recorded[2] += load.z * span;
    }
    const double ends[3] = {m_p[0] + m_p[6], m_p[1] + m_p[7], m_p[2] + m_p[8]};
    double factor[3];
    for (int k = 0; k < 3; ++k)
        factor[k] = recorded[k] != 0.0 ? -ends[k] / recorded[k] : 1.0;
    for (const MemberLoad& load : loads) {
        MemberLoad scaled = load;
        scaled.x *= factor[0];
        scaled.y *= factor[1];
        scaled.z *= factor[2];
        if (load.point) {
            m_points.append(scaled);
        } else {
            m_uniform[0] += scaled.x;
            m_uniform[1] += scaled.y;
            m_uniform[2] += scaled.z;
        }
    }
    std::stable_sort(m_points.begin(), m_points.end(),
                     [](const MemberLoad& a, const MemberLoad& b) { return a.at < b.at; });

    const double atEndJ[6] = {m_p[6], -m_p[7], m_p[8], m_p[9], m_p[10], m_p[11]};
    if (m_length > 0.0)
        for (int c = 0; c < 6; ++c)
            m_correction[c] = (atEndJ[c] - raw(ForceComponent(c), m_length, true)) / m_length;
}

double MemberDiagram::raw(ForceComponent c, double s, bool after) const
{
    // Resultants of the loads between end i and s, and their moments about s.
    double force[3] = {m_uniform[0] * s, m_uniform[1] * s, m_uniform[2] * s};
    double momentY = m_uniform[1] * s * s / 2.0;
    double momentZ = m_uniform[2] * s * s / 2.0;
    for (const MemberLoad& p : m_points) {
        if (p.at > s || (p.at == s && !after))
            break;
        force[0] += p.x;
        force[1] += p.y;
        force[2] += p.z;
        momentY += p.y * (s - p.at);
        momentZ += p.z * (s - p.at);
    }
    const double* P = m_p;
    switch (c) {
        case ForceComponent::N:
            return -(P[0] + force[0]);
        case ForceComponent::Vy:
            return P[1] + force[1];
        case ForceComponent::Vz:
            return -(P[2] + force[2]);
        case ForceComponent::T:
            return -P[3];
        case ForceComponent::My:
            return -P[4] - s * P[2] - momentZ;
        case ForceComponent::Mz:
            return -P[5] + s * P[1] + momentY;
    }
    return 0.0;
}

double MemberDiagram::value(ForceComponent c, double s, bool after) const
{
    return raw(c, s, after) + m_correction[int(c)] * s;
}

QVector<MemberDiagram::Station> MemberDiagram::stations(int segments) const
{
    segments = std::max(segments, 1);
    const double close = 1e-9 * m_length;
    QVector<Station> out;
    int next = 0;
    for (int k = 0; k <= segments; ++k) {
        const double s = m_length * k / segments;
        for (; next < m_points.size() && m_points[next].at <= s + close; ++next) {
            const double a = m_points[next].at;
            if (a <= 0.0 || a >= m_length)
                continue;
            out.append({a, false});
            out.append({a, true});
        }
        if (out.isEmpty() || std::abs(out.last().at - s) > close)
            out.append({s, k == segments});
    }
    return out;
}

MemberDiagram::Extreme MemberDiagram::extreme(ForceComponent c) const
{
    // Between point loads every component is a polynomial of degree two at most: its largest
    // magnitude is at a segment's end or at the top of its parabola.
    QVector<double> breaks{0.0};
    for (const MemberLoad& p : m_points)
        if (p.at > 0.0 && p.at < m_length)
            breaks.append(p.at);
    breaks.append(m_length);
    Extreme best;
    bool first = true;
    const auto consider = [&](double s, bool after) {
        const double v = value(c, s, after);
        if (first || std::abs(v) > std::abs(best.value) * (1.0 + 1e-12)) {
            best = {v, s};
            first = false;
        }
    };
    for (int k = 0; k + 1 < breaks.size(); ++k) {
        const double a = breaks[k], b = breaks[k + 1];
        const bool lastSegment = k + 2 == breaks.size();
        const double f0 = value(c, a, true), f1 = value(c, b, lastSegment), fm = value(c, (a + b) / 2.0, true);
        consider(a, true);
        const double A = 2.0 * f1 + 2.0 * f0 - 4.0 * fm;
        const double B = f1 - f0 - A;
        if (std::abs(A) > 1e-14 * (std::abs(f0) + std::abs(f1) + std::abs(fm))) {
            const double t = -B / (2.0 * A);
            if (t > 0.0 && t < 1.0)
                consider(a + t * (b - a), true);
        }
        consider(b, lastSegment);
    }
    return best;
}

QVector<double> resultLineValues(const QString& line)
{
    QVector<double> values;
    QStringView text(line);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    const auto fields = text.split(QLatin1Char(' '));
    values.reserve(fields.size());
    for (int i = 1; i < fields.size(); ++i)
        values.append(readResultNumber(fields[i]));
    return values;
}
