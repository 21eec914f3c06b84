// The editor window: untitled numbering, saving and loading in the file's encoding,
// the close protocol answered through the dialog seams, the error-line mark and "Show in Model".
#include "highlighter.h"
#include "tcleditor.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <memory>

namespace {

struct Prompt {
    QString title, text;
    QMessageBox::StandardButtons buttons;
};

// What the dialog seams were asked and what they answer next.
struct Seams {
    QList<Prompt> prompts;
    QList<QMessageBox::StandardButton> answers;  // Cancel when none is left
    QStringList fileDialogs;                     // caption, dir and filter of each call
    QString fileName;                            // the file dialog's answer
} seams;

QString lines(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("node %1 0 0").arg(i);
    return list.join(QLatin1Char('\n'));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Shows EDITOR holding TEXT; false when it never became the active window.
bool shown(tcleditor& editor, const QString& text)
{
    editor.setPlainText(text);
    editor.resize(400, 300);
    editor.show();
    return QTest::qWaitForWindowActive(&editor);
}

}  // namespace

class TestTclEditor : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("sub")));
        tcleditor::messageBoxProvider = [](QWidget*, const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons) {
            seams.prompts.append({title, text, buttons});
            return seams.answers.isEmpty() ? QMessageBox::Cancel : seams.answers.takeFirst();
        };
        tcleditor::saveFileNameProvider = [](QWidget*, const QString& caption, const QString& dir,
                                             const QString& filter) {
            seams.fileDialogs << caption << dir << filter;
            return seams.fileName;
        };
    }

    void init() { seams = Seams(); }

    // Must stay the first test that calls newFile(): the counter is process-wide.
    void newDocumentsAreNumbered()
    {
        tcleditor first, second;
        first.newFile();
        second.newFile();
        QCOMPARE(first.currentFile(), QStringLiteral("new 1"));
        QVERIFY(first.isUntitledFile());
        QCOMPARE(second.currentFile(), QStringLiteral("new 2"));
    }

    void saveAppendsExtensionCanonicalisesAndWarnsOnFailure()
    {
        tcleditor editor;
        editor.newFile();
        const QString untitled = editor.currentFile();
        const QString text = QStringLiteral("node 1 0 0 ;# Knoten \u00fc\nfix 1 1 1 1");
        editor.setPlainText(text);

        // save() of an untitled document asks for a name; no answer saves nothing.
        QVERIFY(!editor.save());
        QCOMPARE(seams.fileDialogs, QStringList({"Save As...", untitled, "Tcl File (*.tcl)"}));
        QVERIFY(editor.isUntitledFile());
        QCOMPARE(editor.currentFile(), untitled);

        seams.fileName = dir.filePath(QStringLiteral("model"));
        QVERIFY(editor.save());
        QVERIFY(!QFile::exists(seams.fileName));
        QCOMPARE(readAll(seams.fileName + QStringLiteral(".tcl")), text.toUtf8());
        QVERIFY(!editor.isUntitledFile() && !editor.isWindowModified());

        // curFile is the canonical path, even when saved through a link and "..".
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("real/sub")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("real")), dir.filePath(QStringLiteral("link"))));
        QVERIFY(editor.saveFile(dir.filePath(QStringLiteral("link/sub/../frame.tcl"))));
        const QString framePath = QDir(dir.filePath(QStringLiteral("real"))).canonicalPath() + "/frame.tcl";
        QCOMPARE(editor.currentFile(), framePath);

        // Failures change nothing: what is not a file is not loaded, without a word; a failed save warns.
        editor.appendPlainText(QStringLiteral("node 2 1 0"));
        const QString edited = editor.toPlainText();
        for (const QString& name : {dir.filePath(QStringLiteral("missing.tcl")), dir.path()})
            QVERIFY(!editor.loadFile(name));
        QVERIFY(seams.prompts.isEmpty());
        const QString target = dir.filePath(QStringLiteral("no/such/dir/model"));
        QVERIFY(!editor.saveFile(target));
        QCOMPARE(seams.prompts.size(), 1);
        // The name, then the reason.
        const QString start =
            QStringLiteral("Cannot write file %1:\n").arg(QDir::toNativeSeparators(target + ".tcl"));
        QVERIFY2(
            seams.prompts.at(0).text.startsWith(start) && seams.prompts.at(0).text.size() > start.size() + 2,
            qPrintable(seams.prompts.at(0).text));
        QCOMPARE(editor.toPlainText(), edited);
        QCOMPARE(editor.currentFile(), framePath);
        QVERIFY(editor.isWindowModified());
    }

    void filesKeepTheirEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");  // found on loading
        QTest::addColumn<QString>("text");      // as shown
        QTest::addColumn<QString>("added");     // typed at the end: the encoding cannot hold it
        const auto row = [](const char* name, const QByteArray& bytes, const QString& encoding,
                            const QString& text, const QString& added = QString()) {
            QTest::newRow(name) << bytes << encoding << text << added;
        };
        // Loaded, shown decoded, saved unchanged: the same bytes, line ends included.
        row("UTF-8, CR LF", "# St\xc3\xbctze \xce\xa9\r\nnode 1 0 0\r\n", "UTF-8",
            "# Stütze Ω\nnode 1 0 0\n");
        row("ISO-8859-1",
            "# St\xfctze f\xfcr Ger\xe4t\nputs \"\xb0"
            "C \xa0\xd8\"\n",
            "ISO-8859-1", "# Stütze für Gerät\nputs \"°C \u00a0Ø\"\n");
        row("windows-1252", "# Tr\xe4ger\r\nputs \"\x80 \x96\"\r\n", "windows-1252",
            "# Träger\nputs \"€ –\"\n");
        row("GBK", "# \xd6\xf9\xd7\xd3\r\nnode 1 0 0\r\n", "GBK", "# 柱子\nnode 1 0 0\n");
        row("UTF-8 BOM", "\xef\xbb\xbfnode 1 0 0 ;# \xc3\x98", "UTF-8", "node 1 0 0 ;# Ø");
        // Text the encoding cannot hold: saved as UTF-8, with a word why.
        row("ISO-8859-1 and 柱", "# Tr\xe4ger\n", "ISO-8859-1", "# Träger\n", "柱");
    }

    void filesKeepTheirEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        QFETCH(QString, added);
        const QString path = dir.filePath(QStringLiteral("sub/../encoded.tcl"));
        QVERIFY(writeFile(path, bytes));
        tcleditor editor;
        QSignalSpy announced(&editor, &tcleditor::encodingChanged);
        QVERIFY(editor.loadFile(path));
        QCOMPARE(editor.encodingName(), encoding);
        // toPlainText() shows a no-break space as a space; the saved bytes must keep it.
        QCOMPARE(editor.toPlainText(), text.replace(QChar::Nbsp, QLatin1Char(' ')));
        QCOMPARE(editor.currentFile(), QFileInfo(path).canonicalFilePath());
        QVERIFY(!editor.isWindowModified());

        const bool widened = !added.isEmpty();
        editor.moveCursor(QTextCursor::End);
        editor.insertPlainText(added);
        // A loaded editor that never had newFile() still tracks modifications.
        QCOMPARE(editor.isWindowModified(), widened);
        const QString edited = editor.toPlainText();
        QVERIFY(editor.save());
        QCOMPARE(readAll(path), widened ? edited.toUtf8() : bytes);
        QCOMPARE(editor.encodingName(), widened ? QStringLiteral("UTF-8") : encoding);
        QCOMPARE(announced.size(), widened ? 2 : 1);
        QCOMPARE(announced.last().at(0).toString(), editor.encodingName());
        QCOMPARE(seams.prompts.size(), widened ? 1 : 0);
    }

    void closeProtocol_data()
    {
        QTest::addColumn<bool>("untitled");
        QTest::addColumn<int>("answer");      // to the prompt; NoButton: the text is unchanged
        QTest::addColumn<QString>("saveAs");  // the file dialog's answer; missing/x cannot be written
        QTest::addColumn<bool>("closed");     // a closed window after Save was written
        const auto row = [](const char* name, bool untitled, QMessageBox::StandardButton answer,
                            const char* saveAs, bool closed) {
            QTest::newRow(name) << untitled << int(answer) << QString(saveAs) << closed;
        };
        row("unchanged: no prompt", true, QMessageBox::NoButton, "", true);
        row("cancel keeps window", true, QMessageBox::Cancel, "", false);
        row("discard closes", true, QMessageBox::Discard, "", true);
        row("save untitled", true, QMessageBox::Save, "closing", true);
        row("save untitled, no name", true, QMessageBox::Save, "", false);
        row("save titled", false, QMessageBox::Save, "", true);
        row("save fails", true, QMessageBox::Save, "missing/x", false);
    }

    // Through the MDI area, as the main window closes its editors.
    void closeProtocol()
    {
        QFETCH(bool, untitled);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, closed);
        QTemporaryDir here;
        const QString target = here.filePath(untitled ? "closing.tcl" : "titled.tcl");
        QMdiArea area;
        QPointer<tcleditor> editor = new tcleditor;
        QPointer<QMdiSubWindow> window = area.addSubWindow(editor);
        if (untitled)
            editor->newFile();
        else
            QVERIFY(writeFile(target, QByteArray()) && editor->loadFile(target));
        if (answer != QMessageBox::NoButton)
            editor->insertPlainText(QStringLiteral("node 7 0 0"));
        const QString name = editor->userFriendlyCurrentFile();
        seams.answers << QMessageBox::StandardButton(answer);
        seams.fileName = saveAs.isEmpty() ? QString() : here.filePath(saveAs);
        area.show();
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(window.isNull(), closed);
        QCOMPARE(editor.isNull(), closed);
        QCOMPARE(readAll(target).contains("node 7 0 0"), closed && answer == QMessageBox::Save);
        // A failed save adds its own warning after the prompt.
        QCOMPARE(seams.prompts.size(), answer == QMessageBox::NoButton ? 0
                                       : saveAs.startsWith("missing")  ? 2
                                                                       : 1);
        if (!seams.prompts.isEmpty())
            QVERIFY2(seams.prompts.at(0).text.contains(name), qPrintable(seams.prompts.at(0).text));
        if (!closed)
            QVERIFY(editor->document()->isModified() && editor->toPlainText().contains("node 7 0 0"));
    }

    void errorMarkLastsUntilEdit()
    {
        tcleditor editor;
        QVERIFY(shown(editor, lines(500)));
        const QColor currentLine = QColor(Qt::blue).lighter(180);
        auto backgroundsOf = [&](int blockNumber) {
            QList<QColor> colours;
            for (const QTextEdit::ExtraSelection& s : editor.extraSelections()) {
                if (s.cursor.blockNumber() == blockNumber)
                    colours << s.format.background().color();
            }
            return colours;
        };

        editor.markErrorLine(400);
        QVERIFY(editor.hasErrorMark());
        QVERIFY(editor.viewport()->rect().contains(editor.cursorRect()));
        const QList<QColor> marked = backgroundsOf(399);
        QCOMPARE(marked.size(), 2);
        const QColor tint = marked.last();
        QVERIFY(tint.red() > tint.green() + 30 && tint.red() > tint.blue() + 30);

        // Re-colouring the text and moving the cursor are not edits.
        editor.document()->findChild<Highlighter*>()->rehighlight();
        editor.moveCursor(QTextCursor::Start);
        QCOMPARE(backgroundsOf(399), QList<QColor>{tint});
        QCOMPARE(backgroundsOf(0), QList<QColor>{currentLine});
        QVERIFY(!editor.document()->isModified());

        editor.insertPlainText(QStringLiteral("# "));
        QVERIFY(!editor.hasErrorMark());
        QVERIFY(backgroundsOf(399).isEmpty());

        // Lines that do not exist leave everything as it is.
        editor.markErrorLine(0);
        editor.markErrorLine(501);
        QVERIFY(!editor.hasErrorMark());
        QCOMPARE(editor.textCursor().blockNumber(), 0);
    }

    // From the context menu, the line under the pointer; from Ctrl+Shift+M, the cursor's line.
    void showInModelAsksForALine()
    {
        tcleditor editor;
        QVERIFY(shown(editor, lines(50)));
        editor.goToLine(4);
        QCOMPARE(editor.textCursor().blockNumber(), 3);
        QSignalSpy asked(&editor, &tcleditor::showInModelRequested);
        const QTextBlock block = editor.document()->findBlockByNumber(6);
        std::unique_ptr<QMenu> menu(
            editor.createContextMenuAt(editor.cursorRect(QTextCursor(block)).center()));
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("Show in Model"));
        menu->actions().last()->trigger();
        QTest::keyClick(&editor, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).first().toInt(), 7);
        QCOMPARE(asked.at(1).first().toInt(), 4);
        QVERIFY(!editor.document()->isModified());
    }
};

QTEST_MAIN(TestTclEditor)
#include "test_tcleditor.moc"
