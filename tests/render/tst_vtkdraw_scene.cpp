// The scene builder's construction, background, view presets, rotation and clearing.
#include <QtTest>

#include <cmath>

#include <vtkActorCollection.h>
#include <vtkCamera.h>
#include <vtkLookupTable.h>
#include <vtkOrientationMarkerWidget.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>
#include <vtkScalarBarWidget.h>
#include <vtkTextWidget.h>

#include "ModelRecord.h"
#include "RenderTestSupport.h"
#include "customMouseInteractorStyle.h"
#include "vtkdraw.h"

using namespace rendertest;

namespace {

bool near(const double* a, double x, double y, double z, double eps = 1e-9)
{
    return std::abs(a[0] - x) < eps && std::abs(a[1] - y) < eps && std::abs(a[2] - z) < eps;
}

QString vec(const double* a)
{
    return QStringLiteral("(%1, %2, %3)").arg(a[0]).arg(a[1]).arg(a[2]);
}

}  // namespace

class tst_vtkdraw_scene : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = writeSettings(m_dir.path(), [](QSettings& s) {
            s.setValue("MODELCOLOR/Background", QColor(10, 20, 30));
        });
        fillPortal();
    }

    void construction()
    {
        Scene scene(m_settings);
        vtkdraw& draw = *scene.draw;
        QCOMPARE(scene.window->GetRenderers()->GetFirstRenderer(), draw.renderer());
        double bg[3];
        draw.renderer()->GetBackground(bg);
        QVERIFY2(near(bg, 10 / 255.0, 20 / 255.0, 30 / 255.0), qPrintable(vec(bg)));

        QVERIFY(scene.window->GetInteractor());
        QCOMPARE(scene.window->GetInteractor()->GetInteractorStyle(), (vtkInteractorObserver*)draw.style());

        vtkOrientationMarkerWidget* axes = draw.axesWidget();
        QCOMPARE(axes->GetEnabled(), 1);
        QCOMPARE(axes->GetInteractive(), 0);
        const double* viewport = axes->GetViewport();
        QCOMPARE(viewport[0], 0.0);
        QCOMPARE(viewport[1], 0.0);
        QCOMPARE(viewport[2], 0.25);
        QCOMPARE(viewport[3], 0.25);
        QVERIFY(near(axes->GetOutlineColor(), 0.93, 0.57, 0.13));
        // The marker draws in a renderer of its own, after the scene's.
        QCOMPARE(scene.window->GetRenderers()->GetNumberOfItems(), 2);

        QCOMPARE(draw.titleWidget()->GetEnabled(), 0);
        QVERIFY(draw.renderer()->GetActiveCamera()->GetParallelProjection());
        QCOMPARE(draw.renderer()->GetActors()->GetNumberOfItems(), 0);
    }

    void lookupTables()
    {
        Scene scene(m_settings);
        vtkLookupTable* contour = scene.draw->contourTable();
        QCOMPARE(contour->GetNumberOfTableValues(), vtkIdType(256));
        QCOMPARE(contour->GetHueRange()[0], 0.7);
        QCOMPARE(contour->GetHueRange()[1], 0.0);
        QCOMPARE(contour->GetTableRange()[0], 1.0);
        QCOMPARE(contour->GetTableRange()[1], 1.0);
        double low[4], high[4];
        contour->GetTableValue(0, low);
        contour->GetTableValue(255, high);
        QVERIFY2(low[2] > 0.99 && low[0] < 0.5, "first colour is blue");
        QVERIFY2(high[0] > 0.99 && high[1] < 0.01 && high[2] < 0.01, "last colour is red");

        vtkLookupTable* edge = scene.draw->edgeTable();
        QCOMPARE(edge->GetNumberOfTableValues(), vtkIdType(1));
        double white[4];
        edge->GetTableValue(0, white);
        QVERIFY(near(white, 1, 1, 1) && white[3] == 1.0);
    }

    void backgroundIsReadAtEachUse()
    {
        Scene scene(m_settings);
        {
            QSettings s(m_settings, QSettings::IniFormat);
            s.setValue("MODELCOLOR/Background", QColor(255, 0, 0));
        }
        scene.draw->updateBackground();
        double bg[3];
        scene.draw->renderer()->GetBackground(bg);
        QVERIFY(near(bg, 1, 0, 0));
        {
            QSettings s(m_settings, QSettings::IniFormat);
            s.remove("MODELCOLOR/Background");
        }
        scene.draw->updateBackground();
        scene.draw->renderer()->GetBackground(bg);
        QVERIFY2(near(bg, 0, 0, 0), "a missing colour reads as black");
    }

    void setView_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QVector<double>>("position");
        QTest::addColumn<QVector<double>>("viewUp");
        QTest::newRow("XYZ") << "XYZ" << QVector<double>{1, 1, 1} << QVector<double>{0, 0, 1};
        QTest::newRow("XY+") << "XY+" << QVector<double>{0, 0, 1} << QVector<double>{1, 0, 0};
        QTest::newRow("XY-") << "XY-" << QVector<double>{0, 0, -1} << QVector<double>{1, 0, 0};
        QTest::newRow("XZ+") << "XZ+" << QVector<double>{0, 1, 0} << QVector<double>{0, 0, 1};
        QTest::newRow("XZ-") << "XZ-" << QVector<double>{0, -1, 0} << QVector<double>{0, 0, 1};
        QTest::newRow("YZ+") << "YZ+" << QVector<double>{1, 0, 0} << QVector<double>{0, 0, 1};
        QTest::newRow("YZ-") << "YZ-" << QVector<double>{-1, 0, 0} << QVector<double>{0, 0, 1};
    }

    void setView()
    {
        QFETCH(QString, view);
        QFETCH(QVector<double>, position);
        QFETCH(QVector<double>, viewUp);
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkCamera* camera = scene.draw->renderer()->GetActiveCamera();
        camera->SetPosition(5, -7, 2);  // somewhere no preset uses
        scene.draw->setView(view);
        QVERIFY2(near(camera->GetPosition(), position[0], position[1], position[2]),
                 qPrintable(vec(camera->GetPosition())));
        QVERIFY(near(camera->GetFocalPoint(), 0, 0, 0));
        QVERIFY2(near(camera->GetViewUp(), viewUp[0], viewUp[1], viewUp[2], 1e-6),
                 qPrintable(vec(camera->GetViewUp())));
        QVERIFY2(camera->GetParallelProjection(), "a preset keeps the projection");

        // Fitting keeps the direction.
        scene.draw->resetCamera();
        double direction[3];
        camera->GetDirectionOfProjection(direction);
        const double n = std::sqrt(position[0] * position[0] + position[1] * position[1]
                                   + position[2] * position[2]);
        QVERIFY2(near(direction, -position[0] / n, -position[1] / n, -position[2] / n, 1e-6),
                 qPrintable(vec(direction)));
    }

    void perspectiveAndUnknownWords()
    {
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkCamera* camera = scene.draw->renderer()->GetActiveCamera();
        scene.draw->setView("YZ+");
        scene.draw->setView("PerspectiveOn");
        QVERIFY(!camera->GetParallelProjection());
        QVERIFY2(near(camera->GetPosition(), 1, 0, 0), "switching projection keeps the camera");
        scene.draw->setView("XZ-");
        QVERIFY2(!camera->GetParallelProjection(), "a preset keeps perspective");
        scene.draw->setView("PerspectiveOff");
        QVERIFY(camera->GetParallelProjection());

        double before[3], upBefore[3];
        camera->GetPosition(before);
        camera->GetViewUp(upBefore);
        for (const char* word : {"xyz", "XY", "perspectiveon", "", "XYZ "})
            scene.draw->setView(word);
        QVERIFY(near(camera->GetPosition(), before[0], before[1], before[2]));
        QVERIFY(near(camera->GetViewUp(), upBefore[0], upBefore[1], upBefore[2]));
        QVERIFY(camera->GetParallelProjection());
    }

    void rotateView()
    {
        Scene scene(m_settings);
        scene.draw->drawModel();
        scene.draw->setView("XYZ");
        scene.draw->resetCamera();
        vtkCamera* camera = scene.draw->renderer()->GetActiveCamera();
        double up0[3];
        camera->GetViewUp(up0);
        const double roll0 = camera->GetRoll();

        scene.draw->rotateView(true);
        QVERIFY2(std::abs(std::remainder(camera->GetRoll() - (roll0 - 30.0), 360.0)) < 1e-6,
                 "positive turns by -30 degrees");
        QVERIFY(!near(camera->GetViewUp(), up0[0], up0[1], up0[2], 1e-3));
        scene.draw->rotateView(false);
        QVERIFY2(near(camera->GetViewUp(), up0[0], up0[1], up0[2], 1e-6), "one each way cancel");

        for (bool positive : {true, false}) {
            for (int i = 0; i < 12; ++i)
                scene.draw->rotateView(positive);
            QVERIFY2(near(camera->GetViewUp(), up0[0], up0[1], up0[2], 1e-6), qPrintable(vec(camera->GetViewUp())));
            QVERIFY(std::abs(std::remainder(camera->GetRoll() - roll0, 360.0)) < 1e-6);
        }
    }

    void clearSceneKeepsAxesMarker()
    {
        Scene scene(m_settings);
        scene.draw->drawModel();
        scene.draw->showElementLabels(true);
        QVERIFY(scene.draw->renderer()->GetViewProps()->GetNumberOfItems() > 3);
        scene.draw->clearScene();
        QCOMPARE(scene.draw->renderer()->GetViewProps()->GetNumberOfItems(), 0);
        QCOMPARE(scene.draw->axesWidget()->GetEnabled(), 1);
        QCOMPARE(scene.window->GetRenderers()->GetNumberOfItems(), 2);
        QVERIFY2(scene.draw->style()->elementLabelsShown, "clearing leaves the switches alone");
    }

    void scalarBarWidgetIsReplaced()
    {
        Scene scene(m_settings);
        vtkScalarBarWidget* first = scene.draw->scalarBarWidget();
        QVERIFY(first);
        first->Register(nullptr);  // keep it alive to compare
        scene.draw->createScalarBarWidget();
        QVERIFY(scene.draw->scalarBarWidget() != first);
        QCOMPARE(scene.draw->scalarBarWidget()->GetEnabled(), 0);
        first->UnRegister(nullptr);
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_vtkdraw_scene)
#include "tst_vtkdraw_scene.moc"
