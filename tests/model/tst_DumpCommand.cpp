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
Run dump(const QString& path, const QByteArray& text = QByteArray())
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
    p.start(QStringLiteral(TOLVANE_BINARY_DIR "/bin/tolvane"), {"--dump-model", path});
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.json = QJsonDocument::fromJson(r.out).object();
    return r;
}

template <typename T>
QJsonArray toJson(const QVector<T>& v)
{
    QJsonArray a;
    for (const T& x : v)
        a.append(x);
    return a;
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

        // 4 x 3 column lines, base and three floors; tag = 100 floor + 10 j + i.
        const double heights[] = {0.0, 4.0, 7.5, 11.0};
        QVector<int> tags, elements, iNodes, jNodes;
        QVector<double> x, y, z;
        const auto member = [&](int tag, int from, int to) {
            elements << tag;
            iNodes << from;
            jNodes << to;
        };
        for (int floor = 0; floor <= 3; ++floor)
            for (int j = 1; j <= 3; ++j)
                for (int i = 1; i <= 4; ++i) {
                    const int tag = 100 * floor + 10 * j + i;
                    tags << tag;
                    x << (i - 1) * 6.0;
                    y << (j - 1) * 5.0;
                    z << heights[floor];
                    if (floor > 0)
                        member(1000 + tag, tag - 100, tag);  // column
                    if (floor > 0 && i < 4)
                        member(2000 + tag, tag, tag + 1);  // beam along x
                    if (floor > 0 && j < 3)
                        member(3000 + tag, tag, tag + 10);  // beam along y
                }
        QJsonObject want{{"nodeTags", toJson(tags)},
                         {"nodeX", toJson(x)},
                         {"nodeY", toJson(y)},
                         {"nodeZ", toJson(z)},
                         {"elementTags", toJson(elements)},
                         {"elementNodes1", toJson(iNodes)},
                         {"elementNodes2", toJson(jNodes)},
                         {"elementNodes3", toJson(QVector<int>(87, -1))},
                         {"elementNodeCounts", toJson(QVector<int>(87, 2))},
                         {"elementTypes", toJson(QVector<QString>(87, "elasticBeamColumn"))},
                         {"fixNodeTags", toJson(tags.mid(0, 12))}};
        for (int k = 1; k <= 6; ++k)
            want.insert(QStringLiteral("fixDofs%1").arg(k), toJson(QVector<int>(12, 1)));
        QCOMPARE(jsonDifferences(r.json, want), QString());
        // -dt with inline values: no times.
        const QByteArray expected = R"({"statusMessage": "", "ndm": 3, "ndf": 6, "analyzeCount": 1,
            "equalDofRetainedNodes": [], "seriesTimes": [], "seriesFactor": 9.81,
            "seriesPrependZero": false})";
        QCOMPARE(jsonDifferences(r.json, expected), QString());
        QCOMPARE(r.json.value("seriesValues").toArray().size(), 20);
        QCOMPARE(r.json.value("seriesValues").toArray().at(6).toDouble(), -0.052);
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
