// Recorder lines as the solver writes them, through the per-step parsers and the range scan.
#include <QtTest>

#include "ComponentNames.h"
#include "DeformationScale.h"
#include "ModelRecord.h"
#include "NodeIndex.h"
#include "ResultParsing.h"
#include "ResultTexts.h"
#include "ResultStep.h"
#include "zorloadresult.h"

using Values = QVector<double>;
using Selection = ContourSelection;  // element type, point attribute, columns, first column, min, max

namespace {

void addElement(const QString& type, const QVector<int>& nodes)
{
    ModelRecord* m = modelRecord();
    m->elementTypes.append(type);
    m->elementTags.append(m->elementTags.size() + 1);
    m->elementNodeCounts.append(nodes.size());
    for (int k = 1; k <= 8; ++k)
        m->elementNodes(k).append(k <= nodes.size() ? nodes[k - 1] : -1);
}

// Two trusses; quads of the chosen type around a quad of another type; a quad naming an
// unknown node, where the scene's quad group stops; a triangle.
void fillMixedModel()
{
    resetModelRecord();
    ModelRecord* m = modelRecord();
    m->ndm = 3;
    m->nodeTags = {1, 2, 3, 4, 5, 6, 7, 8};
    m->nodeX = {1, 2, 3, 4, 5, 6, 7, 8};
    m->nodeY = m->nodeZ = QVector<double>(8, 0.0);
    addElement("truss", {1, 2});
    addElement("quad", {1, 2, 3, 4});
    addElement("SSPquad", {5, 6, 7, 8});
    addElement("truss", {3, 4});
    addElement("quad", {5, 6, 7, 8});
    addElement("quad", {1, 99, 3, 4});
    addElement("quad", {1, 2, 3, 4});
    addElement("Tri31", {1, 2, 3});
}

// "0 10 20 ... 10n": field i holds 10 i.
QString tens(int n)
{
    QStringList fields;
    for (int i = 0; i <= n; ++i)
        fields << QString::number(10 * i);
    return fields.join(' ');
}

}  // namespace

class tst_result_parsing : public QObject {
    Q_OBJECT
private slots:
    // What is not a finite number reads as 0, and is said to be none.
    void numbers()
    {
        const QPair<QString, double> cases[] = {{"0.25", 0.25}, {"-0", 0.0}, {"-1.5e+06", -1.5e6}};
        bool isNumber = false;
        for (const auto& c : cases)
            QVERIFY2(readResultNumber(c.first, &isNumber) == c.second && isNumber, qPrintable(c.first));
        for (const char* field : {"nan", "-nan", "-inf", "1.#INF", "1e400", "", "1,5", "diverged"})
            QVERIFY2(readResultNumber(QString(field), &isNumber) == 0 && !isNumber, field);
    }

    // A step of a diverged analysis: the count of values that are not numbers, and the nodes whose
    // drawn values hold one, placed at their nearest earlier numbers (read back, or kept from the
    // step shown before).
    void stepWithValuesThatAreNotNumbers()
    {
        resetModelRecord();
        modelRecord()->ndm = 2;
        modelRecord()->nodeTags = {1, 2, 3};
        const QStringList lines = {"0.1 1 1 0 2 2 0 3 3 0", "0.2 nan 5 0 4 4 0 6 6 0",
                                   "0.3 -nan inf 0 word 7 0 8 8 -nan"};
        zorloadresult loader;
        ResultStep step;
        for (int shown : {3, 2, 3}) {
            QVERIFY(prepareResultStep(loader, lines, lines, {}, shown, &step));
            QCOMPARE(step.notNumbers, shown == 2 ? 1 : 4);
            // Node 3 of step 3 has numbers where it is drawn.
            QCOMPARE(step.heldNodes, shown == 2 ? QVector<int>({0}) : QVector<int>({0, 1}));
            QCOMPARE(step.x, shown == 2 ? Values({1, 4, 6}) : Values({1, 4, 8}));
        }
        QCOMPARE(notNumbersText(3, 4),
                 QStringLiteral("Step 3: 4 values are not numbers (the analysis may have diverged)"));
    }

    void nodeLines()
    {
        struct Case {
            QString line;
            int ndm;
            bool reaction;
            double time;
            Values x, y, z;
        };
        const QString two = "0.1 1 2 3 4 5 6";
        const Case cases[] = {
            {two, 2, false, 0.1, {1, 4}, {2, 5}, {0, 0}},
            {two, 0, false, 0.1, {}, {}, {}},                 // no model
            {two, 1, true, 0.1, {1, 4}, {2, 5}, {3, 6}},      // a reaction ignores ndm
            {"0.1 1 2 3 4 5", 3, false, 0.1, {1}, {2}, {3}},  // a cut group is not read
            {"0.2 1 2 3\r", 3, false, 0.2, {1}, {2}, {3}},
            {"0.5 1  3", 3, false, 0.5, {1}, {0}, {3}},  // an empty field
        };
        for (const Case& c : cases) {
            resetModelRecord();
            modelRecord()->ndm = c.ndm;
            double t = -1;
            Values x, y, z;
            const QStringList lines{"9 9 9 9", c.line};
            if (c.reaction)
                zorloadresult::parseNodeReactionLine(lines, 2, t, x, y, z);
            else
                zorloadresult::parseNodeDispLine(lines, 2, t, x, y, z);
            QCOMPARE(t, c.time);
            QCOMPARE(x, c.x);
            QCOMPARE(y, c.y);
            QCOMPARE(z, c.z);
        }
    }

