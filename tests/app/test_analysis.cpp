// The analysis side of the main window with the stand-in solver: run, Run Log, stop (of a wrapper
// and all it started), the quit prompt, a flooding solver, --render of a step and of a range of
// steps; Load Result and the step display; values at a click; the live view; the monitors, XY
// plots and the animation export; the Modes window.
// Expected numbers come from the stand-in's motion worked by hand: s(5) = 0.2 e^0.8 = 0.445108, so
// at step 5 the roof node 5 of the frame below sways 0.02 L h s = 0.12 s = 0.053413 in x (the
// largest displacement of the run, so the first scale is 0.1 x 6 / 0.053413 = 11.2), and the
// stand-in gives beam 5 an axial force of 13.3532 at end i.
#include <QVTKOpenGLNativeWidget.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <qcustomplot.h>
#include <vtkActor.h>
#include <vtkFloatArray.h>
#include <vtkPoints.h>
#include <vtkRenderer.h>

#include "AnimationExportDialog.h"
#include "ModelRecord.h"
#include "ModesPanel.h"
#include "RunLogView.h"
#include "SettingsStore.h"
#include "Tolvane.h"
#include "TolvaneModes.h"
#include "tcleditor.h"
#include "vtkdraw.h"
#include "zor_monitor_nodedisp_panel.h"
#include "zor_monitor_panel.h"
#include "zor_output_panel.h"
#include "zor_result_panel.h"
#include "zor_result_read_panel.h"
#include "zor_xyplot_panel.h"
#include "zorcontrl.h"
#include "zortcpserver.h"

namespace {

const QString kStandin = QStringLiteral(TOLVANE_BINARY_DIR "/bin/tolvane-standin");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& text, QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile f(path);
    return f.open(mode) && f.write(text) == text.size();
}

// A message box seam that keeps "PREFIX TITLE: TEXT" in BOXES.
std::function<void(QWidget*, const QString&, const QString&)> collect(QStringList& boxes,
                                                                      const QString& prefix = {})
{
    return [&boxes, prefix](QWidget*, const QString& title, const QString& text) {
        boxes << prefix + title + ": " + text;
    };
}

