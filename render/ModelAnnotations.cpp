#include "ModelAnnotations.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

#include "LocalAxes.h"
#include "ModelRecord.h"

namespace {

const Rgb positiveColor{20, 160, 175};
const Rgb negativeColor{235, 95, 35};

double length3(const double v[3])
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

void nodePoint(const ModelRecord& model, int position, double out[3])
{
    out[0] = model.nodeX[position];
    out[1] = model.nodeY[position];
    out[2] = model.nodeZ[position];
}

// Translations are the first ndm dofs; rotations follow in 2-D (about Z) and 3-D (X, Y, Z) models
// whose nodes carry them.
int rotationAxis(const ModelRecord& model, int dof)
{
    if (model.ndm == 2 && model.ndf >= 3 && dof == 3)
        return 2;
    if (model.ndm == 3 && model.ndf >= 6 && dof >= 4 && dof <= 6)
        return dof - 4;
    return -1;
}

// The size of the support symbols: a twenty-fifth of the model, but no more than 40 % of a typical
// element side, so that a dense grid of supports stays a grid of symbols and not one overlapping
// (and slow to draw) carpet.
double supportSize(const ModelRecord& model, const MemberGeometry& geometry)
{
    std::vector<double> sides;
    const int n = std::min(model.elementNodeCounts.size(), model.elementNodes1.size());
    sides.reserve(size_t(n));
    for (int e = 0; e < n; ++e) {
        const int a = geometry.nodes().position(model.elementNodes1[e]);
        const int b = geometry.nodes().position(model.elementNodes2[e]);
        if (a < 0 || b < 0)
            continue;
        const double d[3] = {model.nodeX[b] - model.nodeX[a], model.nodeY[b] - model.nodeY[a],
                             model.nodeZ[b] - model.nodeZ[a]};
        if (length3(d) > 0.0)
            sides.push_back(length3(d));
    }
    const double wide = 0.04 * geometry.extent();
    if (sides.empty())
        return wide;
    std::nth_element(sides.begin(), sides.begin() + sides.size() / 2, sides.end());
    return std::min(wide, 0.4 * sides[sides.size() / 2]);
}

}  // namespace

void addSupports(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry, Rgb color)
{
    // Several fix commands on one node restrain the union of their dofs.
    QHash<int, int> restrained;
    QVector<int> order;
    const int fixes = std::min({model.fixNodeTags.size(), model.fixDofs1.size(), model.fixDofs2.size(),
                                model.fixDofs3.size(), model.fixDofs4.size(), model.fixDofs5.size(),
                                model.fixDofs6.size()});
    for (int f = 0; f < fixes; ++f) {
        const int tag = model.fixNodeTags[f];
        if (!restrained.contains(tag))
            order.append(tag);
        int& mask = restrained[tag];
        for (int dof = 1; dof <= 6; ++dof)
            if (model.fixDofs(dof)[f] != 0)
                mask |= 1 << (dof - 1);
    }
    const double h = supportSize(model, geometry);
    const int translations = std::min(model.ndm, 3);
    for (int tag : order) {
        const int position = geometry.nodes().position(tag);
        if (position < 0)
            continue;
        double p[3];
        nodePoint(model, position, p);
        const int mask = restrained.value(tag);
        for (int dof = 1; dof <= 6; ++dof) {
            if (!(mask & (1 << (dof - 1))))
                continue;
            double axis[3] = {0, 0, 0};
            if (dof <= translations && dof <= model.ndf) {
                axis[dof - 1] = 1.0;
                g.cone(p, axis, h, 0.4 * h, color);
            } else if (rotationAxis(model, dof) >= 0) {
                axis[rotationAxis(model, dof)] = 1.0;
                g.ring(p, axis, 0.8 * h, color);
            }
        }
    }
}

