#include "vtkdraw.h"
#include "NodeIndex.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <vector>

#include <vtkActor.h>
#include <vtkActor2D.h>
#include <vtkActorCollection.h>
#include <vtkAxesActor.h>
#include <vtkBMPWriter.h>
#include <vtkCamera.h>
#include <vtkErrorCode.h>
#include <vtkFloatArray.h>
#include <vtkGenericRenderWindowInteractor.h>
#include <vtkIntArray.h>
#include <vtkJPEGWriter.h>
#include <vtkLabeledDataMapper.h>
#include <vtkLookupTable.h>
#include <vtkMapper.h>
#include <vtkNew.h>
#include <vtkOrientationMarkerWidget.h>
#include <vtkPNGWriter.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>
#include <vtkScalarBarWidget.h>
#include <vtkTextActor.h>
#include <vtkTextProperty.h>
#include <vtkTextRepresentation.h>
#include <vtkTextWidget.h>
#include <vtkWindowToImageFilter.h>

#include "CaptureFormat.h"
#include "ModelRecord.h"
#include "SceneAnnotations.h"
#include "SceneInspection.h"
#include "SettingsStore.h"
#include "customMouseInteractorStyle.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Every frame VTK and Mesa take buffers of megabytes from the heap and free them again, and a live
// step reads megabytes off its socket. glibc gave freed memory back to the kernel (the heap top,
// or an mmap per block) and the next frame faulted it in anew, a third of a result step of the
// reference frame on a virtual machine, where page faults are dear. Blocks below 32 MiB come from
// the heap, and 64 MiB stay at its top; the result loader leaves the same values (ResultFile.cpp).
void keepHeapMemory()
{
#if defined(__linux__) && defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, 64 << 20);
#endif
}

}  // namespace

vtkdraw::vtkdraw(vtkRenderWindow* renderWindow, QObject* parent)
    : QObject(parent),
      m_renderWindow(renderWindow),
      m_settingsPath(SettingsStore::settingsFilePath()),
      m_inspection(std::make_unique<SceneInspection>()),
      m_annotations(std::make_unique<SceneAnnotations>())
{
    keepHeapMemory();
    // An offscreen window comes without an interactor; the widgets and the style need one.
    if (!m_renderWindow->GetInteractor()) {
        m_ownInteractor = vtkSmartPointer<vtkGenericRenderWindowInteractor>::New();
        m_ownInteractor->SetRenderWindow(m_renderWindow);
    }
    vtkRenderWindowInteractor* interactor = m_renderWindow->GetInteractor();

    m_renderer = vtkSmartPointer<vtkRenderer>::New();
    updateBackground();
    m_renderWindow->AddRenderer(m_renderer);
    startLabelPlacement();

    m_style = vtkSmartPointer<customMouseInteractorStyle>::New();
    shareLabelActors();
    interactor->SetInteractorStyle(m_style);

    vtkNew<vtkAxesActor> axes;
    axes->SetShaftType(vtkAxesActor::CYLINDER_SHAFT);
    m_axesWidget = vtkSmartPointer<vtkOrientationMarkerWidget>::New();
    m_axesWidget->SetDefaultRenderer(m_renderer);
    m_axesWidget->SetOutlineColor(0.93, 0.57, 0.13);
    m_axesWidget->SetOrientationMarker(axes);
    m_axesWidget->SetInteractor(interactor);
    m_axesWidget->SetViewport(0.0, 0.0, 0.25, 0.25);
    m_axesWidget->SetEnabled(1);
    m_axesWidget->InteractiveOff();

    // The title is built but never enabled: the view shows no title.
    vtkNew<vtkTextActor> title;
    title->SetInput("Tolvane");
    title->GetTextProperty()->SetColor(0.0, 1.0, 0.0);
    title->GetTextProperty()->SetFontFamilyToCourier();
    vtkNew<vtkTextRepresentation> titleRepresentation;
    titleRepresentation->GetPositionCoordinate()->SetValue(0.0, 0.95);
    titleRepresentation->GetPosition2Coordinate()->SetValue(0.15, 0.05);
    titleRepresentation->SetShowBorderToOff();
    m_titleWidget = vtkSmartPointer<vtkTextWidget>::New();
    m_titleWidget->SetRepresentation(titleRepresentation);
    m_titleWidget->SetTextActor(title);
    m_titleWidget->SetDefaultRenderer(m_renderer);
    m_titleWidget->SetInteractor(interactor);
    m_titleWidget->SetEnabled(0);

    m_scalarBarWidget = vtkSmartPointer<vtkScalarBarWidget>::New();

    m_renderer->ResetCamera();
    m_renderer->GetActiveCamera()->ParallelProjectionOn();
    m_renderWindow->Render();

    m_contourTable = vtkSmartPointer<vtkLookupTable>::New();
    m_contourTable->SetTableRange(1.0, 1.0);
    m_contourTable->SetHueRange(0.7, 0.0);
    m_contourTable->SetSaturationRange(1.0, 1.0);
    m_contourTable->SetValueRange(1.0, 1.0);
    m_contourTable->Build();

    m_edgeTable = vtkSmartPointer<vtkLookupTable>::New();
    m_edgeTable->SetNumberOfTableValues(1);
    m_edgeTable->SetTableValue(0, 1.0, 1.0, 1.0, 1.0);
    m_edgeTable->Build();
}

