// ResultStep: what the step display draws for one step of the loaded results, parsed in one
// pass per line so that an animation of a large model spends its time drawing.
//
//   ResultStep step;   // kept between steps: its vectors keep their capacity
//   if (prepareResultStep(loader, dispLines, reactionLines, elementLines, value, &step, display))
//       draw(step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
#pragma once

#include <QStringList>
#include <QVector>

#include "ResultParsing.h"

class zorloadresult;

// How the chosen element response is shown: the step's values or an envelope, and which values
// the colour scale spans.
struct ContourDisplay {
    enum Range { AllSteps, ThisStep, Fixed };
    ContourValue value = ContourValue::Step;
    Range range = AllSteps;
    double fixedMin = 0.0, fixedMax = 0.0;
};

struct ResultStep {
    double time = 0.0;  // from the reaction line
    QVector<double> x, y, z;
    QVector<double> s2, s3, s4, s8;  // normalised contour values per group, or empty
    bool contour = false;            // one group is coloured by the chosen response
    double min = 0.0, max = 0.0;     // the values that 0 and 1 of the contour stand for
    QVector<double> chosen, scratch;  // the chosen values before they are normalised, and room for sums
};

// Fills *out from line step - 1 of each list (step counted from 1). False, with nothing to draw,
// unless the displacement line and the reaction line each hold exactly 3 x N + 1 fields (split at
// blanks, empty parts dropped; N the model's node count).
bool prepareResultStep(const zorloadresult& loader, const QStringList& dispLines,
                       const QStringList& reactionLines, const QStringList& elementLines, int step,
                       ResultStep* out, const ContourDisplay& display = {});

// The lowest and highest of the first COUNT values; 0, 0 when there are none.
void valueRange(const QVector<double>& values, int count, double* min, double* max);
