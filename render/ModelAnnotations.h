// The symbols drawn over the model's geometry: supports, zero-length springs, local axes, loads
// and member force diagrams, each built from the model record into a GlyphGeometry. Sizes are
// fractions of the model's extent, so a frame of 3 m and one of 300 m look alike.
//
//   const MemberGeometry geometry(*modelRecord());
//   GlyphGeometry g;
//   addSupports(g, *modelRecord(), geometry, gray);
#pragma once

#include <QVector>

#include "GlyphGeometry.h"

struct ModelRecord;
class MemberGeometry;

// One member's diagram as the scene draws it: values at stations from end i, drawn along a local
// axis at SIDE x value x scale; the labelled values are written beside the curve.
struct DiagramCurve {
    int entry = -1;     // position in the record's element lists
    int axis = 1;       // 1: local y, 2: local z
    double side = 1.0;  // +1 or -1: which side a positive value is drawn on
    QVector<double> at, values;
    QVector<double> labelAt, labelValues;
};

// Restrained translations as cones along their global axes, pointing at the node; restrained
// rotations as rings around their axes; a node named by several fix commands gets all their restraints.
void addSupports(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry, Rgb color);

// Two-node elements whose nodes coincide (zero-length springs, links) as a zigzag leaving the
// node; ENTRIES receives the element entry of each zigzag (one line cell each).
void addSprings(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry, Rgb color,
                QVector<int>* entries);

// A red, green and blue line for local x, y and z at the middle of every member with a
// coordinate transformation.
void addLocalAxes(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry);

// Nodal forces as arrows at their node, moments as double-headed arrows, member loads as rows of
// arrows along the member; each kind scaled by its largest value, a colour per pattern. PATTERN
// is a pattern tag, or -1 for all.
void addLoads(GlyphGeometry& g, const ModelRecord& model, const MemberGeometry& geometry, int pattern);
// The colour of the K-th pattern of the record.
Rgb patternColor(int k);

// The filled curves (a triangle strip per member, blue where the value is positive, red where
// negative) and their outlines.
void addDiagrams(GlyphGeometry& fill, GlyphGeometry& outline, const QVector<DiagramCurve>& curves,
                 const MemberGeometry& geometry, double scale);