    void contourRange()
    {
        struct Case {
            Selection selection;
            QStringList lines;
            double min, max;
        };
        const Selection truss{"truss", false, 1, 1};
        const QString block = "0 99 -5 99 3 99 4 99 7";
        const Case cases[] = {
            {truss, {"0.1 2 10", "0.2 5 3"}, 0.0, 10.0},
            {{"quad", true, 8, 2}, {block}, -5.0, 7.0},   // a point attribute: node fields only
            {{"quad", false, 8, 2}, {block}, -5.0, 0.0},  // an element attribute: first column only
            {{"quad", true, 8, 2}, {"0 1 2 1 2 1 2 1 2 1 -40 1 50"}, 0.0, 2.0},  // a cut block is not read
            {{"brick", false, 1, 1}, {"0.1 5 -5"}, 0.0, 0.0},                    // type not in the model
        };
        fillMixedModel();
        for (const Case& c : cases) {
            double min = 0, max = 0;
            scanContourRange(c.lines, *modelRecord(), c.selection, &min, &max);
            QCOMPARE(min, c.min);
            QCOMPARE(max, c.max);
        }
    }

    void contourScalars()
    {
        struct Case {
            Selection selection;
            int nodeCount;
            QString line;
            Values expected;
        };
        const Selection quad{"quad", true, 8, 1, 0, 100};
        const Values middle{0.5, 0.5, 0.5, 0.5};
        const Case cases[] = {
            {{"truss", false, 6, 2, 0, 10}, 2, "0.1 1 2 3 4 5 6 7 8 9 10 11 12", {0.2, 0.2, 0.8, 0.8}},
            // A point attribute, another type in the middle.
            {quad, 4, tens(32), Values{0.1, 0.3, 0.5, 0.7} + middle + Values{0.9, 1.1, 1.3, 1.5}},
            {quad, 4, tens(10), Values{0.1, 0.3, 0.5, 0.7} + middle + Values{0.9, 0, 0, 0}},  // cut line
            {{"quad", true, 8, 1}, 4, tens(32), middle + middle + middle},  // no range gives the middle
            {quad, 2, tens(32), {}},  // the chosen type has another node count
        };
        fillMixedModel();
        for (const Case& c : cases) {
            const ContourLayout layout = contourLayout(*modelRecord(), NodeIndex(modelRecord()->nodeTags),
                                                       c.selection.elementType, c.nodeCount);
            Values out{42};
            ::contourScalars(c.line, layout, c.selection, &out);
            QCOMPARE(out, c.expected);
        }
    }

    // The cached layouts follow the model record when a script is read again.
    void layoutCacheFollowsTheModel()
    {
        fillMixedModel();
        ContourLayoutCache cache;
        QCOMPARE(cache.layout(*modelRecord(), "quad", 4).blocks, (QVector<int>{0, -1, 1}));
        modelRecord()->nodeTags.append(99);
        QCOMPARE(cache.layout(*modelRecord(), "quad", 4).blocks, (QVector<int>{0, -1, 1, 2, 3}));
        QCOMPARE(cache.layout(*modelRecord(), "SSPquad", 4).blocks, (QVector<int>{-1, 0, -1, -1, -1}));
        QVERIFY(!cache.layout(*modelRecord(), "SSPquad", 2).applies);
    }

    // Names by response, node count, dimension and width; a width the table does not expect and
    // a response it does not know keep numbers. Typed names match by name, symbol, case or number.
    void componentNamesAndLookup()
    {
        struct Case {
            QString response;
            int nodes, ndm, width;
            QString typed;  // what a user types
            int column;     // where it is found, 0 for nowhere
            QString label;  // of that column
            int pointCount;
        };
        const Case cases[] = {
            {"localForces", 2, 2, 6, "Mz_j", 6, "Mz at end j", 3},
            {"localForces", 2, 3, 12, "mz_j", 12, "Mz at end j", 6},
            {"globalForces", 2, 2, 4, "Px_j", 3, "Px at end j", 2},  // a plane truss
            {"basicForces", 2, 3, 6, "My_i", 4, "My_i", 0},           // one set per element
            {"stresses", 4, 2, 12, "syy_3", 8, "σyy at Gauss point 3", 3},
            {"stresses", 8, 3, 48, "τxz_8", 48, "τxz at Gauss point 8", 6},
            {"stresses", 4, 3, 32, "Nxx_2", 9, "Nxx at Gauss point 2", 8},
            {"stresses", 3, 2, 3, "sxx", 1, "σxx", 0},  // one Gauss point for three nodes
            {"localForces", 2, 2, 7, "7", 7, "value 7 of 7", 0},
            {"deformations", 2, 3, 12, "Mz_j", 0, "", 6},
            {"deformations", 2, 3, 12, "13", 0, "", 6},
        };
        for (const Case& c : cases) {
            const ComponentNames names = componentNames(c.response, c.nodes, c.ndm, c.width);
            QCOMPARE(names.element.size(), c.width);
            QCOMPARE(names.point.size(), c.pointCount);
            QCOMPARE(findComponent(names.element, c.typed), c.column);
            if (c.column > 0)
                QCOMPARE(names.element[c.column - 1].label, c.label);
        }
    }

