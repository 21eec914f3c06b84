// The editor window: untitled numbering, the gutter, saving and loading, the close protocol
// answered through the dialog seams, and the error-line mark.
#include "highlighter.h"
#include "linenumberarea.h"
#include "tcleditor.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

namespace {

struct Prompt {
    QString title, text;
    QMessageBox::StandardButtons buttons;
};

// What the seams were asked and what they answer next.
QList<Prompt> prompts;
QList<QMessageBox::StandardButton> promptAnswers;
QStringList fileDialogs;  // caption, dir and filter of each call
QString fileDialogAnswer;

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

void settleDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool isRed(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}
bool isDark(QRgb p)
{
    return qRed(p) < 120 && qGreen(p) < 120 && qBlue(p) < 120;
}

}  // namespace

class TestTclEditor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void newDocumentsAndTheirSettings();
    void gutterWidthFollowsDigits();
    void gutterHighlightsSelectedLines();
    void saveAppendsExtensionAndCanonicalises();
    void loadReadsUtf8AndRefusesMissingFiles();
    void filesKeepTheirEncoding();
    void textTheEncodingCannotHoldIsSavedAsUtf8();
    void failedSaveWarnsAndKeepsState();
    void closeProtocol_data();
    void closeProtocol();
    void cancelInMdiAreaKeepsWindow();
    void errorMarkLastsUntilEdit();

private:
    QTemporaryDir dir;
};

void TestTclEditor::initTestCase()
{
    QVERIFY(dir.isValid());
    tcleditor::messageBoxProvider = [](QWidget*, const QString& title, const QString& text,
                                       QMessageBox::StandardButtons buttons) {
        prompts.append({title, text, buttons});
        return promptAnswers.isEmpty() ? QMessageBox::Cancel : promptAnswers.takeFirst();
    };
    tcleditor::saveFileNameProvider = [](QWidget*, const QString& caption, const QString& dir,
                                         const QString& filter) {
        fileDialogs << caption << dir << filter;
        return fileDialogAnswer;
    };
}

void TestTclEditor::init()
{
    prompts.clear();
    promptAnswers.clear();
    fileDialogs.clear();
    fileDialogAnswer.clear();
}

// Must stay the first test that calls newFile(): the counter is process-wide.
void TestTclEditor::newDocumentsAndTheirSettings()
{
    tcleditor first;
    first.newFile();
    tcleditor second;
    second.newFile();
    QCOMPARE(first.currentFile(), QStringLiteral("new 1"));
    QCOMPARE(first.windowTitle(), QStringLiteral("new 1[*] - Tcl Editor"));
    QCOMPARE(first.userFriendlyCurrentFile(), QStringLiteral("new 1"));
    QVERIFY(first.isUntitledFile());
    QCOMPARE(second.currentFile(), QStringLiteral("new 2"));
    QVERIFY(!first.isWindowModified());
    first.insertPlainText(QStringLiteral("wipe"));
    QVERIFY(first.isWindowModified());
    QVERIFY(!second.isWindowModified());

    QCOMPARE(first.font().weight(), int(QFont::Bold));
    QVERIFY(first.font().fixedPitch());
    QCOMPARE(first.font().pointSize(), 11);
    QCOMPARE(first.tabStopDistance(), 4 * QFontMetricsF(first.font()).horizontalAdvance(QLatin1Char(' ')));
    QCOMPARE(first.wordWrapMode(), QTextOption::NoWrap);
    QVERIFY(first.testAttribute(Qt::WA_DeleteOnClose));
}

