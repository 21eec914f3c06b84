#include "PickIndex.h"

#include <vtkCellType.h>
#include <vtkIdList.h>
#include <vtkNew.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>

#include <algorithm>
#include <cmath>

namespace {

double dot(const double a[3], const double b[3])
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void subtract(const double a[3], const double b[3], double out[3])
{
    for (int i = 0; i < 3; ++i)
        out[i] = a[i] - b[i];
}

// Parameter along the ray FROM + s (TO - FROM) where it crosses triangle ABC, or -1.
double crossTriangle(const double from[3], const double dir[3], const double a[3], const double b[3],
                     const double c[3])
{
    double e1[3], e2[3], p[3], q[3], s[3];
    subtract(b, a, e1);
    subtract(c, a, e2);
    p[0] = dir[1] * e2[2] - dir[2] * e2[1];
    p[1] = dir[2] * e2[0] - dir[0] * e2[2];
    p[2] = dir[0] * e2[1] - dir[1] * e2[0];
    const double det = dot(e1, p);
    if (std::abs(det) < 1e-300)
        return -1.0;
    subtract(from, a, s);
    const double u = dot(s, p) / det;
    if (u < 0.0 || u > 1.0)
        return -1.0;
    q[0] = s[1] * e1[2] - s[2] * e1[1];
    q[1] = s[2] * e1[0] - s[0] * e1[2];
    q[2] = s[0] * e1[1] - s[1] * e1[0];
    const double v = dot(dir, q) / det;
    if (v < 0.0 || u + v > 1.0)
        return -1.0;
    const double t = dot(e2, q) / det;
    return t >= 0.0 && t <= 1.0 ? t : -1.0;
}

struct Meeting {
    double t = -1.0;  // along the ray; -1 when the ray misses
    double miss = 0.0;
};

// Where the ray comes nearest to segment AB, when that distance is within TOL. A segment seen
// end-on (a column from above) is met at its end nearer the viewer.
Meeting nearSegment(const double from[3], const double dir[3], const double a[3], const double b[3],
                    double tol)
{
    double e[3], r[3];
    subtract(b, a, e);
    subtract(from, a, r);
    const double dd = dot(dir, dir), ee = dot(e, e), de = dot(dir, e), dr = dot(dir, r), er = dot(e, r);
    double s = 0.0, u = 0.0;  // along the ray and along the segment, both within [0, 1]
    if (ee <= 1e-300) {
        s = std::clamp(-dr / dd, 0.0, 1.0);
    } else {
        const double denominator = dd * ee - de * de;
        if (denominator <= 1e-12 * dd * ee)
            s = std::clamp(std::min(-dr, de - dr) / dd, 0.0, 1.0);
        else
            s = std::clamp((de * er - ee * dr) / denominator, 0.0, 1.0);
        u = (de * s + er) / ee;
        if (u < 0.0 || u > 1.0) {
            u = std::clamp(u, 0.0, 1.0);
            s = std::clamp((de * u - dr) / dd, 0.0, 1.0);
        }
    }
    double gap[3];
    for (int i = 0; i < 3; ++i)
        gap[i] = from[i] + s * dir[i] - (a[i] + u * e[i]);
    const double miss = std::sqrt(dot(gap, gap));
    return miss <= tol ? Meeting{s, miss} : Meeting{};
}

const int hexahedronFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                   {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};

}  // namespace

PickIndex::PickIndex(vtkPointSet* data) : m_data(data)
{
    vtkPoints* points = data ? data->GetPoints() : nullptr;
    if (!points)
        return;
    m_pointsTime = points->GetMTime();
    const vtkIdType pointCount = points->GetNumberOfPoints();
    m_xyz.resize(size_t(3 * pointCount));
    for (vtkIdType p = 0; p < pointCount; ++p)
        points->GetPoint(p, &m_xyz[size_t(3 * p)]);

    const vtkIdType cells = data->GetNumberOfCells();
    m_shapes.reserve(size_t(cells));
    m_cellStarts.reserve(size_t(cells + 1));
    m_cellStarts.push_back(0);
    vtkNew<vtkIdList> ids;
    for (vtkIdType c = 0; c < cells; ++c) {
        data->GetCellPoints(c, ids);
        const vtkIdType n = ids->GetNumberOfIds();
        const int type = data->GetCellType(c);
        m_shapes.push_back(type == VTK_HEXAHEDRON && n == 8 ? Hexahedron
                           : n >= 3                         ? Polygon
                           : n == 2                         ? Segment
                                                            : Vertex);
        for (vtkIdType i = 0; i < n; ++i)
            m_cellPoints.push_back(ids->GetId(i));
        m_cellStarts.push_back(vtkIdType(m_cellPoints.size()));
    }
    placeGrid();

    std::vector<std::pair<int, vtkIdType>> pairs;
    pairs.reserve(size_t(2 * cells));
    for (vtkIdType c = 0; c < cells; ++c)
        if (m_cellStarts[size_t(c + 1)] > m_cellStarts[size_t(c)])
            collectBins(c, pairs);
    const int bins = m_dims[0] * m_dims[1] * m_dims[2];
    m_binStarts.assign(size_t(bins + 1), 0);
    for (const auto& p : pairs)
        ++m_binStarts[size_t(p.first + 1)];
    for (int b = 0; b < bins; ++b)
        m_binStarts[size_t(b + 1)] += m_binStarts[size_t(b)];
    m_binCells.resize(pairs.size());
    std::vector<int> fill(m_binStarts.begin(), m_binStarts.end() - 1);
    for (const auto& p : pairs)
        m_binCells[size_t(fill[size_t(p.first)]++)] = p.second;
    m_binSeen.assign(size_t(bins), 0);
    m_cellSeen.assign(size_t(cells), 0);
}

