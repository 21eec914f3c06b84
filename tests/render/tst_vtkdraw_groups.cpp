// The eight actor groups and their labels, inspected as VTK objects.
#include <QtTest>

#include <cmath>

#include <vtkActor.h>
#include <vtkActor2D.h>
#include <vtkCellArray.h>
#include <vtkCellType.h>
#include <vtkFloatArray.h>
#include <vtkIntArray.h>
#include <vtkLabeledDataMapper.h>
#include <vtkMapper.h>
#include <vtkPointData.h>
#include <vtkPointSet.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkProperty2D.h>
#include <vtkRenderer.h>
#include <vtkTextProperty.h>
#include <vtkUnstructuredGrid.h>

#include "ModelRecord.h"
#include "RenderTestSupport.h"
#include "customMouseInteractorStyle.h"
#include "vtkdraw.h"

using namespace rendertest;

namespace {

QString pointText(vtkPoints* points, vtkIdType i)
{
    double p[3];
    points->GetPoint(i, p);
    return QStringLiteral("(%1, %2, %3)").arg(p[0]).arg(p[1]).arg(p[2]);
}

QString allPoints(vtkPoints* points)
{
    QStringList out;
    for (vtkIdType i = 0; points && i < points->GetNumberOfPoints(); ++i)
        out << pointText(points, i);
    return out.join(' ');
}

QVector<int> tagsOf(vtkIntArray* tags)
{
    QVector<int> out;
    for (vtkIdType i = 0; tags && i < tags->GetNumberOfTuples(); ++i)
        out << tags->GetValue(i);
    return out;
}

bool colorIs(vtkActor* actor, const QColor& c)
{
    const double* rgb = actor->GetProperty()->GetColor();
    return std::abs(rgb[0] - c.redF()) < 1e-9 && std::abs(rgb[1] - c.greenF()) < 1e-9
           && std::abs(rgb[2] - c.blueF()) < 1e-9;
}

}  // namespace