void TestTclEditor::gutterWidthFollowsDigits()
{
    tcleditor editor;
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto* gutter = editor.findChild<linenumberarea*>();
    const int nine = QFontMetrics(editor.font()).horizontalAdvance(QLatin1Char('9'));
    QVERIFY(gutter && nine > 0);

    QCOMPARE(editor.lineNumberAreaWidth(), 10 + 2 * nine);
    editor.setPlainText(lines(99));
    QCOMPARE(editor.lineNumberAreaWidth(), 10 + 2 * nine);
    QCOMPARE(gutter->sizeHint().width(), 10 + 2 * nine);
    editor.appendPlainText(QStringLiteral("node 100 0 0"));
    QCOMPARE(editor.lineNumberAreaWidth(), 10 + 3 * nine);
    // The text moves right to make room, and the gutter widens with it.
    QTRY_COMPARE(editor.viewport()->geometry().left(), editor.contentsRect().left() + 10 + 3 * nine);
    editor.resize(401, 300);
    QTRY_COMPARE(gutter->width(), 10 + 3 * nine);
    editor.setPlainText(lines(1000));
    QCOMPARE(editor.lineNumberAreaWidth(), 10 + 4 * nine);
}

void TestTclEditor::gutterHighlightsSelectedLines()
{
    tcleditor editor;
    editor.setPlainText(lines(8) + QStringLiteral("\n"));
    editor.resize(400, 400);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto* gutter = editor.findChild<linenumberarea*>();
    QPalette palette = gutter->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Highlight, Qt::red);
    gutter->setPalette(palette);

    // For each line, whether its number is drawn red (highlighted) or black.
    auto numberColours = [&]() {
        const QImage image = gutter->grab().toImage();
        QString result;
        for (int line = 0; line < editor.blockCount(); ++line) {
            const QRect band = editor.cursorRect(QTextCursor(editor.document()->findBlockByNumber(line)));
            int red = 0, dark = 0;
            for (int y = qMax(0, band.top()); y <= band.bottom() && y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    red += isRed(image.pixel(x, y));
                    dark += isDark(image.pixel(x, y));
                }
            }
            result += red && !dark ? QLatin1Char('H') : dark && !red ? QLatin1Char('.') : QLatin1Char('?');
        }
        return result;
    };
    auto select = [&](int fromLine, int fromColumn, int toLine, int toColumn) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(editor.document()->findBlockByNumber(fromLine).position() + fromColumn);
        cursor.setPosition(editor.document()->findBlockByNumber(toLine).position() + toColumn,
                           QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        return numberColours();
    };
    QCOMPARE(select(2, 0, 4, 5), QStringLiteral("..HHH...."));
    // A selection that ends at the start of a line does not take that line.
    QCOMPARE(select(1, 3, 3, 0), QStringLiteral(".HH......"));
    // Without a selection the cursor's line is highlighted, wherever the cursor stands in it.
    QCOMPARE(select(6, 4, 6, 4), QStringLiteral("......H.."));
    editor.moveCursor(QTextCursor::End);
    QCOMPARE(numberColours(), QStringLiteral("........H"));
}

void TestTclEditor::saveAppendsExtensionAndCanonicalises()
{
    tcleditor editor;
    editor.newFile();
    const QString untitled = editor.currentFile();
    const QString text = QStringLiteral("node 1 0 0 ;# Knoten \u00fc\nfix 1 1 1 1");
    editor.setPlainText(text);

    // save() of an untitled document asks for a name; no answer saves nothing.
    QVERIFY(!editor.save());
    QCOMPARE(fileDialogs, QStringList({"Save As...", untitled, "Tcl File (*.tcl)"}));
    QVERIFY(editor.isUntitledFile());
    QCOMPARE(editor.currentFile(), untitled);

    fileDialogAnswer = dir.filePath(QStringLiteral("model"));
    QVERIFY(editor.save());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("model"))));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("model.tcl"))), text.toUtf8());
    QCOMPARE(editor.windowTitle(), QStringLiteral("model.tcl[*]"));
    QVERIFY(!editor.isUntitledFile());
    QVERIFY(!editor.isWindowModified());

    // The extension test is case-sensitive.
    QVERIFY(editor.saveFile(dir.filePath(QStringLiteral("model.TCL"))));
    QCOMPARE(editor.userFriendlyCurrentFile(), QStringLiteral("model.TCL.tcl"));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("model.TCL.tcl"))));

    // curFile is the canonical path, even when saved through a link and "..".
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("real/sub")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("real")), dir.filePath(QStringLiteral("link"))));
    QVERIFY(editor.saveFile(dir.filePath(QStringLiteral("link/sub/../frame.tcl"))));
    const QString framePath = QDir(dir.filePath(QStringLiteral("real"))).canonicalPath() + "/frame.tcl";
    QCOMPARE(editor.currentFile(), framePath);
    QCOMPARE(editor.windowTitle(), QStringLiteral("frame.tcl[*]"));

    // save() of a titled document writes to curFile without asking.
    editor.appendPlainText(QStringLiteral("wipe"));
    QVERIFY(editor.save());
    QCOMPARE(fileDialogs.size(), 6);
    QVERIFY(readAll(framePath).endsWith("wipe"));
    QVERIFY(prompts.isEmpty());
}

