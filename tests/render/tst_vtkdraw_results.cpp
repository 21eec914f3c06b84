// Result steps on a small mixed model: points moved in place in build order, contour scalars,
// and the scalar bar.
#include <QTemporaryDir>

#include <vtkFloatArray.h>
#include <vtkLookupTable.h>
#include <vtkMapper.h>
#include <vtkPointData.h>
#include <vtkPointSet.h>
#include <vtkScalarBarActor.h>
#include <vtkScalarBarWidget.h>
#include <vtkTextProperty.h>

#include <vtkActor.h>
#include <vtkProperty.h>

#include "LegendText.h"
#include "NodeIndex.h"
#include "StraightLines.h"
#include "RenderTestSupport.h"

using namespace rendertest;
using Values = QVector<double>;

namespace {

struct GroupTags {
    vtkdraw::Group group;
    const char* name;
    QVector<int> tags;  // the node of every point, in build order
};

// Portal frame nodes 1-4 with a second bay 5-8 behind and an apex 9. Frame 12 names an
// unknown node, so the frames group holds only frame 11.
const QVector<GroupTags>& mixedModel()
{
    static const QVector<GroupTags> groups{
        {vtkdraw::FreeNodes, "free nodes", {3, 4, 5, 6, 7, 8, 9}},
        {vtkdraw::FixedNodes, "fixed nodes", {1, 2}},
        {vtkdraw::Frames, "frames", {1, 3}},
        {vtkdraw::EqualDOF, "equalDOF", {3, 4}},
        {vtkdraw::RigidLinks, "rigid links", {7, 8, 5, 6}},
        {vtkdraw::ThreeNode, "triangles", {3, 4, 9}},
        {vtkdraw::FourNode, "quads", {1, 2, 6, 5, 3, 4, 8, 7}},
        {vtkdraw::EightNode, "bricks", {1, 2, 6, 5, 3, 4, 8, 7}},
    };
    resetModelRecord();
    addNodes(
        1,
        {{0, 0, 0}, {4, 0, 0}, {0, 0, 3}, {4, 0, 3}, {0, 4, 0}, {4, 4, 0}, {0, 4, 3}, {4, 4, 3}, {2, 2, 6}});
    addFix(1);
    addFix(2);
    addElement(11, {1, 3});
    addElement(12, {3, 99});
    addElement(13, {2, 4});
    addElement(21, {3, 4, 9});
    addElement(31, {1, 2, 6, 5});
    addElement(32, {3, 4, 8, 7});
    addElement(41, {1, 2, 6, 5, 3, 4, 8, 7});
    ModelRecord* m = modelRecord();
    m->equalDofRetainedNodes = {3};
    m->equalDofConstrainedNodes = {4};
    m->rigidLinkRetainedNodes = {7, 5};
    m->rigidLinkConstrainedNodes = {8, 6};
    return groups;
}

struct Step {
    Values x, y, z;
    explicit Step(int nodes)
    {
        for (int j = 0; j < nodes; ++j) {
            x << 0.1 * (j + 1);
            y << -0.2 * (j + 1);
            z << 0.05 * j;
        }
    }
};

void drawStep(vtkdraw& draw, double scale, const Step& d, const Values& s2 = {}, const Values& s3 = {},
              const Values& s4 = {}, const Values& s8 = {})
{
    draw.attachResultScalars();
    draw.deformFreeNodes(scale, d.x, d.y, d.z);
    draw.deformFixedNodes(scale, d.x, d.y, d.z);
    draw.deformEqualDOF(scale, d.x, d.y, d.z);
    draw.deformRigidLinks(scale, d.x, d.y, d.z);
    draw.deformFrames(scale, d.x, d.y, d.z, s2);
    draw.deformThreeNodeElements(scale, d.x, d.y, d.z, s3);
    draw.deformFourNodeElements(scale, d.x, d.y, d.z, s4);
    draw.deformEightNodeElements(scale, d.x, d.y, d.z, s8);
}

QVector<double> coordinates(vtkPoints* points)
{
    QVector<double> out;
    for (vtkIdType i = 0; i < points->GetNumberOfPoints(); ++i)
        for (int c = 0; c < 3; ++c)
            out << points->GetPoint(i)[c];
    return out;
}

QVector<double> scalarsOf(vtkFloatArray* a)
{
    QVector<double> out;
    for (vtkIdType i = 0; i < a->GetNumberOfTuples(); ++i)
        out << a->GetValue(i);
    return out;
}

const vtkdraw::Group elementGroups[] = {vtkdraw::Frames, vtkdraw::ThreeNode, vtkdraw::FourNode,
                                        vtkdraw::EightNode};

}  // namespace