vtkdraw::~vtkdraw()
{
    // The window may outlive the scene builder (the Qt widget): take our parts out of it.
    m_axesWidget->SetEnabled(0);
    m_scalarBarWidget->SetEnabled(0);
    m_titleWidget->SetEnabled(0);
    if (vtkRenderWindowInteractor* interactor = m_renderWindow->GetInteractor()) {
        if (interactor->GetInteractorStyle() == m_style.GetPointer())
            interactor->SetInteractorStyle(nullptr);
    }
    m_renderWindow->RemoveRenderer(m_renderer);
    if (m_inspection->overlay)
        m_renderWindow->RemoveRenderer(m_inspection->overlay);
    if (m_ownInteractor)
        m_ownInteractor->SetRenderWindow(nullptr);
}

vtkRenderWindow* vtkdraw::renderWindow() const
{
    return m_renderWindow;
}
vtkRenderer* vtkdraw::renderer() const
{
    return m_renderer;
}
customMouseInteractorStyle* vtkdraw::style() const
{
    return m_style;
}
vtkOrientationMarkerWidget* vtkdraw::axesWidget() const
{
    return m_axesWidget;
}
vtkScalarBarWidget* vtkdraw::scalarBarWidget() const
{
    return m_scalarBarWidget;
}
vtkTextWidget* vtkdraw::titleWidget() const
{
    return m_titleWidget;
}
vtkLookupTable* vtkdraw::contourTable() const
{
    return m_contourTable;
}
vtkLookupTable* vtkdraw::edgeTable() const
{
    return m_edgeTable;
}

void vtkdraw::updateBackground()
{
    const QColor c = SettingsStore::color(m_settingsPath, QStringLiteral("MODELCOLOR/Background"));
    m_renderer->SetBackground(c.redF(), c.greenF(), c.blueF());
}

void vtkdraw::clearScene()
{
    m_renderer->RemoveAllViewProps();
    // The highlight goes with the scene, and the groups' next build needs new pick indexes.
    clearHighlight();
    for (auto& index : m_inspection->indexes)
        index.reset();
}

void vtkdraw::createScalarBarWidget()
{
    if (m_scalarBarWidget)
        m_scalarBarWidget->SetEnabled(0);
    m_scalarBarWidget = vtkSmartPointer<vtkScalarBarWidget>::New();
}

void vtkdraw::drawModel()
{
    clearScene();
    createScalarBarWidget();
    drawFreeNodes();
    drawFixedNodes();
    drawFrames();
    drawEqualDOF();
    drawRigidLinks();
    drawThreeNodeElements();
    drawFourNodeElements();
    drawEightNodeElements();
    drawAnnotations();
    // The untouched camera looks down Z: a 3-D model would show as its plan.
    if (m_isometricFirst3D && !m_shown3D && modelRecord()->ndm == 3 && !modelRecord()->isEmpty()) {
        setView(QStringLiteral("XYZ"));
        m_shown3D = true;
    }
    resetCamera();
    render();
}

void vtkdraw::resetCamera()
{
    m_renderer->ResetCamera();
}

void vtkdraw::render()
{
    m_renderWindow->Render();
}

