// The element command and the element type table, driven by scripts.
#include <QtTest>

#include "ElementTypes.h"
#include "ScriptRunner.h"

using IntList = QVector<int>;

class ElementCommandTest : public QObject {
    Q_OBJECT

private slots:
    void recordsTypeTagAndNodes_data();
    void recordsTypeTagAndNodes();
    void everyRecordedNameIsStoredUnderItsCanonicalName();
    void ignoredAndUnknownNamesRecordNothing();
    void failuresLeavePartialEntries_data();
    void failuresLeavePartialEntries();
};

void ElementCommandTest::recordsTypeTagAndNodes_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("tag");
    QTest::addColumn<IntList>("nodes");  // all eight lists
    QTest::newRow("beam") << QByteArray("element elasticBeamColumn 1 1 2 10.0 200.0 1.0 1") << "elasticBeamColumn" << 1
                          << IntList{1, 2, -1, -1, -1, -1, -1, -1};
    QTest::newRow("Truss alias") << QByteArray("element Truss 3 1 2 10.0 1") << "truss" << 3
                                 << IntList{1, 2, -1, -1, -1, -1, -1, -1};
    QTest::newRow("shell alias") << QByteArray("element shell 7 1 2 3 4 1") << "ShellMITC4" << 7
                                 << IntList{1, 2, 3, 4, -1, -1, -1, -1};
    QTest::newRow("stdQuad") << QByteArray("element stdQuad 8 5 6 7 8 1.0 PlaneStrain 1") << "quad" << 8
                             << IntList{5, 6, 7, 8, -1, -1, -1, -1};
    QTest::newRow("nine-node quad keeps corners") << QByteArray("element nineNodeQuad 9 1 2 3 4 5 6 7 8 9 1.0 1")
                                                  << "nineNodeMixedQuad" << 9 << IntList{1, 2, 3, 4, -1, -1, -1, -1};
    QTest::newRow("Joint2D four of five") << QByteArray("element Joint2D 10 1 2 3 4 5 1 2 3 4 5 6")
                                          << "Joint2D" << 10 << IntList{1, 2, 3, 4, -1, -1, -1, -1};
    QTest::newRow("9_4_QuadUP two nodes") << QByteArray("element 9_4_QuadUP 11 1 2 3 4 5 6 7 8 9")
                                          << "9_4_QuadUP" << 11 << IntList{1, 2, -1, -1, -1, -1, -1, -1};
    QTest::newRow("triangle") << QByteArray("element tri31 12 1 2 3 0.1 PlaneStress 1") << "Tri31" << 12
                              << IntList{1, 2, 3, -1, -1, -1, -1, -1};
    QTest::newRow("brick") << QByteArray("element stdBrick 20 1 2 3 4 5 6 7 8 1") << "stdBrick" << 20
                           << IntList{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("variables") << QByteArray("set e 30\nset i 4\nelement zeroLength $e $i [expr {$i+1}] -mat 1 -dir 1")
                               << "zeroLength" << 30 << IntList{4, 5, -1, -1, -1, -1, -1, -1};
    QTest::newRow("exact node count") << QByteArray("element twoNodeLink 2 3 4") << "twoNodeLink" << 2
                                      << IntList{3, 4, -1, -1, -1, -1, -1, -1};
}

void ElementCommandTest::recordsTypeTagAndNodes()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, type);
    QFETCH(int, tag);
    QFETCH(IntList, nodes);
    ScriptRunner runner;
    QCOMPARE(runner.run("model basic -ndm 3\n" + command + "\n").code, 0);
    const ModelRecord& m = runner.model();
    QCOMPARE(m.elementTypes, QVector<QString>({type}));
    QCOMPARE(m.elementTags, IntList({tag}));
    QCOMPARE(m.elementNodeCounts, IntList({int(nodes.size() - nodes.count(-1))}));
    for (int k = 1; k <= 8; ++k)
        QCOMPARE(m.elementNodes(k), IntList({nodes[k - 1]}));
}

