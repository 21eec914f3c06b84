// OffscreenSnapshot: draws the current model record into an offscreen window and writes
// the picture, the same way the main window draws and captures. Used by `tolvane --render`;
// OffscreenScene also gives the frames of animation exports, whatever the window's size.
//
//   SnapshotOptions o; o.view = "XY+"; o.labels = {"elements"};
//   QString error;
//   if (!renderSnapshot(settingsPath, "plan.png", o, &error)) report(error);
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include <vtkNew.h>
#include <vtkRenderWindow.h>

class vtkdraw;

struct SnapshotOptions {
    QString view = QStringLiteral("XYZ");  // a setView word
    bool perspective = false;
    QStringList labels;            // any of "free", "fixed", "elements"
    QSize size = QSize(800, 600);  // the view; the picture is three times larger
    int multiSamples = -1;         // the window's multisampling; -1 for VTK's default
    // Runs on the drawn model before the view is set up (a result step, say).
    std::function<void(vtkdraw&)> decorate;
};

// An offscreen window of the options' size with a scene builder of its own: the model drawn,
// decorated, viewed and labelled as the options say, the camera fitted.
class OffscreenScene {
public:
    OffscreenScene(const QString& settingsPath, const SnapshotOptions& options);
    ~OffscreenScene();

    vtkdraw& draw() { return *m_draw; }
    // The view as it is drawn now, at the window's own size.
    QImage grab();

private:
    vtkNew<vtkRenderWindow> m_window;  // outlives the scene builder, which draws into it
    std::unique_ptr<vtkdraw> m_draw;
};

// False with a reason when no picture was written. Needs a running QGuiApplication
// and an X display (the VTK build renders through X).
bool renderSnapshot(const QString& settingsPath, const QString& output, const SnapshotOptions& options,
                    QString* error = nullptr);
