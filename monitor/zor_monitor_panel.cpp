#include "zor_monitor_panel.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
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

std::function<QString(QWidget*, const QString&, const QString&)> zor_monitor_panel::saveFileProvider =
    [](QWidget* parent, const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
    };

std::function<QSize(QWidget*, const QSize&)> zor_monitor_panel::pictureSizeProvider =
    [](QWidget* parent, const QSize& current) {
        QDialog dialog(parent);
        dialog.setWindowTitle(QStringLiteral("Picture Size"));
        auto* form = new QFormLayout(&dialog);
        QSpinBox* sides[2];
        for (int i = 0; i < 2; ++i) {
            sides[i] = new QSpinBox(&dialog);
            sides[i]->setRange(16, 8192);
            sides[i]->setSuffix(QStringLiteral(" px"));
            sides[i]->setValue(i == 0 ? current.width() : current.height());
            form->addRow(i == 0 ? QStringLiteral("Width:") : QStringLiteral("Height:"), sides[i]);
        }
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        form->addRow(buttons);
        return dialog.exec() == QDialog::Accepted ? QSize(sides[0]->value(), sides[1]->value()) : QSize();
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
    layout->addWidget(monitor, 1);
    addExportButtons(layout);
    configurePlot();
}

void zor_monitor_panel::addExportButtons(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    note = new QLabel(this);
    note->setObjectName(QStringLiteral("note"));
    row->addWidget(note, 1);
    for (const auto& [name, text, ask] :
         {std::make_tuple("saveCsvButton", "Save CSV...", &zor_monitor_panel::askCsv),
          std::make_tuple("savePictureButton", "Save Picture...", &zor_monitor_panel::askPicture)}) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, ask);
        row->addWidget(button);
    }
    layout->addLayout(row);
}

void zor_monitor_panel::addControls(QWidget* widget)
{
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, widget);
}

void zor_monitor_panel::setAxisTitles(const QString& x, const QString& y)
{
    monitor->xAxis->setLabel(x);
    monitor->yAxis->setLabel(y);
    monitor->replot();
}

QVector<CsvColumn> zor_monitor_panel::csvColumns() const
{
    const QString x = monitor->xAxis->label(), y = monitor->yAxis->label();
    if (curve) {
        QVector<double> steps(shownCurve.steps.begin(), shownCurve.steps.end());
        return {{QStringLiteral("Step"), steps}, {x, shownCurve.x}, {y, shownCurve.y}};
    }
    CsvColumn keys{x.isEmpty() ? QStringLiteral("Key") : x, {}},
        values{y.isEmpty() ? QStringLiteral("Value") : y, {}};
    if (graph)
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
            keys.values.append(it->key);
            values.values.append(it->value);
        }
    return {keys, values};
}

bool zor_monitor_panel::saveCsv(const QString& path)
{
    QString error;
    const bool ok = writeCsv(path, csvColumns(), &error);
    note->setText(ok ? QStringLiteral("Saved %1").arg(QFileInfo(path).fileName()) : error);
    return ok;
}

bool zor_monitor_panel::savePicture(const QString& path, const QSize& size)
{
    QString error;
    const bool ok = savePlotPicture(monitor, path, size, &error);
    note->setText(ok ? QStringLiteral("Saved %1").arg(QFileInfo(path).fileName()) : error);
    return ok;
}

QString zor_monitor_panel::noteText() const
{
    return note->text();
}

void zor_monitor_panel::askCsv()
{
    QString path = saveFileProvider(this, QStringLiteral("Save CSV"), QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    saveCsv(path);
}

void zor_monitor_panel::askPicture()
{
    const QString path =
        saveFileProvider(this, QStringLiteral("Save Picture"),
                         QStringLiteral("PNG picture (*.png);;SVG picture (*.svg);;PDF document (*.pdf)"));
    if (path.isEmpty())
        return;
    const QSize size = pictureSizeProvider(this, monitor->size());
    if (size.isValid())
        savePicture(path, size);
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

QPointF zor_monitor_panel::markerPosition() const
{
    return tracer ? tracer->position->coords() : QPointF();
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
    createTracer();
    attachTracer();
    monitor->replot();
}

void zor_monitor_panel::createTracer()
{
    tracer = new QCPItemTracer(monitor);
    tracer->setGraphKey(0);
    tracer->setInterpolating(true);
    tracer->setStyle(QCPItemTracer::tsCircle);
    tracer->setPen(QPen(Qt::red));
    tracer->setBrush(Qt::red);
    tracer->setSize(6);
}

void zor_monitor_panel::showCurve(const PlotCurve& shown)
{
    // One curve per window: a new choice in the XY window replaces the last.
    if (graph)
        monitor->removeGraph(graph);
    graph = nullptr;
    plotPending = false;
    if (!curve) {
        curve = new QCPCurve(monitor->xAxis, monitor->yAxis);
        curve->setPen(QPen(kCurveColor, 1));
    }
    if (!tracer)
        createTracer();
    tracerPending = false;
    tracer->setGraph(nullptr);
    shownCurve = shown;
    QVector<double> order(shown.x.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    curve->setData(order, shown.x, shown.y, true);
    monitor->xAxis->setLabel(shown.xTitle);
    monitor->yAxis->setLabel(shown.yTitle);
    view = curveView(shown.x, shown.y);
    if (!view.empty) {
        // A little room at the sides, so that the marker at an extreme shows whole.
        const double side = 0.05 * (view.xUpper - view.xLower);
        monitor->xAxis->setRange(view.xLower - side, view.xUpper + side);
        monitor->yAxis->setRange(view.yLower, view.yUpper);
    }
    // A new choice in the XY window keeps the marker at the step on display.
    showStep(shownStep > 0 ? shownStep : shown.steps.value(0));
    monitor->replot();
}

void zor_monitor_panel::showStep(int step)
{
    shownStep = step;
    if (!curve || !tracer)
        return;
    const std::optional<QPointF> at = markerAt(shownCurve, step);
    tracer->setVisible(bool(at));
    if (at)
        tracer->position->setCoords(*at);
    monitor->replot(QCustomPlot::rpQueuedReplot);
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
    if (!tracer || curve)
        return;
    const bool onCurve = graph && !view.empty;
    tracer->setGraph(onCurve ? graph : nullptr);
    tracer->setVisible(onCurve);
}

void zor_monitor_panel::moveTracer(double graphKey)
{
    if (!tracer || curve)
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