void ElementCommandTest::everyRecordedNameIsStoredUnderItsCanonicalName()
{
    // name -> canonical name, node count, written out independently of the table.
    const QList<QPair<QString, QPair<QString, int>>> expected = {
        {"truss", {"truss", 2}}, {"Truss", {"truss", 2}}, {"trussSection", {"trussSection", 2}},
        {"TrussSection", {"trussSection", 2}}, {"corotTruss", {"corotTruss", 2}}, {"CorotTruss", {"corotTruss", 2}},
        {"corotTrussSection", {"corotTrussSection", 2}}, {"CorotTrussSection", {"corotTrussSection", 2}},
        {"Truss2", {"Truss2", 2}}, {"CorotTruss2", {"CorotTruss2", 2}}, {"fTruss", {"fTruss", 2}},
        {"elasticBeamColumn", {"elasticBeamColumn", 2}}, {"ModElasticBeam2d", {"ModElasticBeam2d", 2}},
        {"modElasticBeam2d", {"ModElasticBeam2d", 2}}, {"ElasticTimoshenkoBeam", {"ElasticTimoshenkoBeam", 2}},
        {"elasticTimoshenkoBeam", {"ElasticTimoshenkoBeam", 2}}, {"dispBeamColumnInt", {"dispBeamColumnInt", 2}},
        {"forceBeamColumn", {"forceBeamColumn", 2}}, {"dispBeamColumn", {"dispBeamColumn", 2}},
        {"timoshenkoBeamColumn", {"timoshenkoBeamColumn", 2}}, {"forceBeamColumnCBDI", {"forceBeamColumnCBDI", 2}},
        {"forceBeamColumnCSBDI", {"forceBeamColumnCSBDI", 2}},
        {"forceBeamColumnWarping", {"forceBeamColumnWarping", 2}},
        {"elasticForceBeamColumnWarping", {"elasticForceBeamColumnWarping", 2}},
        {"dispBeamColumnNL", {"dispBeamColumnNL", 2}}, {"dispBeamColumnThermal", {"dispBeamColumnThermal", 2}},
        {"elasticForceBeamColumn", {"elasticForceBeamColumn", 2}}, {"nonlinearBeamColumn", {"nonlinearBeamColumn", 2}},
        {"dispBeamColumnWithSensitivity", {"dispBeamColumnWithSensitivity", 2}},
        {"beamWithHinges", {"beamWithHinges", 2}}, {"elasticTubularJoint", {"elasticTubularJoint", 2}},
        {"ElasticTubularJoint", {"elasticTubularJoint", 2}}, {"SFI_MVLEM", {"SFI_MVLEM", 2}},
        {"zeroLength", {"zeroLength", 2}}, {"zeroLengthSection", {"zeroLengthSection", 2}},
        {"zeroLengthRocking", {"zeroLengthRocking", 2}}, {"zeroLengthContact2D", {"zeroLengthContact2D", 2}},
        {"zeroLengthContact3D", {"zeroLengthContact3D", 2}}, {"zeroLengthND", {"zeroLengthND", 2}},
        {"CoupledZeroLength", {"CoupledZeroLength", 2}}, {"ZeroLengthCoupled", {"CoupledZeroLength", 2}},
        {"twoNodeLink", {"twoNodeLink", 2}}, {"BeamContact2D", {"BeamContact2D", 2}},
        {"BeamContact2d", {"BeamContact2D", 2}}, {"BeamEndContact3d", {"BeamEndContact3d", 2}},
        {"BeamEndContact3D", {"BeamEndContact3d", 2}}, {"TFPbearing", {"TFPbearing", 2}}, {"TFP", {"TFPbearing", 2}},
        {"TripleFrictionPendulum", {"TripleFrictionPendulum", 2}}, {"HDR", {"HDR", 2}},
        {"LeadRubberX", {"LeadRubberX", 2}}, {"ElastomericX", {"ElastomericX", 2}},
        {"flatSliderBearing", {"flatSliderBearing", 2}}, {"singleFPBearing", {"singleFPBearing", 2}},
        {"RJWatsonEqsBearing", {"RJWatsonEqsBearing", 2}}, {"elastomericBearing", {"elastomericBearing", 2}},
        {"elastomericBearingPlasticity", {"elastomericBearing", 2}},
        {"elastomericBearingBoucWen", {"elastomericBearingBoucWen", 2}},
        {"multipleShearSpring", {"multipleShearSpring", 2}}, {"MSS", {"multipleShearSpring", 2}},
        {"multipleNormalSpring", {"multipleNormalSpring", 2}}, {"MNS", {"multipleNormalSpring", 2}},
        {"KikuchiBearing", {"KikuchiBearing", 2}}, {"YamamotoBiaxialHDR", {"YamamotoBiaxialHDR", 2}},
        {"9_4_QuadUP", {"9_4_QuadUP", 2}}, {"Tri31", {"Tri31", 3}}, {"tri31", {"Tri31", 3}},
        {"ShellMITC4", {"ShellMITC4", 4}}, {"shell", {"ShellMITC4", 4}}, {"shellMITC4", {"ShellMITC4", 4}},
        {"Shell", {"ShellMITC4", 4}}, {"shellDKGQ", {"shellDKGQ", 4}}, {"ShellDKGQ", {"shellDKGQ", 4}},
        {"shellNLDKGQ", {"shellNLDKGQ", 4}}, {"ShellNLDKGQ", {"shellNLDKGQ", 4}}, {"quad", {"quad", 4}},
        {"stdQuad", {"quad", 4}}, {"quadWithSensitivity", {"quadWithSensitivity", 4}},
        {"enhancedQuad", {"enhancedQuad", 4}}, {"bbarQuad", {"bbarQuad", 4}}, {"mixedQuad", {"bbarQuad", 4}},
        {"nineNodeMixedQuad", {"nineNodeMixedQuad", 4}}, {"nineNodeQuad", {"nineNodeMixedQuad", 4}},
        {"quadUP", {"quadUP", 4}}, {"bbarQuadUP", {"bbarQuadUP", 4}}, {"SSPquad", {"SSPquad", 4}},
        {"SSPQuad", {"SSPquad", 4}}, {"SSPquadUP", {"SSPquadUP", 4}}, {"SSPQuadUP", {"SSPquadUP", 4}},
        {"quad3d", {"quad3d", 4}}, {"Quad3d", {"quad3d", 4}}, {"VS3D4", {"VS3D4", 4}},
        {"SurfaceLoad", {"SurfaceLoad", 4}}, {"Joint2D", {"Joint2D", 4}}, {"Joint2d", {"Joint2D", 4}},
        {"beamColumnJoint", {"beamColumnJoint", 4}}, {"stdBrick", {"stdBrick", 8}}, {"bbarBrick", {"bbarBrick", 8}},
        {"bbarBrickWithSensitivity", {"bbarBrickWithSensitivity", 8}}, {"brickUP", {"brickUP", 8}},
        {"bbarBrickUP", {"bbarBrickUP", 8}}, {"SSPbrick", {"SSPbrick", 8}}, {"SSPBrick", {"SSPbrick", 8}},
        {"SSPbrickUP", {"SSPbrickUP", 8}}, {"SSPBrickUP", {"SSPbrickUP", 8}}};
    QCOMPARE(expected.size(), 105);
    QSet<QString> canonical;
    QByteArray script = "model basic -ndm 3\n";
    for (int i = 0; i < expected.size(); ++i) {
        canonical.insert(expected[i].second.first);
        script += "element " + expected[i].first.toUtf8() + ' ' + QByteArray::number(100 + i)
                  + " 1 2 3 4 5 6 7 8 9 10 1.0\n";
    }
    QCOMPARE(canonical.size(), 76);
    const QStringList names = recordedElementNames();
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 105);

    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    const ModelRecord& m = runner.model();
    QCOMPARE(m.elementTypes.size(), 105);
    for (int i = 0; i < expected.size(); ++i) {
        const int count = expected[i].second.second;
        QCOMPARE(m.elementTypes[i], expected[i].second.first);
        QCOMPARE(m.elementTags[i], 100 + i);
        QCOMPARE(m.elementNodeCounts[i], count);
        for (int k = 1; k <= 8; ++k)
            QCOMPARE(m.elementNodes(k)[i], k <= count ? k : -1);
    }
}

