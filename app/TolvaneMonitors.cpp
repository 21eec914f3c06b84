// The main window's monitor commands: the time-series plot and the node response plots. The
// only file of the window that includes the plot library.
#include "ModelRecord.h"
#include "MonitorCurves.h"
#include "Tolvane.h"
#include "zor_monitor_nodedisp_panel.h"
#include "zor_monitor_panel.h"

zor_monitor_panel* Tolvane::openMonitor()
{
    auto* panel = new zor_monitor_panel(600, 250, this);
    connect(this, &Tolvane::monitorInitialPlot, panel, &zor_monitor_panel::monitorInitialPlot);
    connect(this, &Tolvane::monitorInitialTracer, panel, &zor_monitor_panel::monitorInitialTracer);
    return panel;
}

void Tolvane::on_actionTimeSeries_Monitor_triggered()
{
    const SeriesCurve curve = timeSeriesCurve(*modelRecord());
    if (curve.status == SeriesCurve::Status::Empty) {
        dialogs.warning(nullptr, QLatin1String(monitortext::timeSeriesTitle),
                        QLatin1String(monitortext::noTimeSeries));
        return;
    }
    if (curve.status == SeriesCurve::Status::UnequalLengths)
        return;
    timeSeriesMonitor = openMonitor();
    connect(this, &Tolvane::monitorRefreshTimeSeriesTracer, timeSeriesMonitor,
            &zor_monitor_panel::monitorRefreshTimeSeriesTracer);
    timeSeriesMonitor->setWindowTitle(QLatin1String(monitortext::timeSeriesTitle));
    emit monitorInitialPlot(curve.times, curve.values, modelRecord()->seriesFactor);
    emit monitorInitialTracer();
    timeSeriesMonitor->show();
}

void Tolvane::openNodeChooser(const QStringList& lines, const QString& warningTitle, bool reactions)
{
    if (lines.isEmpty()) {
        dialogs.warning(nullptr, warningTitle, QLatin1String(monitortext::noResultFile));
        return;
    }
    nodeChooser = new zor_monitor_nodedisp_panel(this);
    nodeChooser->setWindowModality(Qt::ApplicationModal);
    nodeChooser->setWindowFlags(nodeChooser->windowFlags() & ~Qt::WindowMinMaxButtonsHint);
    connect(nodeChooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal, this,
            reactions ? &Tolvane::plotNodeRectSlot : &Tolvane::plotNodeDispSlot);
    nodeChooser->setNodeTags(modelRecord()->nodeTags);
    nodeChooser->show();
}

void Tolvane::on_actionNodeDisp_Monitor_triggered()
{
    openNodeChooser(nodeDispLines, QLatin1String(monitortext::nodeDispWarningTitle), false);
}

void Tolvane::on_actionNodeReact_Monitor_triggered()
{
    openNodeChooser(nodeReactionLines, QLatin1String(monitortext::nodeReactWarningTitle), true);
}

void Tolvane::plotNodeCurve(const QStringList& lines, int nodeTag, int dof, bool reactions)
{
    const NodeCurve curve = nodeCurve(lines, modelRecord()->nodeTags, nodeTag);
    if (!curve.nodeFound) {
        dialogs.warning(
            nullptr,
            QLatin1String(reactions ? monitortext::nodeReactWarningTitle : monitortext::nodeDispWarningTitle),
            QLatin1String(monitortext::nodeNotFound));
        return;
    }
    zor_monitor_panel* panel = openMonitor();
    connect(this, &Tolvane::monitorRefreshNodeDispTracer, panel,
            &zor_monitor_panel::monitorRefreshNodeDispTracer);
    (reactions ? nodeReactionMonitor : nodeDispMonitor) = panel;
    if (const QVector<double>* values = curve.dofValues(dof))
        emit monitorInitialPlot(curve.steps, *values, 1.0);
    emit monitorInitialTracer();
    panel->setWindowTitle(
        QString::fromLatin1(reactions ? monitortext::nodeReactionTitle : monitortext::nodeDispTitle)
            .arg(nodeTag)
            .arg(dof));
    panel->show();
}

void Tolvane::plotNodeDispSlot(int nodeTag, int dof)
{
    plotNodeCurve(nodeDispLines, nodeTag, dof, false);
}

void Tolvane::plotNodeRectSlot(int nodeTag, int dof)
{
    plotNodeCurve(nodeReactionLines, nodeTag, dof, true);
}