void TestTclEditor::loadReadsUtf8AndRefusesMissingFiles()
{
    const QString path = dir.filePath(QStringLiteral("load/frame.tcl"));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("load")));
    QVERIFY(writeFile(path, QStringLiteral("# Stütze \u03a9\r\nnode 1 0 0\r\n").toUtf8()));

    tcleditor editor;
    editor.newFile();
    editor.setPlainText(QStringLiteral("kept"));
    QVERIFY(!editor.loadFile(dir.filePath(QStringLiteral("load/missing.tcl"))));
    QVERIFY(!editor.loadFile(QString()));
    QVERIFY(!editor.loadFile(dir.filePath(QStringLiteral("load"))));
    QCOMPARE(editor.toPlainText(), QStringLiteral("kept"));
    QVERIFY(editor.isUntitledFile());

    QVERIFY(editor.loadFile(dir.filePath(QStringLiteral("load/../load/frame.tcl"))));
    QCOMPARE(editor.toPlainText(), QStringLiteral("# Stütze \u03a9\nnode 1 0 0\n"));
    QCOMPARE(editor.currentFile(), QFileInfo(path).canonicalFilePath());
    QCOMPARE(editor.windowTitle(), QStringLiteral("frame.tcl[*]"));
    QVERIFY(!editor.isWindowModified());
    QVERIFY(!editor.isUntitledFile());

    // A loaded editor that never had newFile() still tracks modifications.
    tcleditor fresh;
    QVERIFY(fresh.loadFile(path));
    fresh.insertPlainText(QStringLiteral("x"));
    QVERIFY(fresh.isWindowModified());
    QVERIFY(prompts.isEmpty());
}

void TestTclEditor::filesKeepTheirEncoding()
{
    // Loaded, shown decoded, saved unchanged: the same bytes, line ends included.
    struct Case {
        QByteArray bytes;
        QString encoding;
        QString text;
    };
    const Case cases[] = {
        {"# St\xfctze f\xfcr Ger\xe4t\nputs \"\xb0"
         "C \xa0\xd8\"\n",
         "ISO-8859-1", QStringLiteral("# Stütze für Gerät\nputs \"°C \u00a0Ø\"\n")},
        {"# Tr\xe4ger\r\nputs \"\x80 \x96\"\r\n", "windows-1252", QStringLiteral("# Träger\nputs \"€ –\"\n")},
        {"# \xd6\xf9\xd7\xd3\r\nnode 1 0 0\r\n", "GBK", QStringLiteral("# 柱子\nnode 1 0 0\n")},
        {"\xef\xbb\xbfnode 1 0 0 ;# \xc3\x98", "UTF-8", QStringLiteral("node 1 0 0 ;# Ø")},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("encoded.tcl"));
        QVERIFY(writeFile(path, c.bytes));
        tcleditor editor;
        QSignalSpy detected(&editor, &tcleditor::encodingChanged);
        QVERIFY(editor.loadFile(path));
        QCOMPARE(editor.encodingName(), c.encoding);
        QCOMPARE(detected.size(), 1);
        QCOMPARE(detected.at(0).at(0).toString(), c.encoding);
        // toPlainText() shows a no-break space as a space; the saved bytes must keep it.
        QCOMPARE(editor.toPlainText(), QString(c.text).replace(QChar::Nbsp, QLatin1Char(' ')));
        QVERIFY(editor.save());
        QCOMPARE(readAll(path), c.bytes);
    }
    QVERIFY(prompts.isEmpty());
}