class tst_vtkdraw_groups : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = writeSettings(m_dir.path());
        resetModelRecord();
    }

    void framesDoNotSharePoints()
    {
        fillPortal();
        Scene scene(m_settings);
        scene.draw->drawModel();
        const GroupStore& frames = scene.draw->group(vtkdraw::Frames);
        QCOMPARE(allPoints(frames.points), QString("(0, 0, 0) (0, 0, 3) (0, 0, 3) (4, 0, 3) (4, 0, 0) (4, 0, 3)"));
        auto* poly = vtkPolyData::SafeDownCast(frames.dataSet);
        QVERIFY(poly);
        QCOMPARE(poly->GetNumberOfLines(), vtkIdType(3));
        QCOMPARE(poly->GetCellType(1), VTK_LINE);
        vtkIdType n = 0;
        const vtkIdType* ids = nullptr;
        poly->GetCellPoints(1, n, ids);
        QCOMPARE(n, vtkIdType(2));
        QCOMPARE(ids[0], vtkIdType(2));
        QCOMPARE(ids[1], vtkIdType(3));
        QCOMPARE(tagsOf(frames.tags), (QVector<int>{11, 12, 13}));
        QCOMPARE(QString(frames.tags->GetName()), QString("twoNodeElemLabels"));
        QCOMPARE(frames.scalars->GetNumberOfTuples(), vtkIdType(6));
        QCOMPARE(frames.scalars->GetRange()[0], 0.0);
        QCOMPARE(frames.scalars->GetRange()[1], 0.0);
        QVERIFY2(!poly->GetPointData()->GetScalars(), "result scalars are attached only by a result step");
        QVERIFY(vtkPolyDataMapper::SafeDownCast(frames.mapper));
        QVERIFY(scene.draw->renderer()->HasViewProp(frames.actor));
    }

    void restrainedNodesAreDrawnOnce()
    {
        fillPortal();
        addFix(2);  // a second fix command on the same node
        addNode(5, 2, 0, 5);
        Scene scene(m_settings);
        scene.draw->drawModel();
        const GroupStore& free = scene.draw->group(vtkdraw::FreeNodes);
        const GroupStore& fixed = scene.draw->group(vtkdraw::FixedNodes);
        QCOMPARE(tagsOf(free.tags), (QVector<int>{3, 4, 5}));
        QCOMPARE(tagsOf(fixed.tags), (QVector<int>{1, 2}));
        QCOMPARE(QString(free.tags->GetName()), QString("freeNodeLabels"));
        QCOMPARE(QString(fixed.tags->GetName()), QString("fixedNodeLabels"));
        QCOMPARE(allPoints(fixed.points), QString("(0, 0, 0) (4, 0, 0)"));
        QCOMPARE(allPoints(free.points), QString("(0, 0, 3) (4, 0, 3) (2, 0, 5)"));
        QCOMPARE(vtkPolyData::SafeDownCast(free.dataSet)->GetNumberOfVerts(), vtkIdType(3));
    }

    void repeatedNodeTagUsesFirstDefinition()
    {
        addNode(1, 0, 0, 0);
        addNode(2, 1, 0, 0);
        addNode(2, 9, 9, 9);
        addElement(7, {1, 2});
        Scene scene(m_settings);
        scene.draw->drawModel();
        QCOMPARE(allPoints(scene.draw->group(vtkdraw::Frames).points), QString("(0, 0, 0) (1, 0, 0)"));
    }

    void unknownNodeStopsOnlyItsGroup()
    {
        fillPortal();
        addNode(5, 0, 4, 0);
        addNode(6, 4, 4, 0);
        addElement(21, {1, 2, 6, 5});
        addElement(22, {2, 99, 6, 5});  // node 99 does not exist
        addElement(23, {1, 2, 6, 5});
        addElement(14, {5, 6});
        ModelRecord* m = modelRecord();
        m->equalDofRetainedNodes = {1, 98, 2};
        m->equalDofConstrainedNodes = {3, 4, 4};
        m->rigidLinkRetainedNodes = {3, 4};
        m->rigidLinkConstrainedNodes = {4};  // half a pair left by a failed script

        Scene scene(m_settings);
        scene.draw->drawModel();
        const GroupStore& quads = scene.draw->group(vtkdraw::FourNode);
        QCOMPARE(quads.points->GetNumberOfPoints(), vtkIdType(4));
        QCOMPARE(tagsOf(quads.tags), QVector<int>{21});
        QVERIFY2(!quads.actor && !quads.edgeActor, "a stopped group adds no actor");
        QVERIFY2(!quads.labelActor, "nor builds labels");
        // Free, fixed, frames, links, and faces plus edges of triangles and solids.
        QCOMPARE(scene.draw->renderer()->GetActors()->GetNumberOfItems(), 8);

        const GroupStore& equal = scene.draw->group(vtkdraw::EqualDOF);
        QCOMPARE(equal.points->GetNumberOfPoints(), vtkIdType(2));
        QVERIFY(!equal.actor);

        const GroupStore& links = scene.draw->group(vtkdraw::RigidLinks);
        QCOMPARE(allPoints(links.points), QString("(0, 0, 3) (4, 0, 3)"));
        QVERIFY(links.actor && scene.draw->renderer()->HasViewProp(links.actor));

        const GroupStore& frames = scene.draw->group(vtkdraw::Frames);
        QCOMPARE(tagsOf(frames.tags), (QVector<int>{11, 12, 13, 14}));
        QVERIFY(scene.draw->renderer()->HasViewProp(frames.actor));
        QVERIFY(scene.draw->renderer()->HasViewProp(scene.draw->group(vtkdraw::FreeNodes).actor));
    }

    void stoppedGroupKeepsPreviousLabels()
    {
        addNode(1, 0, 0, 0);
        addNode(2, 1, 0, 0);
        addNode(3, 1, 1, 0);
        addElement(31, {1, 2, 3});
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkSmartPointer<vtkActor2D> labels = scene.draw->group(vtkdraw::ThreeNode).labelActor;
        QVERIFY(labels);
        modelRecord()->elementNodes3[0] = 77;
        scene.draw->drawModel();
        QCOMPARE(scene.draw->group(vtkdraw::ThreeNode).labelActor.GetPointer(), labels.GetPointer());
        scene.draw->showElementLabels(true);
        QVERIFY(scene.draw->renderer()->HasViewProp(labels));
        QCOMPARE(scene.draw->group(vtkdraw::ThreeNode).points->GetNumberOfPoints(), vtkIdType(0));
    }

    void settingsDriveAppearance()
    {
        m_settings = writeSettings(m_dir.path(), [](QSettings& s) {
            s.setValue("MODELCOLOR/Frames", QColor(200, 10, 20));
            s.setValue("MODELTRANSPARENCY/Frames", 5);
            s.setValue("MODELTRANSPARENCY/Points", 0);
            s.setValue("MODELTRANSPARENCY/Restraints", 10);
            s.setValue("MODELCOLOR/AreaEdge", QColor(1, 2, 3));
            s.setValue("MODELTRANSPARENCY/AreaEdge", 7);
            s.remove("MODELCOLOR/SolidFace");
            s.remove("MODELTRANSPARENCY/SolidFace");
            s.setValue("SIZEANDWIDTH/PointSize", 9);
            s.setValue("SIZEANDWIDTH/LineWidth", 3);
        });
        fillPortal();
        addNode(5, 0, 4, 0);
        addNode(6, 4, 4, 0);
        addNode(7, 0, 0, 9);
        addNode(8, 4, 0, 9);
        addNode(9, 4, 4, 9);
        addNode(10, 0, 4, 9);
        addElement(21, {1, 2, 6, 5});
        addElement(41, {1, 2, 6, 5, 7, 8, 9, 10});
        modelRecord()->equalDofRetainedNodes = {1};
        modelRecord()->equalDofConstrainedNodes = {3};
        Scene scene(m_settings);
        scene.draw->drawModel();

        vtkActor* frames = scene.draw->group(vtkdraw::Frames).actor;
        QVERIFY(colorIs(frames, QColor(200, 10, 20)));
        QCOMPARE(frames->GetProperty()->GetOpacity(), 0.5);
        QCOMPARE(frames->GetProperty()->GetLineWidth(), 3.0f);
        QCOMPARE(scene.draw->group(vtkdraw::FreeNodes).actor->GetProperty()->GetOpacity(), 0.0);
        QCOMPARE(scene.draw->group(vtkdraw::FreeNodes).actor->GetProperty()->GetPointSize(), 9.0f);
        QCOMPARE(scene.draw->group(vtkdraw::FixedNodes).actor->GetProperty()->GetOpacity(), 1.0);
        QVERIFY(colorIs(scene.draw->group(vtkdraw::FixedNodes).actor, QColor(0, 255, 0)));
        QCOMPARE(scene.draw->group(vtkdraw::EqualDOF).actor->GetProperty()->GetLineWidth(), 3.0f);
        QVERIFY(colorIs(scene.draw->group(vtkdraw::EqualDOF).actor, QColor(87, 171, 193)));

        const GroupStore& quads = scene.draw->group(vtkdraw::FourNode);
        QVERIFY(colorIs(quads.actor, QColor(255, 128, 255)));
        QVERIFY(colorIs(quads.edgeActor, QColor(1, 2, 3)));
        QCOMPARE(quads.edgeActor->GetProperty()->GetOpacity(), 0.7);
        QCOMPARE(quads.edgeActor->GetProperty()->GetLineWidth(), 1.0f);
        QCOMPARE(quads.edgeActor->GetMapper()->GetLookupTable(), (vtkScalarsToColors*)scene.draw->edgeTable());

        const GroupStore& solids = scene.draw->group(vtkdraw::EightNode);
        QVERIFY2(colorIs(solids.actor, QColor(0, 0, 0)), "missing colour is black");
        QCOMPARE(solids.actor->GetProperty()->GetOpacity(), 0.0);
        QVERIFY(colorIs(solids.edgeActor, QColor(128, 0, 0)));
        QCOMPARE(solids.edgeActor->GetMapper()->GetLookupTable(), (vtkScalarsToColors*)scene.draw->edgeTable());
    }

    void solidsKeepCornerOrder()
    {
        const double corners[8][3] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0},
                                      {0, 0, 2}, {2, 0, 2}, {2, 2, 2}, {0, 2, 2}};
        for (int i = 0; i < 8; ++i)
            addNode(i + 1, corners[i][0], corners[i][1], corners[i][2]);
        addNode(9, 4, 0, 0);
        addElement(50, {1, 2, 3, 4, 5, 6, 7, 8});
        addElement(51, {2, 9, 3, 4, 5, 6, 7, 8});
        Scene scene(m_settings);
        scene.draw->drawModel();
        const GroupStore& solids = scene.draw->group(vtkdraw::EightNode);
        auto* grid = vtkUnstructuredGrid::SafeDownCast(solids.dataSet);
        QVERIFY(grid);
        QCOMPARE(grid->GetNumberOfCells(), vtkIdType(2));
        QCOMPARE(grid->GetCellType(0), VTK_HEXAHEDRON);
        QCOMPARE(solids.points->GetNumberOfPoints(), vtkIdType(16));
        QCOMPARE(pointText(solids.points, 9), QString("(4, 0, 0)"));
        QCOMPARE(pointText(solids.points, 14), QString("(2, 2, 2)"));
        QCOMPARE(tagsOf(solids.tags), (QVector<int>{50, 51}));
        QCOMPARE(solids.scalars->GetNumberOfTuples(), vtkIdType(16));
    }

    void labelsSitAtCellCentres()
    {
        m_settings = writeSettings(m_dir.path(), [](QSettings& s) {
            s.setValue("SIZEANDWIDTH/LabelSize", 35);
            s.setValue("LABELCOLOR/Elements", QColor(255, 0, 0));
            s.setValue("LABELCOLOR/Points", QColor(0, 0, 255));
        });
        addNode(1, 0, 0, 0);
        addNode(2, 4, 0, 0);
        addNode(3, 4, 2, 0);
        addNode(4, 0, 2, 0);
        addNode(5, 0, 0, 6);
        addElement(60, {1, 5});
        addElement(61, {1, 2, 3, 4});
        addElement(62, {1, 2, 4});
        Scene scene(m_settings);
        scene.draw->drawModel();

        const GroupStore& frames = scene.draw->group(vtkdraw::Frames);
        QCOMPARE(allPoints(frames.labelData->GetPoints()), QString("(0, 0, 3)"));
        const GroupStore& quads = scene.draw->group(vtkdraw::FourNode);
        QCOMPARE(allPoints(quads.labelData->GetPoints()), QString("(2, 1, 0)"));
        const GroupStore& triangles = scene.draw->group(vtkdraw::ThreeNode);
        double c[3];
        triangles.labelData->GetPoints()->GetPoint(0, c);
        QVERIFY(std::abs(c[0] - 4.0 / 3) < 1e-6 && std::abs(c[1] - 2.0 / 3) < 1e-6 && c[2] == 0.0);
        const GroupStore& free = scene.draw->group(vtkdraw::FreeNodes);
        QCOMPARE(allPoints(free.labelData->GetPoints()), allPoints(free.points));

        auto* scalars = vtkIntArray::SafeDownCast(quads.labelData->GetPointData()->GetScalars());
        QVERIFY(scalars);
        QCOMPARE(QString(scalars->GetName()), QString("fourNodeElemLabels"));
        QCOMPARE(scalars->GetValue(0), 61);
        QCOMPARE(tagsOf(vtkIntArray::SafeDownCast(free.labelData->GetPointData()->GetScalars())),
                 (QVector<int>{1, 2, 3, 4, 5}));

        auto* mapper = vtkLabeledDataMapper::SafeDownCast(quads.labelActor->GetMapper());
        QVERIFY(mapper);
        QCOMPARE(mapper->GetLabelMode(), VTK_LABEL_SCALARS);
        QCOMPARE(mapper->GetLabelTextProperty()->GetFontSize(), 35);
        QCOMPARE(mapper->GetLabelTextProperty()->GetFontFamily(), VTK_COURIER);
        const double* red = quads.labelActor->GetProperty()->GetColor();
        QVERIFY(red[0] == 1.0 && red[1] == 0.0 && red[2] == 0.0);
        const double* blue = free.labelActor->GetProperty()->GetColor();
        QVERIFY(blue[0] == 0.0 && blue[1] == 0.0 && blue[2] == 1.0);
        QVERIFY2(!scene.draw->renderer()->HasViewProp(quads.labelActor), "labels are built, not shown");
    }

    void labelSwitches()
    {
        fillPortal();
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkRenderer* renderer = scene.draw->renderer();
        customMouseInteractorStyle* style = scene.draw->style();

        scene.draw->showFreeNodeLabels(true);
        QVERIFY(renderer->HasViewProp(scene.draw->group(vtkdraw::FreeNodes).labelActor));
        QVERIFY(!renderer->HasViewProp(scene.draw->group(vtkdraw::FixedNodes).labelActor));
        QVERIFY(style->freeNodeLabelsShown && !style->fixedNodeLabelsShown);
        scene.draw->showFixedNodeLabels(true);
        QVERIFY(renderer->HasViewProp(scene.draw->group(vtkdraw::FixedNodes).labelActor));
        scene.draw->showElementLabels(true);
        for (auto g : {vtkdraw::Frames, vtkdraw::ThreeNode, vtkdraw::FourNode, vtkdraw::EightNode})
            QVERIFY(renderer->HasViewProp(scene.draw->group(g).labelActor));
        QVERIFY(style->elementLabelsShown);
        scene.draw->showFreeNodeLabels(false);
        scene.draw->showElementLabels(false);
        QVERIFY(!renderer->HasViewProp(scene.draw->group(vtkdraw::FreeNodes).labelActor));
        QVERIFY(!renderer->HasViewProp(scene.draw->group(vtkdraw::Frames).labelActor));
        QVERIFY(!style->freeNodeLabelsShown && !style->elementLabelsShown && style->fixedNodeLabelsShown);

        // A refresh builds new label actors that stay out until switched on again.
        vtkActor2D* oldFixed = scene.draw->group(vtkdraw::FixedNodes).labelActor;
        scene.draw->drawModel();
        QVERIFY(scene.draw->group(vtkdraw::FixedNodes).labelActor.GetPointer() != oldFixed);
        QVERIFY(!renderer->HasViewProp(scene.draw->group(vtkdraw::FixedNodes).labelActor));
        QVERIFY(style->fixedNodeLabelsShown);
    }

    void emptyModelStillAddsActors()
    {
        Scene scene(m_settings);
        scene.draw->drawModel();
        // Free, fixed, frames, two pairs groups, and face plus edges for three element groups.
        QCOMPARE(scene.draw->renderer()->GetActors()->GetNumberOfItems(), 11);
        for (int g = 0; g < vtkdraw::groupCount; ++g)
            QCOMPARE(scene.draw->group(vtkdraw::Group(g)).points->GetNumberOfPoints(), vtkIdType(0));
    }

    // A real model: 50,000 nodes and 150,000 elements must draw in seconds, not hours.
    void largeModelBuildsInLinearTime()
    {
        const int side = 224;  // 224 x 224 = 50,176 nodes
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                addNode(i * side + j + 1, i, j, 0);
        int tag = 1;
        for (int i = 0; i + 1 < side; ++i) {
            for (int j = 0; j + 1 < side; ++j) {
                const int a = i * side + j + 1, b = a + side, c = b + 1, d = a + 1;
                addElement(tag++, {a, b, c, d});
                addElement(tag++, {a, b});
                addElement(tag++, {a, d});
            }
        }
        QVERIFY(modelRecord()->elementTags.size() > 148000);
        Scene scene(m_settings);
        QElapsedTimer timer;
        timer.start();
        scene.draw->drawModel();
        const qint64 ms = timer.elapsed();
        qInfo("drew %d nodes and %d elements in %lld ms", int(modelRecord()->nodeTags.size()),
              int(modelRecord()->elementTags.size()), ms);
        QCOMPARE(scene.draw->group(vtkdraw::FourNode).points->GetNumberOfPoints(),
                 vtkIdType((side - 1) * (side - 1) * 4));
        QVERIFY2(ms < 60000, "building must stay linear in the model size");
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_vtkdraw_groups)
#include "tst_vtkdraw_groups.moc"
