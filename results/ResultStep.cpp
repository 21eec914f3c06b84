#include "ResultStep.h"

#include <algorithm>

#include "ModelRecord.h"
#include "ResultParsing.h"
#include "zorloadresult.h"

namespace {

QVector<double>* groupValues(ResultStep* out, int nodeCount)
{
    switch (nodeCount) {
        case 2:
            return &out->s2;
        case 3:
            return &out->s3;
        case 4:
            return &out->s4;
        case 8:
            return &out->s8;
        default:
            return nullptr;
    }
}

// The chosen response of one step (or its envelope) into the group of its node count.
void prepareContour(const zorloadresult& loader, const QStringList& elementLines, int step,
                    const ContourDisplay& display, ResultStep* out)
{
    out->s2.clear();
    out->s3.clear();
    out->s4.clear();
    out->s8.clear();
    out->contour = false;
    out->min = loader.contourMin();
    out->max = loader.contourMax();
    QVector<double>* target = groupValues(out, loader.nodeCount());
    // No line for the step (no element file, or a shorter one): nothing to colour by.
    const bool envelope = display.value != ContourValue::Step;
    if (!target || elementLines.isEmpty() || (!envelope && step > elementLines.size()))
        return;
    const ContourLayout& layout = loader.layout();
    if (!layout.applies)
        return;
    const ContourSelection s = loader.selection();
    const int p = layout.nodeCount;
    if (!envelope)
        readContourSlots(elementLines[step - 1], s, p, layout.chosenCount, &out->chosen);
    else
        out->chosen = loader.envelope().values(display.value);
    if (s.averaged)
        averageAtNodes(layout, &out->chosen, &out->scratch);
    if (display.range == ContourDisplay::ThisStep)
        valueRange(out->chosen, layout.chosenCount * p, &out->min, &out->max);
    else if (display.range == ContourDisplay::Fixed) {
        out->min = display.fixedMin;
        out->max = display.fixedMax;
    }
    contourPoints(layout, out->chosen, out->min, out->max, target);
    out->contour = true;
}

// Gives every held node of OUT the values of the nearest earlier step where they are numbers.
void holdLastNumbers(const QStringList& dispLines, int step, int fields, int ndm, ResultStep* out)
{
    const int n = out->x.size();
    QVector<char> missing(n, 0), bad(n, 0);
    int left = out->heldNodes.size();
    for (int node : out->heldNodes) {
        missing[node] = 1;
        out->x[node] = out->y[node] = out->z[node] = 0.0;
    }
    QVector<double> x, y, z;
    NotNumbers notNumbers;
    double time = 0.0;
    for (int s = step - 1; s >= 1 && left > 0; --s) {
        if (s == out->heldStep && out->heldX.size() == n) {
            // That step's held values are the nearest numbers of every node already.
            for (int node : out->heldNodes) {
                if (missing[node]) {
                    out->x[node] = out->heldX[node];
                    out->y[node] = out->heldY[node];
                    out->z[node] = out->heldZ[node];
                }
            }
            break;
        }
        x.clear();
        y.clear();
        z.clear();
        if (appendNodeValues(dispLines[s - 1], ndm, &time, &x, &y, &z, &notNumbers) != fields || x.size() != n)
            continue;
        for (int node : notNumbers.nodes)
            bad[node] = 1;
        for (int node : out->heldNodes) {
            if (missing[node] && !bad[node]) {
                out->x[node] = x[node];
                out->y[node] = y[node];
                out->z[node] = z[node];
                missing[node] = 0;
                --left;
            }
        }
        for (int node : notNumbers.nodes)
            bad[node] = 0;
    }
    out->heldStep = step;
    out->heldX = out->x;
    out->heldY = out->y;
    out->heldZ = out->z;
}

}  // namespace

void valueRange(const QVector<double>& values, int count, double* min, double* max)
{
    const int n = std::min(count, values.size());
    if (n <= 0) {
        *min = *max = 0.0;
        return;
    }
    const auto [lo, hi] = std::minmax_element(values.cbegin(), values.cbegin() + n);
    *min = *lo;
    *max = *hi;
}

bool prepareResultStep(const zorloadresult& loader, const QStringList& dispLines,
                       const QStringList& reactionLines, const QStringList& elementLines, int step,
                       ResultStep* out, const ContourDisplay& display)
{
    const ModelRecord& model = *modelRecord();
    const int fields = 3 * model.nodeTags.size() + 1;
    if (step < 1 || step > dispLines.size() || step > reactionLines.size())
        return false;
    out->x.clear();
    out->y.clear();
    out->z.clear();
    out->x.reserve(model.nodeTags.size());
    out->y.reserve(model.nodeTags.size());
    out->z.reserve(model.nodeTags.size());
    NotNumbers notNumbers;
    if (appendNodeValues(dispLines[step - 1], model.ndm, &out->time, &out->x, &out->y, &out->z, &notNumbers) !=
        fields)
        return false;
    if (countResultFields(reactionLines[step - 1], &out->time) != fields)
        return false;
    out->notNumbers = notNumbers.values;
    out->heldNodes = notNumbers.nodes;
    if (!out->heldNodes.isEmpty())
        holdLastNumbers(dispLines, step, fields, model.ndm, out);
    prepareContour(loader, elementLines, step, display, out);
    return true;
}

QString notNumbersText(int step, int count)
{
    return QStringLiteral("Step %1: %2 values are not numbers (the analysis may have diverged)")
        .arg(step)
        .arg(count);
}
