#include "OffscreenSnapshot.h"

#include <vtkImageData.h>
#include <vtkWindowToImageFilter.h>

#include <cstring>

#include "vtkdraw.h"

OffscreenScene::OffscreenScene(const QString& settingsPath, const SnapshotOptions& options)
{
    m_window->SetOffScreenRendering(1);
    if (options.multiSamples >= 0)
        m_window->SetMultiSamples(options.multiSamples);
    m_window->SetSize(options.size.width(), options.size.height());
    m_draw = std::make_unique<vtkdraw>(m_window);
    vtkdraw& draw = *m_draw;
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
}

OffscreenScene::~OffscreenScene() = default;

QImage OffscreenScene::grab()
{
    vtkNew<vtkWindowToImageFilter> grab;
    grab->SetInput(m_window);
    grab->SetInputBufferTypeToRGB();
    grab->ReadFrontBufferOff();
    grab->Update();
    vtkImageData* data = grab->GetOutput();
    int dims[3] = {0, 0, 0};
    data->GetDimensions(dims);
    QImage image(dims[0], dims[1], QImage::Format_RGB888);
    const auto* pixels = static_cast<const uchar*>(data->GetScalarPointer());
    // VTK's rows run bottom to top.
    for (int y = 0; y < dims[1]; ++y)
        std::memcpy(image.scanLine(dims[1] - 1 - y), pixels + size_t(y) * dims[0] * 3, size_t(dims[0]) * 3);
    return image;
}

bool renderSnapshot(const QString& settingsPath, const QString& output, const SnapshotOptions& options,
                    QString* error)
{
    OffscreenScene scene(settingsPath, options);
    scene.draw().render();
    return scene.draw().capture(output, error);
}
