// Helpers shared by the render tests: a settings file of the test's own, a model record
// filled by hand, a scene on an offscreen window, a solver script and pixel counting.
#pragma once

#include <QColor>
#include <QImage>
#include <QtTest>

#include <array>
#include <cmath>
#include <memory>

#include <vtkActor.h>
#include <vtkActor2D.h>
#include <vtkCamera.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>

#include "ModelRecord.h"
#include "SettingsStore.h"
#include "customMouseInteractorStyle.h"
#include "vtkdraw.h"

namespace rendertest {

// Settings changes in file order; an invalid value removes its key.
using Changes = QVector<QPair<QString, QVariant>>;

// Writes the default settings into PATH, then applies CHANGES.
inline QString writeSettings(const QString& path, const Changes& changes = {})
{
    SettingsStore::writeDefaults(path);
    QSettings settings(path, QSettings::IniFormat);
    for (const auto& c : changes)
        c.second.isValid() ? settings.setValue(c.first, c.second) : settings.remove(c.first);
    settings.sync();
    return path;
}

inline void addNode(int tag, double x, double y, double z)
{
    ModelRecord* m = modelRecord();
    m->nodeTags.append(tag);
    m->nodeX.append(x);
    m->nodeY.append(y);
    m->nodeZ.append(z);
}

// Nodes FIRST, FIRST + 1, ... at the given places.
inline void addNodes(int first, std::initializer_list<std::array<double, 3>> places)
{
    for (const auto& p : places)
        addNode(first++, p[0], p[1], p[2]);
}

inline void addElement(int tag, const QVector<int>& nodes)
{
    ModelRecord* m = modelRecord();
    m->elementTypes.append(QStringLiteral("test"));
    m->elementTags.append(tag);
    m->elementNodeCounts.append(nodes.size());
    for (int k = 1; k <= 8; ++k)
        m->elementNodes(k).append(k <= nodes.size() ? nodes[k - 1] : 0);
}

inline void addFix(int tag)
{
    ModelRecord* m = modelRecord();
    m->fixNodeTags.append(tag);
    for (int k = 1; k <= 6; ++k)
        m->fixDofs(k).append(1);
}

struct Scene {
    vtkSmartPointer<vtkRenderWindow> window;
    std::unique_ptr<vtkdraw> draw;
    Scene(const QString& settingsPath, int width = 300, int height = 200)
        : window(vtkSmartPointer<vtkRenderWindow>::New())
    {
        window->SetOffScreenRendering(1);
        window->SetSize(width, height);
        draw = std::make_unique<vtkdraw>(window);
        draw->setSettingsPath(settingsPath);
        draw->updateBackground();
    }
    // Builds the model, looks along VIEW and fits the camera to it.
    void drawFacing(const QString& view)
    {
        draw->drawModel();
        draw->setView(view);
        draw->resetCamera();
    }
    vtkRenderer* renderer() const { return draw->renderer(); }
    vtkCamera* camera() const { return draw->renderer()->GetActiveCamera(); }
    const GroupStore& group(vtkdraw::Group g) const { return draw->group(g); }
    bool shows(vtkProp* prop) const { return draw->renderer()->HasViewProp(prop); }
};

// Three frames of a portal, one shared corner each: nodes 1..4, frames 11..13, 1 and 2 fixed.
inline void fillPortal()
{
    resetModelRecord();
    addNodes(1, {{0, 0, 0}, {4, 0, 0}, {0, 0, 3}, {4, 0, 3}});
    addFix(1);
    addFix(2);
    addElement(11, {1, 3});
    addElement(12, {3, 4});
    addElement(13, {2, 4});
}

inline bool near(const double* a, double x, double y, double z, double eps = 1e-9)
{
    return std::abs(a[0] - x) < eps && std::abs(a[1] - y) < eps && std::abs(a[2] - z) < eps;
}

inline QString vec(const double* a)
{
    return QStringLiteral("(%1, %2, %3)").arg(a[0]).arg(a[1]).arg(a[2]);
}

// The same portal for the solver: two columns and a beam in the XZ plane, fixed feet.
inline const char* portalScript()
{
    return "model basic -ndm 3 -ndf 6\n"
           "node 1 0 0 0\nnode 2 4 0 0\nnode 3 0 0 3\nnode 4 4 0 3\n"
           "fix 1 1 1 1 1 1 1\nfix 2 1 1 1 1 1 1\n"
           "geomTransf Linear 1 0 1 0\n"
           "element elasticBeamColumn 1 1 3 0.01 2e8 8e7 1e-4 1e-4 1e-4 1\n"
           "element elasticBeamColumn 2 3 4 0.01 2e8 8e7 1e-4 1e-4 1e-4 1\n"
           "element elasticBeamColumn 3 2 4 0.01 2e8 8e7 1e-4 1e-4 1e-4 1\n";
}

inline bool writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

inline bool close(QRgb pixel, const QColor& c, int tolerance)
{
    return std::abs(qRed(pixel) - c.red()) <= tolerance && std::abs(qGreen(pixel) - c.green()) <= tolerance &&
           std::abs(qBlue(pixel) - c.blue()) <= tolerance;
}

inline int countInColumn(const QImage& image, int x, const QColor& c, int tolerance)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += close(image.pixel(x, y), c, tolerance);
    return n;
}

inline bool inAxesMarker(const QImage& image, int x, int y)
{
    return x < image.width() / 4 && y >= image.height() * 3 / 4;
}

// Counts outside the lower-left quarter, where the axes marker draws in colours of its own.
inline int countOutsideMarker(const QImage& image, const QColor& c, int tolerance)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += !inAxesMarker(image, x, y) && close(image.pixel(x, y), c, tolerance);
    return n;
}

}  // namespace rendertest