class tst_vtkdraw_results : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings =
            writeSettings(m_dir.filePath("config.ini"),
                          {{"MODELTRANSPARENCY/AreaFace", 4}, {"MODELCOLOR/Scalars", QColor(10, 200, 30)}});
    }

    // Each point follows its own node; nothing accumulates or is rebuilt; scale 0 is the model;
    // too few displacements for the model move no group and change no scalar.
    void stepMovesEveryGroupInPlace()
    {
        const QVector<GroupTags>& groups = mixedModel();
        Scene scene(m_settings);
        scene.draw->drawModel();
        QVector<QVector<double>> built;
        QVector<vtkPoints*> points;
        QVector<vtkActor*> actors;
        for (const GroupTags& g : groups) {
            built << coordinates(scene.group(g.group).points);
            points << scene.group(g.group).points.GetPointer();
            actors << scene.group(g.group).actor.GetPointer();
        }
        const ModelRecord& m = *modelRecord();
        const NodeIndex index(m.nodeTags);
        const Step d(m.nodeTags.size());
        for (int repeat = 0; repeat < 2; ++repeat) {
            drawStep(*scene.draw, 2.0, d);
            scene.draw->render();
        }
        for (int i = 0; i < groups.size(); ++i) {
            const GroupStore& g = scene.group(groups[i].group);
            QVERIFY2(g.points == points[i] && g.actor == actors[i], groups[i].name);
            QVector<double> expected;
            for (int tag : groups[i].tags) {
                const int j = index.position(tag);
                expected << float(m.nodeX[j] + 2 * d.x[j]) << float(m.nodeY[j] + 2 * d.y[j])
                         << float(m.nodeZ[j] + 2 * d.z[j]);
            }
            QVERIFY2(coordinates(g.points) == expected, groups[i].name);
        }
        drawStep(*scene.draw, 0.0, d);
        for (int i = 0; i < groups.size(); ++i)
            QVERIFY2(coordinates(scene.group(groups[i].group).points) == built[i], groups[i].name);

        scene.draw->setScalarRange(0, 1);
        Step few = d;
        few.z.removeLast();
        drawStep(*scene.draw, 1.0, few, {1, 1});
        for (int i = 0; i < groups.size(); ++i)
            QVERIFY2(coordinates(scene.group(groups[i].group).points) == built[i], groups[i].name);
        QCOMPARE(scalarsOf(scene.group(vtkdraw::Frames).scalars), (Values{0, 0}));

        // A group coloured by a result is opaque, the others keep the settings' look; the
        // undeformed outline stays, and can be hidden.
        drawStep(*scene.draw, 1.0, d, {}, {1, 1, 1});
        const GroupStore& quads = scene.group(vtkdraw::FourNode);
        QCOMPARE(scene.group(vtkdraw::ThreeNode).actor->GetProperty()->GetOpacity(), 1.0);
        QVERIFY(quads.opacity < 1.0 && quads.actor->GetProperty()->GetOpacity() == quads.opacity);
        vtkActor* outline = scene.draw->ghostActor(vtkdraw::FourNode);
        QVERIFY(outline && outline->GetVisibility());
        // The two squares' eight sides, at the undeformed corners.
        const auto corners = [](const QVector<double>& xyz) {
            QSet<QString> out;
            for (int i = 0; i + 2 < xyz.size(); i += 3)
                out << QString("%1 %2 %3").arg(xyz[i]).arg(xyz[i + 1]).arg(xyz[i + 2]);
            return out;
        };
        const QVector<double> drawn = coordinates(vtkPointSet::SafeDownCast(outline->GetMapper()->GetInput())->GetPoints());
        QCOMPARE(drawn.size(), 8 * 2 * 3);
        QCOMPARE(corners(drawn), corners(built[6]));
        scene.draw->setUndeformedGhost(false);
        QVERIFY(!outline->GetVisibility());

        // The legend takes the contour table, a title and the label colour from the settings, and
        // labels the range in readable numbers whenever it changes.
        scene.draw->setLegendTitle("quad stresses: σxx");
        scene.draw->showScalarBar();
        vtkScalarBarActor* bar = scene.draw->scalarBarWidget()->GetScalarBarActor();
        QVERIFY(scene.draw->scalarBarWidget()->GetEnabled());
        QCOMPARE(bar->GetLookupTable(), static_cast<vtkScalarsToColors*>(scene.draw->contourTable()));
        QVERIFY(near(bar->GetTitleTextProperty()->GetColor(), 10 / 255.0, 200 / 255.0, 30 / 255.0));
        QCOMPARE(QString::fromUtf8(bar->GetTitle()),
                 legendFontFile().isEmpty() ? QString("quad stresses: sxx") : QString("quad stresses: σxx"));
        scene.draw->setScalarRange(-188.4, 12345);
        vtkLookupTable* table = scene.draw->contourTable();
        QStringList labels;
        for (vtkIdType i = 0; i < table->GetNumberOfAnnotatedValues(); ++i)
            labels << QString::fromStdString(table->GetAnnotation(i));
        QCOMPARE(labels, (QStringList{"-188", "2940", "6080", "9210", "12.3e3"}));
    }

    // The undeformed outline draws straight runs of element sides as single lines.
    void straightRuns()
    {
        // Nodes 0-3 along x, node 4 above node 1, node 5 on node 3; then a 2 x 1 grid of quads.
        const QVector<double> x{0, 1, 2, 3, 1, 3}, y{0, 0, 0, 0, 0, 0}, z{0, 0, 0, 0, 1, 0};
        QCOMPARE(joinStraightRuns({0, 1, 1, 2, 2, 3, 1, 4, 3, 5}, x, y, z), (QVector<int>{0, 3, 1, 4}));
        const QVector<double> gx{0, 1, 2, 0, 1, 2}, gy{0, 0, 0, 1, 1, 1}, gz(6, 0.0);
        const QVector<int> sides = uniqueEdges({0, 1, 4, 3, 1, 2, 5, 4}, 4);
        QCOMPARE(sides.size(), 14);  // the shared side once
        QCOMPARE(joinStraightRuns(sides, gx, gy, gz), (QVector<int>{0, 2, 1, 4, 3, 5, 3, 0, 2, 5}));
    }

    void legendNumbers()
    {
        const QPair<double, QString> cases[] = {
            {0, "0"},         {-188.4, "-188"},   {0.125, "0.125"},     {1.5, "1.5"},
            {9999, "10e3"},   {12345, "12.3e3"},  {0.001, "0.001"},     {0.00099, "990e-6"},
            {1e-12, "1e-12"}, {-1.23456e8, "-123e6"}, {999.96, "1000"},
        };
        for (const auto& c : cases)
            QCOMPARE(legendNumber(c.first), c.second);
    }

    void contourScalars_data()
    {
        QTest::addColumn<QString>("values");  // what each element group is given
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no result: middle of the range") << "empty" << 2.0 << 6.0 << "middle";
        QTest::newRow("one value short: middle") << "short" << 2.0 << 6.0 << "middle";
        QTest::newRow("values mapped onto the range") << "ramp" << 2.0 << 6.0 << "ramp";
        QTest::newRow("all 0.5 with [-10, 10]") << "half" << -10.0 << 10.0 << "zero";
        QTest::newRow("before any result") << "ramp" << 0.0 << 0.0 << "zero";
    }
    void contourScalars()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(QString, values);
        QFETCH(QString, expected);
        mixedModel();
        Scene scene(m_settings);
        scene.draw->drawModel();
        scene.draw->setScalarRange(min, max);
        Values given[4];
        for (int i = 0; i < 4; ++i) {
            const int n = int(scene.group(elementGroups[i]).points->GetNumberOfPoints());
            const int size = values == "empty" ? 0 : values == "short" ? n - 1 : n;
            for (int k = 0; k < size; ++k)
                given[i] << (values == "half" ? 0.5 : double(k) / n);
        }
        drawStep(*scene.draw, 1.0, Step(modelRecord()->nodeTags.size()), given[0], given[1], given[2],
                 given[3]);
        for (int i = 0; i < 4; ++i) {
            const GroupStore& g = scene.group(elementGroups[i]);
            const int n = int(g.points->GetNumberOfPoints());
            Values want;
            for (int k = 0; k < n; ++k)
                want << float(expected == "middle" ? (min + max) / 2
                              : expected == "zero" ? 0.0
                                                   : min + (max - min) * k / n);
            QCOMPARE(scalarsOf(g.scalars), want);
            QCOMPARE(g.dataSet->GetPointData()->GetScalars(), static_cast<vtkDataArray*>(g.scalars));
            QCOMPARE(g.mapper->GetLookupTable(),
                     static_cast<vtkScalarsToColors*>(scene.draw->contourTable()));
            QVERIFY(g.mapper->GetScalarRange()[0] == min && g.mapper->GetScalarRange()[1] == max);
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_vtkdraw_results)
#include "tst_vtkdraw_results.moc"
