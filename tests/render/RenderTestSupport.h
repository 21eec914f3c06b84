// Helpers shared by the scene tests: a settings file of the test's own, a model record
// filled by hand, and a scene builder on an offscreen window.
#pragma once

#include <QSettings>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

#include <vtkSmartPointer.h>

class vtkRenderWindow;
class vtkdraw;

namespace rendertest {

// Writes the default settings into DIR/config.ini, then lets EDIT change them.
QString writeSettings(const QString& dir, const std::function<void(QSettings&)>& edit = {});

void addNode(int tag, double x, double y, double z);
void addElement(int tag, const QVector<int>& nodes);
void addFix(int tag);

struct Scene {
    vtkSmartPointer<vtkRenderWindow> window;
    std::unique_ptr<vtkdraw> draw;
    Scene(const QString& settingsPath, int width = 300, int height = 200);
    ~Scene();
};

// Three frames of a portal, one shared corner each: nodes 1..4, frames 11..13, 1 and 2 fixed.
void fillPortal();

}  // namespace rendertest
