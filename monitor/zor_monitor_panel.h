// zor_monitor_panel: a plot window, one curve and a marker (the tracer) that follows the step or
// time on display, with buttons that save the curve as CSV and the plot as a picture. The time
// series comes through the four monitor slots (a curve over time); node and XY plots come as a
// PlotCurve (PlotSources.h) whose marker follows the result step.
//
//   auto* panel = new zor_monitor_panel(600, 250, this);
//   panel->showCurve(xyCurve(roof, baseShear, tables, &error));
//   connect(window, &Tolvane::resultStepShown, panel, &zor_monitor_panel::showStep);
//
// Include this header in one source file only: qcustomplot.h is slow to compile.
#pragma once

#include <qcustomplot.h>

#include <QDialog>
#include <QVector>
#include <functional>

#include "MonitorCurves.h"
#include "PlotExport.h"
#include "PlotSources.h"

class QLabel;
class QVBoxLayout;

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
    // Seams for tests: the file to save to (empty when cancelled; QFileDialog by default) and
    // the picture's size (invalid when cancelled; a small dialog by default).
    static std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>
        saveFileProvider;
    static std::function<QSize(QWidget* parent, const QSize& current)> pictureSizeProvider;

    // Puts WIDGET above the plot (the XY window's quantity choice).
    void addControls(QWidget* widget);
    void setAxisTitles(const QString& x, const QString& y);
    // What Save CSV writes: the shown curve's steps (when it has them), keys and values.
    QVector<CsvColumn> csvColumns() const;
    // Save CSV and Save Picture without their dialogs; false with the reason shown in the window.
    bool saveCsv(const QString& path);
    bool savePicture(const QString& path, const QSize& size);
    QString noteText() const;

    QCustomPlot* plot() const { return monitor; }
    QCPRange keyRange() const { return monitor->xAxis->range(); }
    QCPRange valueRange() const { return monitor->yAxis->range(); }
    // The tracer's key, or 0 before it exists.
    double tracerKey() const;
    // False while no curve with points is there to follow.
    bool tracerShown() const;
    // The marker's place on a curve given to showCurve.
    QPointF markerPosition() const;

public slots:
    void monitorInitialPlot(QVector<double> dataTime, QVector<double> dataPath, double cFactor);
    void monitorInitialTracer();
    void monitorRefreshNodeDispTracer(double graphKey);
    void monitorRefreshTimeSeriesTracer(double graphKey);
    // Replaces what the window shows by CURVE (kept in its order: a hysteresis loop doubles
    // back), titles its axes and frames it; the marker goes to its first point.
    void showCurve(const PlotCurve& curve);
    // Moves the marker of a curve given to showCurve to the result step STEP.
    void showStep(int step);

    void selectionChanged();
    void mousePress();
    void mouseWheel();
    void axisLabelDoubleClick(QCPAxis* axis, QCPAxis::SelectablePart part);

private:
    void configurePlot();
    void addExportButtons(QVBoxLayout* layout);
    void askCsv();
    void askPicture();
    void createTracer();
    void attachTracer();
    void moveTracer(double graphKey);
    Qt::Orientations selectedAxisOrientation() const;

    QCustomPlot* monitor = nullptr;
    QCPGraph* graph = nullptr;
    QCPItemTracer* tracer = nullptr;
    QCPCurve* curve = nullptr;
    PlotCurve shownCurve;
    int shownStep = 0;  // the last step given to showStep
    QLabel* note = nullptr;
    CurveView view;
    bool plotPending = true;
    bool tracerPending = true;
};
