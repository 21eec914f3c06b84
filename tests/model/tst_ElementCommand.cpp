// The element command and the element type table, driven by scripts.
#include <QtTest>

#include "ElementTypes.h"
#include "ScriptRunner.h"

namespace {

// Aliases as "typed:stored"; every other recorded name is stored as typed.
const char* const aliases =
    "Truss:truss TrussSection:trussSection CorotTruss:corotTruss CorotTrussSection:corotTrussSection "
    "modElasticBeam2d:ModElasticBeam2d elasticTimoshenkoBeam:ElasticTimoshenkoBeam "
    "ElasticTubularJoint:elasticTubularJoint ZeroLengthCoupled:CoupledZeroLength BeamContact2d:BeamContact2D "
    "BeamEndContact3D:BeamEndContact3d TFP:TFPbearing elastomericBearingPlasticity:elastomericBearing "
    "MSS:multipleShearSpring MNS:multipleNormalSpring tri31:Tri31 shell:ShellMITC4 shellMITC4:ShellMITC4 "
    "Shell:ShellMITC4 ShellDKGQ:shellDKGQ ShellNLDKGQ:shellNLDKGQ stdQuad:quad mixedQuad:bbarQuad "
    "nineNodeQuad:nineNodeMixedQuad SSPQuad:SSPquad SSPQuadUP:SSPquadUP Quad3d:quad3d Joint2d:Joint2D "
    "SSPBrick:SSPbrick SSPBrickUP:SSPbrickUP";

// Stored types after their node count; types not listed have two nodes.
const char* const nodeCounts =
    "3: Tri31 4: ShellMITC4 shellDKGQ shellNLDKGQ quad quadWithSensitivity enhancedQuad bbarQuad "
    "nineNodeMixedQuad quadUP bbarQuadUP SSPquad SSPquadUP quad3d VS3D4 SurfaceLoad Joint2D beamColumnJoint "
    "8: stdBrick bbarBrick bbarBrickWithSensitivity brickUP bbarBrickUP SSPbrick SSPbrickUP";

}  // namespace