// About as many bins as cells, cubes of one size, so that a bin holds a few cells.
void PickIndex::placeGrid()
{
    const size_t count = m_xyz.size() / 3;
    if (count == 0)
        return;
    double low[3] = {m_xyz[0], m_xyz[1], m_xyz[2]}, high[3] = {m_xyz[0], m_xyz[1], m_xyz[2]};
    for (size_t p = 1; p < count; ++p)
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], m_xyz[3 * p + i]);
            high[i] = std::max(high[i], m_xyz[3 * p + i]);
        }
    double extent[3], largest = 0.0;
    for (int i = 0; i < 3; ++i) {
        extent[i] = high[i] - low[i];
        largest = std::max(largest, extent[i]);
    }
    const double margin = largest > 0.0 ? largest * 1e-6 : 1.0;
    for (int i = 0; i < 3; ++i) {
        m_origin[i] = low[i] - margin;
        extent[i] += 2.0 * margin;
    }
    const double target = std::clamp(double(m_shapes.size()), 1.0, double(1 << 21));
    const auto binsFor = [&extent](double size) {
        double n = 1.0;
        for (int i = 0; i < 3; ++i)
            n *= std::min(1024.0, std::ceil(extent[i] / size));
        return n;
    };
    // The smallest bin size that keeps the count within the target.
    double small = (largest + 2.0 * margin) / 1024.0, big = largest + 2.0 * margin;
    for (int step = 0; step < 50 && binsFor(small) > target; ++step) {
        const double middle = std::sqrt(small * big);
        (binsFor(middle) > target ? small : big) = middle;
    }
    m_binSize = binsFor(small) > target ? big : small;
    for (int i = 0; i < 3; ++i)
        m_dims[i] = int(std::clamp(std::ceil(extent[i] / m_binSize), 1.0, 1024.0));
}

PickIndex::Bin PickIndex::binOf(const double p[3]) const
{
    int b[3];
    for (int i = 0; i < 3; ++i)
        b[i] = std::clamp(int(std::floor((p[i] - m_origin[i]) / m_binSize)), 0, m_dims[i] - 1);
    return {b[0], b[1], b[2]};
}

void PickIndex::collectBins(vtkIdType cell, std::vector<std::pair<int, vtkIdType>>& pairs) const
{
    const vtkIdType* ids = &m_cellPoints[size_t(m_cellStarts[size_t(cell)])];
    const vtkIdType n = m_cellStarts[size_t(cell + 1)] - m_cellStarts[size_t(cell)];
    const Shape shape = m_shapes[size_t(cell)];
    if (shape == Vertex || shape == Segment) {
        // Samples half a bin apart: a pick that passes near the segment meets one of their bins.
        const double* a = point(ids[0]);
        const double* b = point(ids[n - 1]);
        double d[3];
        subtract(b, a, d);
        const int samples = int(std::min(1e6, std::ceil(2.0 * std::sqrt(dot(d, d)) / m_binSize)));
        int last = -1;
        for (int s = 0; s <= samples; ++s) {
            const double f = samples ? double(s) / samples : 0.0;
            const double p[3] = {a[0] + f * d[0], a[1] + f * d[1], a[2] + f * d[2]};
            const Bin bin = binOf(p);
            const int index = binIndex(bin.x, bin.y, bin.z);
            if (index != last)
                pairs.emplace_back(index, cell);
            last = index;
        }
        return;
    }
    double low[3], high[3];
    for (int i = 0; i < 3; ++i)
        low[i] = high[i] = point(ids[0])[i];
    for (vtkIdType k = 1; k < n; ++k)
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], point(ids[k])[i]);
            high[i] = std::max(high[i], point(ids[k])[i]);
        }
    const Bin from = binOf(low), to = binOf(high);
    for (int z = from.z; z <= to.z; ++z)
        for (int y = from.y; y <= to.y; ++y)
            for (int x = from.x; x <= to.x; ++x)
                pairs.emplace_back(binIndex(x, y, z), cell);
}

