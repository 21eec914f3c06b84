// ResultStep: what the step display draws for one step of the loaded results, parsed in one
// pass per line so that an animation of a large model spends its time drawing.
//
//   ResultStep step;   // kept between steps: its vectors keep their capacity
//   if (prepareResultStep(loader, dispLines, reactionLines, elementLines, value, &step))
//       draw(step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
#pragma once

#include <QStringList>
#include <QVector>

class zorloadresult;

struct ResultStep {
    double time = 0.0;  // from the reaction line
    QVector<double> x, y, z;
    QVector<double> s2, s3, s4, s8;  // normalised contour values per group, or empty
};

// Fills *out from line step - 1 of each list (step counted from 1). False, with nothing to draw,
// unless the displacement line and the reaction line each hold exactly 3 x N + 1 fields (split at
// blanks, empty parts dropped; N the model's node count).
bool prepareResultStep(const zorloadresult& loader, const QStringList& dispLines,
                       const QStringList& reactionLines, const QStringList& elementLines, int step,
                       ResultStep* out);
