// The main window's plot commands: node plots of any DOF over time or steps, XY plots of one
// result quantity against another, and the Animation window's Export Animation. What they plot
// and write is PlotSources' and AnimationExport's; this file only ties them to the window.
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include <vtkCamera.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>

#include "AnimationExport.h"
#include "AnimationExportDialog.h"
#include "ModelRecord.h"
#include "MonitorCurves.h"
#include "PlotSources.h"
#include "SettingsStore.h"
#include "Tolvane.h"
#include "VideoEncoder.h"
#include "customMouseInteractorStyle.h"
#include "vtkdraw.h"
#include "zor_monitor_panel.h"
#include "zor_xyplot_panel.h"
#include "zorloadresult.h"

namespace {

double aspect(vtkRenderWindow* window)
{
    const int* size = window->GetSize();
    return size[1] > 0 ? double(size[0]) / size[1] : 1.0;
}

// The camera of the view on screen, zoomed out where the frame is narrower, so that the frame
// shows at least what the view shows.
void copyView(vtkdraw& from, vtkdraw& to)
{
    vtkCamera* camera = to.renderer()->GetActiveCamera();
    camera->DeepCopy(from.renderer()->GetActiveCamera());
    const double shown = aspect(from.renderWindow()), frame = aspect(to.renderWindow());
    if (frame < shown)
        camera->Zoom(frame / shown);
    to.renderer()->ResetCameraClippingRange();
}

}  // namespace

ResultTables Tolvane::resultTables() const
{
    const ModelRecord& model = *modelRecord();
    ResultTables t;
    t.disp = nodeDispLines;
    t.reaction = nodeReactionLines;
    t.disp456 = nodeDisp456Lines;
    t.reaction456 = nodeReaction456Lines;
    t.element = elementLines;
    t.nodeTags = model.nodeTags;
    for (int i = 0; i < model.fixNodeTags.size(); ++i)
        for (int dof = 1; dof <= 6; ++dof)
            if (model.fixDofs(dof).value(i) == 1) {
                t.restrainedNodes.append(model.fixNodeTags[i]);
                break;
            }
    t.elementType = loader->elementType();
    t.response = loader->response();
    t.elementColumns = loader->columnsPerElement().toInt();
    const int elements = qMin(model.elementTypes.size(), model.elementTags.size());
    for (int e = 0; e < elements; ++e)
        if (model.elementTypes[e] == t.elementType)
            t.elementTags.append(model.elementTags[e]);
    t.ndf = nodeDisp456Lines.isEmpty() ? qBound(1, model.ndf, 3) : qBound(3, model.ndf, 6);
    return t;
}

void Tolvane::plotNodeCurve(int nodeTag, int dof, bool overSteps, bool reactions)
{
    const QString warningTitle =
        QLatin1String(reactions ? monitortext::nodeReactWarningTitle : monitortext::nodeDispWarningTitle);
    const ResultTables tables = resultTables();
    if (!tables.nodeTags.contains(nodeTag)) {
        dialogs.warning(nullptr, warningTitle, QLatin1String(monitortext::nodeNotFound));
        return;
    }
    Quantity y;
    y.kind = reactions ? Quantity::NodeReaction : Quantity::NodeDisp;
    y.node = nodeTag;
    y.dof = dof;
    Quantity x;
    x.kind = overSteps ? Quantity::Step : Quantity::Time;
    QString error;
    PlotCurve curve = xyCurve(x, y, tables, &error);
    if (!error.isEmpty()) {
        dialogs.warning(nullptr, warningTitle, error);
        return;
    }
    // The window's title names the node.
    curve.yTitle = quantityTitle(y, tables, false);
    zor_monitor_panel* panel = openMonitor();
    (reactions ? nodeReactionMonitor : nodeDispMonitor) = panel;
    connect(this, &Tolvane::resultStepShown, panel, &zor_monitor_panel::showStep);
    panel->showCurve(curve);
    panel->showStep(shownStep);
    panel->setWindowTitle(
        QString::fromLatin1(reactions ? monitortext::nodeReactionTitle : monitortext::nodeDispTitle)
            .arg(nodeTag)
            .arg(dof));
    panel->show();
}

void Tolvane::plotNodeDispSlot(int nodeTag, int dof, bool overSteps)
{
    plotNodeCurve(nodeTag, dof, overSteps, false);
}

void Tolvane::plotNodeRectSlot(int nodeTag, int dof, bool overSteps)
{
    plotNodeCurve(nodeTag, dof, overSteps, true);
}

void Tolvane::on_actionXY_Plot_triggered()
{
    if (nodeDispLines.isEmpty()) {
        dialogs.warning(nullptr, QStringLiteral("XY Plot"), QLatin1String(monitortext::noResultFile));
        return;
    }
    auto* panel = new zor_monitor_panel(760, 520, this);
    panel->setWindowTitle(QStringLiteral("XY Plot"));
    panel->addControls(new zor_xyplot_panel([this] { return resultTables(); }, panel));
    connect(this, &Tolvane::resultStepShown, panel, &zor_monitor_panel::showStep);
    panel->showStep(shownStep);
    panel->show();
}

void Tolvane::exportAnimationSlot(int start, int end, int interval, double sFactor)
{
    const QString title = QStringLiteral("Export Animation");
    QString path = dialogs.saveFileName(this, title, fileDir,
                                        QStringLiteral("MP4 video (*.mp4);;GIF animation (*.gif)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".mp4");
    if (VideoEncoder::formatFor(path) == VideoEncoder::Format::Unsupported) {
        dialogs.warning(this, title,
                        QStringLiteral("Cannot save \"%1\": the animation type must be .mp4 or .gif.")
                            .arg(QFileInfo(path).fileName()));
        return;
    }
    AnimationExportDialog options(this);
    options.setRange(start, end, interval);
    if (dialogs.exec(&options) != QDialog::Accepted)
        return;

    // Copies: the lists stay as they are whatever happens while the progress dialog runs.
    const QStringList disp = nodeDispLines, reactions = nodeReactionLines, elements = elementLines;
    AnimationJob job;
    job.output = path;
    job.settingsPath = SettingsStore::settingsFilePath();
    job.view.size = options.frameSize();
    const customMouseInteractorStyle* style = scene->style();
    for (const auto& [shown, word] : {std::make_pair(style->freeNodeLabelsShown, "free"),
                                      std::make_pair(style->fixedNodeLabelsShown, "fixed"),
                                      std::make_pair(style->elementLabelsShown, "elements")})
        if (shown)
            job.view.labels << QLatin1String(word);
    job.fps = options.fps();
    job.steps = animationSteps(start, end, interval);
    job.scale = sFactor;
    job.loader = loader;
    job.disp = &disp;
    job.reaction = &reactions;
    job.element = &elements;
    job.camera = [this](vtkdraw& frames) { copyView(*scene, frames); };
    const auto progress = dialogs.progress(this, QStringLiteral("Writing %1").arg(QFileInfo(path).fileName()),
                                           job.steps.size());
    const AnimationOutcome outcome =
        exportAnimation(job, [&progress](int done, int) { return progress(done); });
    if (outcome.cancelled)
        ui->statusBar->showMessage(QStringLiteral("Export cancelled: nothing written"), 5000);
    else if (!outcome.written)
        dialogs.warning(this, title, outcome.error);
    else
        ui->statusBar->showMessage(
            QStringLiteral("Wrote %1: %2 frames").arg(QDir::toNativeSeparators(path)).arg(outcome.frames));
}