void vtkdraw::setView(const QString& view)
{
    struct Preset {
        const char* name;
        double position[3];
        double viewUp[3];
    };
    static const Preset presets[] = {
        {"XYZ", {1, 1, 1}, {0, 0, 1}},  {"XY+", {0, 0, 1}, {1, 0, 0}},  {"XY-", {0, 0, -1}, {1, 0, 0}},
        {"XZ+", {0, 1, 0}, {0, 0, 1}},  {"XZ-", {0, -1, 0}, {0, 0, 1}}, {"YZ+", {1, 0, 0}, {0, 0, 1}},
        {"YZ-", {-1, 0, 0}, {0, 0, 1}},
    };
    vtkCamera* camera = m_renderer->GetActiveCamera();
    if (view == QLatin1String("PerspectiveOn")) {
        camera->ParallelProjectionOff();
        return;
    }
    if (view == QLatin1String("PerspectiveOff")) {
        camera->ParallelProjectionOn();
        return;
    }
    for (const Preset& p : presets) {
        if (view == QLatin1String(p.name)) {
            camera->SetPosition(p.position[0], p.position[1], p.position[2]);
            camera->SetFocalPoint(0.0, 0.0, 0.0);
            camera->SetViewUp(p.viewUp[0], p.viewUp[1], p.viewUp[2]);
            return;
        }
    }
}

void vtkdraw::rotateView(bool positive)
{
    vtkCamera* camera = m_renderer->GetActiveCamera();
    const double roll = camera->GetRoll();
    camera->SetRoll(positive ? roll - 30.0 : roll + 30.0);
}

void vtkdraw::shareLabelActors()
{
    m_style->setLabelActors(m_groups[FreeNodes].labelActor, m_groups[FixedNodes].labelActor,
                            m_groups[Frames].labelActor, m_groups[ThreeNode].labelActor,
                            m_groups[FourNode].labelActor, m_groups[EightNode].labelActor);
}

void vtkdraw::showFreeNodeLabels(bool on)
{
    if (on)
        m_renderer->AddActor(m_groups[FreeNodes].labelActor);
    else
        m_renderer->RemoveActor(m_groups[FreeNodes].labelActor);
    m_style->freeNodeLabelsShown = on;
}

void vtkdraw::showFixedNodeLabels(bool on)
{
    if (on)
        m_renderer->AddActor(m_groups[FixedNodes].labelActor);
    else
        m_renderer->RemoveActor(m_groups[FixedNodes].labelActor);
    m_style->fixedNodeLabelsShown = on;
}

void vtkdraw::showElementLabels(bool on)
{
    for (Group g : {Frames, ThreeNode, FourNode, EightNode}) {
        if (on)
            m_renderer->AddActor(m_groups[g].labelActor);
        else
            m_renderer->RemoveActor(m_groups[g].labelActor);
    }
    m_style->elementLabelsShown = on;
}

