// The timeSeries and eigen commands, driven by scripts.
#include <QtTest>

#include "ScriptRunner.h"

class TimeSeriesCommandTest : public QObject {
    Q_OBJECT

private slots:
    void pathSeriesSources()
    {
        struct Case {
            QByteArray script;
            QByteArray times, values;
            double factor = 1;
        };
        const Case cases[] = {
            {"timeSeries Path 1 -time {0.0 1.0 2.0} -values {0.0 1.0 0.0} -factor 9.81", "0 1 2", "0 1 0",
             9.81},
            {"timeSeries Path 2 -dt 0.01 -filePath gm.txt -prependZero", "0 0.01 0.02 0.03 0.04 0.05",
             "0 5 4 3 2 1"},
            {"timeSeries Path 3 -dt 0.01 -values {1 2 3}", "", "1 2 3"},  // inline values: no times
            {"timeSeries Path 4 -file pairs.txt", "0 0.5 1", "0 2 -1"},
            {"timeSeries Path 5 -fileTime t.txt -filePath v.txt", "0 0.1 0.3", "7 8 9"},
            // Without -dt the values file is not read.
            {"timeSeries Path 6 -filePath gm.txt -time {0 1} -values {1 1}", "0 1", "1 1"},
            {"timeSeries Path 7 -dt 1 -filePath stop.txt", "0 1", "1.5 2"},  // reading stops at a word
            {"timeSeries Path 1 -time {0 1} -values {0 1} -factor 2\n"
             "timeSeries Path 2 -dt 0.5 -filePath v.txt",
             "0 1 0 0.5 1.0", "0 1 7 8 9", 2},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            runner.write("gm.txt", "5 4\n3\t2\n  1\n");
            runner.write("pairs.txt", "0 0\n0.5 2\n1.0 -1\n");
            runner.write("t.txt", "0 0.1 0.3\n");
            runner.write("v.txt", "7\n8\n9\n");
            runner.write("stop.txt", "1.5 2 end 4\n");
            QCOMPARE(runner.run(c.script).code, 0);
            QCOMPARE(runner.status(), QString());
            QCOMPARE(runner.model().seriesTimes, reals(c.times));
            QCOMPARE(runner.model().seriesValues, reals(c.values));
            QCOMPARE(runner.model().seriesFactor, c.factor);
            // Only a series without listed times keeps its step, for the monitor's time axis.
            QCOMPARE(runner.model().seriesTimeStep > 0.0, c.times.isEmpty());
        }
    }

    void warningsAndErrors()
    {
        struct Case {
            bool fails;  // false: a warning only, the script goes on
            QByteArray script;
            QString message;
            QByteArray times = {}, values = {};
        };
        const QString choice = QStringLiteral(
            "WARNING choice of options for Path Series invalid - valid options for  Path are\n"
            " \t -fileT fileTimeName -fileP filePathName \n \t -dt constTimeIncr -file filePathName\n"
            " \t -dt constTimeIncr -values {list of points on path}\n"
            " \t -time {list of time points} -values {list of points on path}\n");
        const Case cases[] = {
            {false, "timeSeries Path 1 -file odd.txt",
             "WARNING - PathTimeSeries::PathTimeSeries() - num data entries in file NOT EVEN! odd.txt", "0 1",
             "10 11"},
            {false, "timeSeries Path 1 -dt 0.1 -filePath none.txt",
             "WARNING - PathSeries::PathSeries() - could not open file none.txt"},
            {true, "timeSeries Path 1",
             "WARNING not enough args -  Series -dt timeIncr -values {list of points }\n"},
            {true, "timeSeries Path 1 -dt x -values {1}", "WARNING invalid dt x -  Series -dt dt ... \n"},
            // The values before a bad one are kept.
            {true, "timeSeries Path 1 -dt 1 -values {1 2 q 4}",
             "WARNING problem reading path data value q -  Series -values {path} ... \n", "", "1 2"},
            {true, "timeSeries Wave 1 -dt 1",
             "WARNING unknown Series type Wave -  valid types: Linear, Rectangular, Path, Constant, Trig, "
             "Sine\n"},
            // Each series is judged by its own options, even when an earlier one filled the lists.
            {true, "timeSeries Path 1 -time {0 1} -values {0 1}\ntimeSeries Path 2 -values {5 6}", choice,
             "0 1", "0 1 5 6"},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            runner.write("odd.txt", "0 10 1 11 2");
            const EvaluationResult r = runner.run(
                c.script + "\nmodel basic -ndm 1\nnode 1 0\ntimeSeries Path 9 -time 5 -values 5\n");
            QCOMPARE(r.code, c.fails ? 1 : 0);
            QCOMPARE(r.result, QString());
            QCOMPARE(runner.model().nodeTags.size(), c.fails ? 0 : 1);
            QCOMPARE(runner.status(), c.message);
            // The series after a warning is read as well.
            QCOMPARE(runner.model().seriesTimes, reals(c.times + (c.fails ? "" : " 5")));
            QCOMPARE(runner.model().seriesValues, reals(c.values + (c.fails ? "" : " 5")));
        }
    }