void TestTclEditor::textTheEncodingCannotHoldIsSavedAsUtf8()
{
    struct Case {
        QByteArray bytes;
        QString added;
        QString encoding;
    };
    const Case cases[] = {
        {"# Tr\xe4ger\n", QStringLiteral("柱"), "ISO-8859-1"},
        {"# Tr\xe4ger\n", QStringLiteral("€"), "ISO-8859-1"},
        {"# \xd6\xd0\xce\xc4\n", QStringLiteral("\U0001F600"), "GBK"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("widened.tcl"));
        QVERIFY(writeFile(path, c.bytes));
        tcleditor editor;
        QVERIFY(editor.loadFile(path));
        QSignalSpy switched(&editor, &tcleditor::encodingChanged);
        editor.moveCursor(QTextCursor::End);
        editor.insertPlainText(c.added);
        const QString text = editor.toPlainText();
        prompts.clear();
        QVERIFY(editor.save());
        QCOMPARE(readAll(path), text.toUtf8());
        QCOMPARE(editor.encodingName(), QStringLiteral("UTF-8"));
        QCOMPARE(switched.size(), 1);
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(
            prompts.at(0).text,
            c.encoding +
                QStringLiteral(" cannot hold every character of the text: widened.tcl is saved as UTF-8."));
    }
}

void TestTclEditor::failedSaveWarnsAndKeepsState()
{
    const QString path = dir.filePath(QStringLiteral("failing.tcl"));
    QVERIFY(writeFile(path, "node 1 0 0\n"));
    tcleditor editor;
    QVERIFY(editor.loadFile(path));
    editor.appendPlainText(QStringLiteral("node 2 1 0"));
    const QString text = editor.toPlainText();

    const QString target = dir.filePath(QStringLiteral("no/such/dir/model"));
    QVERIFY(!editor.saveFile(target));
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(prompts.at(0).title, QStringLiteral("Tcl Editor"));
    QCOMPARE(prompts.at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // The name, then the reason.
    QVERIFY2(prompts.at(0).text.contains(QDir::toNativeSeparators(target + QStringLiteral(".tcl"))),
             qPrintable(prompts.at(0).text));
    const QString reason = prompts.at(0).text.section(QLatin1Char('\n'), 1).trimmed();
    QVERIFY2(reason.size() > 1, qPrintable(prompts.at(0).text));

    QCOMPARE(editor.toPlainText(), text);
    QCOMPARE(editor.currentFile(), QFileInfo(path).canonicalFilePath());
    QVERIFY(editor.isWindowModified());
    QCOMPARE(readAll(path), QByteArray("node 1 0 0\n"));
}

void TestTclEditor::closeProtocol_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAsName");  // answer of the file dialog; "!" = unwritable
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");
    QTest::newRow("unchanged") << false << true << int(QMessageBox::NoButton) << "" << true << false;
    QTest::newRow("cancel keeps window") << true << true << int(QMessageBox::Cancel) << "" << false << false;
    QTest::newRow("discard closes") << true << true << int(QMessageBox::Discard) << "" << true << false;
    QTest::newRow("save untitled") << true << true << int(QMessageBox::Save) << "closing" << true << true;
    QTest::newRow("save untitled, no name") << true << true << int(QMessageBox::Save) << "" << false << false;
    QTest::newRow("save titled") << true << false << int(QMessageBox::Save) << "" << true << true;
    QTest::newRow("save fails") << true << true << int(QMessageBox::Save) << "!" << false << false;
}

