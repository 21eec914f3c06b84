// The modes of a run: what the instrumented script's eigen wrapper writes when the stand-in solver
// runs it, read back; the Modes table's arithmetic; the drawing scale. Expected values from the
// stand-in's synthetic modes (tools/standin/SyntheticModes.h): mode k has f = 2k - 1 Hz and moves
// along X (the frame's longest extent is Y) as sin((2k - 1) pi y / 12).
#include <QProcess>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

#include "DeformationScale.h"
#include "Instrumentation.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "Modes.h"
#include "ScriptEvaluation.h"

class tst_modes : public QObject {
    Q_OBJECT
private slots:
    void standinRunRecordsEveryCall()
    {
        QTemporaryDir dir;
        QFile script(dir.filePath("frame.tcl"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        // Nodes 1-6 at x 0 and 4, y 0, 3, 6; the base fixed. No mass for the first call.
        script.write("model basic -ndm 2 -ndf 3\n"
                     "foreach {t x y} {1 0 0 2 4 0 3 0 3 4 4 3 5 0 6 6 4 6} { node $t $x $y }\n"
                     "fix 1 1 1 1\nfix 2 1 1 1\n"
                     "puts [eigen 3]\n"
                     "mass 5 1 1 0\n"
                     "proc periods {} { return [eigen -genBandArpack 2] }\n"
                     "puts [periods]\n");
        script.close();
        ModelInterpreter interpreter;
        QVERIFY(evaluateScriptFile(interpreter, script.fileName()).modelComplete());
        QVERIFY(writeInstrumentedScript(script.fileName(), recorderBlock(*modelRecord(), {}, 0)));
        QProcess solver;
        solver.setWorkingDirectory(dir.path());
        solver.start(TOLVANE_BINARY_DIR "/bin/tolvane-standin", {dir.filePath("frameTemp.tcl")});
        QVERIFY(solver.waitForFinished(30000));
        QCOMPARE(solver.exitCode(), 0);
        // The script gets the eigenvalues unchanged: (2 pi)^2, (6 pi)^2, (10 pi)^2.
        const QList<QByteArray> printed = solver.readAllStandardOutput().split('\n');
        QCOMPARE(printed.value(0).split(' ').size(), 3);
        QCOMPARE(printed.value(0).split(' ').value(2).toDouble(), std::pow(10.0 * M_PI, 2));
        QCOMPARE(printed.value(1).split(' ').value(0).toDouble(), std::pow(2.0 * M_PI, 2));

        const QVector<EigenCall> calls = readRecordedModes(dir.filePath("TolvaneResult"));
        QCOMPARE(calls.size(), 2);
        const EigenCall& first = calls[0];
        QVERIFY2(first.problem.isEmpty(), qPrintable(first.problem));
        QCOMPARE(first.nodeTags, QVector<int>({1, 2, 3, 4, 5, 6}));
        QCOMPARE(first.modeCount(), 3);
        QCOMPARE(first.shapes.size(), 3 * 6 * 3);
        for (int k = 1; k <= 3; ++k)
            QVERIFY(std::abs(modeRow(first, k - 1).period - 1.0 / (2 * k - 1)) < 1e-9);
        const auto translation = [&first](int mode, int node, int c) {
            return first.shapes[(mode * 6 + node) * 3 + c];
        };
        QCOMPARE(translation(0, 4, 0), 1.0);  // node 5 at the top, mode 1
        QCOMPARE(translation(1, 2, 0), 0.707107);  // node 3 at mid-height, mode 2: sin(3 pi / 4)
        QCOMPARE(translation(1, 2, 1), 0.0);
        QVERIFY(!first.hasMass());
        QCOMPARE(calls[1].modeCount(), 2);
        QCOMPARE(calls[1].massRatios, QVector<QVector<double>>({{81.0569, 0.0}, {9.00633, 0.0}}));

        // A file cut short (a run killed while writing) is named; the other call still reads.
        QFile second(dir.filePath("TolvaneResult/Modes2.file"));
        QVERIFY(second.resize(second.size() - 10));
        const QVector<EigenCall> cut = readRecordedModes(dir.filePath("TolvaneResult"));
        QVERIFY(cut[0].problem.isEmpty());
        QVERIFY2(cut[1].problem.contains("line 2 of Modes2.file") && cut[1].modeCount() == 0,
                 qPrintable(cut[1].problem));
    }

    void tableArithmetic()
    {
        EigenCall call;
        call.eigenvalues = {100.0, -4.0};
        call.massRatios = {{60.0, 5.0}, {1.0, 2.0}};
        // lambda 100: omega = 10 rad/s, f = 10 / 2 pi = 1.59155 Hz, T = 2 pi / 10 = 0.628319 s.
        const ModeRow first = modeRow(call, 0);
        QVERIFY(first.oscillates);
        QCOMPARE(first.omega, 10.0);
        QCOMPARE(first.frequency, 1.5915494309189535);
        QCOMPARE(first.period, 0.6283185307179586);
        QCOMPARE(first.massRatios, QVector<double>({60.0, 5.0}));
        // A negative eigenvalue is listed as it is, without frequency or period.
        const ModeRow negative = modeRow(call, 1);
        QVERIFY(!negative.oscillates);
        QCOMPARE(negative.lambda, -4.0);
        QCOMPARE(modeRowTexts(negative, 2).mid(1, 4), QStringList({"-4", "-", "-", "-"}));
        call.massRatios.clear();
        QCOMPARE(modeRowTexts(modeRow(call, 0), 1).last(), QStringLiteral("no mass"));
    }

    void scaleRule()
    {
        EigenCall call;
        call.nodeTags = {1, 2};
        call.eigenvalues = {1.0};
        call.shapes = {0, 0, 1, 3, 4, 0};
        QCOMPARE(largestTranslation(call, 0), 5.0);
        // The largest translation drawn at a tenth of the largest extent: 0.1 x 10 / 5.
        resetModelRecord();
        modelRecord()->nodeX = {0, 10, 0};
        modelRecord()->nodeY = {0, 2, -3};
        modelRecord()->nodeZ = {0, 0, 0};
        QCOMPARE(automaticScale(modelExtent(*modelRecord()), largestTranslation(call, 0)), 0.2);
        QCOMPARE(automaticScale(10.0, 0.0), 1.0);  // a mode that moves nothing
        // Drawn in the model's node order; a node the call did not record stays still.
        QVector<double> x, y, z;
        modeDisplacements(call, 0, {2, 7, 1}, &x, &y, &z);
        QCOMPARE(x, QVector<double>({3, 0, 0}));
        QCOMPARE(y, QVector<double>({4, 0, 0}));
        QCOMPARE(z, QVector<double>({0, 0, 1}));
    }
};

QTEST_GUILESS_MAIN(tst_modes)
#include "tst_modes.moc"
