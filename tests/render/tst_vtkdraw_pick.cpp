// Picking and highlighting in an offscreen view: a known node and element found at their pixels
// (with every label shown), deformed points found where a step draws them, the outline's colour
// on screen until it is cleared or the model is rebuilt, and the first view of a 2-D model.
#include <QTemporaryDir>

#include <vtkRenderWindow.h>

#include "ModelInspection.h"
#include "RenderTestSupport.h"

using namespace rendertest;

namespace {

// The portal of fillPortal in the XZ plane (nodes 1-4, frames 11-13, 1 and 2 fixed), a
// quadrilateral 21 beside it on nodes 5-8, and node 9 in front of node 10, 5 pixels aside
// (the view shows about 30 pixels a metre): within a node's reach, but not under the pointer.
void fillPortalAndPanel()
{
    fillPortal();
    addNodes(5, {{6, 0, 0}, {8, 0, 0}, {8, 0, 2}, {6, 0, 2}, {1.0, 5, 1}, {1.17, 0, 1}});
    addElement(21, {5, 6, 7, 8});
    modelRecord()->ndm = 3;
}

struct Pixel {
    int x, y;
};

Pixel pixelOf(vtkRenderer* renderer, double x, double y, double z)
{
    renderer->SetWorldPoint(x, y, z, 1.0);
    renderer->WorldToDisplay();
    const double* d = renderer->GetDisplayPoint();
    return {int(std::lround(d[0])), int(std::lround(d[1]))};
}

QString describe(const PickedItem& item)
{
    const ModelRecord& m = *modelRecord();
    if (item.kind == PickedItem::Node)
        return QStringLiteral("node %1").arg(m.nodeTags[item.entry]);
    if (item.kind == PickedItem::Element)
        return QStringLiteral("element %1").arg(m.elementTags[item.entry]);
    return QStringLiteral("nothing");
}

QImage grab(vtkRenderWindow* window)
{
    window->Render();
    const int* size = window->GetSize();
    QImage image(size[0], size[1], QImage::Format_RGB32);
    unsigned char* rgb = window->GetPixelData(0, 0, size[0] - 1, size[1] - 1, 0);
    for (int y = 0; y < size[1]; ++y)
        for (int x = 0; x < size[0]; ++x) {
            const unsigned char* p = rgb + 3 * (y * size[0] + x);
            image.setPixel(x, size[1] - 1 - y, qRgb(p[0], p[1], p[2]));  // VTK's rows start at the bottom
        }
    delete[] rgb;
    return image;
}

// Whether the highlight colour shows within 2 pixels of display point P.
bool highlightedAt(vtkdraw& draw, const Pixel& p)
{
    const QImage image = grab(draw.renderWindow());
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (close(image.pixel(p.x + dx, image.height() - 1 - (p.y + dy)), draw.highlightColor(), 40))
                return true;
    return false;
}

}  // namespace

class PickTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString settings;
    std::unique_ptr<Scene> scene;

    vtkRenderer* renderer() { return scene->renderer(); }

private slots:
    void initTestCase()
    {
        settings = writeSettings(dir.filePath("config.ini"));
        scene = std::make_unique<Scene>(settings, 400, 300);
    }

    void init()
    {
        fillPortalAndPanel();
        scene->drawFacing("XZ+");
        scene->draw->showFreeNodeLabels(true);
        scene->draw->showFixedNodeLabels(true);
        scene->draw->showElementLabels(true);
        scene->draw->render();
    }

    void pickAtPixel_data()
    {
        QTest::addColumn<QVector<double>>("world");
        QTest::addColumn<int>("dx");  // pixels off the world point, across the view
        QTest::addColumn<QString>("found");
        QTest::newRow("a node beats its frames") << QVector<double>{4, 0, 3} << 2 << "node 4";
        QTest::newRow("the node under the pointer, not one in front")
            << QVector<double>{1.17, 0, 1} << 0 << "node 10";
        QTest::newRow("a node in front, within reach") << QVector<double>{1.0, 5, 1} << -1 << "node 9";
        QTest::newRow("beside a column") << QVector<double>{0, 0, 1.5} << 4 << "element 11";
        QTest::newRow("inside a quadrilateral") << QVector<double>{7, 0, 1} << 0 << "element 21";
        QTest::newRow("empty space") << QVector<double>{2, 0, 1.5} << 0 << "nothing";
        QTest::newRow("far beside a column") << QVector<double>{0, 0, 1.5} << 15 << "nothing";
    }

    void pickAtPixel()
    {
        QFETCH(QVector<double>, world);
        QFETCH(int, dx);
        QFETCH(QString, found);
        const Pixel p = pixelOf(renderer(), world[0], world[1], world[2]);
        QCOMPARE(describe(scene->draw->pick(p.x + dx, p.y)), found);
    }

    // Node 4 rises by 2 (scale 2 times 1): it is picked and outlined there, and its old place is
    // now only the column through it.
    void deformedPointsArePickedAndOutlinedWhereDrawn()
    {
        vtkdraw& draw = *scene->draw;
        const Pixel node = pixelOf(renderer(), 4, 0, 3);
        const Pixel above = pixelOf(renderer(), 4, 0, 5);
        QVERIFY(!highlightedAt(draw, node));
        QCOMPARE(draw.highlight(draw.pick(node.x, node.y)), 1);
        QVERIFY(highlightedAt(draw, node));

        QVector<double> none(10, 0.0), up(10, 0.0);
        up[3] = 1.0;
        draw.deformFreeNodes(2.0, none, none, up);
        QVERIFY(highlightedAt(draw, above));
        QVERIFY(!highlightedAt(draw, node));
        draw.deformFrames(2.0, none, none, up, {});
        draw.render();
        QCOMPARE(describe(draw.pick(above.x, above.y)), QStringLiteral("node 4"));
        QCOMPARE(describe(draw.pick(node.x, node.y)), QStringLiteral("element 13"));

        draw.clearHighlight();
        QVERIFY(!highlightedAt(draw, above));
        QCOMPARE(draw.highlight(draw.pick(above.x, above.y)), 1);
        draw.drawModel();
        QVERIFY(!draw.hasHighlight());
    }

    void highlightOfLineItemsCountsWhatIsDrawn()
    {
        LineItems items;
        items.nodes = {0, 2};     // nodes 1 (fixed) and 3 (free)
        items.elements = {1, 3};  // beam 12 and the quadrilateral
        items.restraints = {1};   // node 2
        QCOMPARE(scene->draw->highlight(items), 5);
        const Pixel beam = pixelOf(renderer(), 2, 0, 3);
        QVERIFY(highlightedAt(*scene->draw, beam));
        QVERIFY(!highlightedAt(*scene->draw, pixelOf(renderer(), 4, 0, 1.5)));  // column 13 left alone
    }

    // The isometric first view is for 3-D models only; later builds keep the user's direction.
    void firstPictureOfA2DModelKeepsThePlan()
    {
        Scene fresh(settings);
        fresh.draw->setIsometricFirst3DView(true);
        fillPortal();
        modelRecord()->ndm = 2;
        fresh.draw->drawModel();
        double direction[3];
        fresh.camera()->GetDirectionOfProjection(direction);
        QVERIFY2(near(direction, 0, 0, -1, 1e-6), qPrintable(vec(direction)));
        fresh.draw->setView("YZ+");
        fresh.draw->drawModel();
        fresh.camera()->GetDirectionOfProjection(direction);
        QVERIFY2(near(direction, -1, 0, 0, 1e-6), qPrintable(vec(direction)));
    }
};

QTEST_MAIN(PickTest)
#include "tst_vtkdraw_pick.moc"
