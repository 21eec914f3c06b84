// MonitorCurves: the data of the monitor plots, built without a window. Curves are sampled to at
// most about a thousand points so that long analyses plot as fast as short ones.
//
//   const SeriesCurve curve = timeSeriesCurve(*modelRecord());
//   if (curve.status == SeriesCurve::Status::Ok) emit monitorInitialPlot(curve.times, curve.values, 1.0);
#pragma once

#include <QStringList>
#include <QVector>

struct ModelRecord;

namespace monitortext {
constexpr const char* timeSeriesTitle = "TimeSeries";
constexpr const char* noTimeSeries = "No <b>timeSeries</b> command in tcl file!";
constexpr const char* nodeDispWarningTitle = "NodeDisp Monitor";
constexpr const char* nodeReactWarningTitle = "NodeReact Monitor";
constexpr const char* noResultFile = "No <b>Result File</b>, Please Load Result!";
constexpr const char* nodeNotFound = "Cound not found the node!";
constexpr const char* nodeDispTitle = "NodeDisp - NodeTag: %1 DoF: %2";
constexpr const char* nodeReactionTitle = "NodeReaction - NodeTag: %1 DoF: %2";
}  // namespace monitortext

// 1 up to 1000 points, else count / 1000 (integer division).
int samplingStride(int count);
// 0, stride, 2 * stride, ... below COUNT.
QVector<int> sampledIndices(int count);

// The model's time series as plotted: sampled times and factor-scaled values.
struct SeriesCurve {
    enum class Status { Ok, Empty, UnequalLengths };
    Status status = Status::Empty;
    QVector<double> times;
    QVector<double> values;
};

SeriesCurve timeSeriesCurve(const ModelRecord& model);

// What a plot shows of a curve: the extent of its data and the axis ranges around it (keys
// spread by 1 when equal; values widened by a quarter of their spread, or by 1 when constant).
struct CurveView {
    bool empty = true;
    double keyMin = 0.0;
    double keyMax = 0.0;
    double valueMin = 0.0;
    double valueMax = 0.0;
    double xLower = 0.0;
    double xUpper = 0.0;
    double yLower = 0.0;
    double yUpper = 0.0;

    // KEY held within [keyMin, keyMax].
    double clampKey(double key) const;
};

CurveView curveView(const QVector<double>& keys, const QVector<double>& values);