PickIndex::Hit PickIndex::meet(vtkIdType cell, const double from[3], const double to[3],
                               double tolerance) const
{
    double dir[3];
    subtract(to, from, dir);
    const vtkIdType* ids = &m_cellPoints[size_t(m_cellStarts[size_t(cell)])];
    const vtkIdType n = m_cellStarts[size_t(cell + 1)] - m_cellStarts[size_t(cell)];
    const auto hit = [cell](double t, double miss) { return t >= 0.0 ? Hit{cell, t, miss} : Hit{}; };
    switch (m_shapes[size_t(cell)]) {
        case Vertex:
        case Segment: {
            const Meeting m = nearSegment(from, dir, point(ids[0]), point(ids[n - 1]), tolerance);
            return hit(m.t, m.miss);
        }
        case Polygon: {
            double best = -1.0;
            for (vtkIdType k = 1; k + 1 < n; ++k) {
                const double t = crossTriangle(from, dir, point(ids[0]), point(ids[k]), point(ids[k + 1]));
                if (t >= 0.0 && (best < 0.0 || t < best))
                    best = t;
            }
            return hit(best, 0.0);
        }
        case Hexahedron: {
            double best = -1.0;
            for (const auto& face : hexahedronFaces)
                for (int k = 1; k < 3; ++k) {
                    const double t = crossTriangle(from, dir, point(ids[face[0]]), point(ids[face[k]]),
                                                   point(ids[face[k + 1]]));
                    if (t >= 0.0 && (best < 0.0 || t < best))
                        best = t;
                }
            return hit(best, 0.0);
        }
    }
    return {};
}

PickIndex::Hit PickIndex::pick(const double from[3], const double to[3], double tolerance, double near) const
{
    Hit best;
    double dir[3];
    subtract(to, from, dir);
    const double length = std::sqrt(dot(dir, dir));
    if (m_binCells.empty() || length <= 0.0)
        return best;
    if (++m_query == 0) {
        std::fill(m_binSeen.begin(), m_binSeen.end(), 0);
        std::fill(m_cellSeen.begin(), m_cellSeen.end(), 0);
        m_query = 1;
    }
    // The part of the ray inside the grid widened by the reach of a bin around each sample.
    const double reach = tolerance + 0.5 * m_binSize;
    double enter = 0.0, leave = 1.0;
    for (int i = 0; i < 3; ++i) {
        const double low = m_origin[i] - reach, high = m_origin[i] + m_dims[i] * m_binSize + reach;
        if (std::abs(dir[i]) < 1e-300) {
            if (from[i] < low || from[i] > high)
                return best;
            continue;
        }
        double a = (low - from[i]) / dir[i], b = (high - from[i]) / dir[i];
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        leave = std::min(leave, b);
    }
    if (enter > leave)
        return best;
    const double step = 0.5 * m_binSize / length;
    const double reachAlong = 2.0 * reach / length;  // beyond the cube around a sample, diagonal included
    for (double s = enter;; s = std::min(leave, s + step)) {
        // Every cell still to come lies farther from the viewer: none beats a hit under the pointer.
        if (best.found() && best.miss <= near && s - reachAlong > best.t)
            break;
        const double p[3] = {from[0] + s * dir[0], from[1] + s * dir[1], from[2] + s * dir[2]};
        const double low[3] = {p[0] - reach, p[1] - reach, p[2] - reach};
        const double high[3] = {p[0] + reach, p[1] + reach, p[2] + reach};
        const Bin a = binOf(low), b = binOf(high);
        for (int z = a.z; z <= b.z; ++z)
            for (int y = a.y; y <= b.y; ++y)
                for (int x = a.x; x <= b.x; ++x) {
                    const int bin = binIndex(x, y, z);
                    if (m_binSeen[size_t(bin)] == m_query)
                        continue;
                    m_binSeen[size_t(bin)] = m_query;
                    for (int k = m_binStarts[size_t(bin)]; k < m_binStarts[size_t(bin + 1)]; ++k) {
                        const vtkIdType cell = m_binCells[size_t(k)];
                        if (m_cellSeen[size_t(cell)] == m_query)
                            continue;
                        m_cellSeen[size_t(cell)] = m_query;
                        const Hit candidate = meet(cell, from, to, tolerance);
                        if (candidate.betterThan(best, near))
                            best = candidate;
                    }
                }
        if (s >= leave)
            break;
    }
    return best;
}

bool PickIndex::isCurrentFor(vtkPointSet* data) const
{
    return data == m_data && data && data->GetPoints() && data->GetPoints()->GetMTime() == m_pointsTime;
}
