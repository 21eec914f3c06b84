#include "ResultStep.h"

#include "ModelRecord.h"
#include "ResultParsing.h"
#include "zorloadresult.h"

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
    if (appendNodeValues(dispLines[step - 1], model.ndm, &out->time, &out->x, &out->y, &out->z) != fields)
        return false;
    if (countResultFields(reactionLines[step - 1], &out->time) != fields)
        return false;
    loader.elementContourScalars(2, elementLines, step, out->s2);
    loader.elementContourScalars(3, elementLines, step, out->s3);
    loader.elementContourScalars(4, elementLines, step, out->s4);
    loader.elementContourScalars(8, elementLines, step, out->s8);
    return true;
}