void ElementCommandTest::ignoredAndUnknownNamesRecordNothing()
{
    const QStringList ignored = {
        "zeroLengthContactNTS2D", "zeroLengthInterface2D", "componentElement2d", "zeroLengthImpact3D", "pyMacro2D",
        "PY_Macro2D", "SimpleContact2d", "SimpleContact2D", "N4BiaxialTruss", "SimpleContact3d", "SimpleContact3D",
        "BeamContact3d", "BeamContact3D", "BeamContact3dp", "BeamContact3Dp", "PileToe3d", "PileToe3D",
        "FPBearingPTV", "MVLEM", "MultiFP2d", "MultiFPB2d", "shellNL", "ShellNL", "shellMITC9", "ShellMITC9",
        "BeamContact2dp", "BeamContact2Dp", "BeamEndContact3dp", "BeamEndContact3Dp", "TPB1D", "Quad4FiberOverlay",
        "Brick8FiberOverlay", "QuadBeamEmbedContact", "AC3D8", "ASI3D8", "AV3D4", "elastomericBearingBoucWenMod",
        "20_8_BrickUP", "20NodeBrick", "genericClient", "genericCopy", "flBrick", "Joint3D", "Joint3d",
        "inelastic2dYS01", "inelastic2dYS02", "inelastic2dYS03", "inelastic2dYS04", "inelastic2dYS05",
        "element2dGNL", "elastic2dGNL", "actuator", "corotActuator", "adapter", "elastomericBearingUFRP",
        "PFEMElement2D", "PFEMElement3D"};
    QCOMPARE(ignored.size(), 57);
    QCOMPARE(ignoredElementNames(), ignored);
    QByteArray script = "model basic -ndm 3\n";
    for (const QString& name : ignored + QStringList{"noSuchElement", "TRUSS", "ElasticBeamColumn"})
        script += "element " + name.toUtf8() + " 1 x y\n";  // bad words too: nothing is read
    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    QVERIFY(runner.model().elementTypes.isEmpty());
    QVERIFY(runner.model().elementTags.isEmpty());
}