void TestTclEditor::closeProtocol()
{
    QFETCH(bool, modified);
    QFETCH(bool, untitled);
    QFETCH(int, answer);
    QFETCH(QString, saveAsName);
    QFETCH(bool, closed);
    QFETCH(bool, written);

    QTemporaryDir here;
    const QString target = here.filePath(untitled ? "closing.tcl" : "titled.tcl");
    QPointer<tcleditor> editor = new tcleditor;
    if (untitled) {
        editor->newFile();
    } else {
        QVERIFY(writeFile(target, QByteArray()));
        QVERIFY(editor->loadFile(target));
    }
    if (modified)
        editor->insertPlainText(QStringLiteral("node 7 0 0"));
    const QString name = editor->userFriendlyCurrentFile();

    promptAnswers << QMessageBox::StandardButton(answer);
    fileDialogAnswer = saveAsName == QLatin1String("!") ? here.filePath(QStringLiteral("missing/x"))
                       : saveAsName.isEmpty()           ? QString()
                                                        : here.filePath(saveAsName);
    editor->show();
    QCOMPARE(editor->close(), closed);

    QCOMPARE(prompts.isEmpty(), !modified);
    if (modified) {
        QCOMPARE(prompts.at(0).title, QStringLiteral("Tcl Editor"));
        QCOMPARE(prompts.at(0).text,
                 QStringLiteral("Save change to document <b>%1</b> before closing window?").arg(name));
        QCOMPARE(prompts.at(0).buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        // A failed save adds its own warning after the prompt.
        QCOMPARE(prompts.size(), saveAsName == QLatin1String("!") ? 2 : 1);
    }
    QCOMPARE(readAll(target).contains("node 7 0 0"), written);

    settleDeletes();
    QCOMPARE(editor.isNull(), closed);
    if (!closed) {
        QVERIFY(editor->document()->isModified());
        QVERIFY(editor->toPlainText().contains(QStringLiteral("node 7 0 0")));
        delete editor;
    }
}

void TestTclEditor::cancelInMdiAreaKeepsWindow()
{
    QMdiArea area;
    area.setViewMode(QMdiArea::TabbedView);
    auto* clean = new tcleditor;
    auto* dirty = new tcleditor;
    clean->newFile();
    dirty->newFile();
    QPointer<QMdiSubWindow> cleanWindow = area.addSubWindow(clean);
    QPointer<QMdiSubWindow> dirtyWindow = area.addSubWindow(dirty);
    area.show();
    clean->show();
    dirty->show();
    dirty->insertPlainText(QStringLiteral("node 1 0 0"));

    promptAnswers << QMessageBox::Cancel;
    area.closeAllSubWindows();
    settleDeletes();
    QCOMPARE(prompts.size(), 1);
    QVERIFY(cleanWindow.isNull());
    QVERIFY(!dirtyWindow.isNull());
    QCOMPARE(dirty->toPlainText(), QStringLiteral("node 1 0 0"));

    promptAnswers << QMessageBox::Discard;
    area.closeAllSubWindows();
    settleDeletes();
    QVERIFY(area.subWindowList().isEmpty());
}

void TestTclEditor::errorMarkLastsUntilEdit()
{
    tcleditor editor;
    editor.setPlainText(lines(500));
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
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
    QCOMPARE(editor.textCursor().blockNumber(), 399);
    QVERIFY(editor.viewport()->rect().contains(editor.cursorRect()));
    const QList<QColor> marked = backgroundsOf(399);
    QCOMPARE(marked.size(), 2);
    QCOMPARE(marked.first(), currentLine);
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
    QCOMPARE(backgroundsOf(0), QList<QColor>{currentLine});

    // Lines that do not exist leave everything as it is.
    editor.markErrorLine(0);
    editor.markErrorLine(501);
    QVERIFY(!editor.hasErrorMark());
    QCOMPARE(editor.textCursor().blockNumber(), 0);
}

QTEST_MAIN(TestTclEditor)
#include "test_tcleditor.moc"
