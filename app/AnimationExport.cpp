#include "AnimationExport.h"

#include <vtkMath.h>
#include <vtkRenderer.h>

#include <algorithm>

#include "ModelRecord.h"
#include "ResultDisplay.h"
#include "ResultStep.h"
#include "VideoEncoder.h"
#include "vtkdraw.h"
#include "zorloadresult.h"

namespace {

// Widens BOUNDS (xmin, xmax, ymin, ymax, zmin, zmax) by every node of the model moved by the step.
void addDeformedNodes(const ModelRecord& model, const ResultStep& step, double scale, double bounds[6])
{
    const QVector<double>* coordinates[3] = {&model.nodeX, &model.nodeY, &model.nodeZ};
    const QVector<double>* moves[3] = {&step.x, &step.y, &step.z};
    for (int axis = 0; axis < 3; ++axis) {
        const int n = std::min(coordinates[axis]->size(), moves[axis]->size());
        for (int i = 0; i < n; ++i) {
            const double at = (*coordinates[axis])[i] + scale * (*moves[axis])[i];
            bounds[2 * axis] = std::min(bounds[2 * axis], at);
            bounds[2 * axis + 1] = std::max(bounds[2 * axis + 1], at);
        }
    }
}

void fitEveryFrame(const AnimationJob& job, vtkdraw& draw, ResultStep* step)
{
    double bounds[6];
    vtkMath::UninitializeBounds(bounds);
    draw.renderer()->ComputeVisiblePropBounds(bounds);
    if (!vtkMath::AreBoundsInitialized(bounds))
        return;
    for (int s : job.steps)
        if (prepareResultStep(*job.loader, *job.disp, *job.reaction, *job.element, s, step))
            addDeformedNodes(*modelRecord(), *step, job.scale, bounds);
    draw.renderer()->ResetCamera(bounds);
}

}  // namespace

QVector<int> animationSteps(int start, int end, int interval)
{
    QVector<int> steps;
    for (int s = std::max(1, start); s <= end; s += std::max(1, interval))
        steps.append(s);
    return steps;
}

AnimationOutcome exportAnimation(const AnimationJob& job, const std::function<bool(int, int)>& progress)
{
    AnimationOutcome outcome;
    if (job.steps.isEmpty()) {
        outcome.error = QStringLiteral("No steps to export.");
        return outcome;
    }
    const VideoEncoder::Format format = VideoEncoder::formatFor(job.output);
    SnapshotOptions view = job.view;
    view.size = VideoEncoder::frameSize(format, view.size);
    // As the application's window draws: multisampling would double the time of every frame on a
    // software renderer and shows no difference at video sizes.
    view.multiSamples = 0;
    const zorloadresult& loader = *job.loader;
    const bool contour = !job.element->isEmpty();
    view.decorate = [&loader, contour](vtkdraw& draw) {
        draw.setScalarRange(loader.contourMin(), loader.contourMax());
        if (contour)
            draw.showScalarBar();
    };
    OffscreenScene scene(job.settingsPath, view);
    ResultStep step;
    if (job.camera)
        job.camera(scene.draw());
    else
        fitEveryFrame(job, scene.draw(), &step);

    VideoEncoder video;
    if (!video.open(job.output, view.size, job.fps, &outcome.error))
        return outcome;
    const int total = job.steps.size();
    for (int i = 0; i < total; ++i) {
        if (prepareResultStep(loader, *job.disp, *job.reaction, *job.element, job.steps[i], &step))
            showDeformed(scene.draw(), job.scale, step.x, step.y, step.z, step.s2, step.s3, step.s4, step.s8);
        else
            scene.draw().render();
        if (!video.addFrame(scene.grab(), &outcome.error))
            return outcome;
        outcome.frames = i + 1;
        if (progress && !progress(i + 1, total)) {
            video.abort();
            outcome.cancelled = true;
            return outcome;
        }
    }
    outcome.written = video.finish(&outcome.error);
    return outcome;
}
