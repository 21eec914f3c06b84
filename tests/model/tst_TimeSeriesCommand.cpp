// The timeSeries and eigen commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

using RealList = QVector<double>;

class TimeSeriesCommandTest : public QObject {
    Q_OBJECT

private slots:
    void pathSeriesSources_data();
    void pathSeriesSources();
    void fileWarningsStillSucceed_data();
    void fileWarningsStillSucceed();
    void optionErrors_data();
    void optionErrors();
    void optionsSetFlagsAndStartTime();
    void earlierSeriesDoesNotValidateALaterOne();
    void otherSeriesTypes();
    void eigenPlaceholders();
    void eigenFailures();
};

void TimeSeriesCommandTest::pathSeriesSources_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<RealList>("times");
    QTest::addColumn<RealList>("values");
    QTest::addColumn<double>("factor");
    QTest::newRow("inline times and values")
        << QByteArray("timeSeries Path 1 -time {0.0 1.0 2.0} -values {0.0 1.0 0.0} -factor 9.81")
        << RealList{0, 1, 2} << RealList{0, 1, 0} << 9.81;
    QTest::newRow("dt and values file") << QByteArray("timeSeries Path 2 -dt 0.01 -filePath gm.txt -factor 1.0")
                                        << RealList{0, 0.01, 0.02, 0.03, 0.04} << RealList{5, 4, 3, 2, 1} << 1.0;
    QTest::newRow("dt and values file, zero prepended")
        << QByteArray("timeSeries Path 2 -dt 0.01 -filePath gm.txt -prependZero")
        << RealList{0, 0.01, 0.02, 0.03, 0.04, 0.05} << RealList{0, 5, 4, 3, 2, 1} << 1.0;
    QTest::newRow("dt and inline values: no times") << QByteArray("timeSeries Path 3 -dt 0.01 -values {1 2 3}")
                                                    << RealList{} << RealList{1, 2, 3} << 1.0;
    QTest::newRow("no tag") << QByteArray("timeSeries Path -dt 0.02 -values {0 1}") << RealList{} << RealList{0, 1}
                            << 1.0;
    QTest::newRow("-tag option") << QByteArray("timeSeries Series -tag 4 -time {0 2} -values {3 4}") << RealList{0, 2}
                                 << RealList{3, 4} << 1.0;
    QTest::newRow("pairs file") << QByteArray("timeSeries Path 4 -file pairs.txt") << RealList{0, 0.5, 1}
                                << RealList{0, 2, -1} << 1.0;
    QTest::newRow("times and values files") << QByteArray("timeSeries Path 5 -fileTime t.txt -filePath v.txt")
                                            << RealList{0, 0.1, 0.3} << RealList{7, 8, 9} << 1.0;
    QTest::newRow("values file without dt is not read")
        << QByteArray("timeSeries Path 6 -filePath gm.txt -time {0 1} -values {1 1}") << RealList{0, 1}
        << RealList{1, 1} << 1.0;
    QTest::newRow("reading stops at a word") << QByteArray("timeSeries Path 7 -dt 1 -filePath stop.txt")
                                             << RealList{0, 1} << RealList{1.5, 2} << 1.0;
    QTest::newRow("two series concatenate")
        << QByteArray("timeSeries Path 1 -time {0 1} -values {0 1} -factor 2\n"
                      "timeSeries Path 2 -dt 0.5 -filePath v.txt")
        << RealList{0, 1, 0, 0.5, 1.0} << RealList{0, 1, 7, 8, 9} << 2.0;
    QTest::newRow("option in last place ignored") << QByteArray("timeSeries Path 8 -dt 0.1 -values {4} -file")
                                                  << RealList{} << RealList{4} << 1.0;
}

void TimeSeriesCommandTest::pathSeriesSources()
{
    QFETCH(QByteArray, script);
    QFETCH(RealList, times);
    QFETCH(RealList, values);
    QFETCH(double, factor);
    ScriptRunner runner;
    runner.write("gm.txt", "5 4\n3\t2\n  1\n");
    runner.write("pairs.txt", "0 0\n0.5 2\n1.0 -1\n");
    runner.write("t.txt", "0 0.1 0.3\n");
    runner.write("v.txt", "7\n8\n9\n");
    runner.write("stop.txt", "1.5 2 end 4\n");
    const EvaluationResult r = runner.run(script);
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.status(), QString());
    QCOMPARE(runner.model().seriesTimes, times);
    QCOMPARE(runner.model().seriesValues, values);
    QCOMPARE(runner.model().seriesFactor, factor);
}