namespace {

// Widens strokes and enlarges label text for the length of a magnified capture, so that
// the picture looks like the view on screen rather than a thinner, smaller-lettered copy.
class MagnifiedStrokes {
public:
    MagnifiedStrokes(vtkRenderer* renderer, const GroupStore* groups, int count, double factor)
    {
        vtkActorCollection* actors = renderer->GetActors();
        actors->InitTraversal();
        while (vtkActor* actor = actors->GetNextActor()) {
            vtkProperty* p = actor->GetProperty();
            m_strokes.push_back({p, p->GetLineWidth(), p->GetPointSize()});
            p->SetLineWidth(float(p->GetLineWidth() * factor));
            p->SetPointSize(float(p->GetPointSize() * factor));
        }
        for (int g = 0; g < count; ++g) {
            auto* mapper = groups[g].labelActor
                               ? vtkLabeledDataMapper::SafeDownCast(groups[g].labelActor->GetMapper())
                               : nullptr;
            if (!mapper || !mapper->GetLabelTextProperty())
                continue;
            vtkTextProperty* text = mapper->GetLabelTextProperty();
            m_fonts.push_back({text, text->GetFontSize()});
            text->SetFontSize(int(text->GetFontSize() * factor));
        }
    }
    ~MagnifiedStrokes()
    {
        for (const Stroke& s : m_strokes) {
            s.property->SetLineWidth(s.lineWidth);
            s.property->SetPointSize(s.pointSize);
        }
        for (const Font& f : m_fonts)
            f.text->SetFontSize(f.size);
    }

private:
    struct Stroke {
        vtkSmartPointer<vtkProperty> property;
        float lineWidth;
        float pointSize;
    };
    struct Font {
        vtkSmartPointer<vtkTextProperty> text;
        int size;
    };
    std::vector<Stroke> m_strokes;
    std::vector<Font> m_fonts;
};

// Lends the renderers of a window to an offscreen window FACTOR times its size while it lives,
// in the same order and layers, and gives them back: the window on screen keeps its size, its
// camera and everything it shows.
class LargerWindow {
public:
    LargerWindow(vtkRenderWindow* window, int factor) : m_window(window)
    {
        m_larger->SetOffScreenRendering(1);
        m_larger->SetSize(window->GetSize()[0] * factor, window->GetSize()[1] * factor);
        m_larger->SetNumberOfLayers(window->GetNumberOfLayers());
        m_larger->SetMultiSamples(window->GetMultiSamples());
        vtkRendererCollection* renderers = window->GetRenderers();
        renderers->InitTraversal();
        while (vtkRenderer* r = renderers->GetNextItem())
            m_renderers.push_back(r);
        for (vtkRenderer* r : m_renderers) {
            window->RemoveRenderer(r);
            m_larger->AddRenderer(r);
        }
    }
    ~LargerWindow()
    {
        for (vtkRenderer* r : m_renderers) {
            m_larger->RemoveRenderer(r);
            m_window->AddRenderer(r);
        }
    }
    vtkRenderWindow* window() const { return m_larger; }

private:
    vtkRenderWindow* m_window;
    vtkNew<vtkRenderWindow> m_larger;
    std::vector<vtkSmartPointer<vtkRenderer>> m_renderers;
};

vtkSmartPointer<vtkImageWriter> writerFor(CaptureFormat format)
{
    switch (format) {
        case CaptureFormat::Png:
            return vtkSmartPointer<vtkPNGWriter>::New();
        case CaptureFormat::Bmp:
            return vtkSmartPointer<vtkBMPWriter>::New();
        case CaptureFormat::Jpeg:
            return vtkSmartPointer<vtkJPEGWriter>::New();
        case CaptureFormat::Unsupported:
            break;
    }
    return nullptr;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

}  // namespace

bool vtkdraw::capture(const QString& fileName, QString* error)
{
    const CaptureFormat format = captureFormatFor(fileName);
    if (format == CaptureFormat::Unsupported) {
        return fail(error, QStringLiteral("Cannot save \"%1\": the picture type must be .png, .bmp or .jpg.")
                               .arg(QFileInfo(fileName).fileName()));
    }

    // The picture shows the labels chosen for the view on screen.
    placeLabels();
    const int magnification = 3;
    const MagnifiedStrokes strokes(m_renderer, m_groups, groupCount, magnification);
    std::unique_ptr<MagnifiedStrokes> outline;
    if (m_inspection->overlay)
        outline = std::make_unique<MagnifiedStrokes>(m_inspection->overlay, m_groups, 0, magnification);
    // The diagram's values grow with the picture as the tags do.
    vtkTextProperty* values = nullptr;
    int valueSize = 0;
    if (m_annotations->diagramLabels)
        if (auto* mapper = vtkLabeledDataMapper::SafeDownCast(m_annotations->diagramLabels->GetMapper()))
            values = mapper->GetLabelTextProperty();
    if (values) {
        valueSize = values->GetFontSize();
        values->SetFontSize(valueSize * magnification);
    }
    // One pass over a window three times the size: tiles of the view would break lines and
    // labels where they join.
    const LargerWindow larger(m_renderWindow, magnification);
    vtkNew<vtkWindowToImageFilter> grab;
    grab->SetInput(larger.window());
    // The colours on screen are the composited RGB; the frame buffer's alpha after blending
    // translucent actors means nothing to a viewer and would wash the picture out.
    grab->SetInputBufferTypeToRGB();
    grab->ReadFrontBufferOff();
    grab->Update();
    if (values)
        values->SetFontSize(valueSize);

    vtkSmartPointer<vtkImageWriter> writer = writerFor(format);
    writer->SetInputConnection(grab->GetOutputPort());
    const QByteArray name = fileName.toUtf8();
    writer->SetFileName(name.constData());
    writer->Write();
    if (writer->GetErrorCode() != vtkErrorCode::NoError || !QFileInfo(fileName).isFile() ||
        QFileInfo(fileName).size() == 0)
        return fail(error, QStringLiteral("Cannot write \"%1\".").arg(QDir::toNativeSeparators(fileName)));
    return true;
}
