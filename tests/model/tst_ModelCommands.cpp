// The interpreter's command table and its model, node, analyze and wipe commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

using IntList = QVector<int>;
using RealList = QVector<double>;

class ModelCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void modelSetsDimensions_data();
    void modelSetsDimensions();
    void modelFailures_data();
    void modelFailures();
    void modelOfOtherBuilderChangesNothing();
    void failingCommandStopsTheScript();

    void nodeStoresCoordinates_data();
    void nodeStoresCoordinates();
    void nodeFailures_data();
    void nodeFailures();
    void nodeKeepsDuplicateTagsAndLeavesNothingOnFailure();

    void analyzeCountsEveryCall();
    void wipeMidScriptDropsTheModel();

    void ignoredCommandsRecordNothing();
    void tclStringClockAndTraceKeepTheirMeaning();
    void tclLibraryProceduresAreAvailable();
    void exitEndsTheScriptFromAnyDepth_data();
    void exitEndsTheScriptFromAnyDepth();
    void unknownCommandIsATclError();
    void interpretersCanBeReplacedRepeatedly();
};

void ModelCommandsTest::modelSetsDimensions_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("ndm");
    QTest::addColumn<int>("ndf");
    QTest::newRow("2d derives 3") << QByteArray("model basic -ndm 2") << 2 << 3;
    QTest::newRow("3d derives 6") << QByteArray("model basic -ndm 3") << 3 << 6;
    QTest::newRow("1d derives 1") << QByteArray("model basic -ndm 1") << 1 << 1;
    QTest::newRow("explicit ndf kept") << QByteArray("model basic -ndm 2 -ndf 2") << 2 << 2;
    QTest::newRow("BasicBuilder") << QByteArray("model BasicBuilder -ndm 3 -ndf 6") << 3 << 6;
    QTest::newRow("Basic") << QByteArray("model Basic -ndm 2") << 2 << 3;
    QTest::newRow("basicBuilder") << QByteArray("model basicBuilder -ndm 1") << 1 << 1;
    QTest::newRow("upper-case options") << QByteArray("model basic -NDM 3 -NDF 3") << 3 << 3;
    QTest::newRow("ndf before ndm") << QByteArray("model basic -ndf 4 -ndm 2") << 2 << 4;
    QTest::newRow("odd ndm with explicit ndf") << QByteArray("model basic -ndm 4 -ndf 3") << 4 << 3;
    QTest::newRow("trailing option ignored") << QByteArray("model basic -ndm 2 -ndf") << 2 << 3;
    QTest::newRow("other words skipped") << QByteArray("model basic -x -ndm 3") << 3 << 6;
    QTest::newRow("second model redefines") << QByteArray("model basic -ndm 3\nmodel basic -ndm 2") << 2 << 3;
}

void ModelCommandsTest::modelSetsDimensions()
{
    QFETCH(QByteArray, script);
    QFETCH(int, ndm);
    QFETCH(int, ndf);
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script);
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().ndm, ndm);
    QCOMPARE(runner.model().ndf, ndf);
}

void ModelCommandsTest::modelFailures_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("ndm");
    QTest::addColumn<int>("ndf");
    QTest::newRow("no type") << QByteArray("model")
                             << "WARNING need to specify a model type, valid types:\n\tBasicBuilder\n" << 0 << 0;
    QTest::newRow("no options") << QByteArray("model basic -ndm 3 -ndf 6\nmodel basic")
                                << "WARNING incorrect number of command arguments\n"
                                   "model modelBuilderType -ndm ndm? <-ndf ndf?> \n"
                                << 0 << 0;
    QTest::newRow("no ndm") << QByteArray("model basic -ndf 3 -x")
                            << "WARNING need to specify ndm\nmodel modelBuilderType -ndm ndm? <-ndf ndf?>\n" << 0
                            << 3;
    QTest::newRow("ndm 4") << QByteArray("model basic -ndm 4")
                           << "WARNING specified ndm, 4, will not work\nwith any elements in BasicBuilder\n" << 4 << 0;
    QTest::newRow("bad ndm") << QByteArray("model basic -ndm x")
                             << "WARNING error reading ndm: x\nmodel modelBuilderType -ndm ndm? <-ndf ndf?>\n" << 0
                             << 0;
    QTest::newRow("bad ndf") << QByteArray("model basic -ndm 3 -ndf 2.5")
                             << "WARNING error reading ndf: 2.5\nmodel modelBuilderType -ndm ndm? <-ndf ndf?>\n" << 3
                             << 0;
}

