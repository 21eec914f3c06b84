// The interpreter's command table and its model, node, analyze and wipe commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

class ModelCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void modelCommand();
    void nodeCommand();
    void failingCommandStopsTheScript();
    void analyzeAndWipe();
    void ignoredCommandsRecordNothing();
    void tclCommandsKeepTheirMeaning();
    void exitEndsTheScriptFromAnyDepth();
    void interpretersCanBeReplacedRepeatedly();
};

void ModelCommandsTest::modelCommand()
{
    struct Ok {
        QByteArray script;
        int ndm, ndf;
    };
    const Ok oks[] = {
        {"model basic -ndm 2", 2, 3},
        {"model basic -ndm 3", 3, 6},
        {"model basic -ndm 1", 1, 1},
        {"model basic -ndm 2 -ndf 2", 2, 2},
        {"model BasicBuilder -ndm 3 -ndf 6", 3, 6},
        {"model Basic -ndm 2", 2, 3},
        {"model basicBuilder -ndm 1", 1, 1},
        {"model basic -NDM 3 -NDF 3", 3, 3},
        {"model basic -ndf 4 -ndm 2", 2, 4},
        {"model basic -ndm 4 -ndf 3", 4, 3},
        {"model basic -ndm 2 -ndf", 2, 3},
        {"model basic -x -ndm 3", 3, 6},
        {"model basic -ndm 3\nmodel basic -ndm 2", 2, 3},
        // Another builder changes nothing, and nodes still follow the basic model.
        {"model basic -ndm 2\nmodel Linear -ndm 3\nnode 1 1.0 2.0", 2, 3},
    };
    for (const Ok& c : oks) {
        const RowName row{c.script};
        ScriptRunner runner;
        QCOMPARE(runner.run(c.script).code, 0);
        QCOMPARE(runner.model().ndm, c.ndm);
        QCOMPARE(runner.model().ndf, c.ndf);
    }
    QCOMPARE(ScriptRunner::model().nodeTags, IntList({1}));

    struct Failure {
        QByteArray script;
        QString message;
        int ndm, ndf;
    };
    const QString usage = QStringLiteral("model modelBuilderType -ndm ndm? <-ndf ndf?>\n");
    const Failure failures[] = {
        {"model", "WARNING need to specify a model type, valid types:\n\tBasicBuilder\n", 0, 0},
        {"model basic -ndm 3 -ndf 6\nmodel basic",
         "WARNING incorrect number of command arguments\nmodel modelBuilderType -ndm ndm? <-ndf ndf?> \n", 0,
         0},
        {"model basic -ndf 3 -x", "WARNING need to specify ndm\n" + usage, 0, 3},
        {"model basic -ndm 4", "WARNING specified ndm, 4, will not work\nwith any elements in BasicBuilder\n",
         4, 0},
        {"model basic -ndm x", "WARNING error reading ndm: x\n" + usage, 0, 0},
        {"model basic -ndm 3 -ndf 2.5", "WARNING error reading ndf: 2.5\n" + usage, 3, 0},
    };
    for (const Failure& c : failures) {
        const RowName row{c.script};
        ScriptRunner runner;
        const EvaluationResult r = runner.run(c.script);
        QCOMPARE(r.code, 1);
        QCOMPARE(r.result, QString());  // model commands leave the interpreter's result empty
        QCOMPARE(runner.status(), c.message);
        QCOMPARE(runner.model().ndm, c.ndm);
        QCOMPARE(runner.model().ndf, c.ndf);
    }
}

