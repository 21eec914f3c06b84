#include "DiagramDisplay.h"

#include <algorithm>
#include <cmath>

namespace {

// Members whose values are written beside their curve.
const int labelledMembers = 6;

}  // namespace

QVector<DiagramCurve> diagramCurves(const QVector<DiagramResults::Member>& members, ForceComponent component,
                                    bool compressionSide, double* largest)
{
    const bool zPlane = component == ForceComponent::Vz || component == ForceComponent::My;
    // A positive Mz stretches local -y, a positive My local +z.
    double side = component == ForceComponent::Mz ? -1.0 : 1.0;
    if (compressionSide && (component == ForceComponent::Mz || component == ForceComponent::My))
        side = -side;
    QVector<DiagramCurve> curves;
    QVector<QPair<double, int>> extremes;
    *largest = 0.0;
    curves.reserve(members.size());
    for (const DiagramResults::Member& m : members) {
        DiagramCurve curve;
        curve.entry = m.entry;
        curve.axis = zPlane ? 2 : 1;
        curve.side = side;
        for (const MemberDiagram::Station& s : m.diagram.stations(20)) {
            curve.at.append(s.at);
            curve.values.append(m.diagram.value(component, s.at, s.after));
        }
        const MemberDiagram::Extreme e = m.diagram.extreme(component);
        *largest = std::max(*largest, std::abs(e.value));
        extremes.append({std::abs(e.value), int(curves.size())});
        curves.append(curve);
    }
    std::stable_sort(extremes.begin(), extremes.end(),
                     [](const QPair<double, int>& a, const QPair<double, int>& b) { return a.first > b.first; });
    for (int k = 0; k < std::min(labelledMembers, int(extremes.size())); ++k) {
        if (!(extremes[k].first > 0.0))
            break;
        const int c = extremes[k].second;
        const MemberDiagram& d = members[c].diagram;
        const MemberDiagram::Extreme e = d.extreme(component);
        DiagramCurve& curve = curves[c];
        const double close = 1e-6 * d.length();
        const double ends[2] = {d.value(component, 0.0), d.value(component, d.length(), true)};
        // Values next to nothing (a pinned end) would only crowd the view.
        for (int end = 0; end < 2; ++end) {
            if (std::abs(ends[end]) > 1e-3 * *largest) {
                curve.labelAt.append(end == 0 ? 0.0 : d.length());
                curve.labelValues.append(ends[end]);
            }
        }
        if (e.at > close && e.at < d.length() - close) {
            curve.labelAt.append(e.at);
            curve.labelValues.append(e.value);
        }
    }
    return curves;
}

double automaticDiagramScale(double largest, double extent)
{
    return largest > 0.0 ? extent / 6.0 / largest : 1.0;
}
