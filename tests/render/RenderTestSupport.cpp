#include "RenderTestSupport.h"

#include <vtkRenderWindow.h>

#include "ModelRecord.h"
#include "SettingsStore.h"
#include "vtkdraw.h"

namespace rendertest {

QString writeSettings(const QString& dir, const std::function<void(QSettings&)>& edit)
{
    const QString path = dir + QStringLiteral("/config.ini");
    SettingsStore::writeDefaults(path);
    if (edit) {
        QSettings settings(path, QSettings::IniFormat);
        edit(settings);
        settings.sync();
    }
    return path;
}

void addNode(int tag, double x, double y, double z)
{
    ModelRecord* m = modelRecord();
    m->nodeTags.append(tag);
    m->nodeX.append(x);
    m->nodeY.append(y);
    m->nodeZ.append(z);
}

void addElement(int tag, const QVector<int>& nodes)
{
    ModelRecord* m = modelRecord();
    m->elementTypes.append(QStringLiteral("test"));
    m->elementTags.append(tag);
    m->elementNodeCounts.append(nodes.size());
    for (int k = 1; k <= 8; ++k)
        m->elementNodes(k).append(k <= nodes.size() ? nodes[k - 1] : 0);
}

void addFix(int tag)
{
    ModelRecord* m = modelRecord();
    m->fixNodeTags.append(tag);
    for (int k = 1; k <= 6; ++k)
        m->fixDofs(k).append(1);
}

Scene::Scene(const QString& settingsPath, int width, int height)
    : window(vtkSmartPointer<vtkRenderWindow>::New())
{
    window->SetOffScreenRendering(1);
    window->SetSize(width, height);
    draw = std::make_unique<vtkdraw>(window);
    draw->setSettingsPath(settingsPath);
    draw->updateBackground();
}

Scene::~Scene()
{
    draw.reset();
}

void fillPortal()
{
    resetModelRecord();
    addNode(1, 0, 0, 0);
    addNode(2, 4, 0, 0);
    addNode(3, 0, 0, 3);
    addNode(4, 4, 0, 3);
    addFix(1);
    addFix(2);
    addElement(11, {1, 3});
    addElement(12, {3, 4});
    addElement(13, {2, 4});
}

}  // namespace rendertest
