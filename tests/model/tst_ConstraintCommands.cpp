// The fix, equalDOF and rigidLink commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

class ConstraintCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void fixStoresFixities();
    void failuresStopAndKeepWhatWasRead();
    void equalDofAndRigidLink();
};

void ConstraintCommandsTest::fixStoresFixities()
{
    const QPair<QByteArray, IntList> cases[] = {
        {"model basic -ndm 2\nfix 1 1 1 0", {1, 1, 0, 0, 0, 0}},
        {"model basic -ndm 3\nfix 1 1 1 1 1 1 1", {1, 1, 1, 1, 1, 1}},
        {"model basic -ndm 2\nfix 1 2 2 2", {2, 2, 2, 0, 0, 0}},                 // values as written
        {"model basic -ndm 2\nfix 1 1 1 1 9 9", {1, 1, 1, 0, 0, 0}},             // extra words
        {"model basic -ndm 3 -ndf 7\nfix 1 1 0 1 0 1 0 1", {1, 0, 1, 0, 1, 0}},  // seventh checked, dropped
        {"model basic -ndm 1\nfix 1 1", {1, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const RowName row{c.first};
        ScriptRunner runner;
        QCOMPARE(runner.run(c.first).code, 0);
        QCOMPARE(runner.model().fixNodeTags, IntList({1}));
        for (int k = 1; k <= 6; ++k)
            QCOMPARE(runner.model().fixDofs(k), IntList({c.second[k - 1]}));
    }
}

void ConstraintCommandsTest::failuresStopAndKeepWhatWasRead()
{
    // Each failure ends the script (the command after it records nothing); what the failing command
    // read before the bad word stays in the record.
    struct Case {
        QByteArray script;
        QString message;
        IntList kept;  // fixNodeTags, equalDofRetainedNodes or rigidLinkRetainedNodes
        int fixities;  // fixDofs lists that got an entry
    };
    const QString fixUsage = QStringLiteral(" - fix nodeId 3 [0,1] conditions");
    const QString eqUsage = QStringLiteral(" equalDOF RnodeID? CnodeID? DOF1? DOF2? ...");
    const QString linkUsage = QStringLiteral("WARNING rigidLink linkType? rNode? cNode?");
    const Case cases[] = {
        {"fix 1 1 1 1", "WARNING builder has been destroyed\n", {}, 0},
        {"model basic -ndm 2\nfix 1 1 1", "WARNING bad command - want: fix nodeId 3 [0,1] conditions", {}, 0},
        {"model basic -ndm 2\nfix n 1 1 1", "WARNING invalid nodeId" + fixUsage + "\n", {}, 0},
        {"model basic -ndm 2\nfix 4 1 x 1", "WARNING invalid fixity 2 - load 4 3 fixities\n", {4}, 1},
        {"model basic -ndm 3\nfix 12 1 1 1 1 1 1.5",
         "WARNING invalid fixity 6 - load 12 6 fixities\n",
         {12},
         5},
        {"equalDOF 10 11 1", "WARNING builder has been destroyed\n", {}, 0},
        {"model basic -ndm 3\nequalDOF 1 2", "WARNING bad command - want:" + eqUsage, {}, 0},
        {"model basic -ndm 3\nequalDOF a1 2 1", "WARNING invalid RnodeID: a1" + eqUsage, {}, 0},
        {"model basic -ndm 3\nequalDOF 1 {2 3} 1", "WARNING invalid CnodeID: 2 3" + eqUsage, {1}, 0},
        {"rigidLink bar 10", linkUsage + "\n", {}, 0},
        {"rigidLink bar r 10", linkUsage + " - could not read rNode \n", {}, 0},
        {"rigidLink bar 3 c", linkUsage + " - could not read CNode \n", {3}, 0},
    };
    for (const Case& c : cases) {
        const RowName row{c.script};
        ScriptRunner runner;
        const EvaluationResult r =
            runner.run(c.script + "\nfix 99 1 1 1 1 1 1\nequalDOF 7 8 1\nrigidLink beam 7 8\n");
        QCOMPARE(r.code, 1);
        QCOMPARE(runner.status(), c.message);
        const ModelRecord& m = runner.model();
        const IntList& kept = c.script.contains("fix")        ? m.fixNodeTags
                              : c.script.contains("equalDOF") ? m.equalDofRetainedNodes
                                                              : m.rigidLinkRetainedNodes;
        QCOMPARE(kept, c.kept);
        QCOMPARE(m.fixNodeTags.size() + m.equalDofRetainedNodes.size() + m.rigidLinkRetainedNodes.size(),
                 c.kept.size());
        QVERIFY(m.equalDofConstrainedNodes.isEmpty() && m.rigidLinkConstrainedNodes.isEmpty());
        for (int k = 1; k <= 6; ++k)
            QCOMPARE(m.fixDofs(k).size(), k <= c.fixities ? 1 : 0);
    }
}

void ConstraintCommandsTest::equalDofAndRigidLink()
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

QTEST_GUILESS_MAIN(ConstraintCommandsTest)
#include "tst_ConstraintCommands.moc"