    // A node shared by two, three and four quads of an L-shaped mesh gets the mean of their
    // corner values there; a node of one quad keeps its own.
    void averagingAtNodes()
    {
        resetModelRecord();
        ModelRecord* m = modelRecord();
        m->ndm = 2;
        for (int j = 0; j <= 2; ++j)
            for (int i = 0; i <= 3; ++i) {
                m->nodeTags << 1 + i + 4 * j;
                m->nodeX << i;
                m->nodeY << j;
                m->nodeZ << 0;
            }
        // Quads (0,0), (1,0), (2,0), (0,1), (1,1): the top right one is missing.
        for (int q : {0, 1, 2, 4, 5})
            addElement("quad", {q + 1, q + 2, q + 6, q + 5});
        // Each quad's four corners carry its own value: 10, 20, 30, 40, 50.
        QString line = "0.1";
        for (int q = 1; q <= 5; ++q)
            line += QString(" %1").arg(10 * q).repeated(4);
        const ContourSelection s{"quad", true, 4, 1, 0, 100, true};
        const ContourLayout layout = contourLayout(*m, NodeIndex(m->nodeTags), "quad", 4);
        Values out;
        ::contourScalars(line, layout, s, &out);
        const QPair<int, double> nodes[] = {{2, 15}, {7, 100.0 / 3}, {6, 30}, {1, 10}};  // tag, mean
        for (const auto& n : nodes) {
            const int position = m->nodeTags.indexOf(n.first);
            for (int k = 0; k < layout.corners.size(); ++k)
                if (layout.corners[k] == position)
                    QVERIFY2(qFuzzyCompare(out[k], n.second / 100), qPrintable(QString::number(n.first)));
        }
    }

    void automaticScale()
    {
        fillMixedModel();  // x from 1 to 8
        QCOMPARE(modelExtent(*modelRecord()), 7.0);
        QCOMPARE(::automaticScale(7.0, 0.035), 20.0);
        QCOMPARE(::automaticScale(7.0, 0.0), 1.0);  // nothing moves
        QCOMPARE(::automaticScale(0.0, 0.5), 1.0);  // a single node
        QCOMPARE(largestDisplacement({"0.1 3 4 100 0 0 0", "0.2 -6 8 0 1 1 1"}, 2), 10.0);
        QVERIFY(qFuzzyCompare(largestDisplacement({"0 -3e-3 +0.4E-2 0 nan 1,5 -"}, 3), 5e-3));
    }

    // Values at a click: a restrained node of a plane frame with its reactions, and a beam's
    // named forces read from its block of the line.
    void pickedValueTexts()
    {
        resetModelRecord();
        ModelRecord* m = modelRecord();
        m->ndm = 2;
        m->ndf = 3;
        m->nodeTags = {1, 2};
        m->nodeX = {0, 4};
        m->nodeY = m->nodeZ = {0, 0};
        m->fixNodeTags = {2};
        addElement("truss", {1, 2});
        addElement("elasticBeamColumn", {1, 2});
        addElement("elasticBeamColumn", {2, 1});
        const PickedValues node = nodeValues(*m, 1, u"0.5 1 2 3 0.25 -0.5 0.001", u"0.5 0 0 0 -10 20 -3e+06", 7);
        QCOMPARE(node.statusText(), QString("Node 2 at step 7 (time 0.5): ux = 0.25, uy = -0.5, rz = 0.001, "
                                            "reaction Fx = -10, reaction Fy = 20, reaction Mz = -3e+06"));
        const PickedValues beam = elementValues(*m, 2, elementBlock(*m, 2), "localForces", 6,
                                                u"0.5 1 2 3 4 5 6 7 8 9 10 11 12", 7);
        QCOMPARE(beam.statusText(), QString("Element 3 elasticBeamColumn localForces at step 7 (time 0.5): "
                                            "N_i = 7, Vy_i = 8, Mz_i = 9, N_j = 10, Vy_j = 11, Mz_j = 12"));
        // The panel's table: a row per force, a column per end.
        QCOMPARE(beam.rows, (QStringList{"N", "Vy", "Mz"}));
        QCOMPARE(beam.columns, (QStringList{"end i", "end j"}));
        QCOMPARE(beam.table, (Values{7, 10, 8, 11, 9, 12}));
    }
};

QTEST_GUILESS_MAIN(tst_result_parsing)
#include "tst_result_parsing.moc"
