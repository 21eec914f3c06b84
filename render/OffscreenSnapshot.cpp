#include "OffscreenSnapshot.h"

#include <vtkNew.h>
#include <vtkRenderWindow.h>

#include "vtkdraw.h"

bool renderSnapshot(const QString& settingsPath, const QString& output, const SnapshotOptions& options,
                    QString* error)
{
    vtkNew<vtkRenderWindow> window;
    window->SetOffScreenRendering(1);
    window->SetSize(options.size.width(), options.size.height());

    vtkdraw draw(window);
    draw.setSettingsPath(settingsPath);
    draw.updateBackground();
    draw.drawModel();
    if (options.decorate)
        options.decorate(draw);

    if (options.perspective)
        draw.setView(QStringLiteral("PerspectiveOn"));
    draw.setView(options.view);
    draw.showFreeNodeLabels(options.labels.contains(QLatin1String("free")));
    draw.showFixedNodeLabels(options.labels.contains(QLatin1String("fixed")));
    draw.showElementLabels(options.labels.contains(QLatin1String("elements")));
    draw.resetCamera();
    draw.render();
    return draw.capture(output, error);
}
