// The main window driven in-process: first start, first show, snippets, open and
// interpret, error location, view commands, options and the close protocol.
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector3D>
#include <QtTest>
#include <memory>

#include <vtkActor.h>
#include <vtkActor2D.h>
#include <vtkCamera.h>
#include <vtkPoints.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>

#include "CodeSnippets.h"
#include "EvaluationGuard.h"
#include "ModelRecord.h"
#include "RunLogView.h"
#include "SettingsStore.h"
#include "Tolvane.h"
#include "tcleditor.h"
#include "vtkdraw.h"
#include "zor_options_panel.h"

namespace {

void writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray kFrameScript =
    "model basic -ndm 3 -ndf 6\n"
    "node 1 0 0 0\nnode 2 0 0 3\nnode 3 4 0 3\nnode 4 4 0 0\n"
    "fix 1 1 1 1 1 1 1\nfix 4 1 1 1 1 1 1\n"
    "geomTransf Linear 1 0 1 0\n"
    "element elasticBeamColumn 1 1 2 0.1 2e8 8e7 1e-3 1e-3 1e-3 1\n"
    "element elasticBeamColumn 2 2 3 0.1 2e8 8e7 1e-3 1e-3 1e-3 1\n"
    "element elasticBeamColumn 3 3 4 0.1 2e8 8e7 1e-3 1e-3 1e-3 1\n"
    "puts \"frame built\"\n";

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString configPath;
    QString initialCwd;

    Tolvane* makeWindow()
    {
        auto* w = new Tolvane;
        w->dialogs.warning = [](QWidget*, const QString& title, const QString& text) {
            QFAIL(qPrintable(QStringLiteral("unexpected warning %1: %2").arg(title, text)));
        };
        w->dialogs.exec = [](QDialog*) -> int {
            qFatal("a test reached a real modal dialog");
            return 0;
        };
        return w;
    }

    std::unique_ptr<Tolvane> shownWindow()
    {
        std::unique_ptr<Tolvane> w(makeWindow());
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qFatal("window never exposed");
        return w;
    }

    QString writeScript(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, text);
        return QFileInfo(path).canonicalFilePath();
    }

    void open(const std::unique_ptr<Tolvane>& w, const QString& path)
    {
        w->dialogs.openFileName = [path](QWidget*, const QString&, const QString&, const QString&) {
            return path;
        };
        w->form()->actionOpen_Tcl_File->trigger();
    }

    static QString status(const std::unique_ptr<Tolvane>& w) { return w->statusBar()->currentMessage(); }
    static vtkIdType points(const std::unique_ptr<Tolvane>& w, vtkdraw::Group g)
    {
        return w->sceneBuilder()->group(g).points->GetNumberOfPoints();
    }
    static QVector3D background(const std::unique_ptr<Tolvane>& w)
    {
        const double* bg = w->sceneBuilder()->renderer()->GetBackground();
        return QVector3D(bg[0], bg[1], bg[2]);
    }

