// The fix, equalDOF and rigidLink commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

class ConstraintCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void fixStoresFixities()
    {
        // fixX and fixY restrain every node defined so far at that coordinate.
        const QByteArray nodes = "node 1 0 0\nnode 2 3 1e-11\nnode 3 1e-4 3\nnode 4 0 3\n";
        struct Case {
            QByteArray script;
            IntList tags;
            QByteArray dofs;  // the six fixities of each restraint in turn, a digit each
        };
        const Case cases[] = {
            {"model basic -ndm 2\nfix 1 1 1 0", {1}, "110000"},
            {"model basic -ndm 3\nfix 1 1 1 1 1 1 1", {1}, "111111"},
            {"model basic -ndm 3 -ndf 7\nfix 1 1 0 1 0 1 0 1", {1}, "101010"},  // seventh checked, dropped
            {"model basic -ndm 2\n" + nodes + "fixX 0 1 1 0", {1, 4}, "110000 110000"},
            {"model basic -ndm 2\n" + nodes + "fixX 0 1 0 1 -tol 1e-3", {1, 3, 4}, "101000 101000 101000"},
            {"model basic -ndm 2 -ndf 2\n" + nodes + "fixY 3.0 1 1\nnode 5 0 3", {3, 4}, "110000 110000"},
            {"model basic -ndm 3\nnode 1 0 0 0\nnode 2 1 0 2.5\nfixZ 2.5 1 1 1 0 0 0", {2}, "111000"},
            {"model basic -ndm 2\n" + nodes + "fixX 7 1 1 1", {}, ""},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            QCOMPARE(runner.run(c.script).code, 0);
            QCOMPARE(runner.model().fixNodeTags, c.tags);
            for (int k = 1; k <= 6; ++k) {
                IntList column;
                for (const QByteArray& restraint : c.dofs.split(' '))
                    if (!restraint.isEmpty())
                        column << restraint.at(k - 1) - '0';
                QCOMPARE(runner.model().fixDofs(k), column);
            }
        }
    }

    void failuresStopAndKeepNothing()
    {
        // Each failure ends the script (the commands after it record nothing) and appends nothing, so
        // that every group of lists stays parallel.
        const QString eqUsage = QStringLiteral(" equalDOF RnodeID? CnodeID? DOF1? DOF2? ...");
        const QString linkUsage = QStringLiteral("WARNING rigidLink linkType? rNode? cNode?");
        const QString fixXUsage = QStringLiteral(" - fixX xLoc 3 [0,1] conditions <-tol tol?>\n");
        const QPair<QByteArray, QString> cases[] = {
            {"fix 1 1 1 1", "WARNING builder has been destroyed\n"},
            {"model basic -ndm 2\nfix 1 1 1", "WARNING bad command - want: fix nodeId 3 [0,1] conditions"},
            {"model basic -ndm 2 -ndf 2147483647\nfix 1 1 1",
             "WARNING bad command - want: fix nodeId 2147483647 [0,1] conditions"},
            {"model basic -ndm 2\nfix 4 1 x 1", "WARNING invalid fixity 2 - load 4 3 fixities\n"},
            {"model basic -ndm 2\nnode 1 0 0\nfixX 0 1 1", "WARNING bad command" + fixXUsage},
            {"model basic -ndm 2\nnode 1 0 0\nfixX 0 1 1 1 -tol", "WARNING invalid tol" + fixXUsage},
            {"model basic -ndm 2\nnode 1 0 0\nfixZ 0 1 1 1",
             "WARNING fixZ - a model of ndm 2 has no Z coordinate\n"},
            {"model basic -ndm 3\nequalDOF 1 2", "WARNING bad command - want:" + eqUsage},
            {"rigidLink bar 10", linkUsage + "\n"},
        };
        for (const auto& c : cases) {
            ScriptRunner runner(c.first);
            const EvaluationResult r =
                runner.run(c.first + "\nfix 99 1 1 1 1 1 1\nequalDOF 7 8 1\nrigidLink beam 7 8\n");
            QCOMPARE(r.code, 1);
            QCOMPARE(runner.status(), c.second);
            const ModelRecord& m = runner.model();
            QVERIFY(m.fixNodeTags.isEmpty() && m.equalDofRetainedNodes.isEmpty() &&
                    m.rigidLinkRetainedNodes.isEmpty());
            QVERIFY(m.equalDofConstrainedNodes.isEmpty() && m.rigidLinkConstrainedNodes.isEmpty());
            for (int k = 1; k <= 6; ++k)
                QVERIFY(m.fixDofs(k).isEmpty());
        }
    }

    void equalDofAndRigidLink()
    {
        ScriptRunner runner;
        // rigidLink needs no model, and its link type word is not read.
        QCOMPARE(runner
                     .run("rigidLink beam 10 11\nrigidLink bar 12 13 extra\nrigidLink {} 14 15\n"
                          "model basic -ndm 3\nequalDOF 1 2 1\nequalDOF 3 4 1 2 3\n")
                     .code,
                 0);
        QCOMPARE(runner.model().equalDofRetainedNodes, IntList({1, 3}));
        QCOMPARE(runner.model().equalDofConstrainedNodes, IntList({2, 4}));
        QCOMPARE(runner.model().rigidLinkRetainedNodes, IntList({10, 12, 14}));
        QCOMPARE(runner.model().rigidLinkConstrainedNodes, IntList({11, 13, 15}));
    }
};

QTEST_GUILESS_MAIN(ConstraintCommandsTest)
#include "tst_ConstraintCommands.moc"