class ElementCommandTest : public QObject {
    Q_OBJECT

private slots:
    void recordsTypeTagAndNodes()
    {
        struct Case {
            QByteArray command;
            QString type;
            int tag;
            IntList nodes;  // the recorded corners; the remaining lists hold -1
        };
        const Case cases[] = {
            {"element elasticBeamColumn 1 1 2 10.0 200.0 1.0 1", "elasticBeamColumn", 1, {1, 2}},
            {"element Truss 3 1 2 10.0 1", "truss", 3, {1, 2}},
            {"element shell 7 1 2 3 4 1", "ShellMITC4", 7, {1, 2, 3, 4}},
            {"element stdQuad 8 5 6 7 8 1.0 PlaneStrain 1", "quad", 8, {5, 6, 7, 8}},
            {"element nineNodeQuad 9 1 2 3 4 5 6 7 8 9 1.0 1", "nineNodeMixedQuad", 9, {1, 2, 3, 4}},
            {"element Joint2D 10 1 2 3 4 5 1 2 3 4 5 6", "Joint2D", 10, {1, 2, 3, 4}},
            {"element 9_4_QuadUP 11 1 2 3 4 5 6 7 8 9", "9_4_QuadUP", 11, {1, 2}},
            {"element tri31 12 1 2 3 0.1 PlaneStress 1", "Tri31", 12, {1, 2, 3}},
            {"element stdBrick 20 1 2 3 4 5 6 7 8 1", "stdBrick", 20, {1, 2, 3, 4, 5, 6, 7, 8}},
            {"set e 30\nset i 4\nelement zeroLength $e $i [expr {$i+1}] -mat 1 -dir 1",
             "zeroLength",
             30,
             {4, 5}},
            {"element twoNodeLink 2 3 4", "twoNodeLink", 2, {3, 4}},  // exactly the node count
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.command);
            QCOMPARE(runner.run("model basic -ndm 3\n" + c.command + "\n").code, 0);
            const ModelRecord& m = runner.model();
            QCOMPARE(m.elementTypes, QVector<QString>({c.type}));
            QCOMPARE(m.elementTags, IntList({c.tag}));
            QCOMPARE(m.elementNodeCounts, IntList({int(c.nodes.size())}));
            for (int k = 1; k <= 8; ++k)
                QCOMPARE(m.elementNodes(k), IntList({k <= c.nodes.size() ? c.nodes[k - 1] : -1}));
        }
    }

    void everyNameIsRecordedUnderItsCanonicalNameOrIgnored()
    {
        QHash<QString, QString> stored;
        for (const QString& alias : QString(aliases).split(' '))
            stored.insert(alias.section(':', 0, 0), alias.section(':', 1));
        QHash<QString, int> nodeCount;
        int listed = 0;
        for (const QString& word : QString(nodeCounts).split(' ')) {
            if (word.endsWith(':'))
                listed = word.chopped(1).toInt();
            else
                nodeCount.insert(word, listed);
        }

        const QStringList names = recordedElementNames();
        const QStringList ignored = ignoredElementNames();
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 105);
        QCOMPARE(ignored.size(), 57);
        QByteArray script = "model basic -ndm 3\n";
        for (int i = 0; i < names.size(); ++i)
            script += "element " + names[i].toUtf8() + ' ' + QByteArray::number(100 + i) +
                      " 1 2 3 4 5 6 7 8 9 10 1.0\n";
        // Ignored and unknown names record nothing; bad words too, as nothing is read.
        for (const QString& name : ignored + QStringList{"noSuchElement", "TRUSS", "ElasticBeamColumn"})
            script += "element " + name.toUtf8() + " 1 x y\n";
        ScriptRunner runner;
        QCOMPARE(runner.run(script).code, 0);
        const ModelRecord& m = runner.model();
        QCOMPARE(m.elementTypes.size(), names.size());
        QCOMPARE(m.elementTags.size(), names.size());
        QSet<QString> canonical;
        for (int i = 0; i < names.size(); ++i) {
            const RowName row{names[i].toUtf8()};
            const QString type = stored.value(names[i], names[i]);
            const int count = nodeCount.value(type, 2);
            canonical.insert(type);
            QVERIFY(names.contains(type));
            QCOMPARE(m.elementTypes[i], type);
            QCOMPARE(m.elementTags[i], 100 + i);
            QCOMPARE(m.elementNodeCounts[i], count);
            for (int k = 1; k <= 8; ++k)
                QCOMPARE(m.elementNodes(k)[i], k <= count ? k : -1);
        }
        QCOMPARE(canonical.size(), 76);
        for (auto it = nodeCount.cbegin(); it != nodeCount.cend(); ++it)
            QVERIFY2(canonical.contains(it.key()), qPrintable(it.key()));
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
            {"model basic -ndm 2\nelement elasticBeamColumn 2 2 3.0 1 1 1 1",
             cannot + "elasticBeamColumn",
             {}},
            // The alias is named as typed.
            {"model basic -ndm 3\nelement shell 4 1 2 z 4 1", cannot + "shell", {}},
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
            IntList tags;
            RealList x, y, z;
            QByteArray elements;  // the element commands made, one a line
        };
        const Case cases[] = {
            // Corners only: the mid-sides and the centre are averages of the corners.
            {"model basic -ndm 2\nblock2D 2 2 1 1 quad \"1 PlaneStrain 1\" {1 0 0 2 4 0 3 6 4 4 0 2}",
             {1, 2, 3, 4, 5, 6, 7, 8, 9},
             {0, 2, 4, 0, 2.5, 5, 0, 3, 6},
             {0, 0, 0, 1, 1.5, 2, 2, 3, 4},
             {0, 0, 0, 0, 0, 0, 0, 0, 0},
             "quad 1 1 2 5 4 1 PlaneStrain 1\nquad 2 2 3 6 5 1 PlaneStrain 1\n"
             "quad 3 4 5 8 7 1 PlaneStrain 1\nquad 4 5 6 9 8 1 PlaneStrain 1\n"},
            // All nine block nodes, the bottom side bent down to y = -1 in its middle; a 2 x 2 mesh puts a
            // node on each of them.
            {"model basic -ndm 2\nset t 0.5\n"
             "block2D 2 2 10 20 quad \"$t PlaneStress 3\" {\n"
             "  1 0 0  2 4 0  3 4 4  4 0 4  5 2 -1  6 4 2  7 2 4  8 0 2  9 2 2\n}",
             {10, 11, 12, 13, 14, 15, 16, 17, 18},
             {0, 2, 4, 0, 2, 4, 0, 2, 4},
             {0, -1, 0, 2, 2, 2, 4, 4, 4},
             {0, 0, 0, 0, 0, 0, 0, 0, 0},
             "quad 20 10 11 14 13 0.5 PlaneStress 3\nquad 21 11 12 15 14 0.5 PlaneStress 3\n"
             "quad 22 13 14 17 16 0.5 PlaneStress 3\nquad 23 14 15 18 17 0.5 PlaneStress 3\n"},
            // The same block meshed 4 x 2 with nine-node elements: on the bent side y = -(1 - xi^2), so
            // -0.75 at xi = -0.5 and 0.5.
            {"model basic -ndm 2\nblock2D 4 2 1 1 nineNodeQuad \"1 PlaneStrain 1\" -numEleNodes 9 "
             "{1 0 0 2 4 0 3 4 4 4 0 4 5 2 -1 6 4 2 7 2 4 8 0 2 9 2 2}",
             {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
             {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4},
             {0, -0.75, -1, -0.75, 0, 2, 2, 2, 2, 2, 4, 4, 4, 4, 4},
             {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
             "nineNodeQuad 1 1 3 13 11 2 8 12 6 7 1 PlaneStrain 1\n"
             "nineNodeQuad 2 3 5 15 13 4 10 14 8 9 1 PlaneStrain 1\n"},
            // A box 2 x 2 x 2 whose top is shifted by 1 in x, so x = i + k/2; the body centre (block node
            // 27) is given 0.5 higher than the corners put it and moves mesh node 14 alone.
            {"model basic -ndm 3\nblock3D 2 2 2 1 1 stdBrick 1 {\n"
             "  1 0 0 0  2 2 0 0  3 2 2 0  4 0 2 0  5 1 0 2  6 3 0 2  7 3 2 2  8 1 2 2  27 1.5 1 1.5\n}",
             {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
              15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
             {0,   1,   2,   0,   1, 2, 0, 1, 2, 0.5, 1.5, 2.5, 0.5, 1.5,
              2.5, 0.5, 1.5, 2.5, 1, 2, 3, 1, 2, 3,   1,   2,   3},
             {0, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 1, 1, 1, 2, 2, 2},
             {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1.5, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2},
             "stdBrick 1 1 2 5 4 10 11 14 13 1\nstdBrick 2 2 3 6 5 11 12 15 14 1\n"
             "stdBrick 3 4 5 8 7 13 14 17 16 1\nstdBrick 4 5 6 9 8 14 15 18 17 1\n"
             "stdBrick 5 10 11 14 13 19 20 23 22 1\nstdBrick 6 11 12 15 14 20 21 24 23 1\n"
             "stdBrick 7 13 14 17 16 22 23 26 25 1\nstdBrick 8 14 15 18 17 23 24 27 26 1\n"},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            const QByteArray model = c.script.left(c.script.indexOf('\n') + 1);
            QCOMPARE(runner.run(model + logElements + c.script.mid(model.size()) + "\n").code, 0);
            const ModelRecord& m = runner.model();
            QCOMPARE(m.nodeTags, c.tags);
            QCOMPARE(m.nodeX, c.x);
            QCOMPARE(m.nodeY, c.y);
            QCOMPARE(m.nodeZ, c.z);
            QCOMPARE(runner.log(), c.elements);
            QCOMPARE(m.elementTags.size(), c.elements.count('\n'));  // recorded through the element command
        }
    }
};

QTEST_GUILESS_MAIN(ElementCommandTest)
#include "tst_ElementCommand.moc"
