// The monitor windows: the view a curve gets, the tracer, mouse rules on a shown plot, the axis
// label seam, placement, and the node chooser.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "zor_monitor_nodedisp_panel.h"
#include "zor_monitor_panel.h"

using Values = QVector<double>;

namespace {

// Times 0 to 10, values from -2 to 2.
void plotRamp(zor_monitor_panel& panel)
{
    Values keys, values;
    for (int i = 0; i <= 10; ++i) {
        keys << i;
        values << -2 + 0.4 * i;
    }
    panel.monitorInitialPlot(keys, values, 1.0);
}

QCPAxis* axisOf(QCustomPlot* plot, int which)
{
    const QList<QCPAxis*> axes = {plot->xAxis, plot->xAxis2, plot->yAxis, plot->yAxis2};
    return axes[which];
}

void compareRange(const QCPRange& range, double lower, double upper)
{
    QCOMPARE(range.lower, lower);
    QCOMPARE(range.upper, upper);
}

}  // namespace

class TestMonitorPanels : public QObject {
    Q_OBJECT
private slots:
    void curveSetsTheView_data()
    {
        QTest::addColumn<Values>("keys");
        QTest::addColumn<Values>("values");
        QTest::addColumn<Values>("view");  // x lower, x upper, y lower, y upper
        QTest::newRow("ramp") << Values{0, 2.5, 10} << Values{-2, 2, 0} << Values{0, 10, -3, 3};
        QTest::newRow("constant") << Values{0, 10} << Values{5, 5} << Values{0, 10, 4, 6};
        QTest::newRow("one point") << Values{3} << Values{1} << Values{2, 4, 0, 2};
    }

    void curveSetsTheView()
    {
        QFETCH(Values, keys);
        QFETCH(Values, values);
        QFETCH(Values, view);
        zor_monitor_panel panel(600, 250);
        panel.monitorInitialPlot(keys, values, 1.0);
        compareRange(panel.keyRange(), view[0], view[1]);
        compareRange(panel.valueRange(), view[2], view[3]);
        // The box axes follow.
        QCOMPARE(panel.plot()->xAxis2->range(), panel.keyRange());
        QCOMPARE(panel.plot()->yAxis2->range(), panel.valueRange());
    }

    void setUpOnlyOnce()
    {
        zor_monitor_panel panel(600, 250);
        plotRamp(panel);
        panel.monitorInitialTracer();
        panel.monitorInitialPlot({100, 200}, {7, 9}, 1.0);
        panel.monitorInitialTracer();
        QCOMPARE(panel.plot()->graphCount(), 1);
        QCOMPARE(panel.plot()->itemCount(), 1);
        compareRange(panel.keyRange(), 0, 10);
    }

    void tracerStaysOnTheCurve_data()
    {
        QTest::addColumn<bool>("timeSeries");
        QTest::addColumn<double>("key");
        QTest::addColumn<double>("placed");
        QTest::newRow("past the end") << false << 12.0 << 10.0;
        QTest::newRow("before the start") << true << -1.0 << 0.0;
        QTest::newRow("between points") << false << 4.5 << 4.5;
        QTest::newRow("time series past the end") << true << 12.0 << 10.0;
    }

    void tracerStaysOnTheCurve()
    {
        QFETCH(bool, timeSeries);
        QFETCH(double, key);
        QFETCH(double, placed);
        zor_monitor_panel panel(600, 250);
        plotRamp(panel);
        panel.monitorInitialTracer();
        QVERIFY(panel.tracerShown());
        if (timeSeries)
            panel.monitorRefreshTimeSeriesTracer(key);
        else
            panel.monitorRefreshNodeDispTracer(key);
        QCOMPARE(panel.tracerKey(), placed);
    }

    void withoutPointsNothingIsDrawn_data()
    {
        QTest::addColumn<bool>("curveSent");
        QTest::newRow("empty curve") << true;
        QTest::newRow("no curve (unknown DOF)") << false;
    }

    void withoutPointsNothingIsDrawn()
    {
        QFETCH(bool, curveSent);
        zor_monitor_panel panel(600, 250);
        if (curveSent)
            panel.monitorInitialPlot({}, {}, 1.0);
        panel.monitorInitialTracer();
        panel.monitorRefreshNodeDispTracer(3);
        QVERIFY(!panel.tracerShown());
        compareRange(panel.keyRange(), -8, 8);
        compareRange(panel.valueRange(), -5, 5);
        // A tracer left at the origin would show as a red dot.
        const QImage picture = panel.plot()->toPixmap(300, 200).toImage();
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                red += picture.pixel(x, y) == qRgb(255, 0, 0);
        QCOMPARE(red, 0);
    }

