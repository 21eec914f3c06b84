// The scene builder's construction, background, view presets, clearing and mouse style.
#include <vtkCommand.h>
#include <vtkOrientationMarkerWidget.h>

#include "RenderTestSupport.h"

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
    return near(a, b[0], b[1], b[2]);
}

enum Button { Left, Middle, Right };

// Presses at the view's centre, drags 40 px right and 20 px up, releases.
void drag(vtkRenderWindowInteractor* rwi, Button button, bool ctrl = false, bool shift = false)
{
    const unsigned long events[][2] = {
        {vtkCommand::LeftButtonPressEvent, vtkCommand::LeftButtonReleaseEvent},
        {vtkCommand::MiddleButtonPressEvent, vtkCommand::MiddleButtonReleaseEvent},
        {vtkCommand::RightButtonPressEvent, vtkCommand::RightButtonReleaseEvent}};
    rwi->SetEventInformation(150, 100, ctrl, shift);
    rwi->InvokeEvent(events[button][0]);
    for (int step = 1; step <= 4; ++step) {
        rwi->SetEventInformation(150 + 10 * step, 100 + 5 * step, ctrl, shift);
        rwi->MouseMoveEvent();
    }
    rwi->InvokeEvent(events[button][1]);
}

vtkRenderWindowInteractor* interactor(const Scene& scene)
{
    scene.window->GetInteractor()->Enable();
    return scene.window->GetInteractor();
}

}  // namespace

