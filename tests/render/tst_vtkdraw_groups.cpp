// The eight actor groups and their labels, inspected as VTK objects.
#include <vtkCellArray.h>
#include <vtkCellType.h>
#include <vtkCoordinate.h>
#include <vtkFloatArray.h>
#include <vtkIntArray.h>
#include <vtkLabeledDataMapper.h>
#include <vtkMapper.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPolyData.h>
#include <vtkProperty2D.h>
#include <vtkTextProperty.h>
#include <vtkTextRenderer.h>
#include <vtkUnstructuredGrid.h>

#include "RenderTestSupport.h"

using namespace rendertest;

namespace {

QString allPoints(vtkPoints* points)
{
    QStringList out;
    for (vtkIdType i = 0; points && i < points->GetNumberOfPoints(); ++i)
        out << vec(points->GetPoint(i));
    return out.join(' ');
}

QVector<int> tagsOf(vtkDataArray* tags)
{
    auto* ints = vtkIntArray::SafeDownCast(tags);
    QVector<int> out;
    for (vtkIdType i = 0; ints && i < ints->GetNumberOfTuples(); ++i)
        out << ints->GetValue(i);
    return out;
}

// The drawn labels of a group: where each one's text lies on the screen, in pixels.
struct DrawnLabel {
    double x, y;
    int w, h;
};
QVector<DrawnLabel> drawnLabels(const Scene& scene, vtkdraw::Group group)
{
    vtkActor2D* actor = scene.group(group).labelActor;
    auto* mapper = vtkLabeledDataMapper::SafeDownCast(actor->GetMapper());
    vtkDataSet* input = mapper->GetInput();
    auto* tags = vtkIntArray::SafeDownCast(input->GetPointData()->GetScalars());
    vtkNew<vtkCoordinate> place;
    place->SetCoordinateSystemToWorld();
    QVector<DrawnLabel> out;
    for (vtkIdType i = 0; tags && i < input->GetNumberOfPoints(); ++i) {
        place->SetValue(input->GetPoint(i));
        const double* d = place->GetComputedDoubleDisplayValue(scene.renderer());
        int box[4] = {0, 0, 0, 0};
        vtkTextRenderer::GetInstance()->GetBoundingBox(mapper->GetLabelTextProperty(),
                                                       std::to_string(tags->GetValue(i)), box, 72);
        out.append({d[0], d[1], box[1] - box[0] + 1, box[3] - box[2] + 1});
    }
    return out;
}

bool overlap(const DrawnLabel& a, const DrawnLabel& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool colorIs(vtkProperty* property, const QColor& c)
{
    return near(property->GetColor(), c.redF(), c.greenF(), c.blueF());
}

}  // namespace

class tst_vtkdraw_groups : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = writeSettings(m_dir.filePath("config.ini"));
        resetModelRecord();
    }

    void portalGroups()
    {
        fillPortal();
        addFix(2);  // a second fix command on the same node
        addNode(5, 2, 0, 5);
        Scene scene(m_settings);
        scene.draw->drawModel();
        const GroupStore& frames = scene.group(vtkdraw::Frames);
        QCOMPARE(allPoints(frames.points),
                 QString("(0, 0, 0) (0, 0, 3) (0, 0, 3) (4, 0, 3) (4, 0, 0) (4, 0, 3)"));
        auto* poly = vtkPolyData::SafeDownCast(frames.dataSet);
        QCOMPARE(poly->GetNumberOfLines(), vtkIdType(3));
        vtkIdType n = 0;
        const vtkIdType* ids = nullptr;
        poly->GetCellPoints(1, n, ids);
        QVERIFY2(n == 2 && ids[0] == 2 && ids[1] == 3, "frames do not share points");
        QCOMPARE(tagsOf(frames.tags), (QVector<int>{11, 12, 13}));
        QVERIFY2(!poly->GetPointData()->GetScalars(), "result scalars are attached only by a result step");

        const GroupStore& free = scene.group(vtkdraw::FreeNodes);
        const GroupStore& fixed = scene.group(vtkdraw::FixedNodes);
        QCOMPARE(tagsOf(fixed.tags), (QVector<int>{1, 2}));
        QCOMPARE(allPoints(fixed.points), QString("(0, 0, 0) (4, 0, 0)"));
        QCOMPARE(tagsOf(free.tags), (QVector<int>{3, 4, 5}));
        QCOMPARE(allPoints(free.points), QString("(0, 0, 3) (4, 0, 3) (2, 0, 5)"));
    }

    // A failed script can leave tags that name no node: only the group holding one stops,
    // and it keeps the labels of its previous build.
    void unknownNodeStopsOnlyItsGroup()
    {
        fillPortal();
        addNode(5, 0, 4, 0);
        addNode(6, 4, 4, 0);
        addElement(21, {1, 2, 6, 5});
        Scene scene(m_settings);
        scene.draw->drawModel();
        vtkSmartPointer<vtkActor2D> labels = scene.group(vtkdraw::FourNode).labelActor;
        QVERIFY(labels);

        addElement(22, {2, 99, 6, 5});  // node 99 does not exist
        addElement(23, {1, 2, 6, 5});
        addElement(14, {5, 6});
        addNode(3, 9, 9, 9);  // a repeated tag: its first definition counts
        ModelRecord* m = modelRecord();
        m->equalDofRetainedNodes = {1, 98, 2};
        m->equalDofConstrainedNodes = {3, 4, 4};
        m->rigidLinkRetainedNodes = {3, 4};
        m->rigidLinkConstrainedNodes = {4};  // half a pair
        scene.draw->drawModel();
        const GroupStore& quads = scene.group(vtkdraw::FourNode);
        QCOMPARE(quads.points->GetNumberOfPoints(), vtkIdType(4));
        QCOMPARE(tagsOf(quads.tags), QVector<int>{21});
        QVERIFY2(!quads.actor && !quads.edgeActor, "a stopped group adds no actor");
        QCOMPARE(quads.labelActor.GetPointer(), labels.GetPointer());
        scene.draw->showElementLabels(true);
        QVERIFY(scene.shows(labels));
        // Free, fixed, frames, links, and faces plus edges of triangles and solids.
        QCOMPARE(scene.renderer()->GetActors()->GetNumberOfItems(), 8);
        QVERIFY(!scene.group(vtkdraw::EqualDOF).actor);
        QCOMPARE(allPoints(scene.group(vtkdraw::RigidLinks).points), QString("(0, 0, 3) (4, 0, 3)"));
        QCOMPARE(tagsOf(scene.group(vtkdraw::Frames).tags), (QVector<int>{11, 12, 13, 14}));
    }

    // Quad, triangle and two solids on the portal's feet; colours, widths and labels from settings.
    void appearanceAndLabels()
    {
        m_settings =
            writeSettings(m_dir.filePath("config.ini"), {{"MODELCOLOR/Frames", QColor(200, 10, 20)},
                                                         {"MODELTRANSPARENCY/Frames", 5},
                                                         {"MODELCOLOR/AreaEdge", QColor(1, 2, 3)},
                                                         {"MODELCOLOR/SolidFace", {}},
                                                         {"MODELTRANSPARENCY/SolidFace", {}},
                                                         {"SIZEANDWIDTH/LineWidth", 3},
                                                         {"SIZEANDWIDTH/LabelSize", 35},
                                                         {"LABELCOLOR/Elements", QColor(255, 0, 0)}});
        fillPortal();
        addNodes(5, {{0, 4, 0}, {4, 4, 0}, {0, 0, 9}, {4, 0, 9}, {4, 4, 9}, {0, 4, 9}});
        addElement(21, {1, 2, 6, 5});
        addElement(31, {1, 2, 5});
        addElement(41, {1, 2, 6, 5, 7, 8, 9, 10});
        addElement(42, {1, 2, 6, 5, 7, 8, 9, 10});
        Scene scene(m_settings);
        scene.draw->drawModel();

        vtkProperty* frames = scene.group(vtkdraw::Frames).actor->GetProperty();
        QVERIFY(colorIs(frames, QColor(200, 10, 20)) && frames->GetOpacity() == 0.5 &&
                frames->GetLineWidth() == 3.0f);
        const GroupStore& quads = scene.group(vtkdraw::FourNode);
        vtkProperty* edges = quads.edgeActor->GetProperty();
        QVERIFY(colorIs(edges, QColor(1, 2, 3)) && edges->GetLineWidth() == 1.0f);
        const GroupStore& solids = scene.group(vtkdraw::EightNode);
        QVERIFY2(colorIs(solids.actor->GetProperty(), QColor(255, 128, 255)), "a missing colour is the default");
        QCOMPARE(solids.actor->GetProperty()->GetOpacity(), 0.5);

        // Solids keep their corner order, each with points of its own.
        auto* grid = vtkUnstructuredGrid::SafeDownCast(solids.dataSet);
        QVERIFY(grid && grid->GetNumberOfCells() == 2 && grid->GetCellType(1) == VTK_HEXAHEDRON);
        QCOMPARE(solids.points->GetNumberOfPoints(), vtkIdType(16));
        QCOMPARE(vec(solids.points->GetPoint(14)), QString("(4, 4, 9)"));
        QCOMPARE(tagsOf(solids.tags), (QVector<int>{41, 42}));

        QVERIFY2(!quads.labelData, "anchors wait for the labels to be drawn");
        // Anchors come from the model's geometry: a step shown before or after does not move them.
        const QVector<double> one(10, 1.0);
        scene.draw->deformFreeNodes(2.0, one, one, one);
        scene.draw->deformFrames(2.0, one, one, one, {});
        scene.draw->showFreeNodeLabels(true);
        scene.draw->showElementLabels(true);
        scene.draw->render();
        scene.draw->deformFreeNodes(5.0, one, one, one);
        scene.draw->render();
        QCOMPARE(vec(scene.group(vtkdraw::FreeNodes).points->GetPoint(0)), QString("(5, 5, 8)"));

        // Labels sit at cell centres and carry the tags.
        QCOMPARE(allPoints(scene.group(vtkdraw::Frames).labelData->GetPoints()),
                 QString("(0, 0, 1.5) (2, 0, 3) (4, 0, 1.5)"));
        QCOMPARE(allPoints(quads.labelData->GetPoints()), QString("(2, 2, 0)"));
        QCOMPARE(allPoints(solids.labelData->GetPoints()), QString("(2, 2, 4.5) (2, 2, 4.5)"));
        const double* c = scene.group(vtkdraw::ThreeNode).labelData->GetPoints()->GetPoint(0);
        QVERIFY2(near(c, 4.0 / 3, 4.0 / 3, 0, 1e-6), qPrintable(vec(c)));
        const GroupStore& freeNodes = scene.group(vtkdraw::FreeNodes);
        QCOMPARE(allPoints(freeNodes.labelData->GetPoints()),
                 QString("(0, 0, 3) (4, 0, 3) (0, 4, 0) (4, 4, 0) (0, 0, 9) (4, 0, 9) (4, 4, 9) (0, 4, 9)"));
        QCOMPARE(tagsOf(quads.labelData->GetPointData()->GetScalars()), QVector<int>{21});
        auto* mapper = vtkLabeledDataMapper::SafeDownCast(quads.labelActor->GetMapper());
        QCOMPARE(mapper->GetLabelTextProperty()->GetFontSize(), 35);
        QVERIFY(near(quads.labelActor->GetProperty()->GetColor(), 1, 0, 0));
    }

    // Labels draw the tags that fit the view side by side, never one over another; a view that
    // has room for every tag draws them all.
    void labelsThatFitTheView_data()
    {
        QTest::addColumn<int>("side");     // free nodes on a side x side grid, 1 apart
        QTest::addColumn<bool>("all");     // every tag drawn
        QTest::addColumn<int>("atLeast");  // tags drawn
        QTest::newRow("nine nodes") << 3 << true << 9;
        QTest::newRow("3,600 nodes") << 60 << false << 15;
    }
    void labelsThatFitTheView()
    {
        QFETCH(int, side);
        QFETCH(bool, all);
        QFETCH(int, atLeast);
        resetModelRecord();
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i)
                addNode(1 + i + side * j, i, j, 0);
        Scene scene(m_settings);
        scene.drawFacing("XY+");
        scene.draw->showFreeNodeLabels(true);
        scene.draw->render();

        const QVector<DrawnLabel> drawn = drawnLabels(scene, vtkdraw::FreeNodes);
        QVERIFY2(drawn.size() >= atLeast, qPrintable(QString::number(drawn.size())));
        QCOMPARE(drawn.size() == side * side, all);
        QCOMPARE(scene.draw->labelNote().isEmpty(), all);
        const int* size = scene.renderer()->GetSize();
        for (int a = 0; a < drawn.size(); ++a) {
            QVERIFY(drawn[a].x >= 0 && drawn[a].x <= size[0] && drawn[a].y >= 0 && drawn[a].y <= size[1]);
            for (int b = a + 1; b < drawn.size(); ++b)
                QVERIFY2(!overlap(drawn[a], drawn[b]), qPrintable(QString("labels %1 and %2").arg(a).arg(b)));
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_vtkdraw_groups)
#include "tst_vtkdraw_groups.moc"
