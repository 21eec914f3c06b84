// The command line of the real executable: help and version without a display
// (--dump-model has its own tests), and refusal of malformed batch options before anything is evaluated.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    struct Run {
        int code = -1;
        QString out;
        QString err;
    };

    Run run(const QStringList& args, bool withDisplay)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!withDisplay) {
            env.remove("DISPLAY");
            env.remove("WAYLAND_DISPLAY");
        }
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(TOLVANE_BINARY_DIR "/bin/tolvane", args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

private slots:
    void versionAndHelpNeedNoDisplay()
    {
        const Run version = run({"--version"}, false);
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out.trimmed(), QStringLiteral("Tolvane " TOLVANE_VERSION));
        const Run help = run({"--help"}, false);
        QCOMPARE(help.code, 0);
        for (const char* option : {"--dump-model", "--render", "--output", "--view", "--perspective",
                                   "--labels", "--size", "[SCRIPT]"})
            QVERIFY2(help.out.contains(QLatin1String(option)), option);
    }

    void malformedRenderOptionsAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no output") << QStringList({"--render", "m.tcl"}) << "--output";
        QTest::newRow("unknown view")
            << QStringList({"--render", "m.tcl", "--output", "m.png", "--view", "xy+"}) << "view";
        QTest::newRow("bad size") << QStringList(
                                         {"--render", "m.tcl", "--output", "m.png", "--size", "0x600"})
                                  << "size";
        QTest::newRow("size without x")
            << QStringList({"--render", "m.tcl", "--output", "m.png", "--size", "800"}) << "size";
        QTest::newRow("unknown label")
            << QStringList({"--render", "m.tcl", "--output", "m.png", "--labels", "nodes"}) << "label";
        QTest::newRow("picture too large")
            << QStringList({"--render", "m.tcl", "--output", "m.png", "--size", "5000x4000"})
            << "at most 4096x4096";
        QTest::newRow("step zero") << QStringList({"--render", "m.tcl", "--output", "m.png", "--step", "0"})
                                   << "--step";
        QTest::newRow("result without step")
            << QStringList({"--render", "m.tcl", "--output", "m.png", "--result", "quad:stresses"})
            << "need --step";
        QTest::newRow("unknown attribute")
            << QStringList({"--render", "m.tcl", "--output", "m.png", "--step", "1", "--attribute", "node"})
            << "--attribute";
        QTest::newRow("record without response")
            << QStringList({"--instrument", "m.tcl", "--record", "quad"}) << "--record";
        QTest::newRow("response the type lacks")
            << QStringList({"--instrument", "m.tcl", "--record", "quad:globalForces"}) << "force stresses";
        QTest::newRow("live scale out of range")
            << QStringList({"--instrument", "m.tcl", "--live", "0"}) << "--live";
        QTest::newRow("no display") << QStringList({"--render", "m.tcl", "--output", "m.png"})
                                    << "no display";
    }

    void malformedRenderOptionsAreRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const Run r = run(args, QTest::currentDataTag() != QLatin1String("no display"));
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(reason), qPrintable(r.err));
        QVERIFY(!QFile::exists(dir.filePath("m.png")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