// The frames of a video and their size, decoded with FFmpeg's own decoder.
std::pair<int, QSize> decodedFrames(const QString& path)
{
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return {-1, QSize()};
    const AVCodec* codec = nullptr;
    const int stream = avformat_find_stream_info(file, nullptr) < 0
                           ? -1
                           : av_find_best_stream(file, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* decoder = stream < 0 ? nullptr : avcodec_alloc_context3(codec);
    int frames = 0;
    QSize size;
    if (decoder && avcodec_parameters_to_context(decoder, file->streams[stream]->codecpar) >= 0 &&
        avcodec_open2(decoder, codec, nullptr) >= 0) {
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        const auto drain = [&] {
            while (avcodec_receive_frame(decoder, frame) == 0) {
                ++frames;
                size = QSize(frame->width, frame->height);
            }
        };
        while (av_read_frame(file, packet) >= 0) {
            if (packet->stream_index == stream && avcodec_send_packet(decoder, packet) >= 0)
                drain();
            av_packet_unref(packet);
        }
        avcodec_send_packet(decoder, nullptr);
        drain();
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
    avcodec_free_context(&decoder);
    avformat_close_input(&file);
    return {frames, size};
}

// A two-storey plane frame: nodes 1-6, columns 1-4, beams 5-6, base fixed.
QByteArray frameScript(int steps, const QByteArray& tail = QByteArray())
{
    return "model basic -ndm 2 -ndf 3\n"
           "foreach {t x y} {1 0 0 2 4 0 3 0 3 4 4 3 5 0 6 6 4 6} { node $t $x $y }\n"
           "fix 1 1 1 1\nfix 2 1 1 1\n"
           "geomTransf Linear 1\n"
           "foreach {t i j} {1 1 3 2 2 4 3 3 5 4 4 6 5 3 4 6 5 6} {\n"
           "    element elasticBeamColumn $t $i $j 0.1 2e8 1e-3 1\n"
           "}\n"
           "integrator LoadControl 0.1\n"
           "analyze " +
           QByteArray::number(steps) + "\n" + tail;
}

}  // namespace

class TestAnalysis : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString configPath;
    QString initialCwd;

    std::unique_ptr<Tolvane> shownWindow()
    {
        std::unique_ptr<Tolvane> w(new Tolvane);
        w->dialogs.warning = w->dialogs.information =
            w->dialogs.critical = [](QWidget*, const QString& title, const QString& text) {
                QFAIL(qPrintable(QStringLiteral("unexpected box %1: %2").arg(title, text)));
            };
        w->dialogs.question = w->dialogs.saveFirst = [](QWidget*, const QString& title, const QString& text) {
            qFatal("unexpected question %s: %s", qPrintable(title), qPrintable(text));
            return false;
        };
        w->dialogs.exec = [](QDialog*) -> int {
            qFatal("a test reached a real modal dialog");
            return 0;
        };
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qFatal("window never exposed");
        return w;
    }

    QString openScript(Tolvane* w, const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        if (!QDir().mkpath(QFileInfo(path).path()) || !writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        w->openScriptAtStart(path);
        return QFileInfo(path).canonicalFilePath();
    }

    // Runs through the recorder dialog, checking the responses named in CHECK and the live box.
    void run(Tolvane* w, const QStringList& check, int liveScale = 0)
    {
        w->dialogs.exec = [&](QDialog* dialog) {
            auto* panel = qobject_cast<zor_output_panel*>(dialog);
            if (!panel)
                qFatal("not the recorder dialog");
            QTreeWidget* tree = panel->treeWidget;
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                for (int c = 0; c < tree->topLevelItem(i)->childCount(); ++c)
                    if (check.contains(tree->topLevelItem(i)->child(c)->text(0)))
                        tree->topLevelItem(i)->child(c)->setCheckState(0, Qt::Checked);
            if (liveScale > 0) {
                panel->checkBox->click();
                panel->spinBox->setValue(liveScale);
            }
            panel->buttonBox->button(QDialogButtonBox::Ok)->click();
            return 1;
        };
        w->form()->actionRun_Tcl_File->trigger();
    }

    // Load Result through the selection dialog: elasticBeamColumn localForces, value 1 per element.
    zor_result_panel* loadResults(Tolvane* w)
    {
        w->dialogs.exec = [&](QDialog* dialog) {
            auto* select = qobject_cast<zor_result_read_panel*>(dialog);
            if (!select)
                qFatal("not the result dialog");
            select->comboBox_3->setCurrentIndex(select->comboBox_3->findData("Element Attribute"));
            select->spinBox->setValue(1);
            select->buttonBox->button(QDialogButtonBox::Ok)->click();
            return 1;
        };
        w->form()->actionLoad_Result->trigger();
        const QList<zor_result_panel*> panels = w->findChildren<zor_result_panel*>();
        return panels.isEmpty() ? nullptr : panels.last();
    }

    static QString status(const std::unique_ptr<Tolvane>& w) { return w->statusBar()->currentMessage(); }

    static double pointX(Tolvane* w, vtkdraw::Group group, int point)
    {
        return w->sceneBuilder()->group(group).points->GetPoint(point)[0];
    }

    // A click in the view where world point (X, Y, 0) is drawn.
    static void clickAt(Tolvane* w, double x, double y)
    {
        vtkRenderer* renderer = w->sceneBuilder()->renderer();
        renderer->SetWorldPoint(x, y, 0.0, 1.0);
        renderer->WorldToDisplay();
        const double* d = renderer->GetDisplayPoint();
        QWidget* view = w->form()->qvtkwidget;
        const double ratio = view->devicePixelRatioF();
        QTest::mouseClick(view, Qt::LeftButton, {},
                          QPoint(int(std::lround(d[0] / ratio)), int(std::lround(view->height() - 1 - d[1] / ratio))));
    }

    // Makes the shell script BODY in FOLDER the solver.
    void setSolver(const QString& folder, const QByteArray& body)
    {
        const QString path = folder + "/solver.sh";
        if (!writeFile(path, "#!/bin/sh\n" + body) || !QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
            qFatal("cannot write %s", qPrintable(path));
        QSettings(configPath, QSettings::IniFormat).setValue("EXEPATH/OSPath", path);
    }

    static bool waitForEnd(Tolvane* w, int timeoutMs = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (w->runControl()->isRunning() && clock.elapsed() < timeoutMs)
            QTest::qWait(20);
        QTest::qWait(50);
        return !w->runControl()->isRunning();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(kStandin).isExecutable());
        initialCwd = QDir::currentPath();
        configPath = SettingsStore::settingsFilePath();
        SettingsStore::writeDefaults(configPath);
        QSettings(configPath, QSettings::IniFormat).setValue("EXEPATH/OSPath", kStandin);
        tcleditor::messageBoxProvider = [](QWidget*, const QString&, const QString&,
                                           QMessageBox::StandardButtons) { return QMessageBox::Discard; };
    }

    void cleanupTestCase()
    {
        QDir::setCurrent(initialCwd);
        QFile::remove(configPath);
    }

    void runWritesRecordCopyAndLog()
    {
        const auto w = shownWindow();
        const QString script = openScript(w.get(), "run/frame.tcl", frameScript(5));
        const QString folder = QFileInfo(script).path();
        run(w.get(), {"localForces"});
        QTRY_VERIFY(w->form()->runLogDock->isVisible());
        QVERIFY(waitForEnd(w.get()));
        QVERIFY2(status(w).startsWith("Analysis finished in "), qPrintable(status(w)));
        QVERIFY(!w->form()->actionStop_Analysis->isEnabled());

        const QString log = w->form()->runLog->toPlainText();
        QVERIFY2(log.contains("analyze 5 steps"), qPrintable(log));
        QVERIFY(readFile(folder + "/TolvaneRun.log").contains("analyze 5 steps"));

        QCOMPARE(readFile(folder + "/OutputSetting"),
                 QCryptographicHash::hash(readFile(script), QCryptographicHash::Md5).toHex() + '\n' +
                     folder.toUtf8() + "\nelasticBeamColumn localForces\n");
        QCOMPARE(readFile(folder + "/TolvaneResult/NodeDisp.file").count('\n'), 5);
        // The next run starts from this run's choices.
        QString preset;
        w->dialogs.exec = [&](QDialog* dialog) {
            QTreeWidgetItem* type = qobject_cast<zor_output_panel*>(dialog)->treeWidget->topLevelItem(0);
            for (int c = 0; c < type->childCount(); ++c)
                preset += type->child(c)->checkState(0) == Qt::Checked ? type->child(c)->text(0) : QString();
            return 0;
        };
        w->form()->actionRun_Tcl_File->trigger();
        QCOMPARE(preset, QStringLiteral("localForces"));
        QCOMPARE(readFile(folder + "/TolvaneResult/elasticBeamColumn_localForcesS.file").count('\n'), 5);

        // Pictures of two steps differ; a step that is not there and stale results are refused.
        QByteArray errors;
        auto render = [&](const QStringList& extra) {
            QProcess p;
            p.start(TOLVANE_BINARY_DIR "/bin/tolvane",
                    QStringList{"--render", script, "--size", "200x150", "--view", "XYZ"} + extra);
            p.waitForFinished(60000);
            errors = p.readAllStandardError();
            return p.exitCode();
        };
        const QStringList contour = {"--scale", "20", "--result", "elasticBeamColumn:localForces"};
        QCOMPARE(render(QStringList{"--output", folder + "/s1.png", "--step", "1", "--component", "Vy_i"} + contour),
                 0);
        QCOMPARE(render(QStringList{"--output", folder + "/s5.png", "--step", "last", "--attribute", "node",
                                    "--component", "Mz", "--envelope", "absmax"} +
                        contour),
                 0);
        QCOMPARE(render(QStringList{"--output", folder + "/s0.png", "--step", "1", "--component", "Qx"} + contour), 2);
        const QImage first(folder + "/s1.png"), last(folder + "/s5.png");
        QCOMPARE(first.size(), QSize(600, 450));
        QVERIFY(first != last);
        QCOMPARE(render({"--output", folder + "/s9.png", "--step", "9"}), 2);
        // A diverged step is drawn, the nodes without numbers marked, and refused.
        const QString disp = folder + "/TolvaneResult/NodeDisp.file";
        const QByteArray results = readFile(disp);
        const int step5 = results.lastIndexOf('\n', results.size() - 2) + 1;
        QVERIFY(writeFile(disp, results.left(step5) + results.mid(step5).replace("0.5 0 0 ", "0.5 nan -nan ")));
        QVERIFY2(render({"--output", folder + "/nan.png", "--step", "5"}) == 1, errors);
        QVERIFY2(errors.contains("Step 5: 2 values are not numbers (the analysis may have diverged)"), errors);
        QVERIFY(QFile::exists(folder + "/nan.png") && writeFile(disp, results));
        // Animations of steps 1, 3 and 5, the end clamped to the last step.
        QCOMPARE(render({"--output", folder + "/sway.mp4", "--steps", "1:9:2", "--fps", "10"}), 0);
        QCOMPARE(decodedFrames(folder + "/sway.mp4"), (std::pair{3, QSize(200, 150)}));
        QVERIFY(writeFile(script, "# edited\n", QIODevice::Append));
        QCOMPARE(render({"--output", folder + "/stale.png", "--step", "1"}), 1);
        QVERIFY(!QFile::exists(folder + "/s9.png") && !QFile::exists(folder + "/stale.png") &&
                !QFile::exists(folder + "/s0.png"));
    }

    void loadResultStepsAndMonitors()
    {
        const auto w = shownWindow();
        // A folder name with blanks, quotes, Tcl's $ and [ and a letter beyond ASCII.
        const QString script =
            openScript(w.get(), "load/frame $HOME [x] \"q\" ü/frame.tcl",
                       frameScript(5, "timeSeries Path 1 -dt 0.1 -values {0 1 2 3 4 5}\n"));
        run(w.get(), {"localForces"});
        QVERIFY(waitForEnd(w.get()));
        // A run that finished well offers its results at once.
        QVERIFY(w->form()->loadResultButton->isVisible());
        QVERIFY2(status(w).endsWith("results ready: Load Result"), qPrintable(status(w)));
        zor_result_panel* panel = loadResults(w.get());
        QVERIFY(panel);
        QVERIFY(!w->form()->loadResultButton->isVisible());
        QCOMPARE(w->displacementLines().size(), 5);
        QCOMPARE(status(w), QStringLiteral("Current Step: 1 | Domain Time: 0.1"));
        QCOMPARE(panel->lineEdit_5->text(), QStringLiteral("11.2"));
        panel->horizontalSlider->setValue(5);
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) - 11.2 * 0.053413) < 1e-5);
        panel->lineEdit_5->setText("1");

        QCOMPARE(status(w), QStringLiteral("Current Step: 5 | Domain Time: 0.5"));
        // Free nodes are 3, 4, 5, 6: node 5 is point 2; beam 5 holds frame points 8 and 9.
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) - 0.053413) < 1e-6);
        QCOMPARE(w->sceneBuilder()->group(vtkdraw::FreeNodes).points->GetPoint(2)[1], 6.0);
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::Frames, 9) - 4.0267065) < 1e-6);  // node 4, half the height
        vtkFloatArray* scalars = w->sceneBuilder()->group(vtkdraw::Frames).scalars;
        // N at end i of an unloaded member: the stand-in's 20 (1 + hc) s(5), hc = 0.5.
        QVERIFY(std::abs(scalars->GetValue(8) - 13.3532) < 1e-3);
        QCOMPARE(scalars->GetValue(9), scalars->GetValue(8));
        panel->lineEdit_5->setText("10");
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) - 0.53413) < 1e-6);

        // A click names the values at the step, and they follow the step: node 5, then beam 5.
        w->form()->actionSet_XY_View_Positive->trigger();
        clickAt(w.get(), 0.53413, 6.0);
        QCOMPARE(status(w), QStringLiteral("Node 5 at step 5 (time 0.5): ux = 0.053413, uy = 0, rz = 0"));
        panel->horizontalSlider->setValue(4);
        QVERIFY2(status(w).startsWith("Node 5 at step 4 (time 0.4): ux = 0.0422975"), qPrintable(status(w)));
        QVERIFY(w->findChild<QLabel*>("valuePanel")->text().contains("<br>ux = 0.0422975<br>"));
        panel->horizontalSlider->setValue(5);
        clickAt(w.get(), 2.26706, 3.0);
        QVERIFY2(status(w).startsWith("Element 5 elasticBeamColumn localForces at step 5 (time 0.5): N_i = 13.3532"),
                 qPrintable(status(w)));
        panel->horizontalSlider->setValue(4);
        QVERIFY2(status(w).startsWith("Element 5 elasticBeamColumn localForces at step 4"), qPrintable(status(w)));
        panel->horizontalSlider->setValue(5);

        // Monitors: the series' marker at the step's time; a node curve over time from the
        // non-modal chooser, which Plot closes; a pushover curve; a tag not in the model.
        QStringList boxes;
        w->dialogs.warning = w->dialogs.critical = collect(boxes);
        w->form()->actionTimeSeries_Monitor->trigger();
        w->form()->actionNodeDisp_Monitor->trigger();
        QPointer<zor_monitor_nodedisp_panel> chooser = w->findChild<zor_monitor_nodedisp_panel*>();
        QVERIFY(chooser && chooser->windowModality() == Qt::NonModal);
        chooser->lineEdit->setText("5");
        chooser->pushButton->click();
        QTRY_VERIFY(!chooser);
        w->form()->actionXY_Plot->trigger();
        auto* xy = w->findChild<zor_xyplot_panel*>();
        xy->xRow->node->setText("5");
        xy->plotButton->click();
        const QList<zor_monitor_panel*> monitors = w->findChildren<zor_monitor_panel*>();
        QCOMPARE(monitors.size(), 3);
        QCOMPARE(monitors[1]->windowTitle(), QStringLiteral("NodeDisp - NodeTag: 5 DoF: 1"));
        QCOMPARE(monitors[1]->plot()->yAxis->label(), QStringLiteral("Displacement, DOF 1"));
        panel->horizontalSlider->setValue(4);
        QCOMPARE(monitors[0]->tracerKey(), 0.4);
        QVERIFY(std::abs(monitors[1]->markerPosition().x() - 0.4) < 1e-9);
        QVERIFY(std::abs(monitors[1]->markerPosition().y() - 0.0422975) < 1e-6);
        // The base shear: nodes 1 and 2 each -1000 s(4) = -352.479.
        QVERIFY(std::abs(monitors[2]->markerPosition().y() + 704.959) < 1e-3);
        QCOMPARE(monitors[2]->markerPosition().x(), monitors[1]->markerPosition().y());
        QMetaObject::invokeMethod(w.get(), "plotNodeDispSlot", Q_ARG(int, 99), Q_ARG(int, 1),
                                  Q_ARG(bool, false));
        QCOMPARE(boxes.value(0), QStringLiteral("NodeDisp Monitor: Cound not found the node!"));
        QCOMPARE(w->findChildren<zor_monitor_panel*>().size(), 3);

        // Export Animation: steps 1, 3 and 5 as a GIF; a cancelled export leaves no file.
        const QString movie = QFileInfo(script).path() + "/sway.gif";
        int cancelAt = 2;
        w->dialogs.saveFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
            return movie;
        };
        w->dialogs.exec = [](QDialog* dialog) {
            auto* options = qobject_cast<AnimationExportDialog*>(dialog);
            options->widthBox->setValue(160);
            options->heightBox->setValue(120);
            return int(QDialog::Accepted);
        };
        w->dialogs.progress = [&](QWidget*, const QString&, int total) {
            return std::function<bool(int)>([&, total](int done) { return total == 3 && done != cancelAt; });
        };
        panel->lineEdit_3->setText("2");
        panel->pushButton_3->click();
        QVERIFY(!QFile::exists(movie));
        cancelAt = 0;
        panel->pushButton_3->click();
        QCOMPARE(decodedFrames(movie), (std::pair{3, QSize(160, 120)}));

        // A saved edit makes the results stale.
        QVERIFY(writeFile(script, "# edited\n", QIODevice::Append));
        w->form()->actionLoad_Result->trigger();
        QCOMPARE(boxes.value(1),
                 QStringLiteral("Load Result: These results are from a run of another script, or of "
                                "an earlier version of this one. Run this script to load its results."));
    }

    void badResultFilesAreReported()
    {
        const auto w = shownWindow();
        const QString script = openScript(w.get(), "bad/frame.tcl", frameScript(3));
        const QString folder = QFileInfo(script).path();
        QStringList boxes;
        w->dialogs.information = collect(boxes, "information ");
        w->form()->actionLoad_Result->trigger();
        QCOMPARE(
            boxes.value(0),
            QStringLiteral("information Load Result: No results for frame.tcl yet: run the analysis first."));
        run(w.get(), {});
        QVERIFY(waitForEnd(w.get()));
        const QString disp = folder + "/TolvaneResult/NodeDisp.file";
        const QByteArray good = readFile(disp);
        const QByteArray cut = good.left(good.size() - 12);

        w->dialogs.warning = w->dialogs.critical = collect(boxes);
        const struct {
            QByteArray bytes;
            QString box;
            bool opens;
        } cases[] = {
            {"", "Load Result: NodeDisp.file is empty: the analysis recorded no step.", false},
            {QByteArray("\x7f\x45LF\x00\x01\x02junk\n", 11),
             "Load Result: NodeDisp.file, line 1: not a result file", false},
            {QByteArray(100 << 20, '1') + "\n",
             "Load Result: NodeDisp.file, line 1: 1 values where this model needs 19", false},
            {cut, "Load Result: NodeDisp.file, line 3:", true},
        };
        for (const auto& c : cases) {
            QVERIFY(writeFile(disp, c.bytes));
            boxes.clear();
            const int panels = w->findChildren<zor_result_panel*>().size();
            loadResults(w.get());
            QVERIFY2(boxes.size() == 1 && boxes[0].startsWith(c.box), qPrintable(boxes.join(" | ")));
            QCOMPARE(w->findChildren<zor_result_panel*>().size(), panels + (c.opens ? 1 : 0));
        }
        QVERIFY(boxes[0].endsWith("the other 2 steps are shown."));

        // A result file that cannot be read, and a run record that is a folder.
        QFile::remove(disp);
        QVERIFY(QDir().mkdir(disp));
        boxes.clear();
        loadResults(w.get());
        QVERIFY2(boxes.value(0).startsWith("Load Result: Cannot read " + disp), qPrintable(boxes.value(0)));
        QVERIFY(QFile::remove(folder + "/OutputSetting") && QDir().mkdir(folder + "/OutputSetting"));
        boxes.clear();
        w->form()->actionLoad_Result->trigger();
        QCOMPARE(boxes.value(0),
                 "information Load Result: Cannot read " + folder + "/OutputSetting: it is a directory.");
    }

    void liveRunDrawsEveryStepInOrder()
    {
        const auto w = shownWindow();
        openScript(w.get(), "live/frame.tcl", frameScript(5));
        QStringList times, messages;
        connect(w->statusBar(), &QStatusBar::messageChanged, this, [&](const QString& m) { messages << m; });
        run(w.get(), {}, 10);
        QVERIFY(w->liveDataServer() && w->liveDataServer()->isListening());
        connect(w->liveDataServer(), &zortcpserver::recordReceived, this,
                [&](int index, double time) { times << QStringLiteral("%1:%2").arg(index).arg(time); });
        QVERIFY(waitForEnd(w.get()));
        QTRY_COMPARE(times, QStringList({"0:0.1", "1:0.2", "2:0.3", "3:0.4", "4:0.5"}));
        // The newest step is drawn last, before the run's end is reported.
        QTRY_VERIFY(messages.filter("Domain Time:").size() >= 1);
        QCOMPARE(messages.filter("Domain Time:").last(), QStringLiteral("Domain Time: 0.5"));
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) - 0.5341298) < 1e-6);  // scale 10, unrounded
    }

    // The Modes window before and after a run with eigen: the table, mode 2 drawn at the automatic
    // scale (extent 6, largest translation 1: 0.6) and at a typed one, Play and Stop, and the model
    // at rest again once it closes. Node 5 (free point 2) moves sin(3 pi / 2) = -1 in mode 2.
    void modesWindowDrawsAndPlays()
    {
        const auto w = shownWindow();
        openScript(w.get(), "modes/frame.tcl", frameScript(2, "eigen 2\n"));
        QAction* modes = w->findChild<QAction*>("actionModes");
        QVERIFY(modes && modes->shortcut() == QKeySequence("Ctrl+M"));
        modes->trigger();
        ModesPanel* panel = w->findChild<ModesPanel*>();
        QVERIFY(panel && panel->isVisible());
        QVERIFY2(panel->status().contains("run the analysis first"), qPrintable(panel->status()));
        run(w.get(), {});
        QVERIFY(waitForEnd(w.get()));
        QCOMPARE(panel->table->rowCount(), 2);
        QCOMPARE(panel->table->item(0, 5)->text(), QStringLiteral("no mass"));
        panel->table->selectRow(1);
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) + 0.6) < 1e-6);
        vtkActor* ghost = w->modes()->ghost().actor(vtkdraw::Frames);
        QVERIFY(ghost && ghost->GetVisibility());
        panel->scaleEdit->setText("2");
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) + 2.0) < 1e-6);
        panel->playButton->click();
        QVERIFY(panel->playing());
        QTRY_VERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) + 2.0) > 0.1);
        panel->stopButton->click();
        QVERIFY(!panel->playing());
        QVERIFY(std::abs(pointX(w.get(), vtkdraw::FreeNodes, 2) + 2.0) < 1e-6);
        panel->close();
        QTRY_COMPARE(pointX(w.get(), vtkdraw::FreeNodes, 2), 0.0);
        QVERIFY(!ghost->GetVisibility());

        // The same mode as a batch picture; a mode the call does not have is refused.
        const QString folder = QFileInfo(w->currentFileDir() + "/frame.tcl").path();
        auto render = [&](const char* mode) {
            QProcess p;
            p.start(TOLVANE_BINARY_DIR "/bin/tolvane", {"--render", folder + "/frame.tcl", "--size", "200x150",
                                                        "--mode", mode, "--output", folder + "/m.png"});
            p.waitForFinished(60000);
            return p.exitCode();
        };
        QCOMPARE(render("3"), 2);
        QVERIFY(!QFile::exists(folder + "/m.png"));
        QCOMPARE(render("2"), 0);
        QCOMPARE(QImage(folder + "/m.png").size(), QSize(600, 450));
    }

    void refusedRunsStartNothing()
    {
        const auto w = shownWindow();
        // The model interprets; the solver then ends with an exit code of its own.
        const QString script = openScript(w.get(), "fail/frame.tcl", frameScript(2, "exit 3\n"));
        const QString folder = QFileInfo(script).path();
        const QString copy = folder + "/frameTemp.tcl";
        run(w.get(), {});
        QVERIFY(waitForEnd(w.get()));
        QCOMPARE(status(w), QStringLiteral("Analysis failed (exit code 3): see Run Log"));
        const QByteArray record = readFile(folder + "/OutputSetting");

        QStringList boxes;
        w->dialogs.information = w->dialogs.critical = collect(boxes);
        const struct {
            QByteArray script;
            QByteArray copy;  // what stands at the copy's name first: nothing, "dir" or a file's text
            QString box;
        } cases[] = {
            {frameScript(3), "", "Run: Please set <b>OpenSees PATH</b> in Options!"},
            {frameScript(3), "dir", "Run: Cannot write " + copy},
            {frameScript(3), "puts mine\n", "Run: " + copy + " was not written by Tolvane"},
            {"model basic -ndm 2\n", "", "Run: The model of frame.tcl has no node"},
            {"model basic -ndm 2\nnode 1 0 0\nnodee\nanalyze 1\n", "",
             "Run: frame.tcl stops with an error before its first analysis"},
        };
        for (const auto& c : cases) {
            QFile::remove(copy);
            QDir(copy).removeRecursively();
            QVERIFY(c.copy != "dir" || QDir().mkdir(copy));
            QVERIFY(c.copy.isEmpty() || c.copy == "dir" || writeFile(copy, c.copy));
            QVERIFY(writeFile(script, c.script));
            const bool noSolver = c.box.contains("OpenSees PATH");
            if (noSolver)
                QSettings(configPath, QSettings::IniFormat).setValue("EXEPATH/OSPath", dir.filePath("none"));
            boxes.clear();
            run(w.get(), {});
            QSettings(configPath, QSettings::IniFormat).setValue("EXEPATH/OSPath", kStandin);
            QVERIFY2(boxes.size() == 1 && boxes[0].startsWith(c.box), qPrintable(boxes.join(" | ")));
            QVERIFY(!w->runControl()->isRunning());
            // The record still names the results of the last run that did run.
            QCOMPARE(readFile(folder + "/OutputSetting"), record);
            if (!c.copy.isEmpty() && c.copy != "dir")
                QCOMPARE(readFile(copy), c.copy);
        }

        // Unsaved edits: Cancel runs nothing; Save runs what is now on disk, node 7 included.
        QFile::remove(copy);
        w->activeEditor()->setPlainText(QString::fromUtf8(frameScript(2)));
        w->activeEditor()->moveCursor(QTextCursor::End);
        w->activeEditor()->insertPlainText("node 7 9 9\n");
        int asked = 0;
        w->dialogs.saveFirst = [&](QWidget*, const QString& title, const QString& text) {
            ++asked;
            return title == "Run" && text.contains("unsaved") && asked > 1;
        };
        run(w.get(), {});
        QCOMPARE(asked, 1);
        QVERIFY(!w->runControl()->isRunning() && !readFile(script).contains("node 7"));
        run(w.get(), {});
        QCOMPARE(asked, 2);
        QVERIFY(waitForEnd(w.get()));
        QVERIFY(readFile(copy).contains("-node 1 2 3 4 5 6 7  -dof 1 2 3 disp"));
        QCOMPARE(boxes.size(), 1);  // the last refusal only: the saved run raised none
    }

    void stopRunAgainAndQuit()
    {
        qputenv("TOLVANE_STANDIN_STEP_DELAY_MS", "200");
        auto w = shownWindow();
        const QString folder = QFileInfo(openScript(w.get(), "slow/frame.tcl", frameScript(200))).path();
        // The solver through a wrapper that stays between: the stand-in is its child.
        setSolver(folder, "\"" + kStandin.toUtf8() + "\" \"$@\" & echo $$ > group; wait\n");
        run(w.get(), {});
        QTRY_VERIFY(w->form()->actionStop_Analysis->isEnabled());  // the solver runs
        QTRY_VERIFY(QFileInfo(folder + "/group").size() > 0);
        // What `ps` lists of the wrapper's group, the ended (zombies) left out.
        const QByteArray group = readFile(folder + "/group").trimmed();
        const auto living = [&group] {
            QProcess ps;
            ps.start("ps", {"-eo", "pgid=,stat="});
            ps.waitForFinished();
            return QString(ps.readAll()).split('\n').filter(QRegularExpression("^ *" + group + " +[^Z]")).size();
        };
        QCOMPARE(living(), 2);

        // Run during a run asks first; No leaves the run alone.
        int questions = 0;
        w->dialogs.question = [&](QWidget*, const QString&, const QString&) { return ++questions < 0; };
        w->form()->actionRun_Tcl_File->trigger();
        QCOMPARE(questions, 1);
        QVERIFY(w->runControl()->isRunning());

        w->form()->actionStop_Analysis->trigger();
        QVERIFY(waitForEnd(w.get(), 5000));
        QVERIFY2(status(w).startsWith("Analysis stopped after "), qPrintable(status(w)));
        QTRY_COMPARE(living(), 0);
        QSettings(configPath, QSettings::IniFormat).setValue("EXEPATH/OSPath", kStandin);

        // Quitting during a run asks about the run before any editor: No keeps the window, its
        // editors (one with unsaved edits) and the run; Yes stops the solver.
        run(w.get(), {});
        QTRY_VERIFY(w->form()->actionStop_Analysis->isEnabled());  // started, not only forked
        w->activeEditor()->insertPlainText("# unsaved\n");
        const int editors = w->form()->mdiArea->subWindowList().size();
        QStringList asked;
        const auto saveAnswer = std::exchange(tcleditor::messageBoxProvider, [&](QWidget*, const QString&, const QString&,
                                                                                  QMessageBox::StandardButtons) {
            asked << "save";
            return QMessageBox::Discard;
        });
        w->dialogs.question = [&](QWidget*, const QString& title, const QString& text) {
            asked << title + ": " + text;
            return asked.size() > 1;
        };
        w->close();
        QCOMPARE(asked, QStringList({"Tolvane: An analysis is running. Stop it and quit?"}));
        QVERIFY(w->isVisible() && w->runControl()->isRunning());
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), editors);
        QVERIFY(w->close());
        QCOMPARE(asked.mid(1), QStringList({asked[0], "save"}));
        QVERIFY(!w->runControl()->isRunning());
        tcleditor::messageBoxProvider = saveAnswer;
        qunsetenv("TOLVANE_STANDIN_STEP_DELAY_MS");
    }

    // A solver that floods its output neither holds up the window nor fills the disk: the Run Log
    // shows the newest lines, the run's log file the first and the last 50 MB.
    void floodingSolver()
    {
        const auto w = shownWindow();
        const QString folder = QFileInfo(openScript(w.get(), "flood/frame.tcl", frameScript(1))).path();
        const QByteArray line = "step 123: norm 1.234e-05 after 4 iterations, 0.05 s\n";
        const qint64 total = 200 * 1000 * 1000, limit = 50 << 20;
        setSolver(folder, "yes '" + line.trimmed() + "' | head -c " + QByteArray::number(total) + "\n");
        QElapsedTimer clock;
        qint64 longest = 0, last = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, clock.elapsed() - std::exchange(last, clock.elapsed())); });
        run(w.get(), {});
        QTRY_VERIFY(w->form()->runLogDock->isVisible());  // once the dock is laid out, the flood alone
        clock.start();
        tick.start(10);
        QVERIFY(waitForEnd(w.get(), 120000));
        QSettings(configPath, QSettings::IniFormat).setValue("EXEPATH/OSPath", kStandin);
        QVERIFY2(longest <= 200, qPrintable(QString::number(longest)));

        const QByteArray cut = line.left(total % line.size());
        QTRY_VERIFY(w->form()->runLog->toPlainText().contains(line + cut + "\nAnalysis finished in "));
        QVERIFY(w->form()->runLog->blockCount() <= RunLogView::keptLines);
        QFile log(folder + "/TolvaneRun.log");
        const QByteArray note =
            "\n[Tolvane: " + QByteArray::number(total - 2 * limit) + " bytes of the solver's output left out here]\n";
        QTRY_COMPARE(QFileInfo(log).size(), 2 * limit + note.size());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.read(limit).startsWith(line + line) && log.read(note.size()) == note);
        QVERIFY(log.readAll().endsWith(line + cut));
    }
};

QTEST_MAIN(TestAnalysis)
#include "test_analysis.moc"