class tst_vtkdraw_scene : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings =
            writeSettings(m_dir.filePath("config.ini"), {{"MODELCOLOR/Background", QColor(10, 20, 30)}});
        fillPortal();
    }

    void constructionBackgroundAndClearing()
    {
        Scene scene(m_settings);
        QVERIFY(scene.draw->axesWidget()->GetEnabled() && !scene.draw->axesWidget()->GetInteractive());
        QVERIFY(scene.camera()->GetParallelProjection());

        // The background colour is read at each use.
        double bg[3];
        scene.renderer()->GetBackground(bg);
        QVERIFY2(near(bg, 10 / 255.0, 20 / 255.0, 30 / 255.0), qPrintable(vec(bg)));
        QSettings(m_settings, QSettings::IniFormat).remove("MODELCOLOR/Background");
        scene.draw->updateBackground();
        QVERIFY2(near(scene.renderer()->GetBackground(), 1, 1, 1), "a missing colour reads as its default");

        // Clearing empties the scene but keeps the marker and the label switches.
        scene.draw->drawModel();
        scene.draw->showElementLabels(true);
        QVERIFY(scene.renderer()->GetViewProps()->GetNumberOfItems() > 3);
        scene.draw->clearScene();
        QCOMPARE(scene.renderer()->GetViewProps()->GetNumberOfItems(), 0);
        QCOMPARE(scene.draw->axesWidget()->GetEnabled(), 1);
        QVERIFY2(scene.draw->style()->elementLabelsShown, "clearing leaves the switches alone");
    }

    void viewPresetsAndProjection()
    {
        const struct {
            const char* view;
            double p[3], up[3];
        } rows[] = {
            {"XYZ", {1, 1, 1}, {0, 0, 1}},
            {"XY-", {0, 0, -1}, {1, 0, 0}},
            {"YZ+", {1, 0, 0}, {0, 0, 1}},
        };
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkCamera* camera = scene.camera();
        for (const auto& r : rows) {
            camera->SetPosition(5, -7, 2);  // somewhere no preset uses
            scene.draw->setView(r.view);
            const QString got =
                QString("%1: at %2 up %3").arg(r.view, vec(camera->GetPosition()), vec(camera->GetViewUp()));
            QVERIFY2(near(camera->GetPosition(), r.p[0], r.p[1], r.p[2]), qPrintable(got));
            QVERIFY2(near(camera->GetFocalPoint(), 0, 0, 0), qPrintable(got));
            QVERIFY2(near(camera->GetViewUp(), r.up[0], r.up[1], r.up[2], 1e-6), qPrintable(got));
            QVERIFY2(camera->GetParallelProjection(), "a preset keeps the projection");

            scene.draw->resetCamera();  // fitting keeps the direction
            double d[3];
            camera->GetDirectionOfProjection(d);
            const double n = std::sqrt(r.p[0] * r.p[0] + r.p[1] * r.p[1] + r.p[2] * r.p[2]);
            QVERIFY2(near(d, -r.p[0] / n, -r.p[1] / n, -r.p[2] / n, 1e-6),
                     qPrintable(r.view + (": " + vec(d))));
        }

        scene.draw->setView("YZ+");
        scene.draw->setView("PerspectiveOn");
        QVERIFY(!camera->GetParallelProjection());
        QVERIFY2(near(camera->GetPosition(), 1, 0, 0), "switching projection keeps the camera");
        scene.draw->setView("XZ-");
        QVERIFY2(!camera->GetParallelProjection(), "a preset keeps perspective");
        scene.draw->setView("PerspectiveOff");
        QVERIFY(camera->GetParallelProjection());
        for (const char* word : {"xyz", "XY", "perspectiveon", "", "XYZ "})
            scene.draw->setView(word);
        QVERIFY2(near(camera->GetPosition(), 0, -1, 0) && near(camera->GetViewUp(), 0, 0, 1, 1e-6),
                 "unknown words change nothing");
        QVERIFY(camera->GetParallelProjection());
    }

    // The mouse style: only the middle button and the wheel move the camera.
    void onlyTheMiddleButtonAndWheelMoveTheCamera()
    {
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkRenderWindowInteractor* rwi = interactor(scene);
        vtkCamera* camera = scene.camera();
        const CameraState start(camera);
        drag(rwi, Left);
        drag(rwi, Right);
        const CameraState ignored(camera);
        QVERIFY2(same(start.position, ignored.position) && same(start.up, ignored.up) &&
                     start.scale == ignored.scale,
                 "left and right buttons leave the camera alone");

        drag(rwi, Middle);
        const CameraState rotated(camera);
        QVERIFY2(!same(start.position, rotated.position), "plain middle drag rotates");
        QVERIFY(same(start.focal, rotated.focal));
        drag(rwi, Middle, false, true);
        const CameraState panned(camera);
        QVERIFY2(!same(rotated.focal, panned.focal), "shift pans");
        QCOMPARE(panned.scale, rotated.scale);
        drag(rwi, Middle, true, false);
        const CameraState spun(camera);
        QVERIFY2(!same(panned.up, spun.up), "ctrl spins");
        QVERIFY(same(panned.position, spun.position));
        drag(rwi, Middle, true, true);
        QVERIFY2(camera->GetParallelScale() != spun.scale, "ctrl and shift dolly");

        const double before = camera->GetParallelScale();
        rwi->SetEventInformation(150, 100, 0, 0);
        rwi->MouseWheelForwardEvent();
        QVERIFY(camera->GetParallelScale() < before);
        rwi->MouseWheelBackwardEvent();
        rwi->MouseWheelBackwardEvent();
        QVERIFY(camera->GetParallelScale() > before);
    }

    // Shown labels leave the scene while the middle button is held, and come back new after a refresh.
    void shownLabelsLeaveWhileMiddleIsHeld()
    {
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkRenderWindowInteractor* rwi = interactor(scene);
        vtkdraw& draw = *scene.draw;
        draw.showFreeNodeLabels(true);
        draw.showElementLabels(true);
        // Looked up at each call: a refresh makes new label actors.
        auto shown = [&] {
            int n = 0;
            for (vtkdraw::Group g : {vtkdraw::FreeNodes, vtkdraw::Frames, vtkdraw::FourNode})
                n += scene.shows(draw.group(g).labelActor);
            return n;
        };

        rwi->SetEventInformation(150, 100, 0, 0);
        rwi->MiddleButtonPressEvent();
        QCOMPARE(shown(), 0);
        rwi->MiddleButtonReleaseEvent();
        QCOMPARE(shown(), 3);
        QVERIFY2(!scene.shows(draw.group(vtkdraw::FixedNodes).labelActor),
                 "a label kind that is off stays off");

        draw.drawModel();  // a refresh: new label actors, not in the scene
        QCOMPARE(shown(), 0);
        drag(rwi, Middle);
        QCOMPARE(shown(), 3);
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_vtkdraw_scene)
#include "tst_vtkdraw_scene.moc"
