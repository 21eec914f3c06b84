// customMouseInteractorStyle: the 3-D view's mouse handling. Only the middle button moves
// the camera (as the trackball's left button does), and shown labels leave the scene
// while it is held, so that rotating a large labelled model stays fluid. A left click that
// does not drag is handed to onClick, for picking.
//
//   vtkNew<customMouseInteractorStyle> style;
//   style->setLabelActors(free, fixed, frame, three, four, eight);
//   style->onClick = [](int x, int y, bool doubleClick) { ... };
//   interactor->SetInteractorStyle(style);
#pragma once

#include <vtkInteractorStyleTrackballCamera.h>
#include <vtkSmartPointer.h>

#include <functional>

class vtkActor2D;
class vtkRenderer;

class customMouseInteractorStyle : public vtkInteractorStyleTrackballCamera {
public:
    static customMouseInteractorStyle* New();
    vtkTypeMacro(customMouseInteractorStyle, vtkInteractorStyleTrackballCamera);

    void setLabelActors(vtkActor2D* freeNode, vtkActor2D* fixedNode, vtkActor2D* frame, vtkActor2D* threeNode,
                        vtkActor2D* fourNode, vtkActor2D* eightNode);

    void OnLeftButtonDown() override;
    void OnLeftButtonUp() override;
    void OnLeftButtonDoubleClick() override;
    void OnMiddleButtonDown() override;
    void OnMiddleButtonUp() override;
    void OnRightButtonDown() override {}
    void OnRightButtonUp() override {}
    void OnMouseWheelForward() override;
    void OnMouseWheelBackward() override;
    void OnKeyDown() override {}
    void OnKeyUp() override {}

    // Which label switches are on; written by vtkdraw.
    bool freeNodeLabelsShown = false;
    bool fixedNodeLabelsShown = false;
    bool elementLabelsShown = false;

    // Display position of the release (origin bottom left) and whether the press was the second
    // of a double click.
    std::function<void(int x, int y, bool doubleClick)> onClick;
    // How far the pointer may move between press and release for a click, in pixels.
    static constexpr int clickSlop = 3;

protected:
    customMouseInteractorStyle();
    ~customMouseInteractorStyle() override;

private:
    customMouseInteractorStyle(const customMouseInteractorStyle&) = delete;
    void operator=(const customMouseInteractorStyle&) = delete;

    void hideShownLabels();
    void restoreShownLabels();
    vtkRenderer* sceneRenderer() const;

    vtkSmartPointer<vtkActor2D> m_freeNodeLabels;
    vtkSmartPointer<vtkActor2D> m_fixedNodeLabels;
    vtkSmartPointer<vtkActor2D> m_frameLabels;
    vtkSmartPointer<vtkActor2D> m_threeNodeLabels;
    vtkSmartPointer<vtkActor2D> m_fourNodeLabels;
    vtkSmartPointer<vtkActor2D> m_eightNodeLabels;
    bool m_leftPressed = false;
    bool m_doublePress = false;
    int m_pressX = 0;
    int m_pressY = 0;
};
