// Plot data without a window: the sampling stride, the quantities read from result lines, node
// sets, markers, the CSV text and the time-series curve.
#include <QtTest>

#include <tuple>

#include "ModelRecord.h"
#include "MonitorCurves.h"
#include "PlotExport.h"
#include "PlotSources.h"

using Values = QVector<double>;
Q_DECLARE_METATYPE(Quantity)

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

    // Y over the steps from hand-made result lines. Nodes 10, 20, 30; 10 and 20 restrained; two
    // elements of W = 2 values.
    void quantities_data()
    {
        QTest::addColumn<Quantity>("y");
        QTest::addColumn<Values>("values");  // at steps 1, 2, 3 (a short line leaves its step out)
        QTest::addColumn<QString>("error");
        const auto q = [](Quantity::Kind kind, int node, int dof) {
            Quantity r;
            r.kind = kind;
            r.node = node;
            r.dof = dof;
            return r;
        };
        QTest::newRow("displacement") << q(Quantity::NodeDisp, 30, 1) << Values{7, 17} << QString();
        QTest::newRow("rotation, DOF 5")
            << q(Quantity::NodeDisp, 20, 5) << Values{0.5, 1.5, 2.5} << QString();
        Quantity shear = q(Quantity::ReactionSum, 0, 2);
        shear.nodes = {10, 20};
        QTest::newRow("base shear") << shear << Values{-3, -13, -23} << QString();
        Quantity drift = q(Quantity::Drift, 30, 1);
        drift.lowerNode = 20;
        drift.height = 2;
        QTest::newRow("drift over a height") << drift << Values{1.5, 1.5} << QString();
        Quantity value = q(Quantity::ElementValue, 0, 1);
        value.element = 8;
        value.column = 2;
        QTest::newRow("element value") << value << Values{40, 41, 42} << QString();
        QTest::newRow("time") << q(Quantity::Time, 0, 1) << Values{0.1, 0.2, 0.3} << QString();
        QTest::newRow("unknown node")
            << q(Quantity::NodeDisp, 99, 1) << Values{} << QString("Node 99 is not in the model.");
        QTest::newRow("reaction DOF 4 not recorded") << q(Quantity::NodeReaction, 10, 4) << Values{}
                                                     << QString("The results hold no values of DOF 4.");
        value.element = 9;
        QTest::newRow("element of another type")
            << value << Values{} << QString("Element 9 is not a truss of the loaded results.");
    }

    void quantities()
    {
        QFETCH(Quantity, y);
        QFETCH(Values, values);
        QFETCH(QString, error);
        ResultTables t;
        t.nodeTags = {10, 20, 30};
        // Step 3's displacement line is cut short before node 30.
        t.disp = QStringList{"0.1 1 2 3 4 5 6 7 8 9", "0.2 11 12 13 14 15 16 17 18 19", "0.3 21 22 23 24 25"};
        t.reaction = QStringList{"0.1 -1 -1 0 -2 -2 0 0 0 0", "0.2 -6 -6 0 -7 -7 0 0 0 0",
                                 "0.3 -11 -11 0 -12 -12 0 0 0 0"};
        t.disp456 = QStringList{"0.1 0 0 0 0.4 0.5 0.6 0 0 0", "0.2 0 0 0 1.4 1.5 1.6 0 0 0",
                                "0.3 0 0 0 2.4 2.5 2.6 0 0 0"};
        t.elementType = "truss";
        t.elementTags = {7, 8};
        t.elementColumns = 2;
        t.element = QStringList{"0.1 10 20 30 40", "0.2 11 21 31 41", "0.3 12 22 32 42"};
        Quantity step;
        step.kind = Quantity::Step;
        QString reported;
        const PlotCurve curve = xyCurve(step, y, t, &reported);
        QCOMPARE(reported, error);
        QCOMPARE(curve.y, values);
        QCOMPARE(curve.steps.size(), values.size());
        for (int i = 0; i < curve.steps.size(); ++i)
            QCOMPARE(curve.x[i], double(curve.steps[i]));
    }

    // Sets as typed; a curve's marker at, between and beyond its sampled steps.
    void nodeSetsAndMarkers()
    {
        ResultTables t;
        t.nodeTags = {1, 2, 3, 5, 8};
        t.restrainedNodes = {2, 8, 2};
        for (const auto& [text, tags, error] :
             {std::tuple<QString, QVector<int>, QString>{"5, 1-3 2", {5, 1, 2, 3}, ""},
              {" All  Restrained ", {2, 8}, ""},
              {"6-7", {}, "No node of the model lies in 6-7."},
              {"1 x", {1}, "\"x\" is neither a node tag nor a range like 1-9."}}) {
            const NodeSet set = parseNodeSet(text, t);
            QCOMPARE(set.error, error);
            if (error.isEmpty())
                QCOMPARE(set.tags, tags);
        }
        PlotCurve loop;
        loop.x = {0, 2, -2};
        loop.y = {0, 10, -10};
        loop.steps = {1, 3, 5};
        for (const auto& [step, at] : {std::pair{3, QPointF(2, 10)},
                                       {2, QPointF(1, 5)},
                                       {4, QPointF(0, 0)},
                                       {0, QPointF(0, 0)},
                                       {9, QPointF(-2, -10)}})
            QCOMPARE(*markerAt(loop, step), at);
        QVERIFY(!markerAt(PlotCurve(), 1));
    }

    void csvOfACurve()
    {
        const QByteArray csv = csvText({{"Step", {1, 2}},
                                        {"Displacement, DOF 1", {-387.3876 + 1e-13, 1.0 / 3}},
                                        {"Say \"x\"", {-2.5e-20}}});
        QCOMPARE(csv, QByteArray("Step,\"Displacement, DOF 1\",\"Say \"\"x\"\"\"\n"
                                 "1,-387.3876,-2.5e-20\n"
                                 "2,0.333333333333333,\n"));
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
