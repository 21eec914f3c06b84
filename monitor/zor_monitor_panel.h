// zor_monitor_panel: a monitor plot window, one curve and a tracer that follows the step or time on
// display. The main window builds the curve (MonitorCurves.h) and drives the four monitor slots.
//
//   auto* panel = new zor_monitor_panel(600, 250, this);
//   connect(this, &Tolvane::monitorInitialPlot, panel, &zor_monitor_panel::monitorInitialPlot);
//   emit monitorInitialPlot(curve.steps, curve.u1, 1.0); emit monitorInitialTracer(); panel->show();
//
// Include this header in one source file only: qcustomplot.h is slow to compile.
#pragma once

#include <qcustomplot.h>

#include <QDialog>
#include <QVector>
#include <functional>

#include "MonitorCurves.h"

class zor_monitor_panel : public QDialog {
    Q_OBJECT
public:
    // Centred on PARENT when there is one.
    zor_monitor_panel(int width, int height, QWidget* parent = nullptr);

    struct TextAnswer {
        bool ok = false;
        QString text;
    };
    // Seam for tests: the axis label input (QInputDialog::getText by default).
    static std::function<TextAnswer(QWidget* parent, const QString& title, const QString& prompt,
                                    const QString& current)>
        axisLabelProvider;

    QCustomPlot* plot() const { return monitor; }
    QCPRange keyRange() const { return monitor->xAxis->range(); }
    QCPRange valueRange() const { return monitor->yAxis->range(); }
    // The tracer's key, or 0 before it exists.
    double tracerKey() const;
    // False while no curve with points is there to follow.
    bool tracerShown() const;

public slots:
    void monitorInitialPlot(QVector<double> dataTime, QVector<double> dataPath, double cFactor);
    void monitorInitialTracer();
    void monitorRefreshNodeDispTracer(double graphKey);
    void monitorRefreshTimeSeriesTracer(double graphKey);

    void selectionChanged();
    void mousePress();
    void mouseWheel();
    void axisLabelDoubleClick(QCPAxis* axis, QCPAxis::SelectablePart part);

private:
    void configurePlot();
    void attachTracer();
    void moveTracer(double graphKey);
    Qt::Orientations selectedAxisOrientation() const;

    QCustomPlot* monitor = nullptr;
    QCPGraph* graph = nullptr;
    QCPItemTracer* tracer = nullptr;
    CurveView view;
    bool plotPending = true;
    bool tracerPending = true;
};