void ModelCommandsTest::nodeCommand()
{
    struct Ok {
        QByteArray script;
        IntList tags;
        RealList x, y, z;
    };
    const Ok oks[] = {
        {"model basic -ndm 3\nnode 1 1.5 -2.25 3e2", {1}, {1.5}, {-2.25}, {300.0}},
        {"model basic -ndm 2\nnode 1 4 5", {1}, {4}, {5}, {0}},
        {"model basic -ndm 1\nnode 1 7", {1}, {7}, {0}, {0}},
        {"model basic -ndm 2\nnode 1 0.0 3.5 -mass 1 1 1", {1}, {0}, {3.5}, {0}},
        {"model basic -ndm 2\nnode 1 1 2 -ndf 2", {1}, {1}, {2}, {0}},
        {"model basic -ndm 3\nset h 3.2\nnode 1 0 [expr {2*$h}] $h", {1}, {0}, {6.4}, {3.2}},
        {"model basic -ndm 2\nnode 1 0 0\nnode 1 5 6", {1, 1}, {0, 5}, {0, 6}, {0, 0}},  // duplicates kept
    };
    for (const Ok& c : oks) {
        const RowName row{c.script};
        ScriptRunner runner;
        QCOMPARE(runner.run(c.script).code, 0);
        QCOMPARE(runner.model().nodeTags, c.tags);
        QCOMPARE(runner.model().nodeX, c.x);
        QCOMPARE(runner.model().nodeY, c.y);
        QCOMPARE(runner.model().nodeZ, c.z);
    }

    const QString usage = QStringLiteral("Want: node nodeTag? [ndm coordinates?] <-mass [ndf values?]>\n");
    const QPair<QByteArray, QString> failures[] = {
        {"node 1 0 0", "WARNING builder has been destroyed\n"},
        {"model basic -ndm 2\nnode 5 1.0", "WARNING insufficient arguments\n" + usage},
        {"model basic -ndm 2\nnode a 1 2", "WARNING invalid nodeTag\n" + usage},
        {"model basic -ndm 2\nnode 1 a 2", "WARNING invalid XCoordinate\nnode: 1"},
        {"model basic -ndm 3\nnode 12 1 b 2", "WARNING invalid YCoordinate\nnode: 12"},
        {"model basic -ndm 3\nnode 7 1 2 {}", "WARNING invalid ZCoordinate\nnode: 7"},
        {"model basic -ndm 4 -ndf 3\nnode 3 1 2 3 4", "WARNING invalid ndm\nnode: 3"},
        {"model basic -ndm 2\nnode 4 1 2 -ndf x", "WARNING invalid nodal ndf given for node 4"},
        {"model basic -ndm 2\nnode 4 1 2 -ndf", "WARNING invalid nodal ndf given for node 4"},
    };
    for (const auto& c : failures) {
        const RowName row{c.first};
        ScriptRunner runner;
        QCOMPARE(runner.run(c.first).code, 1);
        QCOMPARE(runner.status(), c.second);
        QVERIFY(runner.model().nodeTags.isEmpty());
        QVERIFY(runner.model().nodeX.isEmpty());
    }
}

void ModelCommandsTest::failingCommandStopsTheScript()
{
    ScriptRunner runner;
    QCOMPARE(runner.run("model basic -ndm 2\nnode 1 0 0\nnode 2 x 0\nnode 3 0 0\n").code, 1);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
    QCOMPARE(runner.status(), QStringLiteral("WARNING invalid XCoordinate\nnode: 2"));

    // A caught failure lets the script go on; the message stays.
    QCOMPARE(runner.run("model basic -ndm 2\ncatch {node 2 x 0}\nnode 3 0 0\n").code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({3}));
    QCOMPARE(runner.status(), QStringLiteral("WARNING invalid XCoordinate\nnode: 2"));

    const EvaluationResult r = runner.run("model basic -ndm 2\nnode 1 0 0\nnodee 2 0 0\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(r.result, QStringLiteral("invalid command name \"nodee\""));
    QCOMPARE(runner.status(), r.result);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
}