void ModelCommandsTest::modelFailures()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    QFETCH(int, ndm);
    QFETCH(int, ndf);
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script);
    QCOMPARE(r.code, 1);
    QCOMPARE(r.result, QString());  // model commands leave the interpreter's result empty
    QCOMPARE(runner.status(), message);
    QCOMPARE(runner.model().ndm, ndm);
    QCOMPARE(runner.model().ndf, ndf);
}

void ModelCommandsTest::modelOfOtherBuilderChangesNothing()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run("model basic -ndm 2\nmodel Linear -ndm 3\nnode 1 1.0 2.0\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().ndm, 2);
    QCOMPARE(runner.model().ndf, 3);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
}

void ModelCommandsTest::failingCommandStopsTheScript()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run("model basic -ndm 2\nnode 1 0 0\nnode 2 x 0\nnode 3 0 0\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
    QCOMPARE(runner.status(), QStringLiteral("WARNING invalid XCoordinate\nnode: 2"));

    // A caught failure lets the script go on; the message stays.
    const EvaluationResult caught = runner.run("model basic -ndm 2\ncatch {node 2 x 0}\nnode 3 0 0\n");
    QCOMPARE(caught.code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({3}));
    QCOMPARE(runner.status(), QStringLiteral("WARNING invalid XCoordinate\nnode: 2"));
}

void ModelCommandsTest::nodeStoresCoordinates_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<RealList>("x");
    QTest::addColumn<RealList>("y");
    QTest::addColumn<RealList>("z");
    QTest::newRow("3d") << QByteArray("model basic -ndm 3\nnode 1 1.5 -2.25 3e2") << RealList{1.5} << RealList{-2.25}
                        << RealList{300.0};
    QTest::newRow("2d has no Z") << QByteArray("model basic -ndm 2\nnode 1 4 5") << RealList{4} << RealList{5}
                                 << RealList{0};
    QTest::newRow("1d has no Y, Z") << QByteArray("model basic -ndm 1\nnode 1 7") << RealList{7} << RealList{0}
                                    << RealList{0};
    QTest::newRow("mass ignored") << QByteArray("model basic -ndm 2\nnode 1 0.0 3.5 -mass 1 1 1") << RealList{0}
                                  << RealList{3.5} << RealList{0};
    QTest::newRow("ndf checked") << QByteArray("model basic -ndm 2\nnode 1 1 2 -ndf 2") << RealList{1}
                                 << RealList{2} << RealList{0};
    QTest::newRow("expressions") << QByteArray("model basic -ndm 3\nset h 3.2\nnode 1 0 [expr {2*$h}] $h")
                                 << RealList{0} << RealList{6.4} << RealList{3.2};
}

void ModelCommandsTest::nodeStoresCoordinates()
{
    QFETCH(QByteArray, script);
    QFETCH(RealList, x);
    QFETCH(RealList, y);
    QFETCH(RealList, z);
    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
    QCOMPARE(runner.model().nodeX, x);
    QCOMPARE(runner.model().nodeY, y);
    QCOMPARE(runner.model().nodeZ, z);
}

