// AnimationExport: result steps drawn one by one on an offscreen scene of their own and written
// as the frames of an MP4 or GIF, so that the picture does not depend on the window's size. The
// Animation window's Export Animation and `tolvane --render --steps` both go through here.
//
//   AnimationJob job;
//   job.output = "sway.mp4"; job.steps = animationSteps(1, 200, 1); job.results = {&loader, &disp, ...};
//   const AnimationOutcome done = exportAnimation(job, [&](int frame, int total) { return !cancelled; });
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "OffscreenSnapshot.h"

class vtkdraw;
class zorloadresult;

struct AnimationJob {
    QString output;        // .mp4 or .gif
    QString settingsPath;  // colours and sizes of the scene
    SnapshotOptions view;  // frame size, view word, labels
    int fps = 25;
    QVector<int> steps;  // result steps from 1, one frame each
    double scale = 1.0;  // deformation scale
    const zorloadresult* loader = nullptr;
    const QStringList* disp = nullptr;
    const QStringList* reaction = nullptr;
    const QStringList* element = nullptr;
    // Places the camera once the model is drawn. Without it the camera is fitted to the model and
    // to every frame's deformed shape, so that nothing leaves the picture.
    std::function<void(vtkdraw&)> camera;
};

struct AnimationOutcome {
    bool written = false;
    bool cancelled = false;
    int frames = 0;
    QString error;
};

// start, start + interval, ... while not past end.
QVector<int> animationSteps(int start, int end, int interval);

// PROGRESS runs after each frame with the frames done and the total; false cancels, and the
// partial file is removed. A step whose lines do not fit the model repeats the frame before it.
AnimationOutcome exportAnimation(const AnimationJob& job, const std::function<bool(int, int)>& progress = {});
