// OffscreenSnapshot: draws the current model record into an offscreen window and writes
// the picture, the same way the main window draws and captures. Used by `tolvane --render`.
//
//   SnapshotOptions o; o.view = "XY+"; o.labels = {"elements"};
//   QString error;
//   if (!renderSnapshot(settingsPath, "plan.png", o, &error)) report(error);
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class vtkdraw;

struct SnapshotOptions {
    QString view = QStringLiteral("XYZ");  // a setView word
    bool perspective = false;
    QStringList labels;            // any of "free", "fixed", "elements"
    QSize size = QSize(800, 600);  // the view; the picture is three times larger
    // Runs on the drawn model before the view is set up (a result step, say).
    std::function<void(vtkdraw&)> decorate;
};

// False with a reason when no picture was written. Needs a running QGuiApplication
// and an X display (the VTK build renders through X).
bool renderSnapshot(const QString& settingsPath, const QString& output, const SnapshotOptions& options,
                    QString* error = nullptr);
