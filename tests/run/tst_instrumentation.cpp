// Recorder lines, the instrumented copy and the run record, checked byte for byte.
#include <QTemporaryDir>
#include <QtTest>

#include "ElementResponseTable.h"
#include "Instrumentation.h"
#include "ModelRecord.h"
#include "RunRecord.h"

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void addElement(const QString& type, int tag)
{
    modelRecord()->elementTypes.append(type);
    modelRecord()->elementTags.append(tag);
    modelRecord()->elementNodeCounts.append(2);
}

}  // namespace

class TestInstrumentation : public QObject {
    Q_OBJECT
private slots:
    void responseTableRows()
    {
        QSet<QString> types;
        for (const QString& row : elementResponseTableLines())
            types.insert(row.section(' ', 0, 0));
        QCOMPARE(types.size(), elementResponseTableLines().size());
        // Case as in the table; a listed type may have no responses; an unlisted one has none.
        QCOMPARE(responsesOf("CoupledZeroLength"), QStringList({"globalforces"}));
        QVERIFY(types.contains("beamWithHinges") && responsesOf("beamWithHinges").isEmpty());
        QVERIFY(responsesOf("noSuchElement").isEmpty());
    }

    void instrumentedScriptName_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("copy");
        QTest::newRow("one dot") << "frame.tcl"
                                 << "frameTemp.tcl";
        QTest::newRow("two dots") << "a.b.tcl"
                                  << "a.bTemp.tcl";
        QTest::newRow("no dot") << "frame"
                                << "Temp.tcl";
    }
    void instrumentedScriptName()
    {
        QFETCH(QString, script);
        QFETCH(QString, copy);
        QCOMPARE(::instrumentedScriptName(script), copy);
    }

    void recorderLines()
    {
        resetModelRecord();
        modelRecord()->nodeTags = {1, 2, 3};
        addElement("elasticBeamColumn", 5);
        addElement("truss", 6);
        addElement("elasticBeamColumn", 7);
        // A type without elements (the model changed) gets no recorder.
        const QVector<QStringList> settings = {{"elasticBeamColumn", "localForces"}, {"quad", "stresses"}};
        const QString nodeDisp =
            "recorder Node -file TolvaneResult/NodeDisp.file -time -node 1 2 3  -dof 1 2 3 disp";
        const QString live = "recorder Node -tcp 127.0.0.1 19920 -time -node 1 2 3  -dof 1 2 3 disp";
        const QString reaction =
            "recorder Node -file TolvaneResult/NodeReaction.file -time -node 1 2 3  -dof 1 2 3 reaction";
        // All elements of the type, then the first alone (the S file).
        const QStringList elements = {
            "recorder Element -file TolvaneResult/elasticBeamColumn_localForces.file -time -ele 5 7 "
            "localForces",
            "recorder Element -file TolvaneResult/elasticBeamColumn_localForcesS.file -time -ele 5 "
            "localForces"};
        QCOMPARE(recorderBlock(*modelRecord(), settings, 0),
                 QStringList({"file mkdir TolvaneResult;", nodeDisp, reaction}) + elements);
        QCOMPARE(recorderBlock(*modelRecord(), {}, 10),
                 QStringList({"file mkdir TolvaneResult;", nodeDisp, live, reaction}));
        // DOFs 4 to 6 of 6-DOF nodes in files of their own.
        modelRecord()->ndf = 6;
        QCOMPARE(recorderBlock(*modelRecord(), {}, 0).mid(3),
                 QStringList({"recorder Node -file TolvaneResult/NodeDisp456.file -time -node 1 2 3  -dof 4 5 6 disp",
                              "recorder Node -file TolvaneResult/NodeReaction456.file -time -node 1 2 3  -dof 4 5 6 "
                              "reaction"}));
    }

    void instrumentedCopy_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("copy");
        QTest::newRow("comments dropped, note kept, every model line")
            << QByteArray(
                   "# head\nmodel basic -ndm 2\n   #  indented\nnode 1 0 0; # note\n  model  basic -ndm 3\n")
            << QByteArray("model basic -ndm 2\nB1\nB2\nnode 1 0 0; # note\n  model  basic -ndm 3\nB1\nB2\n");
        QTest::newRow("continued model line") << QByteArray("model basic \\\n  -ndm 2\nnode 1 0 0\n")
                                              << QByteArray("model basic \\\n  -ndm 2\nB1\nB2\nnode 1 0 0\n");
        QTest::newRow("model command with an open brace")
            << QByteArray("model basic -ndm 2 {\nnode 1 0 0\n}\nnode 2 0 0\n")
            << QByteArray("model basic -ndm 2 {\nnode 1 0 0\n}\nB1\nB2\nnode 2 0 0\n");
        QTest::newRow("inside a procedure body")
            << QByteArray("proc build {} {\n  model basic -ndm 2\n  node 1 0 0\n}\n")
            << QByteArray("proc build {} {\n  model basic -ndm 2\nB1\nB2\n  node 1 0 0\n}\n");
        QTest::newRow("CR LF line ends, no newline at the end")
            << QByteArray("model basic\r\nputs x") << QByteArray("model basic\nB1\nB2\nputs x\n");
    }
    void instrumentedCopy()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, copy);
        QTemporaryDir dir;
        writeAll(dir.filePath("frame.tcl"), script);
        QString error;
        QVERIFY2(writeInstrumentedCopy(dir.filePath("frame.tcl"), dir.filePath("frameTemp.tcl"), {"B1", "B2"},
                                       &error),
                 qPrintable(error));
        QCOMPARE(readAll(dir.filePath("frameTemp.tcl")), copy);
    }

    void failedCopyKeepsTheOldOne()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("frameTemp.tcl");
        writeAll(target, "old");
        QString error;
        QVERIFY(!writeInstrumentedCopy(dir.filePath("missing.tcl"), target, {"B"}, &error));
        QVERIFY2(error.contains("missing.tcl"), qPrintable(error));
        QCOMPARE(readAll(target), QByteArray("old"));

        writeAll(dir.filePath("frame.tcl"), "model basic\n");
        writeAll(dir.filePath("file"), "");
        QVERIFY(!writeInstrumentedCopy(dir.filePath("frame.tcl"), dir.filePath("file/frameTemp.tcl"), {"B"},
                                       &error));
        QVERIFY2(error.contains("file/frameTemp.tcl"), qPrintable(error));
    }

    void runRecordRoundTrip()
    {
        QTemporaryDir dir;
        writeAll(dir.filePath("frame.tcl"), "abc");
        const QString digest = scriptDigest(dir.filePath("frame.tcl"));
        QCOMPARE(digest, QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
        const QVector<QStringList> settings = {{"elasticBeamColumn", "globalForces", "localForces"},
                                               {"quad", "stresses"}};
        const QString path = dir.filePath("OutputSetting");
        QVERIFY(writeRunRecord(path, digest, "/models/frame", settings));
        QCOMPARE(readAll(path), QByteArray("900150983cd24fb0d6963f7d28e17f72\n/models/frame\n"
                                           "elasticBeamColumn globalForces localForces\nquad stresses\n"));
        const RunRecord record = readRunRecord(path);
        QVERIFY(record.readable);
        QCOMPARE(record.digest, digest);
        QCOMPARE(record.directory, QStringLiteral("/models/frame"));
        QCOMPARE(record.settings, settings);

        // A folder where the record belongs stops the run with a reason.
        QVERIFY(QDir(dir.path()).mkdir("Taken"));
        QString error;
        QVERIFY(!writeRunRecord(dir.filePath("Taken"), digest, dir.path(), settings, &error));
        QVERIFY2(error.contains("directory"), qPrintable(error));
        QVERIFY(!readRunRecord(dir.filePath("Taken")).readable);
    }
};

QTEST_GUILESS_MAIN(TestInstrumentation)
#include "tst_instrumentation.moc"
