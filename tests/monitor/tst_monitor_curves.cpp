// Monitor curves without a window: the sampling stride, node curves from result lines, and the
// time-series curve.
#include <QtTest>

#include "ModelRecord.h"
#include "MonitorCurves.h"

using Values = QVector<double>;

class TestMonitorCurves : public QObject {
    Q_OBJECT
private slots:
    void strideAndIndices_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stride");
        QTest::addColumn<int>("taken");
        QTest::addColumn<int>("last");
        QTest::newRow("none") << 0 << 1 << 0 << -1;
        QTest::newRow("1999: still all") << 1999 << 1 << 1999 << 1998;
        QTest::newRow("2500: every second") << 2500 << 2 << 1250 << 2498;
        QTest::newRow("3001: every third") << 3001 << 3 << 1001 << 3000;
    }

    void strideAndIndices()
    {
        QFETCH(int, count);
        QFETCH(int, stride);
        QFETCH(int, taken);
        QFETCH(int, last);
        QCOMPARE(samplingStride(count), stride);
        const QVector<int> indices = sampledIndices(count);
        QCOMPARE(indices.size(), taken);
        QCOMPARE(indices.isEmpty() ? -1 : indices.last(), last);
        if (taken > 1)
            QCOMPARE(indices[1], stride);
    }

    void nodeCurve_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("tag");  // of the nodes 10, 20, 10
        QTest::addColumn<Values>("steps");
        QTest::addColumn<QVector<Values>>("u");  // dofs 1 to 3; none when the node is not found
        const QStringList uneven = {"0.1 1 2 3 4 5 6", "0.2 7 8 9", "", "  0.4 1  2 3   4 5 6 "};
        QTest::newRow("first of two positions")
            << uneven << 10 << Values{1, 2, 4} << QVector<Values>{{1, 7, 1}, {2, 8, 2}, {3, 9, 3}};
        QTest::newRow("second node: short line left out")
            << uneven << 20 << Values{1, 4} << QVector<Values>{{4, 4}, {5, 5}, {6, 6}};
        QTest::newRow("not in the model") << uneven << 30 << Values{} << QVector<Values>{};
        // Line i holds i + dof / 10 for the second node; every second line is taken, as step 2j + 1.
        QStringList many;
        Values steps;
        QVector<Values> u(3);
        for (int i = 0; i < 2500; ++i) {
            many << QStringLiteral("0 0 0 0 %1.1 %1.2 %1.3").arg(i);
            for (int dof = 1; i % 2 == 0 && dof <= 3; ++dof)
                u[dof - 1] << (10 * i + dof) / 10.0;  // as the text parses
            if (i % 2 == 0)
                steps << i + 1;
        }
        QTest::newRow("2500 lines sampled") << many << 20 << steps << u;
    }

    void nodeCurve()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, tag);
        QFETCH(Values, steps);
        QFETCH(QVector<Values>, u);
        const NodeCurve curve = ::nodeCurve(lines, {10, 20, 10}, tag);
        QCOMPARE(curve.nodeFound, !u.isEmpty());
        QCOMPARE(curve.steps, steps);
        for (int dof = 1; dof <= u.size(); ++dof)
            QCOMPARE(*curve.dofValues(dof), u[dof - 1]);
        QVERIFY(!curve.dofValues(0) && !curve.dofValues(4));
    }

    void seriesCurve_data()
    {
        QTest::addColumn<Values>("times");
        QTest::addColumn<Values>("values");
        QTest::addColumn<int>("status");
        QTest::addColumn<Values>("plotted");
        QTest::addColumn<double>("step");
        const int ok = int(SeriesCurve::Status::Ok), empty = int(SeriesCurve::Status::Empty);
        QTest::newRow("scaled by the factor")
            << Values{0, 1, 2} << Values{0, 0.5, -1} << ok << Values{0, 1, -2} << 0.0;
        QTest::newRow("no times") << Values{} << Values{1} << empty << Values{} << 0.0;
        // -dt with inline values: the times are the steps from the start time (0.5 here).
        QTest::newRow("times from -dt")
            << Values{0.5, 0.6, 0.7} << Values{1, 2, 3} << ok << Values{2, 4, 6} << 0.1;
        QTest::newRow("unequal lengths")
            << Values{0, 1} << Values{1} << int(SeriesCurve::Status::UnequalLengths) << Values{} << 0.0;
    }

    void seriesCurve()
    {
        QFETCH(Values, times);
        QFETCH(Values, values);
        QFETCH(int, status);
        QFETCH(Values, plotted);
        QFETCH(double, step);
        ModelRecord model;
        model.seriesTimeStep = step;
        model.seriesStartTime = step > 0 ? 0.5 : 0.0;
        model.seriesTimes = step > 0 ? Values{} : times;
        model.seriesValues = values;
        model.seriesFactor = 2.0;
        const SeriesCurve curve = timeSeriesCurve(model);
        QCOMPARE(int(curve.status), status);
        QCOMPARE(curve.values, plotted);
        QCOMPARE(curve.times.size(), plotted.isEmpty() ? 0 : times.size());
        for (int i = 0; i < curve.times.size(); ++i)
            QVERIFY(qFuzzyCompare(curve.times[i], times[i]));
    }
};

QTEST_MAIN(TestMonitorCurves)
#include "tst_monitor_curves.moc"
