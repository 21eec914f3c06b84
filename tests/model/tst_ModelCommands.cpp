// The interpreter's command table and its model, node, analyze and wipe commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

class ModelCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void modelCommand()
    {
        struct Case {
            QByteArray script;
            int ndm, ndf;
            QString message = {};  // empty when the script succeeds
        };
        const QString usage = QStringLiteral("model modelBuilderType -ndm ndm? <-ndf ndf?>\n");
        const Case cases[] = {
            {"model basic -ndm 2", 2, 3},
            {"model basic -ndm 3", 3, 6},
            {"model BasicBuilder -ndf 4 -ndm 2", 2, 4},
            {"model", 0, 0, "WARNING need to specify a model type, valid types:\n\tBasicBuilder\n"},
            {"model basic -ndm 3 -ndf 6\nmodel basic", 0, 0,
             "WARNING incorrect number of command arguments\n"
             "model modelBuilderType -ndm ndm? <-ndf ndf?> \n"},
            {"model basic -ndf 3 -x", 0, 3, "WARNING need to specify ndm\n" + usage},
            {"model basic -ndm 4", 4, 0,
             "WARNING specified ndm, 4, will not work\nwith any elements in BasicBuilder\n"},
            {"model basic -ndm 3 -ndf 2.5", 3, 0, "WARNING error reading ndf: 2.5\n" + usage},
            // Last: another builder changes nothing, and nodes still follow the basic model.
            {"model basic -ndm 2\nmodel Linear -ndm 3\nnode 1 1.0 2.0", 2, 3},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            const EvaluationResult r = runner.run(c.script);
            QCOMPARE(r.code, c.message.isEmpty() ? 0 : 1);
            QCOMPARE(r.result, QString());  // model commands leave the interpreter's result empty
            QCOMPARE(runner.status(), c.message);
            QCOMPARE(runner.model().ndm, c.ndm);
            QCOMPARE(runner.model().ndf, c.ndf);
        }
        QCOMPARE(ScriptRunner::model().nodeTags, IntList({1}));
    }

    void nodeCommand()
    {
        struct Case {
            QByteArray script;
            QString message;  // empty when the script succeeds
            IntList tags = {};
            RealList x = {}, y = {}, z = {};
        };
        const QString usage =
            QStringLiteral("Want: node nodeTag? [ndm coordinates?] <-mass [ndf values?]>\n");
        const Case cases[] = {
            {"model basic -ndm 3\nnode 1 1.5 -2.25 3e2", "", {1}, {1.5}, {-2.25}, {300.0}},
            {"model basic -ndm 2\nnode 1 0.0 3.5 -mass 1 1 1", "", {1}, {0}, {3.5}, {0}},
            // Duplicates are kept.
            {"model basic -ndm 2\nnode 1 0 0\nnode 1 5 6", "", {1, 1}, {0, 5}, {0, 6}, {0, 0}},
            {"node 1 0 0", "WARNING builder has been destroyed\n"},
            {"model basic -ndm 2\nnode 5 1.0", "WARNING insufficient arguments\n" + usage},
            {"model basic -ndm 3\nnode 7 1 2 {}", "WARNING invalid ZCoordinate\nnode: 7"},
            {"model basic -ndm 2\nnode 4 1 2 -ndf", "WARNING invalid nodal ndf given for node 4"},
            // ndm + 2 must not overflow into a count that lets the coordinates be read past the words.
            {"model basic -ndm 2147483647 -ndf 3\nnode 1 0 0", "WARNING insufficient arguments\n" + usage},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            QCOMPARE(runner.run(c.script).code, c.message.isEmpty() ? 0 : 1);
            QCOMPARE(runner.status(), c.message);
            QCOMPARE(runner.model().nodeTags, c.tags);
            QCOMPARE(runner.model().nodeX, c.x);
            QCOMPARE(runner.model().nodeY, c.y);
            QCOMPARE(runner.model().nodeZ, c.z);
        }
    }

    void failingCommandStopsTheScript()
    {
        ScriptRunner runner;
        QCOMPARE(runner.run("model basic -ndm 2\nnode 1 0 0\nnode 2 x 0\nnode 3 0 0\n").code, 1);
        QCOMPARE(runner.model().nodeTags, IntList({1}));
        // A caught failure lets the script go on; the message stays.
        QCOMPARE(runner.run("model basic -ndm 2\ncatch {node 2 x 0}\nnode 3 0 0\n").code, 0);
        QCOMPARE(runner.model().nodeTags, IntList({3}));
        QCOMPARE(runner.status(), QStringLiteral("WARNING invalid XCoordinate\nnode: 2"));
    }

    void wipeEmptiesTheRecord()
    {
        ScriptRunner runner;
        const EvaluationResult r = runner.run(
            "model basic -ndm 3\nnode 1 0 0 0\nnode 2 1 0 0\nelement truss 1 1 2 1.0 1\n"
            "fix 1 1 1 1 1 1 1\ntimeSeries Path 1 -dt 0.1 -values {1 2} -factor 3 -useLast\nanalyze 1\n"
            "wipe\nset status [catch {node 9 0 0 0}]\nmodel basic -ndm 2\nnode 3 4 5\n");
        QCOMPARE(r.code, 0);
        const ModelRecord& m = runner.model();
        QCOMPARE(m.ndm, 2);
        QCOMPARE(m.nodeTags, IntList({3}));
        QVERIFY(m.elementTypes.isEmpty() && m.elementTags.isEmpty() && m.elementNodes1.isEmpty());
        QVERIFY(m.fixNodeTags.isEmpty() && m.fixDofs6.isEmpty() && m.seriesValues.isEmpty());
        QCOMPARE(m.analyzeCount, 0);
        QCOMPARE(m.seriesFactor, 1.0);
        QCOMPARE(m.seriesUseLast, false);
        // The node between wipe and model failed with the builder message.
        QCOMPARE(m.statusMessage, QStringLiteral("WARNING builder has been destroyed\n"));
    }

    void solverCommandsAreAccepted()
    {
        // Solver commands the record ignores, an older one and a reliability one: called with odd words,
        // each may fail with its own message but none as an unknown command; a typo still ends the script.
        ScriptRunner runner;
        const EvaluationResult r = runner.run(
            "model basic -ndm 3\nnode 1 0 0 0\n"
            "foreach name {recorder pattern load mass integrator printModel block3D PFEM2D randomVariable} "
            "{\n"
            "    if {[catch {$name 1 -file out.txt {a b} x} msg] &&\n"
            "        [string match {invalid command name*} $msg]} { puts $name }\n"
            "}\nputs done\nnodee 2 0 0 0\n");
        QCOMPARE(runner.log(), QByteArray("done\n"));
        QCOMPARE(r.result, QStringLiteral("invalid command name \"nodee\""));
        QCOMPARE(runner.status(), r.result);
        QCOMPARE(r.errorLine, 8);
        QVERIFY(!QFile::exists(runner.dir() + "/out.txt"));
    }

    void queriesAnswerFromTheRecord()
    {
        const QByteArray model =
            "model basic -ndm 2\nnode 1 0 0\nnode 2 4.5 0\nnode 3 4.5 3\nnode 4 0 3\n"
            "element elasticBeamColumn 7 1 2 1 1 1\nelement quad 8 1 2 3 4 1 PlaneStrain 1\n"
            "element mixedBeamColumn 9 3 4 1 1\n";  // a type the record leaves out
        // The result, or the status message when the query fails.
        const QPair<QByteArray, QString> cases[] = {
            {"getEleTags", "7 8"},
            {"nodeCoord 3 2", "3.0"},
            {"eleNodes 8", "1 2 3 4"},
            {"eleNodes 9", ""},
            {"nodeDOFs 2", "3 4 5"},
            {"eleForce 8", "0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0"},
            {"eleForce 9", "0.0"},
            // As long as the solver's answer, so that scripts can pick values out of it.
            {"eleResponse 7 localForce", "0.0 0.0 0.0 0.0 0.0 0.0"},
            {"llength [eleResponse 8 stresses]", "12"},
            {"model basic -ndm 2 -ndf 2; node 5 1 1; list [llength [nodeDisp 1]] [nodeDisp 5]",
             "3 {0.0 0.0}"},
            {"reliability; expr {[getMean 1] + 1}", "1"},
            {"timeSeries PeerNGAMotion 2 eq 1.0 -dT dt -nPts n; list $dt $n", "0 0"},
            {"analyze 1", "0"},  // as the solver does on success
            {"nodeCoord 99", "WARNING nodeCoord - no node with tag 99\n"},
            {"nodeCoord 1 3", "WARNING nodeCoord - node 1 has no coordinate 3\n"},
            {"nodeEigenvector 1", "WARNING want - nodeEigenvector nodeTag? mode? <dof?>\n"},
        };
        for (const auto& c : cases) {
            const bool fails = c.second.startsWith("WARNING");
            ScriptRunner runner(c.first);
            const EvaluationResult r = runner.run(model + "puts -nonewline [" + c.first + "]\n");
            QCOMPARE(r.code, fails ? 1 : 0);
            QCOMPARE(fails ? runner.status() : QString::fromUtf8(runner.log()), c.second);
        }
    }

    void analysisStepsAdvanceTheTime()
    {
        struct Case {
            QByteArray script;
            int analyzeCalls;
            QByteArray time;
        };
        const Case cases[] = {
            // Each step adds dt, as the solver does: ten additions of 0.1 stay below 1.0.
            {"while {[getTime] < 1.0} {analyze 1 0.1}", 11, "1.0999999999999999"},
            {"integrator LoadControl 0.25\nwhile {[getTime] < 1.0} {analyze 1}", 4, "1.0"},
            // Every call counts; one without a step count adds no time.
            {"foreach i {1 2 3 4 5} { analyze 10 }\nanalyze\nanalyze 1 0.01 extra", 7, "50.01"},
            {"integrator LoadControl 0.1\nanalyze 10\nloadConst -time 0.0\nanalyze 5 0.01", 2, "0.05"},
            {"analyze 2 0.5\nwipe", 0, "0.0"},
            {"integrator LoadControl 0.5\nwipeAnalysis\nanalyze 2", 1, "2.0"},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            QCOMPARE(runner.run(c.script + "\nputs -nonewline [getTime]\n").code, 0);
            QCOMPARE(runner.model().analyzeCount, c.analyzeCalls);
            QCOMPARE(runner.log(), c.time);
        }
    }

    void tclLibraryAndOldputsAreThere()
    {
        // Library procedures need Tcl_Init; oldputs is Tcl's puts under the solver's second name for it.
        ScriptRunner runner;
        QCOMPARE(runner.run("array set sizes {b 0.3}\nparray sizes\noldputs kept\n").code, 0);
        QCOMPARE(runner.log(), QByteArray("sizes(b) = 0.3\nkept\n"));
    }

    void exitEndsTheScriptFromAnyDepth()
    {
        const QByteArray scripts[] = {
            "node 1 0 0\nnode 2 0 0\nquit 3\nnode 3 0 0\n",
            "proc build {} {\n  foreach i {1 2 3} {\n    node $i 0 0\n    if {$i == 2} { exit }\n  }\n}\n"
            "build\nnode 4 0 0\n",
            "node 1 0 0\nnode 2 0 0\nif {[catch {exit} msg]} { node 5 0 0 }\nnode 6 0 0\n",
            "node 1 0 0\nnode 2 0 0\nsource tail.tcl\nnode 3 0 0\n",
        };
        for (const QByteArray& script : scripts) {
            ScriptRunner runner(script);
            runner.write("tail.tcl", "exit\nnode 9 0 0\n");
            const EvaluationResult r = runner.run("model basic -ndm 2\n" + script);
            QCOMPARE(r.code, 0);
            QCOMPARE(r.result, QString());
            QCOMPARE(runner.model().nodeTags, IntList({1, 2}));
            QCOMPARE(runner.status(), QString());
        }
    }
};

QTEST_GUILESS_MAIN(ModelCommandsTest)
#include "tst_ModelCommands.moc"
