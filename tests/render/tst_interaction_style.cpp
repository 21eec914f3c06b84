// The mouse style: only the middle button moves the camera, and shown labels leave the
// scene while it is held.
#include <QtTest>

#include <cmath>

#include <vtkActor2D.h>
#include <vtkCamera.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>

#include "ModelRecord.h"
#include "RenderTestSupport.h"
#include "customMouseInteractorStyle.h"
#include "vtkdraw.h"

using namespace rendertest;

namespace {

struct CameraState {
    double position[3], focal[3], up[3], scale;
    explicit CameraState(vtkCamera* c)
    {
        c->GetPosition(position);
        c->GetFocalPoint(focal);
        c->GetViewUp(up);
        scale = c->GetParallelScale();
    }
};

bool same(const double* a, const double* b)
{
    return std::abs(a[0] - b[0]) < 1e-9 && std::abs(a[1] - b[1]) < 1e-9 && std::abs(a[2] - b[2]) < 1e-9;
}

enum class Button { Left, Middle, Right };

// Presses at the view's centre, drags 40 px right and 20 px up, releases.
void drag(vtkRenderWindowInteractor* rwi, Button button, bool ctrl = false, bool shift = false)
{
    rwi->SetEventInformation(150, 100, ctrl, shift);
    switch (button) {
    case Button::Left: rwi->LeftButtonPressEvent(); break;
    case Button::Middle: rwi->MiddleButtonPressEvent(); break;
    case Button::Right: rwi->RightButtonPressEvent(); break;
    }
    for (int step = 1; step <= 4; ++step) {
        rwi->SetEventInformation(150 + 10 * step, 100 + 5 * step, ctrl, shift);
        rwi->MouseMoveEvent();
    }
    switch (button) {
    case Button::Left: rwi->LeftButtonReleaseEvent(); break;
    case Button::Middle: rwi->MiddleButtonReleaseEvent(); break;
    case Button::Right: rwi->RightButtonReleaseEvent(); break;
    }
}

}  // namespace

class tst_interaction_style : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = writeSettings(m_dir.path());
        fillPortal();
        m_scene = std::make_unique<Scene>(m_settings);
        m_scene->draw->drawModel();
        m_rwi = m_scene->window->GetInteractor();
        m_rwi->Enable();
    }
    void cleanup()
    {
        m_scene.reset();
    }

    void typeName()
    {
        customMouseInteractorStyle* style = m_scene->draw->style();
        QCOMPARE(QString(style->GetClassName()), QString("customMouseInteractorStyle"));
        QVERIFY(style->IsA("customMouseInteractorStyle"));
        QVERIFY(style->IsA("vtkInteractorStyleTrackballCamera"));
        QCOMPARE(m_rwi->GetInteractorStyle(), (vtkInteractorObserver*)style);
    }

    void leftAndRightButtonsAreIgnored()
    {
        vtkCamera* camera = m_scene->draw->renderer()->GetActiveCamera();
        const CameraState before(camera);
        drag(m_rwi, Button::Left);
        drag(m_rwi, Button::Right);
        drag(m_rwi, Button::Left, false, true);
        const CameraState after(camera);
        QVERIFY(same(before.position, after.position));
        QVERIFY(same(before.up, after.up));
        QCOMPARE(before.scale, after.scale);
    }

    void middleButtonMovesTheCamera()
    {
        vtkCamera* camera = m_scene->draw->renderer()->GetActiveCamera();
        const CameraState start(camera);
        drag(m_rwi, Button::Middle);
        const CameraState rotated(camera);
        QVERIFY2(!same(start.position, rotated.position), "plain middle drag rotates");
        QVERIFY(same(start.focal, rotated.focal));

        drag(m_rwi, Button::Middle, false, true);
        const CameraState panned(camera);
        QVERIFY2(!same(rotated.focal, panned.focal), "shift pans");
        QCOMPARE(panned.scale, rotated.scale);

        drag(m_rwi, Button::Middle, true, false);
        const CameraState spun(camera);
        QVERIFY2(!same(panned.up, spun.up), "ctrl spins");
        QVERIFY(same(panned.position, spun.position));

        drag(m_rwi, Button::Middle, true, true);
        const CameraState dollied(camera);
        QVERIFY2(dollied.scale != spun.scale, "ctrl and shift dolly");
    }

    void wheelZooms()
    {
        vtkCamera* camera = m_scene->draw->renderer()->GetActiveCamera();
        const double before = camera->GetParallelScale();
        m_rwi->SetEventInformation(150, 100, 0, 0);
        m_rwi->MouseWheelForwardEvent();
        QVERIFY(camera->GetParallelScale() < before);
        m_rwi->MouseWheelBackwardEvent();
        m_rwi->MouseWheelBackwardEvent();
        QVERIFY(camera->GetParallelScale() > before);
    }

    void shownLabelsLeaveWhileMiddleIsHeld()
    {
        vtkdraw& draw = *m_scene->draw;
        vtkRenderer* renderer = draw.renderer();
        draw.showFreeNodeLabels(true);
        draw.showElementLabels(true);
        vtkActor2D* free = draw.group(vtkdraw::FreeNodes).labelActor;
        vtkActor2D* fixed = draw.group(vtkdraw::FixedNodes).labelActor;
        vtkActor2D* frames = draw.group(vtkdraw::Frames).labelActor;
        vtkActor2D* quads = draw.group(vtkdraw::FourNode).labelActor;

        m_rwi->SetEventInformation(150, 100, 0, 0);
        m_rwi->MiddleButtonPressEvent();
        QVERIFY(!renderer->HasViewProp(free));
        QVERIFY(!renderer->HasViewProp(frames));
        QVERIFY(!renderer->HasViewProp(quads));
        m_rwi->SetEventInformation(170, 100, 0, 0);
        m_rwi->MouseMoveEvent();
        QVERIFY(!renderer->HasViewProp(frames));
        m_rwi->MiddleButtonReleaseEvent();
        QVERIFY(renderer->HasViewProp(free));
        QVERIFY(renderer->HasViewProp(frames));
        QVERIFY(renderer->HasViewProp(quads));
        QVERIFY2(!renderer->HasViewProp(fixed), "a label kind that is off stays off");

        // A left click leaves shown labels alone.
        m_rwi->LeftButtonPressEvent();
        QVERIFY(renderer->HasViewProp(frames));
        m_rwi->LeftButtonReleaseEvent();
    }

    void releaseAfterRefreshShowsTheNewLabels()
    {
        vtkdraw& draw = *m_scene->draw;
        draw.showElementLabels(true);
        draw.drawModel();  // a refresh: new label actors, not in the scene
        vtkActor2D* frames = draw.group(vtkdraw::Frames).labelActor;
        QVERIFY(!draw.renderer()->HasViewProp(frames));
        drag(m_rwi, Button::Middle);
        QVERIFY(draw.renderer()->HasViewProp(frames));
        QVERIFY(!draw.renderer()->HasViewProp(draw.group(vtkdraw::FreeNodes).labelActor));
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
    std::unique_ptr<Scene> m_scene;
    vtkRenderWindowInteractor* m_rwi = nullptr;
};

QTEST_MAIN(tst_interaction_style)
#include "tst_interaction_style.moc"
