#include "customMouseInteractorStyle.h"

#include <vtkActor2D.h>
#include <vtkObjectFactory.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>

#include <cstdlib>

vtkStandardNewMacro(customMouseInteractorStyle);

customMouseInteractorStyle::customMouseInteractorStyle() = default;
customMouseInteractorStyle::~customMouseInteractorStyle() = default;

void customMouseInteractorStyle::setLabelActors(vtkActor2D* freeNode, vtkActor2D* fixedNode,
                                                vtkActor2D* frame, vtkActor2D* threeNode,
                                                vtkActor2D* fourNode, vtkActor2D* eightNode)
{
    m_freeNodeLabels = freeNode;
    m_fixedNodeLabels = fixedNode;
    m_frameLabels = frame;
    m_threeNodeLabels = threeNode;
    m_fourNodeLabels = fourNode;
    m_eightNodeLabels = eightNode;
}

// The left button never moves the camera: a press and a release close together make a click.
void customMouseInteractorStyle::OnLeftButtonDown()
{
    if (!Interactor)
        return;
    m_leftPressed = true;
    m_doublePress = Interactor->GetRepeatCount() > 0;
    Interactor->GetEventPosition(m_pressX, m_pressY);
}

// Qt's widget sends the second press of a double click as an event of its own.
void customMouseInteractorStyle::OnLeftButtonDoubleClick()
{
    OnLeftButtonDown();
    m_doublePress = m_leftPressed;
}

void customMouseInteractorStyle::OnLeftButtonUp()
{
    if (!Interactor || !m_leftPressed)
        return;
    m_leftPressed = false;
    int x = 0, y = 0;
    Interactor->GetEventPosition(x, y);
    if (std::abs(x - m_pressX) <= clickSlop && std::abs(y - m_pressY) <= clickSlop && onClick)
        onClick(x, y, m_doublePress);
}

void customMouseInteractorStyle::OnMiddleButtonDown()
{
    hideShownLabels();
    vtkInteractorStyleTrackballCamera::OnLeftButtonDown();
}

void customMouseInteractorStyle::OnMiddleButtonUp()
{
    restoreShownLabels();
    vtkInteractorStyleTrackballCamera::OnLeftButtonUp();
}

void customMouseInteractorStyle::OnMouseWheelForward()
{
    vtkInteractorStyleTrackballCamera::OnMouseWheelForward();
}

void customMouseInteractorStyle::OnMouseWheelBackward()
{
    vtkInteractorStyleTrackballCamera::OnMouseWheelBackward();
}

// The scene's renderer is the first one of the window; the axes marker's comes later.
vtkRenderer* customMouseInteractorStyle::sceneRenderer() const
{
    if (!Interactor || !Interactor->GetRenderWindow())
        return nullptr;
    return Interactor->GetRenderWindow()->GetRenderers()->GetFirstRenderer();
}

void customMouseInteractorStyle::hideShownLabels()
{
    vtkRenderer* renderer = sceneRenderer();
    if (!renderer)
        return;
    if (freeNodeLabelsShown)
        renderer->RemoveActor(m_freeNodeLabels);
    if (fixedNodeLabelsShown)
        renderer->RemoveActor(m_fixedNodeLabels);
    if (elementLabelsShown) {
        renderer->RemoveActor(m_frameLabels);
        renderer->RemoveActor(m_threeNodeLabels);
        renderer->RemoveActor(m_fourNodeLabels);
        renderer->RemoveActor(m_eightNodeLabels);
    }
}

void customMouseInteractorStyle::restoreShownLabels()
{
    vtkRenderer* renderer = sceneRenderer();
    if (!renderer)
        return;
    auto add = [renderer](vtkActor2D* actor) {
        // Adding an absent actor must do nothing, and an actor must not be added twice.
        if (actor && !renderer->HasViewProp(actor))
            renderer->AddActor(actor);
    };
    if (freeNodeLabelsShown)
        add(m_freeNodeLabels);
    if (fixedNodeLabelsShown)
        add(m_fixedNodeLabels);
    if (elementLabelsShown) {
        add(m_frameLabels);
        add(m_threeNodeLabels);
        add(m_fourNodeLabels);
        add(m_eightNodeLabels);
    }
}
