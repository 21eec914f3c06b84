// tolvane --dump-model, run as a separate process: exit codes, JSON on standard output, and the
// record of the example 3-D frame.
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "JsonFields.h"

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json;
};

// Dumps the script at PATH, first writing TEXT there unless it is null.
Run dump(const QString& path, const QByteArray& text = QByteArray(), const QStringList& options = {})
{
    QFile f(path);
    if (!text.isNull() && f.open(QIODevice::WriteOnly))
        f.write(text);
    f.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");  // must work without a display
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOLVANE_BINARY_DIR "/bin/tolvane"), options + QStringList{"--dump-model", path});
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.json = QJsonDocument::fromJson(r.out).object();
    return r;
}

}  // namespace

class DumpCommandTest : public QObject {
    Q_OBJECT

private slots:
    void exampleFrame()
    {
        // Run a copy: the evaluation writes "Tolvane.log" beside the script.
        QTemporaryDir dir;
        const QString copy = dir.filePath("frame3d.tcl");
        QVERIFY(QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/examples/frame3d.tcl"), copy));
        const Run r = dump(copy);
        QCOMPARE(r.exitCode, 0);

        // 4 x 3 column lines, base and three floors, tag = 100 floor + 10 j + i; 87 columns and beams.
        const QJsonArray tags = r.json.value("nodeTags").toArray();
        QCOMPARE(tags.size(), 48);
        const int top = int(tags.toVariantList().indexOf(334));
        QVERIFY(top >= 0);
        QCOMPARE(r.json.value("nodeX").toArray().at(top).toDouble(), 18.0);
        QCOMPARE(r.json.value("nodeY").toArray().at(top).toDouble(), 10.0);
        QCOMPARE(r.json.value("nodeZ").toArray().at(top).toDouble(), 11.0);
        const QJsonArray elements = r.json.value("elementTags").toArray();
        QCOMPARE(elements.size(), 87);
        const int column = int(elements.toVariantList().indexOf(1334));
        QVERIFY(column >= 0);
        QCOMPARE(r.json.value("elementNodes1").toArray().at(column).toInt(), 234);
        QCOMPARE(r.json.value("elementNodes2").toArray().at(column).toInt(), 334);
        QCOMPARE(r.json.value("elementTypes").toArray().at(column).toString(), QString("elasticBeamColumn"));
        QCOMPARE(r.json.value("fixNodeTags").toArray().size(), 12);
        QCOMPARE(jsonDifferences(r.json, R"({"statusMessage": "", "ndm": 3, "ndf": 6})"), QString());
    }

    void scriptErrorStillPrintsTheRecord()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("script.tcl");
        const Run r = dump(path, "model basic -ndm 2\nnode 1 0 0\nforeach t {2 3} {\n    node $t 1.0\n}\n");
        QCOMPARE(r.exitCode, 1);
        const QJsonObject expected{{"nodeTags", QJsonArray{1}},
                                   {"statusMessage",
                                    "WARNING insufficient arguments\n"
                                    "Want: node nodeTag? [ndm coordinates?] <-mass [ndf values?]>\n"}};
        QCOMPARE(jsonDifferences(r.json, expected), QString());
        QVERIFY2(r.err.contains(QFileInfo(path).absoluteFilePath().toUtf8() + ":4:"), r.err);
    }

    // Safely by default, saying what was left undone; --trust writes as the solver would.
    void safeUnlessTrusted()
    {
        for (const bool trust : {false, true}) {
            QTemporaryDir dir;
            const Run r = dump(dir.filePath("script.tcl"),
                               "file mkdir out\nset f [open out/r.txt w]\nputs $f 1\nclose $f\n",
                               trust ? QStringList{"--trust"} : QStringList());
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.err.contains("tolvane: Opened safely: 1 file write discarded, 1 folder not created\n"),
                     !trust);
            QCOMPARE(QFile::exists(dir.filePath("out/r.txt")), trust);
        }
    }

    void unreadableScript()
    {
        QTemporaryDir dir;
        const Run r = dump(dir.filePath("absent.tcl"));
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.isEmpty());
    }

    void scriptOutputStaysOutOfTheJson()
    {
        QTemporaryDir dir;
        const Run r = dump(dir.filePath("script.tcl"),
                           "puts \"hello {\"\nmodel basic -ndm 1\nnode 5 2.5\nexit\nnode 6 0\n");
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.startsWith('{'));
        QCOMPARE(jsonDifferences(r.json, R"({"nodeTags": [5], "nodeX": [2.5]})"), QString());
        QFile log(dir.filePath("Tolvane.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("hello {\n"));
    }
};

QTEST_GUILESS_MAIN(DumpCommandTest)
#include "tst_DumpCommand.moc"