void ModelCommandsTest::nodeFailures_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    const QString usage = QStringLiteral("Want: node nodeTag? [ndm coordinates?] <-mass [ndf values?]>\n");
    QTest::newRow("before model") << QByteArray("node 1 0 0") << "WARNING builder has been destroyed\n";
    QTest::newRow("too few words") << QByteArray("model basic -ndm 2\nnode 5 1.0")
                                   << "WARNING insufficient arguments\n" + usage;
    QTest::newRow("bad tag") << QByteArray("model basic -ndm 2\nnode a 1 2") << "WARNING invalid nodeTag\n" + usage;
    QTest::newRow("bad X") << QByteArray("model basic -ndm 2\nnode 1 a 2") << "WARNING invalid XCoordinate\nnode: 1";
    QTest::newRow("bad Y") << QByteArray("model basic -ndm 3\nnode 12 1 b 2")
                           << "WARNING invalid YCoordinate\nnode: 12";
    QTest::newRow("bad Z") << QByteArray("model basic -ndm 3\nnode 7 1 2 {}") << "WARNING invalid ZCoordinate\nnode: 7";
    QTest::newRow("ndm 4") << QByteArray("model basic -ndm 4 -ndf 3\nnode 3 1 2 3 4") << "WARNING invalid ndm\nnode: 3";
    QTest::newRow("bad node ndf") << QByteArray("model basic -ndm 2\nnode 4 1 2 -ndf x")
                                  << "WARNING invalid nodal ndf given for node 4";
    QTest::newRow("missing node ndf") << QByteArray("model basic -ndm 2\nnode 4 1 2 -ndf")
                                      << "WARNING invalid nodal ndf given for node 4";
    QTest::newRow("after wipe") << QByteArray("model basic -ndm 2\nwipe\nnode 1 0 0")
                                << "WARNING builder has been destroyed\n";
}

void ModelCommandsTest::nodeFailures()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script);
    QCOMPARE(r.code, 1);
    QCOMPARE(runner.status(), message);
    QVERIFY(runner.model().nodeTags.isEmpty());
    QVERIFY(runner.model().nodeX.isEmpty());
}

void ModelCommandsTest::nodeKeepsDuplicateTagsAndLeavesNothingOnFailure()
{
    ScriptRunner runner;
    QCOMPARE(runner.run("model basic -ndm 2\nnode 1 0 0\nnode 1 5 6\n").code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({1, 1}));
    QCOMPARE(runner.model().nodeX, RealList({0, 5}));
    QCOMPARE(runner.model().nodeY, RealList({0, 6}));
}

void ModelCommandsTest::analyzeCountsEveryCall()
{
    ScriptRunner runner;
    const EvaluationResult r =
        runner.run("for {set i 0} {$i < 5} {incr i} { analyze 10 }\nanalyze\nanalyze 1 0.01 extra words\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(r.result, QString());
    QCOMPARE(runner.model().analyzeCount, 7);
}

void ModelCommandsTest::wipeMidScriptDropsTheModel()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "model basic -ndm 3\nnode 1 0 0 0\nnode 2 1 0 0\nelement truss 1 1 2 1.0 1\nfix 1 1 1 1 1 1 1\n"
        "timeSeries Path 1 -dt 0.1 -values {1 2} -factor 3 -useLast\nanalyze 1\n"
        "catch {eigen -foo 1}\nwipe\n"
        "set status [catch {node 9 0 0 0}]\n"
        "model basic -ndm 2\nnode 3 4 5\n");
    QCOMPARE(r.code, 0);
    const ModelRecord& m = runner.model();
    QCOMPARE(m.ndm, 2);
    QCOMPARE(m.nodeTags, IntList({3}));
    QCOMPARE(m.nodeZ, RealList({0}));
    QVERIFY(m.elementTypes.isEmpty() && m.elementTags.isEmpty() && m.elementNodes1.isEmpty());
    QVERIFY(m.fixNodeTags.isEmpty() && m.fixDofs6.isEmpty());
    QCOMPARE(m.analyzeCount, 0);
    QVERIFY(m.seriesValues.isEmpty());
    QCOMPARE(m.seriesFactor, 1.0);
    QCOMPARE(m.seriesUseLast, false);
    // The node between wipe and model failed with the builder message.
    QCOMPARE(m.statusMessage, QStringLiteral("WARNING builder has been destroyed\n"));
}

