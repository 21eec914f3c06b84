// DeformationScale: the scale a result is first drawn at, so that the deformed shape is neither
// invisible nor wild: the largest displacement of the whole run becomes a tenth of the model's
// largest extent. The animation panel's scale box shows it and the user may type another.
//
//   const double scale = automaticScale(modelExtent(*modelRecord()), loader.largestDisplacement());
#pragma once

struct ModelRecord;

// The longest side of the box around the model's nodes; 0 without nodes.
double modelExtent(const ModelRecord& model);

// 0.1 x EXTENT / LARGEST; 1 when either is not positive (nothing moves, or nothing to measure).
double automaticScale(double extent, double largestDisplacement);
