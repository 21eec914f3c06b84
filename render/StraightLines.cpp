#include "StraightLines.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

// Unit direction from node A to node B; false for coincident nodes.
bool direction(int a, int b, const QVector<double>& x, const QVector<double>& y, const QVector<double>& z,
               double d[3])
{
    d[0] = x[b] - x[a];
    d[1] = y[b] - y[a];
    d[2] = z[b] - z[a];
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (length == 0.0 || !std::isfinite(length))
        return false;
    for (int i = 0; i < 3; ++i)
        d[i] /= length;
    return true;
}

}  // namespace

QVector<int> joinStraightRuns(const QVector<int>& segments, const QVector<double>& x, const QVector<double>& y,
                              const QVector<double>& z)
{
    const int nodes = std::min({x.size(), y.size(), z.size()});
    const int count = segments.size() / 2;
    // The segments at each node, as (segment, end) pairs: end 0 starts at the node, end 1 stops there.
    QVector<int> first(nodes + 1, 0);
    for (int s = 0; s < 2 * count; ++s)
        if (segments[s] >= 0 && segments[s] < nodes)
            ++first[segments[s] + 1];
    for (int n = 0; n < nodes; ++n)
        first[n + 1] += first[n];
    QVector<int> at(first.last());
    QVector<int> fill = first;
    for (int s = 0; s < 2 * count; ++s)
        if (segments[s] >= 0 && segments[s] < nodes)
            at[fill[segments[s]]++] = s;

    // next[s] is the segment end that continues end s (s = 2 x segment + end) straight on, or -1.
    QVector<int> next(2 * count, -1);
    QVector<bool> usable(count, false);
    for (int s = 0; s < count; ++s) {
        double d[3];
        const int a = segments[2 * s], b = segments[2 * s + 1];
        usable[s] = a >= 0 && b >= 0 && a < nodes && b < nodes && direction(a, b, x, y, z, d);
    }
    const double straight = -1.0 + 1e-9;
    for (int n = 0; n < nodes; ++n) {
        for (int i = first[n]; i < first[n + 1]; ++i) {
            const int e = at[i];
            if (next[e] >= 0 || !usable[e / 2])
                continue;
            double out[3];
            direction(n, segments[e ^ 1], x, y, z, out);  // leaving the node along segment e
            for (int j = i + 1; j < first[n + 1]; ++j) {
                const int f = at[j];
                double other[3];
                if (next[f] >= 0 || !usable[f / 2] || f / 2 == e / 2)
                    continue;
                direction(n, segments[f ^ 1], x, y, z, other);
                if (out[0] * other[0] + out[1] * other[1] + out[2] * other[2] <= straight) {
                    next[e] = f;
                    next[f] = e;
                    break;
                }
            }
        }
    }

    // Each run is walked once from one of its two free ends.
    QVector<int> lines;
    QVector<bool> done(count, false);
    for (int s = 0; s < count; ++s) {
        for (int end = 0; end < 2 && usable[s] && !done[s]; ++end) {
            if (next[2 * s + end] >= 0)
                continue;
            int e = 2 * s + end;  // the run's free end
            const int start = segments[e];
            for (;;) {
                done[e / 2] = true;
                const int far = e ^ 1;
                if (next[far] < 0) {
                    lines << start << segments[far];
                    break;
                }
                e = next[far];
            }
        }
    }
    return lines;
}

QVector<int> uniqueEdges(const QVector<int>& faceCorners, int corners)
{
    QVector<int> edges;
    if (corners < 2)
        return edges;
    QHash<quint64, bool> seen;
    seen.reserve(faceCorners.size());
    for (int f = 0; f + corners <= faceCorners.size(); f += corners) {
        for (int c = 0; c < corners; ++c) {
            const int a = faceCorners[f + c], b = faceCorners[f + (c + 1) % corners];
            const quint64 key = (quint64(quint32(std::min(a, b))) << 32) | quint32(std::max(a, b));
            if (seen.contains(key))
                continue;
            seen.insert(key, true);
            edges << a << b;
        }
    }
    return edges;
}
