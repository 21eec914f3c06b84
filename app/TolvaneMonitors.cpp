// The main window's monitor commands: the time-series plot and the node choice of the node
// response plots (which TolvanePlots.cpp draws).
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
    timeSeriesMonitor->setAxisTitles(QStringLiteral("Time"), QStringLiteral("Value"));
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
    // One chooser at a time: a click in the view goes to it.
    if (nodeChooser)
        nodeChooser->close();
    // Not modal: the 3-D view must take the click that picks a node.
    nodeChooser = new zor_monitor_nodedisp_panel(this);
    nodeChooser->setWindowFlags(nodeChooser->windowFlags() & ~Qt::WindowMinMaxButtonsHint);
    connect(nodeChooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal, this,
            reactions ? &Tolvane::plotNodeRectSlot : &Tolvane::plotNodeDispSlot);
    nodeChooser->setNodeTags(modelRecord()->nodeTags);
    const bool rotations = !(reactions ? nodeReaction456Lines : nodeDisp456Lines).isEmpty();
    nodeChooser->setDofCount(rotations ? qBound(3, modelRecord()->ndf, 6) : qBound(1, modelRecord()->ndf, 3));
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
