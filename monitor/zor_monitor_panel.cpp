#include "zor_monitor_panel.h"

#include <QInputDialog>
#include <QVBoxLayout>

namespace {

const QColor kGridColor(200, 200, 200);
const QColor kCurveColor(77, 144, 254);
const QString kAxisFont = QStringLiteral("Times New Roman");

void styleAxis(QCPAxis* axis)
{
    axis->setLabelFont(QFont(kAxisFont, 13, QFont::Bold, true));
    axis->setTickLabelFont(QFont(kAxisFont, 13, QFont::Bold, false));
    axis->grid()->setPen(QPen(kGridColor, 1, Qt::SolidLine));
    axis->grid()->setSubGridPen(QPen(kGridColor, 1, Qt::DotLine));
    axis->grid()->setSubGridVisible(true);
    axis->grid()->setZeroLinePen(Qt::NoPen);
}

bool axisItselfSelected(const QCPAxis* axis)
{
    return axis->selectedParts().testFlag(QCPAxis::spAxis);
}

// An axis and its tick labels select as one, together with the parallel axis of the box.
void selectAsPair(QCPAxis* axis, QCPAxis* parallel)
{
    const QCPAxis::SelectableParts whole = QCPAxis::spAxis | QCPAxis::spTickLabels;
    if (!(axis->selectedParts() & whole) && !(parallel->selectedParts() & whole))
        return;
    axis->setSelectedParts(whole);
    parallel->setSelectedParts(whole);
}

}  // namespace

std::function<zor_monitor_panel::TextAnswer(QWidget*, const QString&, const QString&, const QString&)>
    zor_monitor_panel::axisLabelProvider = [](QWidget* parent, const QString& title, const QString& prompt,
                                              const QString& current) {
        TextAnswer answer;
        answer.text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, current, &answer.ok);
        return answer;
    };

zor_monitor_panel::zor_monitor_panel(int width, int height, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zor_monitor_panel"));
    setWindowTitle(QStringLiteral("Monitor"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (parent)
        move(parent->x() + (parent->width() + 1) / 2 - width / 2,
             parent->y() + (parent->height() + 1) / 2 - height / 2);
    resize(width, height);

    auto* layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("verticalLayout"));
    monitor = new QCustomPlot(this);
    monitor->setObjectName(QStringLiteral("monitor"));
    monitor->setFont(QFont(QStringLiteral("Microsoft YaHei UI")));
    layout->addWidget(monitor);
    configurePlot();
}

void zor_monitor_panel::configurePlot()
{
    monitor->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectAxes | QCP::iSelectLegend |
                             QCP::iSelectPlottables);
    monitor->xAxis->setRange(-8, 8);
    monitor->yAxis->setRange(-5, 5);
    // Shows the top and right axes and makes them follow the bottom and left ones.
    monitor->axisRect()->setupFullAxesBox(true);
    styleAxis(monitor->xAxis);
    styleAxis(monitor->yAxis);

    const QFont legendFont(kAxisFont, 11);
    monitor->legend->setFont(legendFont);
    monitor->legend->setSelectedFont(legendFont);
    monitor->legend->setBrush(Qt::white);
    monitor->legend->setSelectableParts(QCPLegend::spItems);
    monitor->legend->setVisible(false);

    connect(monitor, &QCustomPlot::selectionChangedByUser, this, &zor_monitor_panel::selectionChanged);
    connect(monitor, &QCustomPlot::mousePress, this, &zor_monitor_panel::mousePress);
    connect(monitor, &QCustomPlot::mouseWheel, this, &zor_monitor_panel::mouseWheel);
    connect(monitor, &QCustomPlot::axisDoubleClick, this, &zor_monitor_panel::axisLabelDoubleClick);
}

double zor_monitor_panel::tracerKey() const
{
    return tracer ? tracer->graphKey() : 0.0;
}

bool zor_monitor_panel::tracerShown() const
{
    return tracer && tracer->visible();
}

void zor_monitor_panel::monitorInitialPlot(QVector<double> dataTime, QVector<double> dataPath, double)
{
    if (!plotPending)
        return;
    plotPending = false;
    graph = monitor->addGraph(monitor->xAxis, monitor->yAxis);
    graph->setData(dataTime, dataPath, true);
    graph->setPen(QPen(kCurveColor, 1));
    view = curveView(dataTime, dataPath);
    // Without points there is nothing to frame: the first view stays.
    if (!view.empty) {
        monitor->xAxis->setRange(view.xLower, view.xUpper);
        monitor->yAxis->setRange(view.yLower, view.yUpper);
    }
    attachTracer();
    monitor->replot();
}

void zor_monitor_panel::monitorInitialTracer()
{
    if (!tracerPending)
        return;
    tracerPending = false;
    tracer = new QCPItemTracer(monitor);
    tracer->setGraphKey(0);
    tracer->setInterpolating(true);
    tracer->setStyle(QCPItemTracer::tsCircle);
    tracer->setPen(QPen(Qt::red));
    tracer->setBrush(Qt::red);
    tracer->setSize(6);
    attachTracer();
    monitor->replot();
}

void zor_monitor_panel::monitorRefreshNodeDispTracer(double graphKey)
{
    moveTracer(graphKey);
}

void zor_monitor_panel::monitorRefreshTimeSeriesTracer(double graphKey)
{
    moveTracer(graphKey);
}

// A tracer on a graph without points would sit at the origin; it shows only on a real curve.
void zor_monitor_panel::attachTracer()
{
    if (!tracer)
        return;
    const bool onCurve = graph && !view.empty;
    tracer->setGraph(onCurve ? graph : nullptr);
    tracer->setVisible(onCurve);
}

void zor_monitor_panel::moveTracer(double graphKey)
{
    if (!tracer)
        return;
    tracer->setGraphKey(view.clampKey(graphKey));
    // Queued: the animation moves the tracer at every step, one redraw per event loop pass is enough.
    monitor->replot(QCustomPlot::rpQueuedReplot);
}

void zor_monitor_panel::selectionChanged()
{
    selectAsPair(monitor->xAxis, monitor->xAxis2);
    selectAsPair(monitor->yAxis, monitor->yAxis2);
    for (int i = 0; i < monitor->graphCount(); ++i) {
        QCPGraph* g = monitor->graph(i);
        QCPPlottableLegendItem* item = monitor->legend->itemWithPlottable(g);
        if (g->selected() || (item && item->selected())) {
            if (item)
                item->setSelected(true);
            g->setSelection(QCPDataSelection(g->data()->dataRange()));
        }
    }
}

Qt::Orientations zor_monitor_panel::selectedAxisOrientation() const
{
    if (axisItselfSelected(monitor->xAxis))
        return Qt::Horizontal;
    if (axisItselfSelected(monitor->yAxis))
        return Qt::Vertical;
    return Qt::Horizontal | Qt::Vertical;
}

void zor_monitor_panel::mousePress()
{
    monitor->axisRect()->setRangeDrag(selectedAxisOrientation());
}

void zor_monitor_panel::mouseWheel()
{
    monitor->axisRect()->setRangeZoom(selectedAxisOrientation());
}

void zor_monitor_panel::axisLabelDoubleClick(QCPAxis* axis, QCPAxis::SelectablePart part)
{
    if (part != QCPAxis::spAxisLabel)
        return;
    const TextAnswer answer = axisLabelProvider(this, QStringLiteral("QCustomPlot example"),
                                                QStringLiteral("New axis label:"), axis->label());
    if (!answer.ok)
        return;
    axis->setLabel(answer.text);
    monitor->replot();
}
