#include "ResultStep.h"

#include "ModelRecord.h"
#include "ResultParsing.h"
#include "zorloadresult.h"

namespace {

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

bool prepareResultStep(const zorloadresult& loader, const QStringList& dispLines,
                       const QStringList& reactionLines, const QStringList& elementLines, int step,
                       ResultStep* out)
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
    loader.elementContourScalars(2, elementLines, step, out->s2);
    loader.elementContourScalars(3, elementLines, step, out->s3);
    loader.elementContourScalars(4, elementLines, step, out->s4);
    loader.elementContourScalars(8, elementLines, step, out->s8);
    return true;
}

QString notNumbersText(int step, int count)
{
    return QStringLiteral("Step %1: %2 values are not numbers (the analysis may have diverged)")
        .arg(step)
        .arg(count);
}
