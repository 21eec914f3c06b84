// ResultStep: what the step display draws for one step of the loaded results, parsed in one
// pass per line so that an animation of a large model spends its time drawing.
//
//   ResultStep step;   // kept between steps: its vectors keep their capacity
//   if (prepareResultStep(loader, dispLines, reactionLines, elementLines, value, &step, display))
//       draw(step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
//   if (step.notNumbers > 0) warn(notNumbersText(value, step.notNumbers)), mark(step.heldNodes);
#pragma once

#include <QString>
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
    // Fields of the displacement line that are not numbers (a diverged analysis writes "nan",
    // "inf" or words), and the nodes whose drawn values are among them: these hold the values
    // of the nearest earlier step where they were numbers (none: 0), so that a diverged step
    // never looks like a structure at rest.
    int notNumbers = 0;
    QVector<int> heldNodes;  // positions in the model's node list

    // The displacements of the last step prepared with held nodes, with the nodes held: what a
    // following step's held nodes take without reading back through the diverged lines again.
    int heldStep = 0;
    QVector<double> heldX, heldY, heldZ;
};

// Fills *out from line step - 1 of each list (step counted from 1). False, with nothing to draw,
// unless the displacement line and the reaction line each hold exactly 3 x N + 1 fields (split at
// blanks, empty parts dropped; N the model's node count). A new ResultStep for new result lists.
bool prepareResultStep(const zorloadresult& loader, const QStringList& dispLines,
                       const QStringList& reactionLines, const QStringList& elementLines, int step,
                       ResultStep* out, const ContourDisplay& display = {});

// The lowest and highest of the first COUNT values; 0, 0 when there are none.
void valueRange(const QVector<double>& values, int count, double* min, double* max);

// "Step N: K values are not numbers (the analysis may have diverged)".
QString notNumbersText(int step, int count);
