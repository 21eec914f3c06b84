// tolvane-standin run as the application runs it: a script in a folder of its own, then the
// recorder files, the live stream, the exit status and the messages checked. Expected values are
// worked by hand from the synthetic motion (tools/standin/SyntheticMotion.h); s(5) = 0.445108.
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cstring>

namespace {

const QString standin = QStringLiteral(TOLVANE_BINARY_DIR "/bin/tolvane-standin");

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

// A two-storey plane frame: nodes 1-6 (x 0 and 4, y 0, 3, 6), columns 1-4, beams 5-6, base fixed.
const QByteArray frame =
    "model basic -ndm 2 -ndf 3\n"
    "foreach {t x y} {1 0 0 2 4 0 3 0 3 4 4 3 5 0 6 6 4 6} { node $t $x $y }\n"
    "fix 1 1 1 1\nfix 2 1 1 1\n"
    "foreach {t i j} {1 1 3 2 2 4 3 3 5 4 4 6 5 3 4 6 5 6} {\n"
    "    element elasticBeamColumn $t $i $j 0.1 2e8 1e-3 1\n"
    "}\n";

// A column 0-0-4 with an arm to x = 2; node 2 is restrained in dof 2 only.
const QByteArray column3d =
    "model basic -ndm 3 -ndf 6\n"
    "node 1 0 0 0\nnode 2 0 0 4\nnode 3 2 0 4\n"
    "fix 1 1 1 1 1 1 1\nfix 2 0 1 0 0 0 0\n";

class Folder {
public:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString write(const QByteArray& script) const
    {
        QFile f(path("frameTemp.tcl"));
        if (!f.open(QIODevice::WriteOnly) || f.write(script) != script.size())
            qFatal("cannot write the script");
        return f.fileName();
    }

    Run run(const QByteArray& script, const QByteArray& delayMs = QByteArray()) const
    {
        return run({write(script)}, delayMs);
    }

    Run run(const QStringList& arguments, const QByteArray& delayMs = QByteArray()) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("TOLVANE_STANDIN_STEP_DELAY_MS");
        if (!delayMs.isEmpty())
            env.insert("TOLVANE_STANDIN_STEP_DELAY_MS", delayMs);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir.path());
        p.start(standin, arguments);
        Run r;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = p.exitCode();
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    // The file's lines; "<missing>" when it does not exist, "<open line>" after a last line without "\n".
    QList<QByteArray> lines(const QString& name) const
    {
        QFile f(path(name));
        if (!f.open(QIODevice::ReadOnly))
            return {"<missing>"};
        QList<QByteArray> all = f.readAll().split('\n');
        if (all.takeLast() != QByteArray())
            all << "<open line>";
        return all;
    }

private:
    QTemporaryDir m_dir;
};

QList<QByteArray> fields(const QByteArray& line)
{
    return line.split(' ');
}

// Line 5 of what "recorder TYPE -file r.out -time ARGS" records over `analyze 5` after MODEL, for
// RECORDER "TYPE ARGS"; the exit status and the messages when the run fails.
QByteArray step5(const QByteArray& model, const QByteArray& recorder)
{
    const int split = recorder.indexOf(' ');
    Folder folder;
    const Run r = folder.run(model + "recorder " + recorder.left(split) + " -file r.out -time" +
                             recorder.mid(split) + "\nanalyze 5\n");
    return r.exitCode == 0 ? folder.lines("r.out").value(4) : QByteArray::number(r.exitCode) + " " + r.err;
}

}  // namespace

class StandinTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineAndEndings_data()
    {
        // SCRIPT: the frame recording two steps, "puts before", TAIL and "puts reached".
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");   // the whole standard output; null for the command line
        QTest::addColumn<QByteArray>("says");  // in the messages; on either output for the command line
        const auto row = [](const char* name, const QStringList& arguments, const char* tail, int exitCode,
                            const QByteArray& out, const char* says) {
            QTest::newRow(name) << arguments << QByteArray(tail) << exitCode << out << QByteArray(says);
        };
        row("no argument", {}, "", 2, QByteArray(), "It does no structural analysis");
        row("no such script", {"none.tcl"}, "", 2, QByteArray(), "cannot read script \"none.tcl\"");
        // However the script ends, the records made so far are complete lines in a closed file.
        row("end of script", {"SCRIPT"}, "", 0, "before\nreached\n", "");
        row("exit 3", {"SCRIPT"}, "exit 3", 3, "before\n", "");
        row("Tcl error", {"SCRIPT"}, "proc p {} {error boom}\np", 1, "before\n",
            "boom\n    while executing\n\"error boom\"");
    }

    void commandLineAndEndings()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, tail);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, says);
        Folder folder;
        const bool script = arguments == QStringList{"SCRIPT"};
        if (script)
            arguments =
                QStringList{folder.write(frame + "recorder Node -file d.out -time -node 5 -dof 1 disp\n" +
                                         "analyze 2\nputs before\n" + tail + "\nputs reached\n")};
        const Run r = folder.run(arguments);
        QCOMPARE(r.exitCode, exitCode);
        if (script)
            QCOMPARE(r.out, out);
        QVERIFY2((script ? r.err : r.out + r.err).contains(says), r.out + r.err);
        if (script)
            QCOMPARE(folder.lines("d.out").size(), 2);
    }

    void motion_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QByteArray>("recorder");
        QTest::addColumn<QByteArray>("step5");
        const auto row = [](const char* name, const QByteArray& model, const char* recorder,
                            const char* step5) {
            QTest::newRow(name) << model << QByteArray(recorder) << QByteArray(step5);
        };
        // 0.02 L h s with L 6: h 0.5 and 1; dof 2 is 0 in 2-D, dof 4 is beyond ndf.
        row("2-D frame", frame, "Node -node 3 5 -dof 1 2 4 disp", "5 0.0267065 0 0 0.053413 0 0");
        // L 4, h 1: dof 1 0.02 L s, dof 2 0.01 L s unless restrained.
        row("3-D column", column3d, "Node -node 2 3 -dof 1 2 3 disp",
            "5 0.0356087 0 0 0.0356087 0.0178043 0");
        row("reaction of a partial fix", column3d, "Node -node 2 -dof 1 2 3 reaction", "5 0 -222.554 0");
        // Rotations 0.001 j h s at h 1; moments -100 s, -50 s, -25 s of the fixed base.
        row("rotations", column3d, "Node -node 3 -dof 4 5 6 disp", "5 0.000445108 0.000890216 0.00133532");
        row("base moments", column3d, "Node -node 1 -dof 4 5 6 reaction", "5 -44.5108 -22.2554 -11.1277");
        // Flat, L 4: -0.02 L sin(pi r(x)) s at r 0.25 and 0.5.
        row("flat 2-D", "model basic -ndm 2 -ndf 3\nnode 1 0 0\nnode 2 1 0\nnode 3 2 0\nnode 4 4 0\n",
            "Node -node 2 3 -dof 1 2 3 disp", "5 0 -0.0251791 0 0 -0.0356087 0");
    }

    void motion()
    {
        QFETCH(QByteArray, model);
        QFETCH(QByteArray, recorder);
        QFETCH(QByteArray, step5);
        QCOMPARE(::step5(model, recorder), step5);
    }

    void elementWidths_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QByteArray>("recorded");  // tags and response
        QTest::addColumn<int>("width");

        const QByteArray plane3 = "model basic -ndm 2 -ndf 3\nnode 1 0 0\nnode 3 1 1\nelement ";
        const QByteArray cube =
            "model basic -ndm 3 -ndf 6\n"
            "foreach {t x y z} {1 0 0 0 2 1 0 0 3 1 1 0 4 0 1 0 5 0 0 1 6 1 0 1 7 1 1 1 8 0 1 1} {\n"
            "    node $t $x $y $z\n"
            "}\nelement ";
        const auto row = [](const char* name, const QByteArray& model, const char* element,
                            const char* recorded, int width) {
            QTest::newRow(name) << model + element + "\n" << QByteArray(recorded) << width;
        };
        row("2-D beam", plane3, "elasticBeamColumn 1 1 3 0.1 2e8 1e-3 1", "1 globalForces", 6);
        row("shell alias", cube, "shell 1 1 2 6 5 1", "1 stresses", 32);
        row("unknown tag", plane3, "elasticBeamColumn 1 1 3 0.1 2e8 1e-3 1", "99 globalForces", 6);
    }

    void elementWidths()
    {
        QFETCH(QByteArray, model);
        QFETCH(QByteArray, recorded);
        QFETCH(int, width);
        const QList<QByteArray> f = fields(step5(model, "Element -ele " + recorded));
        QCOMPARE(f.size(), 1 + width);
        // Only an element the model has moves.
        for (int j = 1; j <= width; ++j)
            QCOMPARE(f[j].toDouble() != 0.0, !recorded.startsWith("99 "));
    }

    void time_data()
    {
        QTest::addColumn<QByteArray>("analysis");
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<QByteArray>("progress");
        const auto row = [](const char* name, const char* analysis, const QList<double>& times,
                            const char* progress) {
            QTest::newRow(name) << QByteArray(analysis) << times << QByteArray(progress);
        };
        row("no increment", "analyze 3", {1, 2, 3}, "analyze 3 steps, time 1 to 3\n");
        row("dt over load control", "integrator LoadControl 0.25\nanalyze 2 0.01", {0.01, 0.02},
            "analyze 2 steps, time 0.01 to 0.02\n");
        row("across analyze calls",
            "integrator LoadControl 0.5\nanalyze 1\nintegrator Newmark 0.5 0.25\nanalyze 2 0.1\nanalyze 1",
            {0.5, 0.6, 0.7, 1.2}, "analyze 1 step, time 1.2 to 1.2\n");
    }

    // The time column, getTime after the analysis and the last progress line.
    void time()
    {
        QFETCH(QByteArray, analysis);
        QFETCH(QList<double>, times);
        QFETCH(QByteArray, progress);
        Folder folder;
        const Run r = folder.run(frame + "recorder Node -file t.out -time -node 5 -dof 1 disp\n" + analysis +
                                 "\nputs [getTime]\n");
        QVERIFY2(r.exitCode == 0, r.err);
        QList<double> recorded;
        for (const QByteArray& line : folder.lines("t.out"))
            recorded << fields(line)[0].toDouble();
        QCOMPARE(recorded, times);
        QCOMPARE(r.out.trimmed().toDouble(), times.last());
        QVERIFY2(r.err.endsWith("tolvane-standin: " + progress), r.err);
    }

    // wipe closes the recorders (a.out gets no more lines) and starts time and motion again from
    // step 1; the step delay holds each of the five steps.
    void wipeClosesAndRestartsStepsAreDelayed()
    {
        Folder folder;
        const QByteArray recorder = " -time -node 5 -dof 1 disp\n";
        QElapsedTimer clock;
        clock.start();
        const Run r = folder.run(frame + "recorder Node -file a.out" + recorder + "analyze 3\nwipe\n" +
                                     frame + "recorder Node -file b.out" + recorder + "analyze 2\n",
                                 "100");
        QVERIFY2(clock.elapsed() >= 500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(r.exitCode == 0, r.err);
        const QList<QByteArray> before = folder.lines("a.out");
        QCOMPARE(before.size(), 3);
        QCOMPARE(folder.lines("b.out"), before.mid(0, 2));
    }

    // The live stream carries the file's records: the count S, then [S, time, values] per step, then
    // [-1, the last record] when the script ends. A recorder without a listener warns and writes nothing.
    void stream()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        QTcpServer closed;  // a port nothing listens on
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QByteArray unheard = QByteArray::number(closed.serverPort());
        closed.close();
        const QByteArray layout = " -time -node 3 5 6 -dof 1 2 3 disp\n";
        Folder folder;
        QProcess p;
        p.setWorkingDirectory(folder.path("."));
        p.start(standin,
                {folder.write(frame + "recorder Node -tcp 127.0.0.1 " + unheard + layout +
                              "recorder Node -tcp 127.0.0.1 " + QByteArray::number(server.serverPort()) +
                              layout + "recorder Node -file s.out" + layout + "analyze 4\n")});
        QVERIFY(server.waitForNewConnection(30000));
        QTcpSocket* socket = server.nextPendingConnection();
        QByteArray bytes;
        while (socket->state() == QAbstractSocket::ConnectedState && socket->waitForReadyRead(30000))
            bytes += socket->readAll();
        bytes += socket->readAll();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.startsWith("WARNING tolvane-standin: no listener at 127.0.0.1:" + unheard +
                                ", live stream off"),
                 err);

        const QList<QByteArray> lines = folder.lines("s.out");
        QCOMPARE(lines.size(), 4);
        QCOMPARE(bytes.size(), 8 * (1 + 5 * 11));
        const auto value = [&bytes](int i) {
            const quint64 bits = qFromLittleEndian<quint64>(bytes.constData() + 8 * i);
            double v;
            std::memcpy(&v, &bits, 8);
            return v;
        };
        QCOMPARE(value(0), 10.0);
        // Message m: 10 then line m of the file; the last: -1 then the last line.
        for (int m = 0; m < 5; ++m) {
            QCOMPARE(value(1 + 11 * m), m < 4 ? 10.0 : -1.0);
            const QList<QByteArray> line = fields(lines[qMin(m, 3)]);
            for (int i = 0; i < 10; ++i)
                QVERIFY2(qAbs(value(2 + 11 * m + i) - line[i].toDouble()) <= 1e-5 * qAbs(line[i].toDouble()),
                         qPrintable(QStringLiteral("message %1, value %2").arg(m).arg(i)));
        }
    }
};

QTEST_GUILESS_MAIN(StandinTest)
#include "tst_standin.moc"