void ModelCommandsTest::ignoredCommandsRecordNothing()
{
    const QStringList names = {
        "fixX", "fixY", "fixZ", "rigidDiaphragm", "parameter", "addToParameter", "updateParameter", "PFEM2D",
        "PFEM3D", "limitCurve", "yieldSurface_BC", "plasticMaterial", "cyclicModel", "damageModel",
        "imposedSupportMotion", "equalDOF_Mixed", "mp", "PySimple1Gen", "TzSimple1Gen", "block2D", "block3D",
        "patch", "layer", "fiber", "Hfiber", "stiffnessDegradation", "unloadingRule", "strengthDegradation",
        "hystereticBackbone", "updateMaterialStage", "updateMaterials", "loadPackage",
        "setElementRayleighFactors", "section", "geomTransf", "mass", "pattern", "load", "eleLoad", "constraints",
        "loadConst", "uniaxialMaterial", "nDMaterial", "block2d", "block3d", "ShallowFoundationGen",
        "frictionModel", "imposedMotion", "groundMotion", "sp", "save", "restore", "Wsection", "vrp", "vpn",
        "vup", "prp", "plane", "port", "viewWindow", "projection", "fill", "display", "wipeAnalysis", "reset",
        "initialize", "setTime", "getTime", "getLoadFactor", "build", "print", "printA", "printB", "printGID",
        "analysis", "system", "numberer", "algorithm", "test", "testNorms", "testIter", "integrator", "recorder",
        "algorithmRecorder", "database", "video", "remove", "eleForce", "localForce", "eleDynamicalForce",
        "eleResponse", "nodeDisp", "setNodeDisp", "nodeReaction", "nodeUnbalance", "nodeEigenvector", "nodeVel",
        "setNodeVel", "nodeAccel", "setNodeAccel", "nodeResponse", "reactions", "nodeCoord", "setNodeCoord",
        "updateElementDomain", "eleNodes", "nodeMass", "nodePressure", "nodeBounds", "start", "stop", "rayleigh",
        "modalDamping", "modalDampingQ", "setElementRayleighDampingFactors", "region", "logFile", "setPrecision",
        "getNP", "getPID", "barrier", "send", "recv", "partition", "searchPeerNGA", "domainChange", "record",
        "metaData", "defaultUnits", "neesUpload", "stripXML", "convertBinaryToText", "convertTextToBinary",
        "getEleTags", "getNodeTags", "getParamTags", "getParamValue", "sectionForce", "sectionDeformation",
        "sectionStiffness", "sectionFlexibility", "sectionLocation", "sectionWeight", "basicDeformation",
        "basicForce", "basicStiffness", "InitialStateAnalysis", "totalCPU", "solveCPU", "accelCPU", "numFact",
        "numIter", "systemSize", "version", "setParameter", "setMaxOpenFiles", "wipeReliability", "reliability",
        "computeGradients", "sensitivityAlgorithm", "sensitivityIntegrator", "sensNodeDisp", "sensLambda",
        "sensNodeVel", "sensNodeAccel", "sensSectionForce", "sensNodePressure", "optimization"};
    QCOMPARE(names.size(), 168);  // with exit, quit, string, clock and trace: the solver's 173

    // Each name is called with odd arguments and must give an empty result (concatenated into a node tag).
    QByteArray script = "model basic -ndm 3\nset r {}\n";
    for (const QString& name : names)
        script += "append r [" + name.toUtf8() + " 1 -file out.txt {a b} \"x\"]\n";
    script += "if {$r eq {}} { node 1 0 0 0 }\n"
              "recorder Node -file disp.out -time -node 1 -dof 1 disp\n";
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script);
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
    QVERIFY(runner.model().fixNodeTags.isEmpty());  // fixX and friends record nothing
    QVERIFY(runner.model().rigidLinkRetainedNodes.isEmpty());
    QVERIFY(!QFile::exists(runner.dir() + "/disp.out"));
    QVERIFY(!QFile::exists(runner.dir() + "/out.txt"));
}

