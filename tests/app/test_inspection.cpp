// Inspection in the main window: the first view of a 3-D model, a click in the view naming what
// is under the pointer until the next pick, a drag that is no pick, a double click opening the
// line that made it, Esc, and "Show in Model" from an editor.
#include <QVTKOpenGLNativeWidget.h>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <memory>

#include <vtkCamera.h>
#include <vtkRenderer.h>

#include "ModelRecord.h"
#include "Tolvane.h"
#include "tcleditor.h"
#include "vtkdraw.h"

namespace {

// A portal in the XZ plane: feet 1 and 2 from a loop, columns 11 and 13 from a procedure of the
// sourced parts.tcl, beam 12 written out.
const QByteArray mainScript =
    "model basic -ndm 3 -ndf 6\n"                                      // 1
    "source parts.tcl\n"                                               // 2
    "# the feet\n"                                                     // 3
    "foreach {tag x} {1 0 2 4} {\n"                                    // 4
    "    node $tag $x 0 0\n"                                           // 5
    "}\n"                                                              // 6
    "node 3 0 0 3\n"                                                   // 7
    "node 4 4 0 3\n"                                                   // 8
    "fix 1 1 1 1 1 1 1\n"                                              // 9
    "column 11 1 3\n"                                                  // 10
    "element elasticBeamColumn 12 3 4 0.1 2e8 8e7 1e-3 1e-3 1e-3 1\n"  // 11
    "column 13 2 4\n";                                                 // 12

const QByteArray partsScript =
    "geomTransf Linear 1 0 1 0\n"                                              // 1
    "proc column {tag i j} {\n"                                                // 2
    "    element elasticBeamColumn $tag $i $j 0.1 2e8 8e7 1e-3 1e-3 1e-3 1\n"  // 3
    "}\n";                                                                     // 4

tcleditor* editorOf(QMdiSubWindow* sub)
{
    return sub ? qobject_cast<tcleditor*>(sub->widget()) : nullptr;
}

// As a window system delivers one: press, release, the second press as a double click, release.
void doubleClick(QWidget* widget, const QPoint& at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &second);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

}  // namespace

class TestInspection : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString initialCwd;
    QString mainPath;
    QString partsPath;
    std::unique_ptr<Tolvane> w;

    QWidget* view() const { return w->form()->qvtkwidget; }
    QString status() const { return w->form()->statusBar->currentMessage(); }

    // Where world point (X, Y, Z) is drawn, in the view widget's coordinates.
    QPoint pointOf(double x, double y, double z) const
    {
        vtkRenderer* renderer = w->sceneBuilder()->renderer();
        renderer->SetWorldPoint(x, y, z, 1.0);
        renderer->WorldToDisplay();
        const double* d = renderer->GetDisplayPoint();
        const double ratio = view()->devicePixelRatioF();
        return QPoint(int(std::lround(d[0] / ratio)), int(std::lround(view()->height() - 1 - d[1] / ratio)));
    }

    void writeFile(const QString& path, const QByteArray& text)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