private slots:
    void initTestCase()
    {
        initialCwd = QDir::currentPath();
        configPath = SettingsStore::settingsFilePath();
        QFile::remove(configPath);
        tcleditor::messageBoxProvider = [](QWidget*, const QString&, const QString&,
                                           QMessageBox::StandardButtons) -> QMessageBox::StandardButton {
            qFatal("unexpected save prompt");
            return QMessageBox::Cancel;
        };
    }

    void cleanupTestCase() { QDir::setCurrent(initialCwd); }

    // A first start writes the settings and the snippet file.
    void startupFiles()
    {
        QFile::remove(SettingsStore::snippetFilePath());
        std::unique_ptr<Tolvane> w(makeWindow());
        QVERIFY(QFile::exists(configPath));
        QCOMPARE(SettingsStore::integer(configPath, "SIZEANDWIDTH/LabelSize"), 20);
        QCOMPARE(readFile(SettingsStore::snippetFilePath()), defaultSnippetContent());
        QCOMPARE(w->windowTitle(), QStringLiteral("Tolvane"));

        // The snippet menu is built from the file.
        const QList<QAction*> snippets = w->form()->menuCode_Snippets->actions();
        QVERIFY(snippets.size() == 1 && snippets[0]->text() == QStringLiteral("Rayleigh Damping"));
        QVERIFY(!w->form()->actionStop_Analysis->isEnabled());
    }

    // Shown, the window opens one untitled editor. A snippet goes in at its cursor; a refresh
    // interprets nothing there but applies the background.
    void firstShowSnippetsAndRefreshWithoutScript()
    {
        std::unique_ptr<Tolvane> w(makeWindow());
        QVERIFY(w->form()->mdiArea->subWindowList().isEmpty());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 1);
        w->hide();
        w->show();
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 1);

        tcleditor* editor = w->activeEditor();
        QVERIFY(editor);
        editor->setPlainText("# head\n");
        editor->moveCursor(QTextCursor::End);
        w->form()->menuCode_Snippets->actions().first()->trigger();
        const QString body = readSnippetFile(SettingsStore::snippetFilePath()).bodies.value(0);
        QVERIFY(!body.isEmpty());
        QCOMPARE(editor->toPlainText(), "# head\n" + body);

        QSettings(configPath, QSettings::IniFormat).setValue("MODELCOLOR/Background", QColor(0, 0, 255));
        w->form()->actionRefresh_Tcl_File->trigger();
        QCOMPARE(background(w), QVector3D(0, 0, 1));
        QCOMPARE(w->windowTitle(), QStringLiteral("Tolvane"));
        QVERIFY(w->currentFileName().isEmpty());

        editor->document()->setModified(false);
    }

    void openInterpretsAndDraws()
    {
        const QString path = writeScript("frame dir/frame.tcl", kFrameScript);
        const auto w = shownWindow();
        open(w, path);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tolvane frame.tcl"));
        QCOMPARE(w->currentFileName(), QStringLiteral("frame.tcl"));
        QCOMPARE(w->currentFileDir(), QFileInfo(path).path());
        QCOMPARE(status(w), QStringLiteral("Success!"));
        QCOMPARE(QDir::currentPath(), QFileInfo(path).path());
        QCOMPARE(readFile(QFileInfo(path).path() + "/Tolvane.log"), QByteArray("frame built\n"));
        QCOMPARE(modelRecord()->nodeTags.size(), 4);
        QCOMPARE(points(w, vtkdraw::FreeNodes), 2);
        QCOMPARE(points(w, vtkdraw::Frames), 6);
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 2);  // the first-show editor stays

        // Opening it again activates the same editor and interprets the file on disk.
        w->form()->actionNew_Tcl_File->trigger();
        writeFile(path, kFrameScript + "node 5 9 9 9\n");
        open(w, path);
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 3);
        QCOMPARE(w->activeEditor()->currentFile(), path);
        QCOMPARE(modelRecord()->nodeTags.size(), 5);
        QCOMPARE(w->activeEditor()->toPlainText().toUtf8(), kFrameScript);  // not reloaded

        // A file that cannot be read is reported and nothing else is interpreted in its place.
        QString warned;
        w->dialogs.warning = [&](QWidget*, const QString& title, const QString& text) {
            warned = title + ": " + text;
        };
        open(w, dir.filePath("missing.tcl"));
        QCOMPARE(warned, "Open Tcl File: Cannot read file " + dir.filePath("missing.tcl") + ".");
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 3);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tolvane frame.tcl"));
        QCOMPARE(modelRecord()->nodeTags.size(), 5);
    }

    void scriptErrorDrawsWhatCameBeforeAndMarksTheLine()
    {
        const QString helper =
            writeScript("err/helper.tcl", "proc broken {} {\n    error \"bad helper\"\n}\n");
        const QString path = writeScript("err/main.tcl",
                                         "model basic -ndm 2 -ndf 3\nnode 1 0 0\nnode 2 1 0\n"
                                         "source helper.tcl\nnode 3 2 0\nbroken\nnode 4 3 0\n");
        const auto w = shownWindow();
        open(w, helper);  // the sourced file is open too
        open(w, path);
        QCOMPARE(status(w), helper + ":2: bad helper");
        QCOMPARE(modelRecord()->statusMessage, QStringLiteral("bad helper"));
        QCOMPARE(modelRecord()->nodeTags, QVector<int>({1, 2, 3}));
        QCOMPARE(points(w, vtkdraw::FreeNodes), 3);

        auto* helperEditor = qobject_cast<tcleditor*>(w->findMdiChild(helper)->widget());
        QVERIFY(helperEditor->hasErrorMark());
        QCOMPARE(helperEditor->textCursor().blockNumber() + 1, 2);

        // An error in the script itself marks its own line.
        const QString own = writeScript("err2/main.tcl", "model basic -ndm 2\nnode 1 0 0\nnode 2 1\n");
        open(w, own);
        QVERIFY(w->activeEditor()->hasErrorMark());
        QCOMPARE(w->activeEditor()->textCursor().blockNumber() + 1, 3);
        QVERIFY(status(w).startsWith(own + ":3: WARNING insufficient arguments"));

        // The next refresh clears the mark and says what it could not draw.
        writeFile(own, "model basic -ndm 2\nnode 1 0 0\nnode 2 1 0\nelement zeroLengthImpact3D 1 1 2\n");
        w->form()->actionRefresh_Tcl_File->trigger();
        QVERIFY(!w->activeEditor()->hasErrorMark());
        QCOMPARE(status(w), QStringLiteral("Success! 1 element of 1 type not drawn: zeroLengthImpact3D (1)"));
    }

    // Scripts that never end or eat the memory stop with a message; the window and editors stay.
    void endlessAndHugeScriptsStop()
    {
        const auto w = shownWindow();
        const QString endless =
            writeScript("stop/endless.tcl", "model basic -ndm 2\nnode 1 0 0\nwhile 1 {}\n");
        QTimer::singleShot(400, [] { QTest::keyClick(QApplication::activeWindow(), Qt::Key_Escape); });
        open(w, endless);
        QCOMPARE(status(w), endless + ":3: Interpretation stopped by the user");
        QCOMPARE(w->activeEditor()->toPlainText(),
                 QStringLiteral("model basic -ndm 2\nnode 1 0 0\nwhile 1 {}\n"));
        QVERIFY(w->activeEditor()->hasErrorMark());
        QCOMPARE(points(w, vtkdraw::FreeNodes), 1);

        QTimer::singleShot(400, [&] { w->findChild<QPushButton*>("stopInterpretation")->click(); });
        w->form()->actionRefresh_Tcl_File->trigger();
        QCOMPARE(status(w), endless + ":3: Interpretation stopped by the user");
        QVERIFY(!w->findChild<QPushButton*>("stopInterpretation"));

        qputenv("TOLVANE_SCRIPT_MEMORY_LIMIT_MB", QByteArray::number(residentMemory() / (1 << 20) + 200));
        const QString hungry =
            writeScript("stop/hungry.tcl", "set l {}\nwhile 1 { lappend l [string repeat x 10000] }\n");
        open(w, hungry);
        qunsetenv("TOLVANE_SCRIPT_MEMORY_LIMIT_MB");
        QVERIFY2(status(w).contains("Interpretation stopped: the script took more than"),
                 qPrintable(status(w)));

        // A million nodes simply take their time.
        const QString big = writeScript("stop/big.tcl",
                                        "model basic -ndm 2\nfor {set i 0} {$i < 1000000} {incr i} "
                                        "{ node $i [expr {$i % 1000}] [expr {$i / 1000}] }\n");
        open(w, big);
        QCOMPARE(status(w), QStringLiteral("Success!"));
        QCOMPARE(points(w, vtkdraw::FreeNodes), 1000000);
    }

    void viewPresetsAndLabels()
    {
        const QString path = writeScript("view/frame.tcl", kFrameScript);
        const auto w = shownWindow();
        open(w, path);
        TolvaneForm* ui = w->form();
        vtkCamera* camera = w->sceneBuilder()->renderer()->GetActiveCamera();
        // Two commands show the wiring (the presets have tests of their own); the second starts
        // from the first.
        const QPair<QAction*, const char*> presets[] = {{ui->actionSet_XY_View_Negative, "XY-"},
                                                        {ui->actionSet_Default_View, "XYZ"}};
        for (const auto& p : presets) {
            p.first->trigger();
            double dir[3], up[3];
            camera->GetDirectionOfProjection(dir);
            camera->GetViewUp(up);
            w->sceneBuilder()->setView(p.second);
            w->sceneBuilder()->resetCamera();
            for (int i = 0; i < 3; ++i) {
                QVERIFY2(std::abs(dir[i] - camera->GetDirectionOfProjection()[i]) < 1e-9, p.second);
                QVERIFY2(std::abs(up[i] - camera->GetViewUp()[i]) < 1e-9, p.second);
            }
        }
        QVERIFY(camera->GetParallelProjection());
        ui->actionSet_Perspective->trigger();
        QVERIFY(!camera->GetParallelProjection());
        ui->actionSet_Perspective->trigger();
        QVERIFY(camera->GetParallelProjection());

        const double roll = camera->GetRoll();
        ui->actionRotate_Model_Positive->trigger();
        QVERIFY(std::abs(std::remainder(camera->GetRoll() - (roll - 30), 360.0)) < 1e-6);
        ui->actionRotate_Model_Negative->trigger();
        QVERIFY(std::abs(std::remainder(camera->GetRoll() - roll, 360.0)) < 1e-6);

        // Which of the free node and frame labels are in the scene.
        auto labels = [&] {
            vtkRenderer* renderer = w->sceneBuilder()->renderer();
            return QString("%1%2")
                .arg(renderer->HasViewProp(w->sceneBuilder()->group(vtkdraw::FreeNodes).labelActor))
                .arg(renderer->HasViewProp(w->sceneBuilder()->group(vtkdraw::Frames).labelActor));
        };
        QCOMPARE(labels(), QStringLiteral("00"));
        ui->actionFree_Node_Labels->trigger();
        QCOMPARE(labels(), QStringLiteral("10"));
        ui->actionElement_Labels->trigger();
        QCOMPARE(labels(), QStringLiteral("11"));

        // Capture through the save dialog seam, and the refusal of an unknown format.
        QString shot = dir.filePath("view/shot.PNG"), warned;
        w->dialogs.saveFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
            return shot;
        };
        // The picture is three times the view, and the view keeps its zoom and its renderers.
        camera->Zoom(2.0);
        const double zoomed = camera->GetParallelScale(), angle = camera->GetViewAngle();
        const int* viewSize = w->sceneBuilder()->renderWindow()->GetSize();
        const QSize tripled(3 * viewSize[0], 3 * viewSize[1]);
        ui->actionCapture_Screen->trigger();
        QCOMPARE(QImage(shot).size(), tripled);
        QCOMPARE(camera->GetParallelScale(), zoomed);
        QCOMPARE(camera->GetViewAngle(), angle);
        QCOMPARE(w->sceneBuilder()->renderer()->GetRenderWindow(), w->sceneBuilder()->renderWindow());
        w->dialogs.warning = [&](QWidget*, const QString& title, const QString&) { warned = title; };
        shot = dir.filePath("view/shot.gif");
        ui->actionCapture_Screen->trigger();
        QCOMPARE(warned, QStringLiteral("Capture Screen"));
        QVERIFY(!QFile::exists(dir.filePath("view/shot.gif")));
    }

    void optionsApplyRedrawsWithNewSettings()
    {
        SettingsStore::writeDefaults(configPath);
        const QString path = writeScript("opts/frame.tcl", kFrameScript);
        const auto w = shownWindow();
        open(w, path);
        bool ran = false;
        w->dialogs.exec = [&](QDialog* dialog) {
            ran = true;
            dialog->findChild<QComboBox*>("comboBox_3")->setCurrentIndex(10);  // frames opaque
            auto* box = dialog->findChild<QDialogButtonBox*>("buttonBox");
            box->button(QDialogButtonBox::Apply)->click();
            return 0;
        };
        w->form()->actionOptions->trigger();
        QVERIFY(ran);
        QCOMPARE(w->sceneBuilder()->group(vtkdraw::Frames).actor->GetProperty()->GetOpacity(), 1.0);

        // OK with no editor open only changes the background.
        w->form()->actionClose_All_Windows->trigger();
        w->dialogs.exec = [&](QDialog* dialog) {
            zor_options_panel::colorProvider = [](QWidget*) { return QColor(255, 0, 0); };
            dialog->findChild<QPushButton*>("pushButton_8")->click();
            dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
            return 1;
        };
        const int nodesBefore = modelRecord()->nodeTags.size();
        w->form()->actionOptions->trigger();
        QCOMPARE(background(w), QVector3D(1, 0, 0));
        QCOMPARE(modelRecord()->nodeTags.size(), nodesBefore);
        SettingsStore::writeDefaults(configPath);
    }

    void saveAndCloseProtocol()
    {
        const auto w = shownWindow();
        tcleditor* editor = w->activeEditor();
        editor->setPlainText("puts unsaved\n");
        const QString target = dir.filePath("saved.tcl");
        tcleditor::saveFileNameProvider = [&](QWidget*, const QString&, const QString&, const QString&) {
            return target;
        };
        w->form()->actionSave->trigger();
        QCOMPARE(status(w), QStringLiteral("Save Success!"));
        QCOMPARE(readFile(target), QByteArray("puts unsaved\n"));

        // Exit with unsaved text: Cancel keeps everything open.
        editor->insertPlainText("# more\n");
        int prompts = 0;
        tcleditor::messageBoxProvider = [&](QWidget*, const QString&, const QString&,
                                            QMessageBox::StandardButtons) {
            ++prompts;
            return QMessageBox::Cancel;
        };
        w->form()->actionExit->trigger();
        QCOMPARE(prompts, 1);
        QVERIFY(w->isVisible());
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 1);

        // Discard closes the editor and lets the window close.
        tcleditor::messageBoxProvider = [&](QWidget*, const QString&, const QString&,
                                            QMessageBox::StandardButtons) { return QMessageBox::Discard; };
        QVERIFY(w->close());
        QVERIFY(w->form()->mdiArea->subWindowList().isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