void ModelCommandsTest::tclStringClockAndTraceKeepTheirMeaning()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "model basic -ndm 2\n"
        "set s [string length abc]\n"
        "node $s 0 0\n"
        "set t0 [clock seconds]\n"
        "set elapsed [expr {[clock seconds] - $t0}]\n"
        "node [expr {$elapsed >= 0 ? 10 : 11}] 0 0\n"
        "trace add variable h write {apply {args { node 20 0 0 }}}\n"
        "set h 3.0\n"
        "node [string toupper 5] [string repeat 1 2] 0\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({3, 10, 20, 5}));
    QCOMPARE(runner.model().nodeX.last(), 11.0);
}

void ModelCommandsTest::tclLibraryProceduresAreAvailable()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "model basic -ndm 2\n"
        "node [clock format 0 -format %Y -gmt 1] 0 0\n"
        "array set sizes {b 0.3}\n"
        "parray sizes\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({1970}));
    QFile log(runner.dir() + "/Tolvane.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("sizes(b) = 0.3"));
}

void ModelCommandsTest::exitEndsTheScriptFromAnyDepth_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::newRow("top level") << QByteArray("node 1 0 0\nnode 2 0 0\nexit\nnode 3 0 0\n");
    QTest::newRow("quit with a code") << QByteArray("node 1 0 0\nnode 2 0 0\nquit 3\nnode 3 0 0\n");
    QTest::newRow("procedure in a loop") << QByteArray(
        "proc build {} {\n  foreach i {1 2 3} {\n    node $i 0 0\n    if {$i == 2} { exit }\n  }\n}\n"
        "build\nnode 4 0 0\n");
    QTest::newRow("inside catch") << QByteArray(
        "node 1 0 0\nnode 2 0 0\nif {[catch {exit} msg]} { node 5 0 0 }\nnode 6 0 0\n");
    QTest::newRow("nested catch in proc") << QByteArray(
        "proc p {} { catch { catch { node 2 0 0; exit 0 } } ; node 7 0 0 }\nnode 1 0 0\ncatch p\nnode 8 0 0\n");
    QTest::newRow("sourced file") << QByteArray("node 1 0 0\nnode 2 0 0\nsource tail.tcl\nnode 3 0 0\n");
    QTest::newRow("uplevel and eval") << QByteArray(
        "proc p {} { uplevel 1 {eval {node 2 0 0; exit}} }\nnode 1 0 0\np\nnode 3 0 0\n");
}

void ModelCommandsTest::exitEndsTheScriptFromAnyDepth()
{
    QFETCH(QByteArray, script);
    ScriptRunner runner;
    runner.write("tail.tcl", "exit\nnode 9 0 0\n");
    const EvaluationResult r = runner.run("model basic -ndm 2\n" + script);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.result, QString());
    QCOMPARE(runner.model().nodeTags, IntList({1, 2}));
    QCOMPARE(runner.status(), QString());
}

void ModelCommandsTest::unknownCommandIsATclError()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run("model basic -ndm 2\nnode 1 0 0\nnodee 2 0 0\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(r.result, QStringLiteral("invalid command name \"nodee\""));
    QCOMPARE(runner.status(), r.result);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
}

void ModelCommandsTest::interpretersCanBeReplacedRepeatedly()
{
    ScriptRunner runner;
    for (int round = 0; round < 20; ++round) {
        const QByteArray n = QByteArray::number(round);
        const EvaluationResult r = runner.run("model basic -ndm 2\nnode " + n + " 0 0\nputs round" + n + "\n");
        QCOMPARE(r.code, 0);
        QCOMPARE(runner.model().nodeTags, IntList({round}));
        QFile log(runner.dir() + "/Tolvane.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), "round" + QByteArray::number(round) + "\n");
    }
    // Creating an interpreter resets the record even when nothing is evaluated.
    ModelInterpreter fresh;
    QVERIFY(runner.model().nodeTags.isEmpty());
    QCOMPARE(runner.status(), QString());
}

QTEST_GUILESS_MAIN(ModelCommandsTest)
#include "tst_ModelCommands.moc"