void TimeSeriesCommandTest::fileWarningsStillSucceed_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<RealList>("times");
    QTest::addColumn<RealList>("values");
    QTest::newRow("odd pairs file")
        << QByteArray("timeSeries Path 1 -file odd.txt")
        << "WARNING - PathTimeSeries::PathTimeSeries() - num data entries in file NOT EVEN! odd.txt"
        << RealList{0, 1} << RealList{10, 11};
    QTest::newRow("values file missing") << QByteArray("timeSeries Path 1 -dt 0.1 -filePath none.txt")
                                         << "WARNING - PathSeries::PathSeries() - could not open file none.txt"
                                         << RealList{} << RealList{};
    QTest::newRow("pairs file missing") << QByteArray("timeSeries Path 1 -file none.txt")
                                        << "WARNING - PathTimeSeries::PathTimeSeries() - could not open file none.txt"
                                        << RealList{} << RealList{};
    QTest::newRow("times file missing")
        << QByteArray("timeSeries Path 1 -fileTime none.txt -filePath v.txt")
        << "WARNING - PathTimeSeries::PathTimeSeries() - could not open file none.txt" << RealList{} << RealList{};
    QTest::newRow("counts differ") << QByteArray("timeSeries Path 1 -fileTime odd.txt -filePath v.txt")
                                   << "WARNING PathTimeSeries::PathTimeSeries() - files containing data points for "
                                      "path and time do not contain same number of points\n"
                                   << RealList{} << RealList{};
}

void TimeSeriesCommandTest::fileWarningsStillSucceed()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    QFETCH(RealList, times);
    QFETCH(RealList, values);
    ScriptRunner runner;
    runner.write("odd.txt", "0 10 1 11 2");
    runner.write("v.txt", "7 8 9");
    const EvaluationResult r = runner.run(script + "\nmodel basic -ndm 1\nnode 1 0\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.model().nodeTags.size(), 1);  // the script went on
    QCOMPARE(runner.status(), message);
    QCOMPARE(runner.model().seriesTimes, times);
    QCOMPARE(runner.model().seriesValues, values);
}

void TimeSeriesCommandTest::optionErrors_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<RealList>("times");
    QTest::addColumn<RealList>("values");
    QTest::newRow("not enough") << QByteArray("timeSeries Path 1")
                                << "WARNING not enough args -  Series -dt timeIncr -values {list of points }\n"
                                << RealList{} << RealList{};
    QTest::newRow("bad dt") << QByteArray("timeSeries Path 1 -dt x -values {1}")
                            << "WARNING invalid dt x -  Series -dt dt ... \n" << RealList{} << RealList{};
    QTest::newRow("missing dt") << QByteArray("timeSeries Path 1 -values {1} -dt")
                                << "WARNING invalid dt  -  Series -dt dt ... \n" << RealList{} << RealList{1};
    QTest::newRow("bad tag") << QByteArray("timeSeries Path -tag t -values {1}") << "WARNING invalid tag t - "
                             << RealList{} << RealList{};
    QTest::newRow("bad factor") << QByteArray("timeSeries Path 1 -factor g -values {1}")
                                << "WARNING invalid cFactor g -  Series -factor ... \n" << RealList{} << RealList{};
    QTest::newRow("values not a list") << QByteArray("timeSeries Path 1 -dt 1 -values \"a {b\"")
                                       << "WARNING problem splitting path list a {b -  Series -values {path} ... \n"
                                       << RealList{} << RealList{};
    QTest::newRow("bad value keeps those before")
        << QByteArray("timeSeries Path 1 -dt 1 -values {1 2 q 4}")
        << "WARNING problem reading path data value q -  Series -values {path} ... \n" << RealList{} << RealList{1, 2};
    QTest::newRow("times not a list") << QByteArray("timeSeries Path 1 -values {1} -time \"{0\"")
                                      << "WARNING problem spltting time path {0 -  Series -time {times} ... \n"
                                      << RealList{} << RealList{1};
    QTest::newRow("bad time") << QByteArray("timeSeries Path 1 -time {0 t} -values {1 2}")
                              << "WARNING problem reading time path value t -  Series -values {path} ... \n"
                              << RealList{0} << RealList{};
    QTest::newRow("values only") << QByteArray("timeSeries Path 4 -values {1 2 3}")
                                 << "WARNING choice of options for Path Series invalid - valid options for  Path are\n"
                                    " \t -fileT fileTimeName -fileP filePathName \n"
                                    " \t -dt constTimeIncr -file filePathName\n"
                                    " \t -dt constTimeIncr -values {list of points on path}\n"
                                    " \t -time {list of time points} -values {list of points on path}\n"
                                 << RealList{} << RealList{1, 2, 3};
    QTest::newRow("unknown type") << QByteArray("timeSeries Wave 1 -dt 1")
                                  << "WARNING unknown Series type Wave -  valid types: Linear, Rectangular, Path, "
                                     "Constant, Trig, Sine\n"
                                  << RealList{} << RealList{};
}

void TimeSeriesCommandTest::optionErrors()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    QFETCH(RealList, times);
    QFETCH(RealList, values);
    ScriptRunner runner;
    const EvaluationResult r = runner.run(script + "\ntimeSeries Path 9 -time {5} -values {5}\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(r.result, QString());
    QCOMPARE(runner.status(), message);
    QCOMPARE(runner.model().seriesTimes, times);
    QCOMPARE(runner.model().seriesValues, values);
}