void addSprings(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry, Rgb color,
                QVector<int>* entries)
{
    const double extent = geometry.extent();
    const double length = 0.07 * extent, width = 0.015 * extent;
    // Springs at one node leave it in turn along these directions, none of them along the line of
    // sight of the isometric view or an axis view.
    static const double directions[4][3] = {{1, -1, 1}, {-1, 1, 1}, {1, 1, -1}, {-1, -1, -1}};
    QHash<int, int> atNode;
    const int elements = std::min(model.elementNodeCounts.size(), model.elementNodes2.size());
    for (int i = 0; i < elements; ++i) {
        if (model.elementNodeCounts[i] != 2)
            continue;
        const int a = geometry.nodes().position(model.elementNodes1[i]);
        const int b = geometry.nodes().position(model.elementNodes2[i]);
        if (a < 0 || b < 0)
            continue;
        double p[3], q[3];
        nodePoint(model, a, p);
        nodePoint(model, b, q);
        const double d[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
        if (length3(d) > 1e-9 * extent)
            continue;
        const double* base = directions[atNode[a]++ % 4];
        double u[3] = {base[0], base[1], model.ndm == 3 ? base[2] : 0.0};
        const double n = length3(u);
        for (double& c : u)
            c /= n;
        // The teeth swing across, horizontally where the axis allows.
        double v[3] = {u[1], -u[0], 0.0};
        if (length3(v) < 1e-9)
            perpendicularTo(u, v);
        const double vn = length3(v);
        for (double& c : v)
            c /= vn;
        const int teeth = 6;
        double points[3 * (teeth + 4)];
        int k = 0;
        const auto put = [&](double along, double across) {
            for (int c = 0; c < 3; ++c)
                points[3 * k + c] = p[c] + along * length * u[c] + across * width * v[c];
            ++k;
        };
        put(0.0, 0.0);
        put(0.2, 0.0);
        for (int t = 1; t <= teeth; ++t)
            put(0.2 + 0.6 * (t - 0.5) / teeth, t % 2 ? 1.0 : -1.0);
        put(0.8, 0.0);
        put(1.0, 0.0);
        g.polyline(points, k, color);
        entries->append(i);
    }
}

void addLocalAxes(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry)
{
    static const Rgb colors[3] = {{230, 30, 30}, {30, 180, 30}, {40, 80, 255}};
    const double size = 0.05 * geometry.extent();
    const int elements = std::min(model.elementTransformations.size(), model.elementNodeCounts.size());
    for (int i = 0; i < elements; ++i) {
        if (model.elementTransformations[i] < 0)
            continue;
        const MemberAxes a = geometry.axes(i);
        if (!a.oriented)
            continue;
        const double length = std::min(size, 0.4 * a.length);
        double middle[3], tip[3];
        a.pointAt(0.5 * a.length, 0, 0.0, middle);
        for (int axis = 0; axis < 3; ++axis) {
            const double* direction = axis == 0 ? a.x : axis == 1 ? a.y : a.z;
            for (int k = 0; k < 3; ++k)
                tip[k] = middle[k] + length * direction[k];
            g.line(middle, tip, colors[axis]);
        }
    }
}

Rgb patternColor(int k)
{
    static const Rgb palette[] = {{220, 20, 60},  {255, 140, 0}, {148, 0, 211}, {139, 69, 19},
                                  {199, 21, 133}, {0, 139, 139}, {128, 128, 0}};
    const int n = int(sizeof palette / sizeof palette[0]);
    return palette[((k % n) + n) % n];
}

void addLoads(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry, int pattern)
{
    const double extent = geometry.extent();
    const double longest = 0.12 * extent, head = 0.02 * extent;
    QHash<int, int> colorOf;  // pattern tag -> colour index, in the order the patterns were made
    for (int tag : model.patternTags)
        if (!colorOf.contains(tag))
            colorOf.insert(tag, colorOf.size());
    const auto shown = [pattern](int tag) { return pattern < 0 || tag == pattern; };

    // Nodal loads: the force and the moment vector of each.
    const int nodal = std::min({model.nodalLoadNodes.size(), model.nodalLoadPatterns.size(),
                                model.nodalLoadValues6.size()});
    const int translations = std::min(model.ndm, 3);
    QVector<int> positions(nodal, -1);
    QVector<double> forces(3 * nodal, 0.0), moments(3 * nodal, 0.0);
    double largestForce = 0.0, largestMoment = 0.0;
    for (int l = 0; l < nodal; ++l) {
        if (!shown(model.nodalLoadPatterns[l]))
            continue;
        positions[l] = geometry.nodes().position(model.nodalLoadNodes[l]);
        for (int dof = 1; dof <= 6; ++dof) {
            const double v = model.nodalLoadValues(dof)[l];
            if (dof <= translations)
                forces[3 * l + dof - 1] = v;
            else if (rotationAxis(model, dof) >= 0)
                moments[3 * l + rotationAxis(model, dof)] = v;
        }
        largestForce = std::max(largestForce, length3(&forces[3 * l]));
        largestMoment = std::max(largestMoment, length3(&moments[3 * l]));
    }
    for (int l = 0; l < nodal; ++l) {
        if (positions[l] < 0)
            continue;
        const Rgb color = patternColor(colorOf.value(model.nodalLoadPatterns[l], -1));
        double p[3], other[3];
        nodePoint(model, positions[l], p);
        const double force = length3(&forces[3 * l]);
        if (force > 0.0) {
            for (int k = 0; k < 3; ++k)
                other[k] = p[k] - longest * forces[3 * l + k] / largestForce;
            g.arrow(other, p, head, color);
        }
        const double moment = length3(&moments[3 * l]);
        if (moment > 0.0) {
            for (int k = 0; k < 3; ++k)
                other[k] = p[k] + longest * moments[3 * l + k] / largestMoment;
            g.arrow(p, other, head, color, 2);
        }
    }

    // Member loads along their member, in its local axes.
    const int members = std::min({model.elementLoadElements.size(), model.elementLoadPatterns.size(),
                                  model.elementLoadPositions.size()});
    QHash<int, int> elementEntry;
    for (int i = model.elementTags.size() - 1; i >= 0; --i)
        elementEntry.insert(model.elementTags[i], i);
    double largestUniform = 0.0, largestPoint = 0.0;
    for (int l = 0; l < members; ++l) {
        if (!shown(model.elementLoadPatterns[l]))
            continue;
        const double local[3] = {model.elementLoadX[l], model.elementLoadY[l], model.elementLoadZ[l]};
        double& largest = model.elementLoadTypes[l] == QLatin1String("beamPoint") ? largestPoint : largestUniform;
        largest = std::max(largest, length3(local));
    }
    for (int l = 0; l < members; ++l) {
        if (!shown(model.elementLoadPatterns[l]))
            continue;
        const MemberAxes a = geometry.axes(elementEntry.value(model.elementLoadElements[l], -1));
        if (!a.oriented)
            continue;
        const bool point = model.elementLoadTypes[l] == QLatin1String("beamPoint");
        double direction[3];
        for (int k = 0; k < 3; ++k)
            direction[k] = model.elementLoadX[l] * a.x[k] + model.elementLoadY[l] * a.y[k] +
                           model.elementLoadZ[l] * a.z[k];
        const double size = length3(direction);
        if (!(size > 0.0))
            continue;
        const Rgb color = patternColor(colorOf.value(model.elementLoadPatterns[l], -1));
        const double reach = (point ? longest : 0.6 * longest) * size / (point ? largestPoint : largestUniform);
        QVector<double> stations;
        if (point) {
            stations.append(model.elementLoadPositions[l] * a.length);
        } else {
            const int n = std::clamp(int(std::lround(a.length / (0.04 * extent))), 3, 15);
            for (int s = 0; s <= n; ++s)
                stations.append(a.length * s / n);
        }
        QVector<double> tails;
        for (double s : stations) {
            double tip[3], tail[3];
            a.pointAt(s, 0, 0.0, tip);
            for (int k = 0; k < 3; ++k)
                tail[k] = tip[k] - reach * direction[k] / size;
            g.arrow(tail, tip, 0.7 * head, color);
            tails << tail[0] << tail[1] << tail[2];
        }
        // The uniform load's line over the arrows' tails.
        if (!point)
            g.polyline(tails.constData(), stations.size(), color);
    }
}

void addDiagrams(GlyphGeometry& fill, GlyphGeometry& outline, const QVector<DiagramCurve>& curves,
                 const MemberGeometry& geometry, double scale)
{
    for (const DiagramCurve& curve : curves) {
        const MemberAxes a = geometry.axes(curve.entry);
        const int n = std::min(curve.at.size(), curve.values.size());
        if (!a.oriented || n < 2)
            continue;
        const auto base = [&](double s, double out[3]) { a.pointAt(s, 0, 0.0, out); };
        const auto tip = [&](int k, double out[3]) {
            a.pointAt(curve.at[k], curve.axis, curve.side * curve.values[k] * scale, out);
        };
        QVector<double> line;
        double p[3], q[3], r[3], t[3], c[3];
        base(curve.at[0], p);
        line << p[0] << p[1] << p[2];
        for (int k = 0; k < n; ++k) {
            tip(k, p);
            line << p[0] << p[1] << p[2];
        }
        base(curve.at[n - 1], p);
        line << p[0] << p[1] << p[2];
        outline.polyline(line.constData(), line.size() / 3, {60, 60, 60});

        for (int k = 0; k + 1 < n; ++k) {
            const double s0 = curve.at[k], s1 = curve.at[k + 1];
            const double v0 = curve.values[k], v1 = curve.values[k + 1];
            if (!(s1 > s0))
                continue;  // a jump at a point load encloses no area
            base(s0, p);
            base(s1, q);
            tip(k, t);
            tip(k + 1, r);
            if ((v0 >= 0.0) == (v1 >= 0.0) || v0 == 0.0 || v1 == 0.0) {
                const Rgb color = v0 + v1 >= 0.0 ? positiveColor : negativeColor;
                fill.triangle(p, q, r, color);
                fill.triangle(p, r, t, color);
                continue;
            }
            // The curve crosses the axis between the stations: two triangles of either sign.
            base(s0 + (s1 - s0) * v0 / (v0 - v1), c);
            fill.triangle(p, c, t, v0 > 0.0 ? positiveColor : negativeColor);
            fill.triangle(c, q, r, v1 > 0.0 ? positiveColor : negativeColor);
        }
    }
}