void ElementCommandTest::failuresLeavePartialEntries_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("types");
    QTest::addColumn<IntList>("tags");
    QTest::addColumn<IntList>("firstNodes");  // entries of elementNodes1..3
    QTest::addColumn<int>("counts");
    const QString cannot = QStringLiteral("TclElementCommand -- unable to create element of type : ");
    QTest::newRow("before model") << QByteArray("element truss 1 1 2 1.0 1")
                                  << "WARNING builder has been destroyed\n" << 0 << IntList{} << IntList{0, 0, 0} << 0;
    QTest::newRow("no type") << QByteArray("model basic -ndm 2\nelement")
                             << "WARNING need to specify an element type\nWant: element eleType <specific element "
                                "args> .. see manual for valid eleTypes & arguments\n"
                             << 0 << IntList{} << IntList{0, 0, 0} << 0;
    QTest::newRow("too few words") << QByteArray("model basic -ndm 2\nelement zeroLength 5 1")
                                   << "TclElementCommand: insufficient arguments" << 1 << IntList{}
                                   << IntList{0, 0, 0} << 0;
    QTest::newRow("bad tag") << QByteArray("model basic -ndm 2\nelement truss x 1 2 10.0 1") << cannot + "truss" << 1
                             << IntList{} << IntList{0, 0, 0} << 0;
    QTest::newRow("bad third node, alias as typed")
        << QByteArray("model basic -ndm 3\nelement shell 4 1 2 z 4 1") << cannot + "shell" << 1 << IntList{4}
        << IntList{1, 1, 0} << 0;
    QTest::newRow("after a good one") << QByteArray("model basic -ndm 3\nelement truss 1 1 2 1 1\nelement Truss 2 1 q 1 1")
                                      << cannot + "Truss" << 2 << IntList{1, 2} << IntList{2, 1, 1} << 1;
}

void ElementCommandTest::failuresLeavePartialEntries()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    QFETCH(int, types);
    QFETCH(IntList, tags);
    QFETCH(IntList, firstNodes);
    QFETCH(int, counts);
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script + "\nelement truss 99 1 2 1 1\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(r.result, QString());
    QCOMPARE(runner.status(), message);
    const ModelRecord& m = runner.model();
    QCOMPARE(m.elementTypes.size(), types);
    QCOMPARE(m.elementTags, tags);
    for (int k = 1; k <= 3; ++k)
        QCOMPARE(m.elementNodes(k).size(), firstNodes[k - 1]);
    QCOMPARE(m.elementNodeCounts.size(), counts);
}

QTEST_GUILESS_MAIN(ElementCommandTest)
#include "tst_ElementCommand.moc"
