#include "SyntheticMotion.h"

#include <QtMath>
#include <algorithm>

#include "LocalAxes.h"
#include "MemberForces.h"
#include "ModelRecord.h"

double stepFactor(int k)
{
    return std::sin(2.0 * M_PI * k / 20.0) * (k / 25.0) * std::exp(1.0 - k / 25.0);
}

namespace {

// The vertical axis (0 X, 1 Y, 2 Z), or -1 when the model has none.
int verticalAxis(int ndm)
{
    return ndm == 2 || ndm == 3 ? ndm - 1 : -1;
}

double fraction(double c, double low, double high)
{
    return high > low ? (c - low) / (high - low) : 0.5;
}

}  // namespace

MotionShapes::MotionShapes(const ModelRecord& model)
    : m_ndm(model.ndm),
      m_ndf(model.ndf),
      m_coordinates{model.nodeX, model.nodeY, model.nodeZ},
      m_nodes(model.nodeTags)
{
    double largest = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        const QVector<double>& c = m_coordinates[axis];
        if (c.isEmpty())
            continue;
        const auto range = std::minmax_element(c.cbegin(), c.cend());
        m_min[axis] = *range.first;
        m_max[axis] = *range.second;
        largest = std::max(largest, m_max[axis] - m_min[axis]);
    }
    m_extent = largest > 0.0 ? largest : 1.0;

    for (int i = 0; i < model.fixNodeTags.size(); ++i)
        for (int dof = 1; dof <= 6; ++dof)
            if (model.fixDofs(dof).value(i) == 1)
                m_restrained[model.fixNodeTags[i]] |= 1 << (dof - 1);

    // The element lists stay aligned as long as no element command failed.
    const int elements = std::min(model.elementTags.size(), model.elementNodeCounts.size());
    for (int e = 0; e < elements; ++e) {
        MotionElement element{model.elementTypes.value(e), model.elementNodeCounts[e], 0.0};
        int found = 0;
        for (int k = 1; k <= element.nodeCount; ++k) {
            const int position = m_nodes.position(model.elementNodes(k).value(e));
            if (position < 0)
                continue;
            element.meanHeight += height(position);
            ++found;
        }
        if (found > 0)
            element.meanHeight /= found;
        if (!m_elements.contains(model.elementTags[e]))
            m_elements.insert(model.elementTags[e], element);
    }
    addMemberForces(model);
}

void MotionShapes::addMemberForces(const ModelRecord& model)
{
    if (!((model.ndm == 2 && model.ndf == 3) || (model.ndm == 3 && model.ndf == 6)))
        return;
    QHash<int, QVector<StandinMemberLoad>> loads;
    for (int k = 0; k < model.elementLoadElements.size(); ++k) {
        StandinMemberLoad load;
        load.point = model.elementLoadTypes.value(k) == QLatin1String("beamPoint");
        load.x = model.elementLoadX.value(k);
        load.y = model.elementLoadY.value(k);
        load.z = model.elementLoadZ.value(k);
        load.at = model.elementLoadPositions.value(k);
        loads[model.elementLoadElements[k]].append(load);
    }
    const MemberGeometry geometry(model);
    const int elements = std::min(model.elementTransformations.size(), model.elementTags.size());
    for (int e = 0; e < elements; ++e) {
        const int tag = model.elementTags[e];
        const double length = geometry.axes(e).length;
        if (model.elementTransformations[e] < 0 || !(length > 0.0) || m_memberForces.contains(tag))
            continue;
        QVector<StandinMemberLoad> own = loads.value(tag);
        for (StandinMemberLoad& load : own)
            load.at *= length;
        m_memberForces.insert(tag, memberEndForces(model.ndm, length, own, m_elements.value(tag).meanHeight));
    }
}

const QVector<double>* MotionShapes::memberForces(int tag) const
{
    const auto it = m_memberForces.constFind(tag);
    return it == m_memberForces.cend() ? nullptr : &it.value();
}

double MotionShapes::height(int position) const
{
    const int v = verticalAxis(m_ndm);
    if (v < 0 || m_max[v] <= m_min[v])
        return 0.0;
    return (m_coordinates[v][position] - m_min[v]) / (m_max[v] - m_min[v]);
}

double MotionShapes::flatDisplacement(int position, int dof) const
{
    if (m_ndm == 1)
        return dof == 1 ? 0.02 * m_extent * fraction(m_coordinates[0][position], m_min[0], m_max[0]) : 0.0;
    if (dof != m_ndm)
        return 0.0;
    double bulge = 1.0;
    for (int axis = 0; axis < m_ndm - 1; ++axis)
        bulge *= std::sin(M_PI * fraction(m_coordinates[axis][position], m_min[axis], m_max[axis]));
    return -0.02 * m_extent * bulge;
}

double MotionShapes::displacement(int nodeTag, int dof) const
{
    const int position = m_nodes.position(nodeTag);
    if (position < 0 || dof < 1 || dof > 6 || dof > m_ndf || m_ndm < 1 || m_ndm > 3)
        return 0.0;
    if (m_restrained.value(nodeTag) & (1 << (dof - 1)))
        return 0.0;
    const int v = verticalAxis(m_ndm);
    const bool flat = v < 0 || m_max[v] <= m_min[v];
    if (dof > 3)
        return flat ? 0.0 : 0.001 * (dof - 3) * height(position);
    if (flat)
        return flatDisplacement(position, dof);
    const double h = height(position);
    if (dof == 1)
        return 0.02 * m_extent * h;
    return dof == 2 && m_ndm == 3 ? 0.01 * m_extent * h : 0.0;
}

double MotionShapes::reaction(int nodeTag, int dof) const
{
    static const double perDof[6] = {-1000.0, -500.0, -250.0, -100.0, -50.0, -25.0};
    if (dof < 1 || dof > 6 || !(m_restrained.value(nodeTag) & (1 << (dof - 1))))
        return 0.0;
    return perDof[dof - 1];
}

const MotionElement* MotionShapes::element(int tag) const
{
    const auto it = m_elements.constFind(tag);
    return it == m_elements.cend() ? nullptr : &it.value();
}

double MotionShapes::elementValue(int tag, int j, int width) const
{
    const MotionElement* e = element(tag);
    if (!e || width <= 0)
        return 0.0;
    return 100.0 * (1.0 + e->meanHeight) * (j + 1) / width;
}