    void optionsSetFlagsAndStartTime()
    {
        ScriptRunner runner;
        runner.write("v.txt", "1 2");
        QCOMPARE(runner.run("timeSeries Path 1 -tStart 4 -dt 0.5 -values {1} -prependZero\n").code, 0);
        QCOMPARE(runner.model().seriesStartTime, 4.0);
        QCOMPARE(runner.model().seriesPrependZero, true);
        QCOMPARE(runner.model().seriesUseLast, false);
        QCOMPARE(runner.run("timeSeries Path 1 -dt 0.5 -values {1} -useLast\n").code, 0);
        QCOMPARE(runner.model().seriesUseLast, true);

        // A bad start time only warns: the command ends there, before the file is read, and the script
        // goes on.
        const EvaluationResult r = runner.run(
            "timeSeries Path 1 -dt 0.1 -filePath v.txt -startTime soon -factor 3\nmodel basic -ndm 1\nnode 1 "
            "0");
        QCOMPARE(r.code, 0);
        QCOMPARE(runner.status(), QString("WARNING invalid tStart soon -  Series -startTime tStart ... \n"));
        QVERIFY(runner.model().seriesValues.isEmpty());
        QCOMPARE(runner.model().seriesFactor, 1.0);
        QCOMPARE(runner.model().nodeTags.size(), 1);
    }

    void otherSeriesTypesRecordNothing()
    {
        ScriptRunner runner;
        QCOMPARE(runner
                     .run("foreach t {Constant Trig Linear Pulse PeerMotion} {\n"
                          "  timeSeries $t 1 -factor x -values {1 2} -time {0 1}\n}\n")
                     .code,
                 0);
        QVERIFY(runner.model().seriesValues.isEmpty() && runner.model().seriesTimes.isEmpty());
        QCOMPARE(runner.model().seriesFactor, 1.0);
    }

    void eigen()
    {
        ScriptRunner runner;
        const EvaluationResult r = runner.run(
            "puts [eigen 3]\nputs \"<[eigen 0]>\"\nputs [eigen -foo -standard 2]\n"
            "set T [expr {2*acos(-1)/sqrt([lindex [eigen 1] 0])}]\nputs [format %.4f $T]\n");
        QCOMPARE(r.code, 0);
        QCOMPARE(runner.status(), QStringLiteral("eigen - unknown option specified -foo"));
        const QByteArray half = "5.000000e-01  ";
        QCOMPARE(runner.log(), half.repeated(3) + "\n<>\n" + half.repeated(2) + "\n8.8858\n");

        const QString illegal = QStringLiteral("WARNING eigen numModes?  - illegal numModes\n");
        const QPair<QByteArray, QString> failures[] = {
            {"eigen", "WARNING want - eigen <type> numModes?\n"},
            {"eigen -1", illegal},
            {"eigen 2.5", illegal},
            {"eigen 2000000000", illegal},  // would need gigabytes of placeholder text
        };
        for (const auto& c : failures) {
            const RowName row{c.first};
            QCOMPARE(runner.run(c.first + "\nputs after\n").code, 1);
            QCOMPARE(runner.status(), c.second);
            QCOMPARE(runner.log(), QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(TimeSeriesCommandTest)
#include "tst_TimeSeriesCommand.moc"
