#include "MonitorCurves.h"

#include <algorithm>

#include "ModelRecord.h"

namespace {

constexpr int kMaxPlainPoints = 1000;

// The first COUNT blank-separated fields of LINE, fewer when it is shorter. Stops early: a line of
// a large model holds three values per node and only one node is wanted.
QVector<QStringRef> leadingFields(const QString& line, int count)
{
    QVector<QStringRef> fields;
    fields.reserve(count);
    const int n = line.size();
    int i = 0;
    while (fields.size() < count) {
        while (i < n && line[i] == QLatin1Char(' '))
            ++i;
        if (i == n)
            break;
        const int start = i;
        while (i < n && line[i] != QLatin1Char(' '))
            ++i;
        fields.append(line.midRef(start, i - start));
    }
    return fields;
}

}  // namespace

int samplingStride(int count)
{
    return count <= kMaxPlainPoints ? 1 : count / kMaxPlainPoints;
}

QVector<int> sampledIndices(int count)
{
    const int stride = samplingStride(count);
    QVector<int> indices;
    indices.reserve(count / stride + 1);
    for (int i = 0; i < count; i += stride)
        indices.append(i);
    return indices;
}

const QVector<double>* NodeCurve::dofValues(int dof) const
{
    switch (dof) {
        case 1:
            return &u1;
        case 2:
            return &u2;
        case 3:
            return &u3;
        default:
            return nullptr;
    }
}

NodeCurve nodeCurve(const QStringList& lines, const QVector<int>& nodeTags, int nodeTag)
{
    NodeCurve curve;
    const int k = nodeTags.indexOf(nodeTag);
    if (k < 0)
        return curve;
    curve.nodeFound = true;
    const int needed = 3 * k + 4;
    for (int i : sampledIndices(lines.size())) {
        const QVector<QStringRef> fields = leadingFields(lines[i], needed);
        if (fields.size() < needed)
            continue;  // written for another model
        curve.steps.append(i + 1);
        curve.u1.append(fields[3 * k + 1].toDouble());
        curve.u2.append(fields[3 * k + 2].toDouble());
        curve.u3.append(fields[3 * k + 3].toDouble());
    }
    return curve;
}

SeriesCurve timeSeriesCurve(const ModelRecord& model)
{
    SeriesCurve curve;
    // A series given as -dt and inline values lists no times: they are its steps from the start.
    QVector<double> times = model.seriesTimes;
    if (times.isEmpty() && model.seriesTimeStep > 0.0)
        for (int i = 0; i < model.seriesValues.size(); ++i)
            times.append(model.seriesStartTime + i * model.seriesTimeStep);
    if (times.isEmpty() || model.seriesValues.isEmpty())
        return curve;
    if (times.size() != model.seriesValues.size()) {
        curve.status = SeriesCurve::Status::UnequalLengths;
        return curve;
    }
    curve.status = SeriesCurve::Status::Ok;
    for (int i : sampledIndices(times.size())) {
        curve.times.append(times[i]);
        curve.values.append(model.seriesFactor * model.seriesValues[i]);
    }
    return curve;
}

double CurveView::clampKey(double key) const
{
    return std::clamp(key, keyMin, keyMax);
}

CurveView curveView(const QVector<double>& keys, const QVector<double>& values)
{
    CurveView view;
    if (keys.isEmpty() || values.isEmpty())
        return view;
    view.empty = false;
    const auto [keyLow, keyHigh] = std::minmax_element(keys.begin(), keys.end());
    const auto [valueLow, valueHigh] = std::minmax_element(values.begin(), values.end());
    view.keyMin = *keyLow;
    view.keyMax = *keyHigh;
    view.valueMin = *valueLow;
    view.valueMax = *valueHigh;

    const bool oneKey = view.keyMin == view.keyMax;
    view.xLower = oneKey ? view.keyMin - 1.0 : view.keyMin;
    view.xUpper = oneKey ? view.keyMax + 1.0 : view.keyMax;
    const double d = view.valueMax - view.valueMin;
    const double margin = d == 0.0 ? 1.0 : 0.25 * d;
    view.yLower = view.valueMin - margin;
    view.yUpper = view.valueMax + margin;
    return view;
}
