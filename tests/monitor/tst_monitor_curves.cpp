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
        QTest::newRow("1000: all") << 1000 << 1 << 1000 << 999;
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

    void nodeCurveSamplesTheLines()
    {
        // Node 20 is the second node: fields 4 to 6 of each line, value 10 i + dof on line i.
        QStringList lines;
        for (int i = 0; i < 2500; ++i)
            lines << QStringLiteral("%1 0 0 0 %2 %3 %4")
                         .arg(0.1 * i)
                         .arg(10 * i + 1)
                         .arg(10 * i + 2)
                         .arg(10 * i + 3);
        const NodeCurve curve = nodeCurve(lines, {10, 20}, 20);
        QVERIFY(curve.nodeFound);
        QCOMPARE(curve.steps.size(), 1250);
        for (int dof = 1; dof <= 3; ++dof) {
            const Values* u = curve.dofValues(dof);
            QVERIFY(u);
            QCOMPARE(u->size(), 1250);
            for (int j = 0; j < 1250; ++j) {
                QCOMPARE(curve.steps[j], 2.0 * j + 1);  // line 2j is step 2j + 1
                QCOMPARE((*u)[j], 10.0 * (2 * j) + dof);
            }
        }
        QVERIFY(!curve.dofValues(4));
    }

    void nodeCurveSkipsWhatItCannotRead_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("found");
        QTest::addColumn<Values>("steps");
        QTest::addColumn<Values>("u1");
        QTest::newRow("first node, first of two positions")
            << 10 << true << Values{1, 2, 4} << Values{1, 7, 1};
        QTest::newRow("second node: short line left out") << 20 << true << Values{1, 4} << Values{4, 4};
        QTest::newRow("not in the model") << 30 << false << Values{} << Values{};
    }

    void nodeCurveSkipsWhatItCannotRead()
    {
        QFETCH(int, tag);
        QFETCH(bool, found);
        QFETCH(Values, steps);
        QFETCH(Values, u1);
        const QStringList lines = {"0.1 1 2 3 4 5 6", "0.2 7 8 9", "", "  0.4 1  2 3   4 5 6 "};
        const NodeCurve curve = nodeCurve(lines, {10, 20, 10}, tag);
        QCOMPARE(curve.nodeFound, found);
        QCOMPARE(curve.steps, steps);
        QCOMPARE(curve.u1, u1);
    }

    void seriesCurve_data()
    {
        QTest::addColumn<Values>("times");
        QTest::addColumn<Values>("values");
        QTest::addColumn<int>("status");
        QTest::addColumn<Values>("plotted");
        const int ok = int(SeriesCurve::Status::Ok);
        const int empty = int(SeriesCurve::Status::Empty);
        const int unequal = int(SeriesCurve::Status::UnequalLengths);
        QTest::newRow("scaled by the factor")
            << Values{0, 1, 2} << Values{0, 0.5, -1} << ok << Values{0, 1, -2};
        QTest::newRow("no times") << Values{} << Values{1} << empty << Values{};
        QTest::newRow("no values") << Values{0} << Values{} << empty << Values{};
        QTest::newRow("unequal lengths") << Values{0, 1} << Values{1} << unequal << Values{};
    }

    void seriesCurve()
    {
        QFETCH(Values, times);
        QFETCH(Values, values);
        QFETCH(int, status);
        QFETCH(Values, plotted);
        ModelRecord model;
        model.seriesTimes = times;
        model.seriesValues = values;
        model.seriesFactor = 2.0;
        const SeriesCurve curve = timeSeriesCurve(model);
        QCOMPARE(int(curve.status), status);
        QCOMPARE(curve.values, plotted);
        QCOMPARE(curve.times, plotted.isEmpty() ? Values{} : times);
    }
};

QTEST_MAIN(TestMonitorCurves)
#include "tst_monitor_curves.moc"