    void selectedAxisLimitsDragAndZoom_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::addColumn<int>("selected");  // -1 none, 0 bottom, 2 left
        QTest::addColumn<bool>("xMoves");
        QTest::addColumn<bool>("yMoves");
        QTest::newRow("drag, nothing selected") << false << -1 << true << true;
        QTest::newRow("drag, bottom axis") << false << 0 << true << false;
        QTest::newRow("drag, left axis") << false << 2 << false << true;
        QTest::newRow("zoom, nothing selected") << true << -1 << true << true;
        QTest::newRow("zoom, bottom axis") << true << 0 << true << false;
        QTest::newRow("zoom, left axis") << true << 2 << false << true;
    }

    void selectedAxisLimitsDragAndZoom()
    {
        QFETCH(bool, wheel);
        QFETCH(int, selected);
        QFETCH(bool, xMoves);
        QFETCH(bool, yMoves);
        zor_monitor_panel panel(600, 250);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCustomPlot* plot = panel.plot();
        plot->replot();
        if (selected >= 0)
            axisOf(plot, selected)->setSelectedParts(QCPAxis::spAxis);
        const QCPRange x = panel.keyRange(), y = panel.valueRange();
        const QPointF at = plot->axisRect()->center();
        if (wheel) {
            QWheelEvent turn(at, plot->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(plot, &turn);
        } else {
            const QPointF to = at + QPointF(40, 30);
            QMouseEvent press(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(plot, &press);
            QCoreApplication::sendEvent(plot, &move);
            QCoreApplication::sendEvent(plot, &release);
        }
        QCOMPARE(panel.keyRange() != x, xMoves);
        QCOMPARE(panel.valueRange() != y, yMoves);
    }

    void axisSelectsWithItsBoxPair_data()
    {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("partner");
        QTest::newRow("bottom tick labels") << 0 << int(QCPAxis::spTickLabels) << 1;
        QTest::newRow("right axis") << 3 << int(QCPAxis::spAxis) << 2;
    }

    void axisSelectsWithItsBoxPair()
    {
        QFETCH(int, clicked);
        QFETCH(int, part);
        QFETCH(int, partner);
        zor_monitor_panel panel(600, 250);
        QCustomPlot* plot = panel.plot();
        axisOf(plot, clicked)->setSelectedParts(QCPAxis::SelectablePart(part));
        panel.selectionChanged();
        const QCPAxis::SelectableParts whole = QCPAxis::spAxis | QCPAxis::spTickLabels;
        for (int which = 0; which < 4; ++which) {
            const bool inPair = which == clicked || which == partner;
            QCOMPARE(axisOf(plot, which)->selectedParts(), inPair ? whole : QCPAxis::SelectableParts());
        }
    }

    void axisLabelRename_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("label");
        QTest::newRow("label, confirmed") << int(QCPAxis::spAxisLabel) << true << true << "Step";
        QTest::newRow("label, cancelled") << int(QCPAxis::spAxisLabel) << false << true << "u1";
        QTest::newRow("tick labels") << int(QCPAxis::spTickLabels) << true << false << "u1";
    }

    void axisLabelRename()
    {
        QFETCH(int, part);
        QFETCH(bool, confirmed);
        QFETCH(bool, asked);
        QFETCH(QString, label);
        zor_monitor_panel panel(600, 250);
        QCPAxis* axis = panel.plot()->yAxis;
        axis->setLabel("u1");
        QStringList prefilled;
        const auto real = zor_monitor_panel::axisLabelProvider;
        zor_monitor_panel::axisLabelProvider = [&](QWidget*, const QString&, const QString&,
                                                   const QString& current) {
            prefilled << current;
            return zor_monitor_panel::TextAnswer{confirmed, QStringLiteral("Step")};
        };
        panel.axisLabelDoubleClick(axis, QCPAxis::SelectablePart(part));
        zor_monitor_panel::axisLabelProvider = real;
        QCOMPARE(prefilled, asked ? QStringList{"u1"} : QStringList());
        QCOMPARE(axis->label(), label);
    }

    void centredOnTheParent()
    {
        QWidget parent;
        parent.setGeometry(100, 50, 801, 401);
        zor_monitor_panel panel(600, 250, &parent);
        // Halves rounded as integers: 100 + 401 - 300, 50 + 201 - 125.
        QCOMPARE(panel.pos(), QPoint(201, 126));
        QCOMPARE(panel.size(), QSize(600, 250));
    }

    void nodeChooserListsTagsAscending()
    {
        zor_monitor_nodedisp_panel chooser;
        QSignalSpy spy(&chooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal);
        chooser.pushButton->click();  // no node yet: nothing to send
        QCOMPARE(spy.count(), 0);
        chooser.setNodeTags({5, 1, 3});
        QStringList listed;
        for (int i = 0; i < chooser.comboBox->count(); ++i)
            listed << chooser.comboBox->itemText(i);
        QCOMPARE(listed, QStringList({"1", "3", "5"}));
        chooser.setNodeTags({2});
        QCOMPARE(chooser.comboBox->count(), 1);
    }

    void plotSendsTagAndDof_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("dof");
        QTest::newRow("DoF: 1 as opened") << 0 << 1;
        QTest::newRow("DoF: 2") << 2 << 2;
        QTest::newRow("DOF: 3") << 3 << 3;
    }

    void plotSendsTagAndDof()
    {
        QFETCH(int, button);
        QFETCH(int, dof);
        zor_monitor_nodedisp_panel chooser;
        chooser.setNodeTags({5, 1, 3});
        chooser.show();
        chooser.comboBox->setCurrentText("3");
        if (button == 2)
            chooser.radioButton_2->click();
        if (button == 3)
            chooser.radioButton_3->click();
        QSignalSpy spy(&chooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal);
        chooser.pushButton->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0], QList<QVariant>({3, dof}));
        QVERIFY(chooser.isVisible());  // open for the next monitor
    }
};

QTEST_MAIN(TestMonitorPanels)
#include "tst_monitor_panels.moc"