void TimeSeriesCommandTest::optionsSetFlagsAndStartTime()
{
    ScriptRunner runner;
    runner.write("v.txt", "1 2");
    QCOMPARE(runner.run("timeSeries Path 1 -dt 0.5 -values {1} -useLast -startTime 2.5\n").code, 0);
    QCOMPARE(runner.model().seriesUseLast, true);
    QCOMPARE(runner.model().seriesPrependZero, false);
    QCOMPARE(runner.model().seriesStartTime, 2.5);

    QCOMPARE(runner.run("timeSeries Path 1 -tStart 4 -dt 0.5 -values {1} -prependZero\n").code, 0);
    QCOMPARE(runner.model().seriesStartTime, 4.0);
    QCOMPARE(runner.model().seriesPrependZero, true);
    QCOMPARE(runner.model().seriesUseLast, false);

    // A bad start time only warns: the command ends there, before the file is read, and the script goes on.
    const EvaluationResult r = runner.run(
        "timeSeries Path 1 -dt 0.1 -filePath v.txt -startTime soon -factor 3\nmodel basic -ndm 1\nnode 1 0\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.status(), QStringLiteral("WARNING invalid tStart soon -  Series -startTime tStart ... \n"));
    QVERIFY(runner.model().seriesValues.isEmpty());
    QCOMPARE(runner.model().seriesFactor, 1.0);
    QCOMPARE(runner.model().nodeTags.size(), 1);
}

void TimeSeriesCommandTest::earlierSeriesDoesNotValidateALaterOne()
{
    // The solver judges each series by its own options: values without times or dt are refused
    // even when an earlier series already filled the record's lists.
    ScriptRunner runner;
    const EvaluationResult r =
        runner.run("timeSeries Path 1 -time {0 1} -values {0 1}\ntimeSeries Path 2 -values {5 6}\n");
    QCOMPARE(r.code, 1);
    QVERIFY(runner.status().startsWith("WARNING choice of options for Path Series invalid"));
    QCOMPARE(runner.model().seriesTimes, RealList({0, 1}));
    QCOMPARE(runner.model().seriesValues, RealList({0, 1, 5, 6}));
}

void TimeSeriesCommandTest::otherSeriesTypes()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "foreach t {Constant ConstantSeries Trig TrigSeries Sine SineSeries Linear LinearSeries Rectangular Pulse\n"
        "           PulseSeries Triangle TriangleSeries PeerDatabase PeerMotion PeerNGADatabase PeerNGAMotion\n"
        "           DiscretizedRandomProcess NewDiscretizedRandomProcess SimulatedRandomProcess} {\n"
        "  timeSeries $t 1 -factor x -values {1 2} -time {0 1}\n"
        "}\n"
        "timeSeries Linear 1\ntimeSeries Constant 1 -factor 2\n");
    QCOMPARE(r.code, 0);
    QVERIFY(runner.model().seriesValues.isEmpty());
    QVERIFY(runner.model().seriesTimes.isEmpty());
    QCOMPARE(runner.model().seriesFactor, 1.0);
}

void TimeSeriesCommandTest::eigenPlaceholders()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "puts [eigen 3]\nputs [eigen -genBandArpack 5]\nputs \"<[eigen 0]>\"\n"
        "puts [eigen -foo -standard 2]\n"
        "set T [expr {2*acos(-1)/sqrt([lindex [eigen 1] 0])}]\nputs [format %.4f $T]\n");
    QCOMPARE(r.code, 0);
    QCOMPARE(runner.status(), QStringLiteral("eigen - unknown option specified -foo"));
    QFile log(runner.dir() + "/Tolvane.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray half = "5.000000e-01  ";
    QCOMPARE(log.readAll(), half.repeated(3) + "\n" + half.repeated(5) + "\n<>\n" + half.repeated(2) + "\n8.8858\n");
}

void TimeSeriesCommandTest::eigenFailures()
{
    ScriptRunner runner;
    const QString illegal = QStringLiteral("WARNING eigen numModes?  - illegal numModes\n");
    const QPair<QByteArray, QString> cases[] = {
        {"eigen", "WARNING want - eigen <type> numModes?\n"},
        {"eigen -1", illegal},
        {"eigen -frequency x", illegal},
        {"eigen 2.5", illegal},
        {"eigen 2000000000", illegal},  // would need gigabytes of placeholder text
    };
    for (const auto& c : cases) {
        const EvaluationResult r = runner.run(c.first + "\nputs after\n");
        QCOMPARE(r.code, 1);
        QCOMPARE(runner.status(), c.second);
    }
}

QTEST_GUILESS_MAIN(TimeSeriesCommandTest)
#include "tst_TimeSeriesCommand.moc"
