// StraightLines: the undeformed model's lines with every run of collinear segments joined into
// one. A frame's columns and beams, or a slab's grid, are a few thousand straight lines made of
// a hundred thousand element edges; the outline of the undeformed model draws the former.
//
//   // segments: node positions, two per segment; x, y, z: the nodes' coordinates
//   const QVector<int> lines = joinStraightRuns(segments, x, y, z);  // two per line
//   const QVector<int> edges = uniqueEdges(cornersOfQuads, 4);        // a face's sides, once each
#pragma once

#include <QVector>

// Joins segments that meet end to end in a straight line. Two segments are joined at a node when
// they leave it in opposite directions (within a small angle); a node where several lines cross
// joins each line through it. Segments of zero length are left out.
QVector<int> joinStraightRuns(const QVector<int>& segments, const QVector<double>& x, const QVector<double>& y,
                              const QVector<double>& z);

// The sides of faces given by their corners (CORNERS per face, in order around it), each side
// once whichever faces share it, as pairs of node positions.
QVector<int> uniqueEdges(const QVector<int>& faceCorners, int corners);
