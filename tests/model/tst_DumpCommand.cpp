// tolvane --dump-model, run as a separate process: exit codes, JSON on standard output, and the
// record of the example 3-D frame.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json;
};

Run dump(const QString& script)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");  // must work without a display
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOLVANE_BINARY_DIR "/bin/tolvane"), {"--dump-model", script});
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.json = QJsonDocument::fromJson(r.out).object();
    return r;
}

QString writeScript(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath("script.tcl");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return path;
}

template <typename T>
QJsonArray toJson(const QVector<T>& v)
{
    QJsonArray a;
    for (T x : v)
        a.append(x);
    return a;
}

}  // namespace

class DumpCommandTest : public QObject {
    Q_OBJECT

private slots:
    void exampleFrame();
    void scriptErrorStillPrintsTheRecord();
    void unreadableScript();
    void scriptOutputStaysOutOfTheJson();
};

void DumpCommandTest::exampleFrame()
{
    // Run a copy: the evaluation writes "Tolvane.log" beside the script.
    QTemporaryDir dir;
    const QString copy = dir.filePath("frame3d.tcl");
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/examples/frame3d.tcl"), copy));
    const Run r = dump(copy);
    QCOMPARE(r.exitCode, 0);
    const QJsonObject& o = r.json;
    QCOMPARE(o.value("statusMessage").toString(), QString());
    QCOMPARE(o.value("ndm").toInt(), 3);
    QCOMPARE(o.value("ndf").toInt(), 6);

    // 4 x 3 column lines, base and three floors; tag = 100 floor + 10 j + i.
    const double heights[] = {0.0, 4.0, 7.5, 11.0};
    QVector<int> tags;
    QVector<double> x, y, z;
    for (int floor = 0; floor <= 3; ++floor)
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 4; ++i) {
                tags << 100 * floor + 10 * j + i;
                x << (i - 1) * 6.0;
                y << (j - 1) * 5.0;
                z << heights[floor];
            }
    QCOMPARE(o.value("nodeTags").toArray(), toJson(tags));
    QCOMPARE(o.value("nodeX").toArray(), toJson(x));
    QCOMPARE(o.value("nodeY").toArray(), toJson(y));
    QCOMPARE(o.value("nodeZ").toArray(), toJson(z));

    QVector<int> elements, iNodes, jNodes;
    for (int floor = 1; floor <= 3; ++floor)
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 4; ++i) {
                const int top = 100 * floor + 10 * j + i;
                elements << 1000 + top;
                iNodes << top - 100;
                jNodes << top;
                if (i < 4) {
                    elements << 2000 + top;
                    iNodes << top;
                    jNodes << top + 1;
                }
                if (j < 3) {
                    elements << 3000 + top;
                    iNodes << top;
                    jNodes << top + 10;
                }
            }
    QCOMPARE(elements.size(), 87);
    QCOMPARE(o.value("elementTags").toArray(), toJson(elements));
    QCOMPARE(o.value("elementNodes1").toArray(), toJson(iNodes));
    QCOMPARE(o.value("elementNodes2").toArray(), toJson(jNodes));
    QCOMPARE(o.value("elementNodes3").toArray(), toJson(QVector<int>(87, -1)));
    QCOMPARE(o.value("elementNodeCounts").toArray(), toJson(QVector<int>(87, 2)));
    const QJsonArray types = o.value("elementTypes").toArray();
    QCOMPARE(types.size(), 87);
    for (const QJsonValue& t : types)
        QCOMPARE(t.toString(), QStringLiteral("elasticBeamColumn"));

    QCOMPARE(o.value("fixNodeTags").toArray(), toJson(tags.mid(0, 12)));
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(o.value(QStringLiteral("fixDofs%1").arg(k)).toArray(), toJson(QVector<int>(12, 1)));
    QCOMPARE(o.value("equalDofRetainedNodes").toArray(), QJsonArray());
    QCOMPARE(o.value("analyzeCount").toInt(), 1);
    QCOMPARE(o.value("seriesTimes").toArray(), QJsonArray());  // -dt with inline values: no times
    QCOMPARE(o.value("seriesValues").toArray().size(), 20);
    QCOMPARE(o.value("seriesValues").toArray().at(6).toDouble(), -0.052);
    QCOMPARE(o.value("seriesFactor").toDouble(), 9.81);
    QCOMPARE(o.value("seriesPrependZero"), QJsonValue(false));
}

void DumpCommandTest::scriptErrorStillPrintsTheRecord()
{
    QTemporaryDir dir;
    const Run r =
        dump(writeScript(dir, "model basic -ndm 2\nnode 1 0 0\nforeach t {2 3} {\n    node $t 1.0\n}\n"));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.json.value("nodeTags").toArray(), QJsonArray({1}));
    QCOMPARE(r.json.value("statusMessage").toString(),
             QStringLiteral("WARNING insufficient arguments\n"
                            "Want: node nodeTag? [ndm coordinates?] <-mass [ndf values?]>\n"));
    QVERIFY2(r.err.contains(QFileInfo(dir.filePath("script.tcl")).absoluteFilePath().toUtf8() + ":4:"),
             r.err);
}

void DumpCommandTest::unreadableScript()
{
    QTemporaryDir dir;
    const Run r = dump(dir.filePath("absent.tcl"));
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
}

void DumpCommandTest::scriptOutputStaysOutOfTheJson()
{
    QTemporaryDir dir;
    const Run r =
        dump(writeScript(dir, "puts \"hello {\"\nmodel basic -ndm 1\nnode 5 2.5\nexit\nnode 6 0\n"));
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith('{'));
    QCOMPARE(r.json.value("nodeTags").toArray(), QJsonArray({5}));
    QCOMPARE(r.json.value("nodeX").toArray(), QJsonArray({2.5}));
    QFile log(dir.filePath("Tolvane.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("hello {\n"));
}

QTEST_GUILESS_MAIN(DumpCommandTest)
#include "tst_DumpCommand.moc"
