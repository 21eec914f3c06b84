// The monitor windows: the view a curve gets, the tracer, mouse rules on a shown plot, the axis
// label seam, curves with a step marker and their exports, and the node chooser.
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <tuple>

#include "zor_monitor_nodedisp_panel.h"
#include "zor_monitor_panel.h"

using Values = QVector<double>;

namespace {

const Values kRampKeys = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const Values kRampValues = {-2, -1.6, -1.2, -0.8, -0.4, 0, 0.4, 0.8, 1.2, 1.6, 2};

QCPAxis* axisOf(QCustomPlot* plot, int which)
{
    return QList<QCPAxis*>{plot->xAxis, plot->xAxis2, plot->yAxis, plot->yAxis2}[which];
}

// x lower, x upper, y lower, y upper.
Values view(const zor_monitor_panel& panel)
{
    return {panel.keyRange().lower, panel.keyRange().upper, panel.valueRange().lower,
            panel.valueRange().upper};
}

int redPixels(const zor_monitor_panel& panel)
{
    const QImage picture = panel.plot()->toPixmap(300, 200).toImage();
    int red = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            red += picture.pixel(x, y) == qRgb(255, 0, 0);
    return red;
}

}  // namespace

class TestMonitorPanels : public QObject {
    Q_OBJECT
private slots:
    void curveSetsTheViewOnce_data()
    {
        QTest::addColumn<Values>("keys");
        QTest::addColumn<Values>("values");
        QTest::addColumn<Values>("view");
        QTest::newRow("ramp") << Values{0, 2.5, 10} << Values{-2, 2, 0} << Values{0, 10, -3, 3};
        QTest::newRow("constant") << Values{0, 10} << Values{5, 5} << Values{0, 10, 4, 6};
        QTest::newRow("one point") << Values{3} << Values{1} << Values{2, 4, 0, 2};
        QTest::newRow("no points: the first view stays") << Values{} << Values{} << Values{-8, 8, -5, 5};
    }

    void curveSetsTheViewOnce()
    {
        QFETCH(Values, keys);
        QFETCH(Values, values);
        QFETCH(Values, view);
        zor_monitor_panel panel(600, 250);
        panel.monitorInitialPlot(keys, values, 1.0);
        QCOMPARE(::view(panel), view);
        // The box axes follow.
        QCOMPARE(panel.plot()->xAxis2->range(), panel.keyRange());
        QCOMPARE(panel.plot()->yAxis2->range(), panel.valueRange());
        // A window gets one curve and one tracer.
        panel.monitorInitialTracer();
        panel.monitorInitialPlot({100, 200}, {7, 9}, 1.0);
        panel.monitorInitialTracer();
        QCOMPARE(panel.plot()->graphCount(), 1);
        QCOMPARE(panel.plot()->itemCount(), 1);
        QCOMPARE(::view(panel), view);
    }

    void tracerStaysOnTheCurve_data()
    {
        QTest::addColumn<QString>("curve");  // ramp or empty
        QTest::addColumn<bool>("timeSeries");
        QTest::addColumn<double>("key");
        QTest::addColumn<double>("placed");  // NaN: not shown
        const double hidden = qQNaN();
        QTest::newRow("past the end") << "ramp" << false << 12.0 << 10.0;
        QTest::newRow("before the start") << "ramp" << true << -1.0 << 0.0;
        QTest::newRow("between points") << "ramp" << false << 4.5 << 4.5;
        // A tracer left at the origin would show as a red dot.
        QTest::newRow("empty curve: nothing drawn") << "empty" << false << 3.0 << hidden;
    }

    void tracerStaysOnTheCurve()
    {
        QFETCH(QString, curve);
        QFETCH(bool, timeSeries);
        QFETCH(double, key);
        QFETCH(double, placed);
        zor_monitor_panel panel(600, 250);
        panel.monitorInitialPlot(curve == "ramp" ? kRampKeys : Values{},
                                 curve == "ramp" ? kRampValues : Values{}, 1.0);
        panel.monitorInitialTracer();
        if (timeSeries)
            panel.monitorRefreshTimeSeriesTracer(key);
        else
            panel.monitorRefreshNodeDispTracer(key);
        QCOMPARE(panel.tracerShown(), !qIsNaN(placed));
        QCOMPARE(redPixels(panel) > 0, !qIsNaN(placed));
        if (!qIsNaN(placed))
            QCOMPARE(panel.tracerKey(), placed);
    }