private slots:
    void initTestCase()
    {
        initialCwd = QDir::currentPath();
        mainPath = dir.filePath("portal.tcl");
        partsPath = dir.filePath("parts.tcl");
        writeFile(mainPath, mainScript);
        writeFile(partsPath, partsScript);
        mainPath = QFileInfo(mainPath).canonicalFilePath();
        partsPath = QFileInfo(partsPath).canonicalFilePath();
    }

    void cleanupTestCase() { QDir::setCurrent(initialCwd); }

    void init()
    {
        w = std::make_unique<Tolvane>();
        w->dialogs.exec = [](QDialog*) -> int {
            qFatal("a test reached a real modal dialog");
            return 0;
        };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->openScriptAtStart(mainPath);
        QCOMPARE(modelRecord()->elementTags.size(), 3);
        // The first picture of a 3-D model is isometric; the tests then look at the portal's plane.
        double direction[3];
        w->sceneBuilder()->renderer()->GetActiveCamera()->GetDirectionOfProjection(direction);
        for (int i = 0; i < 3; ++i)
            QVERIFY(std::abs(direction[i] + 1.0 / std::sqrt(3.0)) < 1e-6);
        w->form()->actionSet_XZ_View_Positive->trigger();
    }

    void cleanup()
    {
        for (QMdiSubWindow* sub : w->form()->mdiArea->subWindowList())
            editorOf(sub)->document()->setModified(false);
        w.reset();
    }

    void clickNamesWhatIsUnderThePointer_data()
    {
        QTest::addColumn<QVector<double>>("world");
        QTest::addColumn<QString>("text");
        QTest::newRow("element") << QVector<double>{2, 0, 3}
                                 << "Element 12 elasticBeamColumn nodes 3 4 \u2014 portal.tcl:11";
        QTest::newRow("empty space") << QVector<double>{2, 0, 1.5} << "";
    }

    void clickNamesWhatIsUnderThePointer()
    {
        QFETCH(QVector<double>, world);
        QFETCH(QString, text);
        // An earlier pick stays until this one replaces it.
        QTest::mouseClick(view(), Qt::LeftButton, {}, pointOf(0, 0, 3));
        QVERIFY(w->sceneBuilder()->hasHighlight());
        QVERIFY(!status().isEmpty());

        QTest::mouseClick(view(), Qt::LeftButton, {}, pointOf(world[0], world[1], world[2]));
        QCOMPARE(status(), text);
        QCOMPARE(w->sceneBuilder()->hasHighlight(), !text.isEmpty());
        QCOMPARE(editorOf(w->form()->mdiArea->activeSubWindow())->currentFile(), mainPath);
    }

    void doubleClickOpensTheLineThatMadeIt()
    {
        doubleClick(view(), pointOf(0, 0, 1.5));
        QCOMPARE(status(), QStringLiteral("Element 11 elasticBeamColumn nodes 1 3 \u2014 parts.tcl:3"));
        tcleditor* editor = editorOf(w->form()->mdiArea->activeSubWindow());
        QVERIFY(editor);
        QCOMPARE(editor->currentFile(), partsPath);
        QCOMPARE(editor->textCursor().blockNumber() + 1, 3);
        // The model on display is still the script's: opening the file read nothing.
        QCOMPARE(modelRecord()->elementTags.size(), 3);

        // An editor already open comes to the front at the line.
        doubleClick(view(), pointOf(4, 0, 3));
        QCOMPARE(editorOf(w->form()->mdiArea->activeSubWindow())->currentFile(), mainPath);
        QCOMPARE(editorOf(w->form()->mdiArea->activeSubWindow())->textCursor().blockNumber() + 1, 8);
        QCOMPARE(w->form()->mdiArea->subWindowList().size(), 3);  // the first show's new 1, both scripts
    }

    // A drag is no pick; Esc in the view clears a pick's outline and text.
    void dragIsNoPickAndEscapeClears()
    {
        const QPoint node = pointOf(4, 0, 3);
        QTest::mousePress(view(), Qt::LeftButton, {}, node - QPoint(20, 0));
        QTest::mouseRelease(view(), Qt::LeftButton, {}, node);
        QVERIFY(!w->sceneBuilder()->hasHighlight());
        QTest::mouseClick(view(), Qt::LeftButton, {}, node);
        QVERIFY(w->sceneBuilder()->hasHighlight());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        view()->setFocus();
        QTest::keyClick(view(), Qt::Key_Escape);
        QVERIFY(!w->sceneBuilder()->hasHighlight());
        QVERIFY(status().isEmpty());
    }

    void showInModelCounts_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("loop body") << 5 << "Line 5 made 2 nodes";
        QTest::newRow("comment") << 3 << "Line made nothing";
    }

    void showInModelCounts()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        tcleditor* editor = editorOf(w->findMdiChild(mainPath));
        QVERIFY(editor);
        const QTextBlock block = editor->document()->findBlockByNumber(line - 1);
        std::unique_ptr<QMenu> menu(
            editor->createContextMenuAt(editor->cursorRect(QTextCursor(block)).center()));
        menu->actions().last()->trigger();
        QCOMPARE(status(), text);
        QCOMPARE(w->sceneBuilder()->hasHighlight(), text != QLatin1String("Line made nothing"));
    }
};

QTEST_MAIN(TestInspection)
#include "test_inspection.moc"
