#include "MonitorCurves.h"

#include <algorithm>

#include "ModelRecord.h"

namespace {

constexpr int kMaxPlainPoints = 1000;

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