    void selectedAxisLimitsDragAndZoom_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::addColumn<int>("selected");   // -1 none, 0 bottom, 2 left
        QTest::addColumn<QString>("moved");  // the ranges that change
        QTest::newRow("drag, nothing selected") << false << -1 << "xy";
        QTest::newRow("drag, bottom axis") << false << 0 << "x";
        QTest::newRow("zoom, left axis") << true << 2 << "y";
    }

    void selectedAxisLimitsDragAndZoom()
    {
        QFETCH(bool, wheel);
        QFETCH(int, selected);
        QFETCH(QString, moved);
        zor_monitor_panel panel(600, 250);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCustomPlot* plot = panel.plot();
        plot->replot();
        if (selected >= 0)
            axisOf(plot, selected)->setSelectedParts(QCPAxis::spAxis);
        const QCPRange x = panel.keyRange(), y = panel.valueRange();
        const QPointF at = plot->axisRect()->center(), to = at + QPointF(40, 30);
        QWheelEvent turn(at, plot->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QMouseEvent press(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        const QList<QEvent*> events = wheel ? QList<QEvent*>{&turn} : QList<QEvent*>{&press, &move, &release};
        for (QEvent* event : events)
            QCoreApplication::sendEvent(plot, event);
        QCOMPARE(QString(panel.keyRange() != x ? "x" : "") + (panel.valueRange() != y ? "y" : ""), moved);
    }

    // Bottom pairs with top, left with right, whichever part was clicked.
    void axisSelectsWithItsBoxPair()
    {
        for (const auto& [clicked, part, partner] :
             {std::tuple{0, QCPAxis::spTickLabels, 1}, {3, QCPAxis::spAxis, 2}}) {
            zor_monitor_panel panel(600, 250);
            axisOf(panel.plot(), clicked)->setSelectedParts(part);
            panel.selectionChanged();
            for (int which = 0; which < 4; ++which) {
                const bool inPair = which == clicked || which == partner;
                QCOMPARE(axisOf(panel.plot(), which)->selectedParts(),
                         inPair ? QCPAxis::spAxis | QCPAxis::spTickLabels : QCPAxis::SelectableParts());
            }
        }
    }

    // Only a double click on the label asks, prefilled; a cancelled answer keeps the label.
    void axisLabelRename()
    {
        zor_monitor_panel panel(600, 250);
        QCPAxis* axis = panel.plot()->yAxis;
        axis->setLabel("u1");
        QStringList prefilled;
        bool confirmed = false;
        const auto real = zor_monitor_panel::axisLabelProvider;
        zor_monitor_panel::axisLabelProvider = [&](QWidget*, const QString&, const QString&,
                                                   const QString& current) {
            prefilled << current;
            return zor_monitor_panel::TextAnswer{confirmed, QStringLiteral("Step")};
        };
        panel.axisLabelDoubleClick(axis, QCPAxis::spAxisLabel);
        QCOMPARE(axis->label(), QStringLiteral("u1"));
        confirmed = true;
        panel.axisLabelDoubleClick(axis, QCPAxis::spTickLabels);
        QCOMPARE(axis->label(), QStringLiteral("u1"));
        panel.axisLabelDoubleClick(axis, QCPAxis::spAxisLabel);
        zor_monitor_panel::axisLabelProvider = real;
        QCOMPARE(prefilled, QStringList({"u1", "u1"}));
        QCOMPARE(axis->label(), QStringLiteral("Step"));
    }

    // Typed tags complete; a tag not in the model is refused in the window; Plot sends and closes.
    void nodeChooser()
    {
        auto* chooser = new zor_monitor_nodedisp_panel;
        QSignalSpy spy(chooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal);
        QSignalSpy closed(chooser, &QObject::destroyed);
        chooser->setNodeTags({50, 5, 1, 3});
        chooser->setDofCount(6);
        chooser->show();
        QVERIFY(!chooser->isModal() && chooser->windowModality() == Qt::NonModal);
        QCompleter* completer = chooser->lineEdit->completer();
        completer->setCompletionPrefix("5");
        QCOMPARE(completer->completionCount(), 2);
        chooser->lineEdit->setText("4");
        chooser->pushButton->click();
        QCOMPARE(chooser->hint->text(), QStringLiteral("Node 4 is not in the model."));
        chooser->setNodeTag(50);  // picked in the view
        chooser->dofButtons[4]->click();
        chooser->stepButton->click();
        chooser->pushButton->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0], QList<QVariant>({50, 5, true}));
        QVERIFY(closed.wait(1000));
    }

    // A loop keeps its order; the marker follows the step; CSV and pictures are written.
    void curveMarkerAndExports()
    {
        zor_monitor_panel panel(600, 250);
        PlotCurve loop;
        loop.xTitle = "Drift";
        loop.yTitle = "Shear";
        loop.x = {0, 2, -2, 1};
        loop.y = {0, 10, -10, 5};
        loop.steps = {1, 2, 3, 4};
        panel.showCurve(loop);
        panel.showStep(3);
        QCOMPARE(panel.markerPosition(), QPointF(-2, -10));
        panel.showCurve(loop);  // a new choice keeps the step
        QCOMPARE(panel.markerPosition(), QPointF(-2, -10));
        QCOMPARE(panel.plot()->xAxis->label(), QStringLiteral("Drift"));
        QCOMPARE(::view(panel), (Values{-2.2, 2.2, -15, 15}));
        QTemporaryDir dir;
        QVERIFY(panel.saveCsv(dir.filePath("loop.csv")));
        QFile csv(dir.filePath("loop.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), QByteArray("Step,Drift,Shear\n1,0,0\n2,2,10\n3,-2,-10\n4,1,5\n"));
        for (const auto& [name, magic] :
             {std::pair{"loop.png", "\x89PNG"}, {"loop.svg", "<?xml"}, {"loop.pdf", "%PDF"}}) {
            QVERIFY2(panel.savePicture(dir.filePath(name), QSize(640, 400)), qPrintable(panel.noteText()));
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly) && f.read(qstrlen(magic)) == magic);
        }
        QCOMPARE(QImage(dir.filePath("loop.png")).size(), QSize(640, 400));
        QVERIFY(!panel.savePicture(dir.filePath("loop.bmp"), QSize(640, 400)));
        QCOMPARE(panel.noteText(),
                 QStringLiteral("Cannot save \"loop.bmp\": the picture type must be .png, .svg or .pdf."));
    }
};

QTEST_MAIN(TestMonitorPanels)
#include "tst_monitor_panels.moc"
