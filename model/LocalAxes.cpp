#include "LocalAxes.h"

#include <algorithm>
#include <cmath>

#include "ModelRecord.h"

namespace {

double norm(const double v[3])
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

void cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool normalise(double v[3])
{
    const double n = norm(v);
    if (!(n > 0.0))
        return false;
    for (int k = 0; k < 3; ++k)
        v[k] /= n;
    return true;
}

}  // namespace

void MemberAxes::pointAt(double s, int axis, double offset, double out[3]) const
{
    const double* direction = axis == 0 ? x : axis == 1 ? y : z;
    for (int k = 0; k < 3; ++k)
        out[k] = start[k] + s * x[k] + offset * direction[k];
}

MemberGeometry::MemberGeometry(const ModelRecord& model) : m_model(model), m_nodes(model.nodeTags)
{
    for (int i = model.geomTransfTags.size() - 1; i >= 0; --i)
        m_transformations.insert(model.geomTransfTags[i], i);
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    const QVector<double>* coordinates[3] = {&model.nodeX, &model.nodeY, &model.nodeZ};
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < coordinates[k]->size(); ++i) {
            const double c = (*coordinates[k])[i];
            low[k] = i == 0 ? c : std::min(low[k], c);
            high[k] = i == 0 ? c : std::max(high[k], c);
        }
    }
    const double extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    if (extent > 0.0)
        m_extent = extent;
}

MemberAxes MemberGeometry::axes(int entry) const
{
    MemberAxes a;
    const ModelRecord& m = m_model;
    if (entry < 0 || entry >= m.elementNodeCounts.size() || m.elementNodeCounts[entry] != 2)
        return a;
    const int i = m_nodes.position(m.elementNodes1[entry]);
    const int j = m_nodes.position(m.elementNodes2[entry]);
    if (i < 0 || j < 0)
        return a;
    const int tag = entry < m.elementTransformations.size() ? m.elementTransformations[entry] : -1;
    const int t = tag >= 0 ? transformation(tag) : -1;
    double offsets[6] = {0, 0, 0, 0, 0, 0};
    if (t >= 0) {
        const QVector<double>* lists[6] = {&m.geomTransfOffsetIX, &m.geomTransfOffsetIY, &m.geomTransfOffsetIZ,
                                           &m.geomTransfOffsetJX, &m.geomTransfOffsetJY, &m.geomTransfOffsetJZ};
        for (int k = 0; k < 6; ++k)
            offsets[k] = (*lists[k])[t];
    }
    const double ni[3] = {m.nodeX[i], m.nodeY[i], m.nodeZ[i]};
    const double nj[3] = {m.nodeX[j], m.nodeY[j], m.nodeZ[j]};
    for (int k = 0; k < 3; ++k) {
        a.start[k] = ni[k] + offsets[k];
        a.end[k] = nj[k] + offsets[3 + k];
        a.x[k] = a.end[k] - a.start[k];
    }
    a.length = norm(a.x);
    if (!normalise(a.x)) {
        a.length = 0.0;
        return a;
    }
    if (m.ndm != 3) {
        a.y[0] = -a.x[1];
        a.y[1] = a.x[0];
        a.z[2] = 1.0;
        // A member out of the plane has no in-plane y.
        a.oriented = normalise(a.y);
        return a;
    }
    if (t < 0)
        return a;
    const double vecxz[3] = {m.geomTransfVecxzX[t], m.geomTransfVecxzY[t], m.geomTransfVecxzZ[t]};
    cross(vecxz, a.x, a.y);
    // vecxz along the member leaves y undefined: the solver refuses such an element.
    if (norm(a.y) <= 1e-10 * std::max(norm(vecxz), 1e-300) || !normalise(a.y))
        return a;
    cross(a.x, a.y, a.z);
    a.oriented = true;
    return a;
}