void ModelCommandsTest::analyzeAndWipe()
{
    ScriptRunner runner;
    EvaluationResult r = runner.run("foreach i {1 2 3 4 5} { analyze 10 }\nanalyze\nanalyze 1 0.01 extra\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(r.result, QString());
    QCOMPARE(runner.model().analyzeCount, 7);

    r = runner.run(
        "model basic -ndm 3\nnode 1 0 0 0\nnode 2 1 0 0\nelement truss 1 1 2 1.0 1\n"
        "fix 1 1 1 1 1 1 1\ntimeSeries Path 1 -dt 0.1 -values {1 2} -factor 3 -useLast\n"
        "analyze 1\n"
        "catch {eigen -foo 1}\nwipe\nset status [catch {node 9 0 0 0}]\n"
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
    const QStringList names =
        QString(
            "fixX fixY fixZ rigidDiaphragm parameter addToParameter updateParameter PFEM2D PFEM3D limitCurve "
            "yieldSurface_BC plasticMaterial cyclicModel damageModel imposedSupportMotion equalDOF_Mixed mp "
            "PySimple1Gen TzSimple1Gen block2D block3D patch layer fiber Hfiber stiffnessDegradation "
            "unloadingRule strengthDegradation hystereticBackbone updateMaterialStage updateMaterials "
            "loadPackage setElementRayleighFactors section geomTransf mass pattern load eleLoad constraints "
            "loadConst uniaxialMaterial nDMaterial block2d block3d ShallowFoundationGen frictionModel "
            "imposedMotion groundMotion sp save restore Wsection vrp vpn vup prp plane port viewWindow "
            "projection fill display wipeAnalysis reset initialize setTime getTime getLoadFactor build print "
            "printA printB printGID analysis system numberer algorithm test testNorms testIter integrator "
            "recorder algorithmRecorder database video remove eleForce localForce eleDynamicalForce "
            "eleResponse "
            "nodeDisp setNodeDisp nodeReaction nodeUnbalance nodeEigenvector nodeVel setNodeVel nodeAccel "
            "setNodeAccel nodeResponse reactions nodeCoord setNodeCoord updateElementDomain eleNodes "
            "nodeMass "
            "nodePressure nodeBounds start stop rayleigh modalDamping modalDampingQ "
            "setElementRayleighDampingFactors region logFile setPrecision getNP getPID barrier send recv "
            "partition searchPeerNGA domainChange record metaData defaultUnits neesUpload stripXML "
            "convertBinaryToText convertTextToBinary getEleTags getNodeTags getParamTags getParamValue "
            "sectionForce sectionDeformation sectionStiffness sectionFlexibility sectionLocation "
            "sectionWeight "
            "basicDeformation basicForce basicStiffness InitialStateAnalysis totalCPU solveCPU accelCPU "
            "numFact "
            "numIter systemSize version setParameter setMaxOpenFiles wipeReliability reliability "
            "computeGradients sensitivityAlgorithm sensitivityIntegrator sensNodeDisp sensLambda sensNodeVel "
            "sensNodeAccel sensSectionForce sensNodePressure optimization")
            .split(' ');
    QCOMPARE(names.size(), 168);  // with exit, quit, string, clock and trace: the solver's 173

    // Each name is called with odd arguments and must give an empty result (concatenated into a node tag).
    QByteArray script = "model basic -ndm 3\nset r {}\n";
    for (const QString& name : names)
        script += "append r [" + name.toUtf8() + " 1 -file out.txt {a b} \"x\"]\n";
    script += "if {$r eq {}} { node 1 0 0 0 }\nrecorder Node -file disp.out -time -node 1 -dof 1 disp\n";
    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({1}));
    QVERIFY(runner.model().fixNodeTags.isEmpty());  // fixX and friends record nothing
    QVERIFY(runner.model().rigidLinkRetainedNodes.isEmpty());
    QVERIFY(!QFile::exists(runner.dir() + "/disp.out"));
    QVERIFY(!QFile::exists(runner.dir() + "/out.txt"));
}

void ModelCommandsTest::tclCommandsKeepTheirMeaning()
{
    // string, clock and trace share their names with solver commands; library procedures need Tcl_Init.
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "model basic -ndm 2\nset s [string length abc]\nnode $s 0 0\nset t0 [clock seconds]\n"
        "node [expr {[clock seconds] - $t0 >= 0 ? 10 : 11}] 0 0\n"
        "trace add variable h write {apply {args { node 20 0 0 }}}\nset h 3.0\n"
        "node [string toupper 5] [string repeat 1 2] 0\n"
        "node [clock format 0 -format %Y -gmt 1] 0 0\narray set sizes {b 0.3}\nparray sizes\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().nodeTags, IntList({3, 10, 20, 5, 1970}));
    QCOMPARE(runner.model().nodeX[3], 11.0);
    QVERIFY(runner.log().contains("sizes(b) = 0.3"));
}

void ModelCommandsTest::exitEndsTheScriptFromAnyDepth()
{
    const QByteArray scripts[] = {
        "node 1 0 0\nnode 2 0 0\nexit\nnode 3 0 0\n",
        "node 1 0 0\nnode 2 0 0\nquit 3\nnode 3 0 0\n",
        "proc build {} {\n  foreach i {1 2 3} {\n    node $i 0 0\n    if {$i == 2} { exit }\n  }\n}\n"
        "build\nnode 4 0 0\n",
        "node 1 0 0\nnode 2 0 0\nif {[catch {exit} msg]} { node 5 0 0 }\nnode 6 0 0\n",
        "proc p {} { catch { catch { node 2 0 0; exit 0 } } ; node 7 0 0 }\n"
        "node 1 0 0\ncatch p\nnode 8 0 0\n",
        "node 1 0 0\nnode 2 0 0\nsource tail.tcl\nnode 3 0 0\n",
        "proc p {} { uplevel 1 {eval {node 2 0 0; exit}} }\nnode 1 0 0\np\nnode 3 0 0\n",
    };
    for (const QByteArray& script : scripts) {
        const RowName row{script};
        ScriptRunner runner;
        runner.write("tail.tcl", "exit\nnode 9 0 0\n");
        const EvaluationResult r = runner.run("model basic -ndm 2\n" + script);
        QCOMPARE(r.code, 0);
        QCOMPARE(r.result, QString());
        QCOMPARE(runner.model().nodeTags, IntList({1, 2}));
        QCOMPARE(runner.status(), QString());
    }
}

void ModelCommandsTest::interpretersCanBeReplacedRepeatedly()
{
    ScriptRunner runner;
    for (int round = 0; round < 20; ++round) {
        const QByteArray n = QByteArray::number(round);
        QCOMPARE(runner.run("model basic -ndm 2\nnode " + n + " 0 0\nputs round" + n + "\n").code, 0);
        QCOMPARE(runner.model().nodeTags, IntList({round}));
        QCOMPARE(runner.log(), "round" + n + "\n");
    }
    // Creating an interpreter resets the record even when nothing is evaluated.
    ModelInterpreter fresh;
    QVERIFY(runner.model().nodeTags.isEmpty());
    QCOMPARE(runner.status(), QString());
}

QTEST_GUILESS_MAIN(ModelCommandsTest)
#include "tst_ModelCommands.moc"
