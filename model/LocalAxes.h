// MemberGeometry: where the two-node elements of the model record lie and how their local axes
// point, from their nodes and the coordinate transformation their arguments name. The solver's
// rules: x runs from end i to end j (joint offsets included); in 3-D y = vecxz x x and z = x x y;
// in 2-D y is x turned a quarter turn counter-clockwise and z points out of the plane.
//
//   const MemberGeometry geometry(*modelRecord());   // indexes built once
//   const MemberAxes a = geometry.axes(entry);       // entry: position in the element lists
//   if (a.oriented) draw(a.start, a.x, a.y, a.z);
#pragma once

#include <QHash>

#include "NodeIndex.h"

struct ModelRecord;

struct MemberAxes {
    double start[3] = {0, 0, 0};  // end i, joint offset added
    double end[3] = {0, 0, 0};    // end j
    double length = 0.0;          // 0 when a node is unknown or the ends coincide
    bool oriented = false;        // x, y and z hold unit vectors
    double x[3] = {0, 0, 0};
    double y[3] = {0, 0, 0};
    double z[3] = {0, 0, 0};
    // The point at distance S from end i along the member, moved by OFFSET along axis (0 = x, 1 = y, 2 = z).
    void pointAt(double s, int axis, double offset, double out[3]) const;
};

class MemberGeometry {
public:
    explicit MemberGeometry(const ModelRecord& model);

    // The axes of the element at ENTRY; zero length for an element that is not a two-node element.
    MemberAxes axes(int entry) const;
    // Position of a transformation tag in the record's geomTransf lists (the first of that tag), or -1.
    int transformation(int tag) const { return m_transformations.value(tag, -1); }
    // Largest side of the nodes' bounding box; 1 when the model has no extent.
    double extent() const { return m_extent; }
    const NodeIndex& nodes() const { return m_nodes; }

private:
    const ModelRecord& m_model;
    NodeIndex m_nodes;
    QHash<int, int> m_transformations;
    double m_extent = 1.0;
};
