// The fix, equalDOF and rigidLink commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

using IntList = QVector<int>;

class ConstraintCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void fixStoresFixities_data();
    void fixStoresFixities();
    void fixFailures_data();
    void fixFailures();
    void equalDof();
    void rigidLink();
};

void ConstraintCommandsTest::fixStoresFixities_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("node");
    QTest::addColumn<IntList>("dofs");
    QTest::newRow("ndf 3") << QByteArray("model basic -ndm 2\nfix 1 1 1 0") << 1 << IntList{1, 1, 0, 0, 0, 0};
    QTest::newRow("ndf 6") << QByteArray("model basic -ndm 3\nfix 2 1 1 1 1 1 1") << 2 << IntList{1, 1, 1, 1, 1, 1};
    QTest::newRow("values as written") << QByteArray("model basic -ndm 2\nfix 1 2 2 2") << 1 << IntList{2, 2, 2, 0, 0, 0};
    QTest::newRow("extra words") << QByteArray("model basic -ndm 2\nfix 5 1 1 1 9 9") << 5 << IntList{1, 1, 1, 0, 0, 0};
    QTest::newRow("ndf 7 checks and drops the seventh")
        << QByteArray("model basic -ndm 3 -ndf 7\nfix 3 1 0 1 0 1 0 1") << 3 << IntList{1, 0, 1, 0, 1, 0};
    QTest::newRow("ndf 1") << QByteArray("model basic -ndm 1\nfix 4 1") << 4 << IntList{1, 0, 0, 0, 0, 0};
}

void ConstraintCommandsTest::fixStoresFixities()
{
    QFETCH(QByteArray, script);
    QFETCH(int, node);
    QFETCH(IntList, dofs);
    ScriptRunner runner;
    QCOMPARE(runner.run(script).code, 0);
    QCOMPARE(runner.model().fixNodeTags, IntList({node}));
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(runner.model().fixDofs(k), IntList({dofs[k - 1]}));
}

void ConstraintCommandsTest::fixFailures_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<IntList>("nodes");
    QTest::addColumn<IntList>("dofLengths");
    QTest::newRow("before model") << QByteArray("fix 1 1 1 1") << "WARNING builder has been destroyed\n" << IntList{}
                                  << IntList{0, 0, 0, 0, 0, 0};
    QTest::newRow("too few") << QByteArray("model basic -ndm 2\nfix 1 1 1")
                             << "WARNING bad command - want: fix nodeId 3 [0,1] conditions" << IntList{}
                             << IntList{0, 0, 0, 0, 0, 0};
    QTest::newRow("bad node") << QByteArray("model basic -ndm 2\nfix n 1 1 1")
                              << "WARNING invalid nodeId - fix nodeId 3 [0,1] conditions\n" << IntList{}
                              << IntList{0, 0, 0, 0, 0, 0};
    QTest::newRow("bad second fixity") << QByteArray("model basic -ndm 2\nfix 4 1 x 1")
                                       << "WARNING invalid fixity 2 - load 4 3 fixities\n" << IntList{4}
                                       << IntList{1, 0, 0, 0, 0, 0};
    QTest::newRow("bad sixth fixity") << QByteArray("model basic -ndm 3\nfix 12 1 1 1 1 1 1.5")
                                      << "WARNING invalid fixity 6 - load 12 6 fixities\n" << IntList{12}
                                      << IntList{1, 1, 1, 1, 1, 0};
}

void ConstraintCommandsTest::fixFailures()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    QFETCH(IntList, nodes);
    QFETCH(IntList, dofLengths);
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script + "\nfix 99 1 1 1 1 1 1\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(runner.status(), message);
    QCOMPARE(runner.model().fixNodeTags, nodes);
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(runner.model().fixDofs(k).size(), dofLengths[k - 1]);
}

void ConstraintCommandsTest::equalDof()
{
    ScriptRunner runner;
    QCOMPARE(runner.run("model basic -ndm 3\nequalDOF 1 2 1\nequalDOF 3 4 1 2 3\n").code, 0);
    QCOMPARE(runner.model().equalDofRetainedNodes, IntList({1, 3}));
    QCOMPARE(runner.model().equalDofConstrainedNodes, IntList({2, 4}));

    const QString usage = QStringLiteral(" equalDOF RnodeID? CnodeID? DOF1? DOF2? ...");
    struct Case {
        QByteArray script;
        QString message;
        IntList retained;
    };
    const Case cases[] = {
        {"equalDOF 10 11 1", "WARNING builder has been destroyed\n", {}},
        {"model basic -ndm 3\nequalDOF 1 2", "WARNING bad command - want:" + usage, {}},
        {"model basic -ndm 3\nequalDOF a1 2 1", "WARNING invalid RnodeID: a1" + usage, {}},
        {"model basic -ndm 3\nequalDOF 1 {2 3} 1", "WARNING invalid CnodeID: 2 3" + usage, {1}},
    };
    for (const Case& c : cases) {
        const EvaluationResult r = runner.run(c.script + "\nequalDOF 7 8 1\n");
        QCOMPARE(r.code, 1);
        QCOMPARE(runner.status(), c.message);
        QCOMPARE(runner.model().equalDofRetainedNodes, c.retained);
        QVERIFY(runner.model().equalDofConstrainedNodes.isEmpty());
    }
}

void ConstraintCommandsTest::rigidLink()
{
    ScriptRunner runner;
    // No model is needed, and the link type word is not read.
    QCOMPARE(runner.run("rigidLink beam 10 11\nrigidLink bar 12 13 extra\nrigidLink {} 14 15\n").code, 0);
    QCOMPARE(runner.model().rigidLinkRetainedNodes, IntList({10, 12, 14}));
    QCOMPARE(runner.model().rigidLinkConstrainedNodes, IntList({11, 13, 15}));

    struct Case {
        QByteArray script;
        QString message;
        IntList retained;
    };
    const Case cases[] = {
        {"rigidLink bar 10", "WARNING rigidLink linkType? rNode? cNode?\n", {}},
        {"rigidLink bar r 10", "WARNING rigidLink linkType? rNode? cNode? - could not read rNode \n", {}},
        {"rigidLink bar 3 c", "WARNING rigidLink linkType? rNode? cNode? - could not read CNode \n", {3}},
    };
    for (const Case& c : cases) {
        const EvaluationResult r = runner.run(c.script + "\nrigidLink beam 7 8\n");
        QCOMPARE(r.code, 1);
        QCOMPARE(runner.status(), c.message);
        QCOMPARE(runner.model().rigidLinkRetainedNodes, c.retained);
        QVERIFY(runner.model().rigidLinkConstrainedNodes.isEmpty());
    }
}

QTEST_GUILESS_MAIN(ConstraintCommandsTest)
#include "tst_ConstraintCommands.moc"
