// Recorder lines, the instrumented script run through the stand-in solver, and the run record.
#include <QTemporaryDir>
#include <QtTest>

#include "ElementResponseTable.h"
#include "Instrumentation.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "RunRecord.h"
#include "ScriptEvaluation.h"

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
                 QStringList(
                     {"recorder Node -file TolvaneResult/NodeDisp456.file -time -node 1 2 3  -dof 4 5 6 disp",
                      "recorder Node -file TolvaneResult/NodeReaction456.file -time -node 1 2 3  -dof 4 5 6 "
                      "reaction"}));
    }

    // Scripts that build their model in every way the solver allows, run through the stand-in:
    // each gets its result files, and nothing it comments out runs.
    void everyModelCommandRecords_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("sourced");  // sub/model.tcl, which sources sub/deep/build.tcl
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("afterAnalysis");
        const QByteArray build = "model basic -ndm 2 -ndf 3\nnode 1 0 0\nnode 2 0 3\n";
        const QByteArray run = "integrator LoadControl 0.1\nanalyze 4\n";
        QTest::newRow("two levels of source") << "source sub/model.tcl\n" + run << build << 4 << false;
        QTest::newRow("procedure") << "proc make {} {\n" + build + "}\nmake\n" + run << QByteArray() << 4
                                   << false;
        QTest::newRow("after wipe;") << "wipe; " + build + run << QByteArray() << 4 << false;
        QTest::newRow("one-line if") << "if {1} {model basic -ndm 2 -ndf 3}\nnode 1 0 0\n" + run
                                     << QByteArray() << 4 << false;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + build + run << QByteArray() << 4 << false;
        QTest::newRow("continued comment")
            << "# old clean-up \\\nfile delete -force keep.dat\n" + build + run << QByteArray() << 4 << false;
        QTest::newRow("CR LF") << QByteArray(build + run).replace("\n", "\r\n") << QByteArray() << 4 << false;
        QTest::newRow("second builder, once")
            << build + "model basic -ndm 2 -ndf 2\nnode 3 1 1\n" + run << QByteArray() << 4 << false;
        QTest::newRow("error after analyze") << build + run + "set f [open floorDispEnv.out r]\n"
                                             << QByteArray() << 4 << true;
    }
    void everyModelCommandRecords()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, sourced);
        QFETCH(int, steps);
        QFETCH(bool, afterAnalysis);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub/deep"));
        writeAll(dir.filePath("frame.tcl"), script);
        writeAll(dir.filePath("sub/model.tcl"), "source sub/deep/build.tcl\n");
        writeAll(dir.filePath("sub/deep/build.tcl"), sourced);
        writeAll(dir.filePath("keep.dat"), "keep");

        ModelInterpreter interpreter;
        const EvaluationResult evaluation = evaluateScriptFile(interpreter, dir.filePath("frame.tcl"));
        QCOMPARE(evaluation.afterAnalysis, afterAnalysis);
        QVERIFY2(evaluation.modelComplete(), qPrintable(modelRecord()->statusMessage));
        QString error;
        QVERIFY2(
            writeInstrumentedScript(dir.filePath("frame.tcl"), recorderBlock(*modelRecord(), {}, 0), &error),
            qPrintable(error));
        QProcess solver;
        solver.setWorkingDirectory(dir.path());
        solver.start(TOLVANE_BINARY_DIR "/bin/tolvane-standin", {dir.filePath("frameTemp.tcl")});
        QVERIFY(solver.waitForFinished(30000));
        const QByteArray output = solver.readAllStandardError();
        QCOMPARE(readAll(dir.filePath("TolvaneResult/NodeDisp.file")).count('\n'), steps);
        QCOMPARE(readAll(dir.filePath("TolvaneResult/NodeReaction.file")).count('\n'), steps);
        QCOMPARE(readAll(dir.filePath("keep.dat")), QByteArray("keep"));
        // The solver's message names the user's own file and line.
        if (afterAnalysis)
            QVERIFY2(output.contains(QFile::encodeName(dir.filePath("frame.tcl")) + "\" line 6)"), output);
    }

    void userFilesAndStaleResultsAreNotTouched()
    {
        QTemporaryDir dir;
        writeAll(dir.filePath("frame.tcl"), "model basic -ndm 1\n");
        // A file of the user's under the instrumented script's name is refused and kept.
        writeAll(dir.filePath("frameTemp.tcl"), "puts mine\n");
        QString error;
        QVERIFY(!writeInstrumentedScript(dir.filePath("frame.tcl"), {"file mkdir TolvaneResult;"}, &error));
        QVERIFY2(error.contains(dir.filePath("frameTemp.tcl")) && error.contains("not written by Tolvane"),
                 qPrintable(error));
        QCOMPARE(readAll(dir.filePath("frameTemp.tcl")), QByteArray("puts mine\n"));
        // Ours is rewritten; a run that stops before model removes the results it would write.
        QVERIFY(QFile::remove(dir.filePath("frameTemp.tcl")));
        resetModelRecord();
        modelRecord()->nodeTags = {1};
        for (int pass = 0; pass < 2; ++pass)
            QVERIFY2(writeInstrumentedScript(dir.filePath("frame.tcl"), recorderBlock(*modelRecord(), {}, 0),
                                             &error),
                     qPrintable(error));
        QVERIFY(QDir(dir.path()).mkdir("TolvaneResult"));
        writeAll(dir.filePath("TolvaneResult/NodeDisp.file"), "0.1 0\n");
        writeAll(dir.filePath("TolvaneResult/Modes3.file"), "4 0\n");
        writeAll(dir.filePath("frame.tcl"), "error early\n");
        QProcess solver;
        solver.setWorkingDirectory(dir.path());
        solver.start(TOLVANE_BINARY_DIR "/bin/tolvane-standin", {dir.filePath("frameTemp.tcl")});
        QVERIFY(solver.waitForFinished(30000));
        QVERIFY(!QFile::exists(dir.filePath("TolvaneResult/NodeDisp.file")));
        QVERIFY(!QFile::exists(dir.filePath("TolvaneResult/Modes3.file")));

        QVERIFY(!writeInstrumentedScript(dir.filePath("missing.tcl"), {"B"}, &error));
        QVERIFY2(error.contains("missing.tcl"), qPrintable(error));
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
