// The command line of the real executable: help and version without a display
// (--dump-model has its own tests), refusal of malformed batch options before anything is evaluated,
// and the modes table of a stand-in run.
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
        QVERIFY2(help.out.contains("--render") && help.out.contains("[SCRIPT]"), qPrintable(help.out));
    }

    void malformedRenderOptionsAreRefused_data()
    {
        QTest::addColumn<QString>("args");  // split at blanks
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const QString& args, const char* reason) {
            QTest::newRow(name) << args << QString(reason);
        };
        // A render of m.tcl into m.png with EXTRA options.
        const auto render = [&](const char* name, const QString& extra, const char* reason) {
            row(name, ("--render m.tcl --output m.png " + extra).trimmed(), reason);
        };
        row("no output", "--render m.tcl", "--output");
        render("unknown view", "--view xy+", "view");
        render("bad size", "--size 0x600", "size");
        render("picture too large", "--size 5000x4000", "at most 4096x4096");
        render("result without step", "--result quad:stresses", "need --step");
        render("unknown attribute", "--step 1 --attribute node", "--attribute");
        render("steps backwards", "--steps 5:2", "bad --steps");
        render("animation into a picture", "--steps 1:2", "the animation type must be .mp4 or .gif");
        row("record without response", "--instrument m.tcl --record quad", "--record");
        row("response the type lacks", "--instrument m.tcl --record quad:globalForces", "force stresses");
        render("no display", "", "no display");
    }

    void malformedRenderOptionsAreRefused()
    {
        QFETCH(QString, args);
        QFETCH(QString, reason);
        const Run r = run(args.split(' '), QTest::currentDataTag() != QLatin1String("no display"));
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(reason), qPrintable(r.err));
        QVERIFY(!QFile::exists(dir.filePath("m.png")));
    }

    // --instrument goes on after an error past the first analyze, and never overwrites a file of
    // the user's under the instrumented script's name.
    void instrumentOutcomes()
    {
        const struct {
            QByteArray script;
            QByteArray copy;  // frameTemp.tcl before the call, empty for none
            int code;
            QString says;
        } cases[] = {
            {"model basic -ndm 1\nnode 1 0\nanalyze 1\nexpr 1/0\n", "", 0,
             "after the first analysis: divide by zero"},
            {"model basic -ndm 1\nnode 1 0\nexpr 1/0\nanalyze 1\n", "", 1, "divide by zero"},
            {"model basic -ndm 1\n", "", 2, "no node"},
            {"model basic -ndm 1\nnode 1 0\n", "puts mine\n", 2, "not written by Tolvane"},
        };
        for (const auto& c : cases) {
            QFile::remove(dir.filePath("frameTemp.tcl"));
            QFile::remove(dir.filePath("OutputSetting"));
            for (const auto& file :
                 {qMakePair(QString("frame.tcl"), c.script), qMakePair(QString("frameTemp.tcl"), c.copy)}) {
                QFile f(dir.filePath(file.first));
                QVERIFY(file.second.isEmpty() || (f.open(QIODevice::WriteOnly) && f.write(file.second) > 0));
            }
            const Run r = run({"--instrument", dir.filePath("frame.tcl")}, false);
            QCOMPARE(r.code, c.code);
            QVERIFY2(r.err.contains(c.says), qPrintable(r.err));
            QCOMPARE(QFile::exists(dir.filePath("OutputSetting")), c.code == 0);
            if (!c.copy.isEmpty()) {
                QFile f(dir.filePath("frameTemp.tcl"));
                QVERIFY(f.open(QIODevice::ReadOnly));
                QCOMPARE(f.readAll(), c.copy);
            }
        }
    }

    // --modes prints every eigen call of the last run, here one with mass and one without; a
    // script changed since is refused.
    void modesOfTwoCalls()
    {
        const QString script = dir.filePath("modes.tcl");
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("model basic -ndm 3 -ndf 6\nnode 1 0 0 0\nnode 2 0 0 5 -mass 1 1 1 0 0 0\n"
                "fix 1 1 1 1 1 1 1\neigen 2\nwipe\n"
                "model basic -ndm 2 -ndf 2\nnode 1 0 0\nnode 2 8 0\nfix 1 1 1\neigen 1\n");
        f.close();
        QCOMPARE(run({"--instrument", script}, false).code, 0);
        QProcess solver;
        solver.setWorkingDirectory(dir.path());
        solver.start(TOLVANE_BINARY_DIR "/bin/tolvane-standin", {dir.filePath("modesTemp.tcl")});
        QVERIFY(solver.waitForFinished(30000));
        const Run modes = run({"--modes", script}, false);
        QCOMPARE(modes.code, 0);
        QCOMPARE(modes.out, QStringLiteral("call\tmode\tlambda\tomega_rad/s\tf_Hz\tT_s\tmass_X_%\tmass_Y_%\tmass_Z_%\n"
                                           "1\t1\t39.4784\t6.28319\t1\t1\t81.0569\t0\t0\n"
                                           "1\t2\t355.306\t18.8496\t3\t0.333333\t9.00633\t0\t0\n"
                                           "2\t1\t39.4784\t6.28319\t1\t1\tno mass\tno mass\tno mass\n"));
        QVERIFY(f.open(QIODevice::Append) && f.write("# edited\n") > 0);
        f.close();
        QCOMPARE(run({"--modes", script}, false).code, 1);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
