// The element command and the element type table, driven by scripts.
#include <QtTest>

#include "ElementTypes.h"
#include "ScriptRunner.h"

class ElementCommandTest : public QObject {
    Q_OBJECT

private slots:
    void recordsTypeTagAndNodes();
    void everyRecordedNameIsStoredUnderItsCanonicalName();
    void ignoredAndUnknownNamesRecordNothing();
    void failuresLeavePartialEntries();
};

void ElementCommandTest::recordsTypeTagAndNodes()
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
        {"set e 30\nset i 4\nelement zeroLength $e $i [expr {$i+1}] -mat 1 -dir 1", "zeroLength", 30, {4, 5}},
        {"element twoNodeLink 2 3 4", "twoNodeLink", 2, {3, 4}},  // exactly the node count
    };
    for (const Case& c : cases) {
        const RowName row{c.command};
        ScriptRunner runner;
        QCOMPARE(runner.run("model basic -ndm 3\n" + c.command + "\n").code, 0);
        const ModelRecord& m = runner.model();
        QCOMPARE(m.elementTypes, QVector<QString>({c.type}));
        QCOMPARE(m.elementTags, IntList({c.tag}));
        QCOMPARE(m.elementNodeCounts, IntList({int(c.nodes.size())}));
        for (int k = 1; k <= 8; ++k)
            QCOMPARE(m.elementNodes(k), IntList({k <= c.nodes.size() ? c.nodes[k - 1] : -1}));
    }
}

void ElementCommandTest::everyRecordedNameIsStoredUnderItsCanonicalName()
{
    // Aliases as "typed:stored"; every other recorded name is stored as typed. Types not listed by
    // node count have two nodes.
    const QStringList aliases =
        QString(
            "Truss:truss TrussSection:trussSection CorotTruss:corotTruss CorotTrussSection:corotTrussSection "
            "modElasticBeam2d:ModElasticBeam2d elasticTimoshenkoBeam:ElasticTimoshenkoBeam "
            "ElasticTubularJoint:elasticTubularJoint ZeroLengthCoupled:CoupledZeroLength "
            "BeamContact2d:BeamContact2D BeamEndContact3D:BeamEndContact3d TFP:TFPbearing "
            "elastomericBearingPlasticity:elastomericBearing MSS:multipleShearSpring "
            "MNS:multipleNormalSpring "
            "tri31:Tri31 shell:ShellMITC4 shellMITC4:ShellMITC4 Shell:ShellMITC4 ShellDKGQ:shellDKGQ "
            "ShellNLDKGQ:shellNLDKGQ stdQuad:quad mixedQuad:bbarQuad nineNodeQuad:nineNodeMixedQuad "
            "SSPQuad:SSPquad SSPQuadUP:SSPquadUP Quad3d:quad3d Joint2d:Joint2D SSPBrick:SSPbrick "
            "SSPBrickUP:SSPbrickUP")
            .split(' ');
    const QPair<int, QString> byCount[] = {
        {3, "Tri31"},
        {4,
         "ShellMITC4 shellDKGQ shellNLDKGQ quad quadWithSensitivity enhancedQuad bbarQuad "
         "nineNodeMixedQuad quadUP bbarQuadUP SSPquad SSPquadUP quad3d VS3D4 SurfaceLoad Joint2D "
         "beamColumnJoint"},
        {8, "stdBrick bbarBrick bbarBrickWithSensitivity brickUP bbarBrickUP SSPbrick SSPbrickUP"}};
    QHash<QString, QString> stored;
    for (const QString& a : aliases)
        stored.insert(a.section(':', 0, 0), a.section(':', 1));
    QHash<QString, int> nodeCount;
    for (const auto& group : byCount)
        for (const QString& type : group.second.split(' '))
            nodeCount.insert(type, group.first);

    const QStringList names = recordedElementNames();
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 105);
    QCOMPARE(stored.size(), 29);
    QByteArray script = "model basic -ndm 3\n";
    const QByteArray nodes = " 1 2 3 4 5 6 7 8 9 10 1.0\n";
    for (int i = 0; i < names.size(); ++i)
        script += "element " + names[i].toUtf8() + ' ' + QByteArray::number(100 + i) + nodes;
    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    const ModelRecord& m = runner.model();
    QCOMPARE(m.elementTypes.size(), names.size());
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

void ElementCommandTest::ignoredAndUnknownNamesRecordNothing()
{
    const QStringList ignored = ignoredElementNames();
    QCOMPARE(ignored.size(), 57);
    QByteArray script = "model basic -ndm 3\n";
    for (const QString& name : ignored + QStringList{"noSuchElement", "TRUSS", "ElasticBeamColumn"})
        script += "element " + name.toUtf8() + " 1 x y\n";  // bad words too: nothing is read
    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    QVERIFY(runner.model().elementTypes.isEmpty());
    QVERIFY(runner.model().elementTags.isEmpty());
}

void ElementCommandTest::failuresLeavePartialEntries()
{
    struct Case {
        QByteArray script;
        QString message;
        int types;
        IntList tags;
        IntList firstNodes;  // sizes of elementNodes1..3
        int counts;
    };
    const QString cannot = QStringLiteral("TclElementCommand -- unable to create element of type : ");
    const Case cases[] = {
        {"element truss 1 1 2 1.0 1", "WARNING builder has been destroyed\n", 0, {}, {0, 0, 0}, 0},
        {"model basic -ndm 2\nelement",
         "WARNING need to specify an element type\n"
         "Want: element eleType <specific element args> .. see manual for valid eleTypes & arguments\n",
         0,
         {},
         {0, 0, 0},
         0},
        {"model basic -ndm 2\nelement zeroLength 5 1",
         "TclElementCommand: insufficient arguments",
         1,
         {},
         {0, 0, 0},
         0},
        {"model basic -ndm 2\nelement truss x 1 2 10.0 1", cannot + "truss", 1, {}, {0, 0, 0}, 0},
        // The alias is named as typed.
        {"model basic -ndm 3\nelement shell 4 1 2 z 4 1", cannot + "shell", 1, {4}, {1, 1, 0}, 0},
        {"model basic -ndm 3\nelement truss 1 1 2 1 1\nelement Truss 2 1 q 1 1",
         cannot + "Truss",
         2,
         {1, 2},
         {2, 1, 1},
         1},
    };
    for (const Case& c : cases) {
        const RowName row{c.script};
        ScriptRunner runner;
        const EvaluationResult r = runner.run(c.script + "\nelement truss 99 1 2 1 1\n");
        QCOMPARE(r.code, 1);
        QCOMPARE(r.result, QString());
        QCOMPARE(runner.status(), c.message);
        const ModelRecord& m = runner.model();
        QCOMPARE(m.elementTypes.size(), c.types);
        QCOMPARE(m.elementTags, c.tags);
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(m.elementNodes(k).size(), c.firstNodes[k - 1]);
        QCOMPARE(m.elementNodeCounts.size(), c.counts);
    }
}

QTEST_GUILESS_MAIN(ElementCommandTest)
#include "tst_ElementCommand.moc"
