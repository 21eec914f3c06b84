#include "SyntheticModes.h"

#include <QtMath>
#include <algorithm>

#include "ModelRecord.h"

SyntheticModes::SyntheticModes(const ModelRecord& model, int count) : m_count(count), m_ndm(model.ndm)
{
    const QVector<double>* axes[3] = {&model.nodeX, &model.nodeY, &model.nodeZ};
    const int nodes = std::min({model.nodeTags.size(), model.nodeX.size(), model.nodeY.size(),
                                model.nodeZ.size()});
    int longest = 0;
    double low = 0.0, extent = 0.0;
    for (int axis = 0; axis < 3 && nodes > 0; ++axis) {
        const auto range = std::minmax_element(axes[axis]->cbegin(), axes[axis]->cbegin() + nodes);
        if (*range.second - *range.first > extent) {
            longest = axis;
            low = *range.first;
            extent = *range.second - *range.first;
        }
    }
    m_direction = longest;
    for (int axis = 0; axis < std::min(m_ndm, 3); ++axis) {
        if (axis != longest) {
            m_direction = axis;
            break;
        }
    }
    for (int i = 0; i < nodes; ++i)
        if (!m_fraction.contains(model.nodeTags[i]))
            m_fraction.insert(model.nodeTags[i], extent > 0.0 ? ((*axes[longest])[i] - low) / extent : 0.0);
    for (int i = 0; i < model.fixNodeTags.size(); ++i)
        for (int dof = 1; dof <= 6; ++dof)
            if (model.fixDofs(dof).value(i) == 1)
                m_restrained[model.fixNodeTags[i]] |= 1 << (dof - 1);
}

double SyntheticModes::eigenvalue(int mode)
{
    const double omega = 2.0 * M_PI * (2 * mode - 1);
    return omega * omega;
}

double SyntheticModes::massRatio(int mode)
{
    const double odd = 2 * mode - 1;
    return 800.0 / (M_PI * M_PI * odd * odd);
}

double SyntheticModes::value(int nodeTag, int mode, int dof) const
{
    const auto it = m_fraction.constFind(nodeTag);
    if (it == m_fraction.cend() || mode < 1 || mode > m_count || dof != m_direction + 1 ||
        (m_restrained.value(nodeTag) & (1 << (dof - 1))))
        return 0.0;
    return std::sin((2 * mode - 1) * M_PI * it.value() / 2.0);
}
