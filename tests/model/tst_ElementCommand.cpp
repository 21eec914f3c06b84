// The element command and the element type table, driven by scripts.
#include <QtTest>

#include "ElementTypes.h"
#include "ScriptRunner.h"

class ElementCommandTest : public QObject {
    Q_OBJECT

private slots:
    void recordsTypeTagAndNodes()
    {
        struct Case {
            QByteArray command;
            QString type;
            IntList nodes;  // the recorded corners; the remaining lists hold -1
        };
        const Case cases[] = {
            {"element elasticBeamColumn 1 1 2 10.0 200.0 1.0 1", "elasticBeamColumn", {1, 2}},
            {"element Truss 1 1 2 10.0 1", "truss", {1, 2}},
            {"element shell 1 1 2 3 4 1", "ShellMITC4", {1, 2, 3, 4}},
            {"element nineNodeQuad 1 1 2 3 4 5 6 7 8 9 1.0 1", "nineNodeMixedQuad", {1, 2, 3, 4}},
            {"element tri31 1 1 2 3 0.1 PlaneStress 1", "Tri31", {1, 2, 3}},
            {"element stdBrick 1 1 2 3 4 5 6 7 8 1", "stdBrick", {1, 2, 3, 4, 5, 6, 7, 8}},
            {"element twoNodeLink 1 3 4", "twoNodeLink", {3, 4}},  // exactly the node count
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.command);
            QCOMPARE(runner.run("model basic -ndm 3\n" + c.command + "\n").code, 0);
            const ModelRecord& m = runner.model();
            QCOMPARE(m.elementTypes, QVector<QString>({c.type}));
            QCOMPARE(m.elementTags, IntList({1}));
            QCOMPARE(m.elementNodeCounts, IntList({int(c.nodes.size())}));
            for (int k = 1; k <= 8; ++k)
                QCOMPARE(m.elementNodes(k), IntList({k <= c.nodes.size() ? c.nodes[k - 1] : -1}));
        }
    }

    void everyNameIsRecordedUnderARecordedNameOrIgnored()
    {
        const QStringList names = recordedElementNames();
        const QStringList ignored = ignoredElementNames();
        QVERIFY(names.contains("Truss") && names.contains("truss") && !ignored.isEmpty());
        QByteArray script = "model basic -ndm 3\n";
        for (int i = 0; i < names.size(); ++i)
            script += "element " + names[i].toUtf8() + ' ' + QByteArray::number(100 + i) +
                      " 1 2 3 4 5 6 7 8 9 10 1.0\n";
        // Ignored and unknown names record nothing; bad words too, as nothing is read.
        for (const QString& name : ignored + QStringList{"noSuchElement", "TRUSS"})
            script += "element " + name.toUtf8() + " 1 x y\n";
        ScriptRunner runner;
        QCOMPARE(runner.run(script).code, 0);
        const ModelRecord& m = runner.model();
        QCOMPARE(m.elementTypes.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            const RowName row{names[i].toUtf8()};
            // A stored name is itself recorded, and stored as typed with the same node count.
            const int canonical = int(names.indexOf(m.elementTypes[i]));
            QVERIFY(canonical >= 0);
            QCOMPARE(m.elementTypes[canonical], m.elementTypes[i]);
            QCOMPARE(m.elementNodeCounts[canonical], m.elementNodeCounts[i]);
            QCOMPARE(m.elementTags[i], 100 + i);
            const int count = m.elementNodeCounts[i];
            QVERIFY(count == 2 || count == 3 || count == 4 || count == 8);
            for (int k = 1; k <= 8; ++k)
                QCOMPARE(m.elementNodes(k)[i], k <= count ? k : -1);
        }
    }

    void failuresRecordNothing()
    {
        // A failing element command appends nothing, so the element lists stay parallel for the drawing.
        struct Case {
            QByteArray script;
            QString message;
            IntList tags;
        };
        const QString cannot = QStringLiteral("TclElementCommand -- unable to create element of type : ");
        const Case cases[] = {
            {"element truss 1 1 2 1.0 1", "WARNING builder has been destroyed\n", {}},
            {"model basic -ndm 2\nelement",
             "WARNING need to specify an element type\n"
             "Want: element eleType <specific element args> .. see manual for valid eleTypes & arguments\n",
             {}},
            {"model basic -ndm 2\nelement zeroLength 5 1", "TclElementCommand: insufficient arguments", {}},
            {"model basic -ndm 2\nelement truss x 1 2 10.0 1", cannot + "truss", {}},
            // The alias is named as typed.
            {"model basic -ndm 3\nelement truss 1 1 2 1 1\nelement Truss 2 1 q 1 1", cannot + "Truss", {1}},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            const EvaluationResult r = runner.run(c.script + "\nelement truss 99 1 2 1 1\n");
            QCOMPARE(r.code, 1);
            QCOMPARE(r.result, QString());
            QCOMPARE(runner.status(), c.message);
            const ModelRecord& m = runner.model();
            QCOMPARE(m.elementTags, c.tags);
            QCOMPARE(m.elementTypes.size(), c.tags.size());
            QCOMPARE(m.elementNodeCounts.size(), c.tags.size());
            for (int k = 1; k <= 8; ++k)
                QCOMPARE(m.elementNodes(k).size(), c.tags.size());
        }
    }

    void blocksMakeNodesAndElements()
    {
        // Each block's element commands are logged through a wrapper, as the solver evaluates them.
        const QByteArray logElements =
            "rename element recordElement\nproc element {args} { puts $args; recordElement {*}$args }\n";
        struct Case {
            QByteArray script;
            int nodes;
            QByteArray probes;    // "tag x y z" of chosen mesh nodes
            QByteArray elements;  // the first and the last element command made
            int elementCount;
        };
        const Case cases[] = {
            // All nine block nodes, the bottom side bent down to y = -1 in its middle; on it
            // y = -(1 - xi^2), so -0.75 at xi = -0.5 and 0.5.
            {"model basic -ndm 2\nblock2D 4 2 1 1 nineNodeQuad \"1 PlaneStrain 1\" -numEleNodes 9 "
             "{1 0 0 2 4 0 3 4 4 4 0 4 5 2 -1 6 4 2 7 2 4 8 0 2 9 2 2}",
             15, "2 1 -0.75 0  3 2 -1 0  4 3 -0.75 0  8 2 2 0",
             "nineNodeQuad 1 1 3 13 11 2 8 12 6 7 1 PlaneStrain 1\n"
             "nineNodeQuad 2 3 5 15 13 4 10 14 8 9 1 PlaneStrain 1\n",
             2},
            // Corners only, of a box 2 x 2 x 2 whose top is shifted by 1 in x, so x = i + k/2; the body
            // centre (block node 27) is given 0.5 higher than the corners put it and moves mesh node 14
            // alone.
            {"model basic -ndm 3\nblock3D 2 2 2 1 1 stdBrick 1 {\n"
             "  1 0 0 0  2 2 0 0  3 2 2 0  4 0 2 0  5 1 0 2  6 3 0 2  7 3 2 2  8 1 2 2  27 1.5 1 1.5\n}",
             27, "5 1 1 0  13 0.5 1 1  14 1.5 1 1.5  15 2.5 1 1  27 3 2 2",
             "stdBrick 1 1 2 5 4 10 11 14 13 1\nstdBrick 8 14 15 18 17 23 24 27 26 1\n", 8},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            const QByteArray model = c.script.left(c.script.indexOf('\n') + 1);
            QCOMPARE(runner.run(model + logElements + c.script.mid(model.size()) + "\n").code, 0);
            const ModelRecord& m = runner.model();
            QCOMPARE(m.nodeTags.size(), c.nodes);
            QCOMPARE(m.nodeTags.last(), m.nodeTags.first() + c.nodes - 1);
            const RealList probes = reals(c.probes);
            for (int i = 0; i + 3 < probes.size(); i += 4) {
                const int at = int(m.nodeTags.indexOf(int(probes[i])));
                QVERIFY(at >= 0);
                QCOMPARE(RealList({m.nodeX[at], m.nodeY[at], m.nodeZ[at]}), probes.mid(i + 1, 3));
            }
            const QList<QByteArray> lines = runner.log().split('\n');
            QCOMPARE(lines.size(), c.elementCount + 1);
            QCOMPARE(lines.first() + '\n' + lines[c.elementCount - 1] + '\n', c.elements);
            QCOMPARE(m.elementTags.size(), c.elementCount);  // recorded through the element command
        }
    }
};

QTEST_GUILESS_MAIN(ElementCommandTest)
#include "tst_ElementCommand.moc"
