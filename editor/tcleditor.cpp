#include "tcleditor.h"

#include "highlighter.h"
#include "linenumberarea.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QStyle>
#include <QTextBlock>

namespace {

// Numbers untitled documents for the life of the process; never reset.
int untitledCounter = 1;

QColor errorLineColor()
{
    return QColor(255, 190, 190);
}

QKeySequence showInModelShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M);
}

}  // namespace

tcleditor::SaveFileNameProvider tcleditor::saveFileNameProvider =
    [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    };

tcleditor::MessageBoxProvider tcleditor::messageBoxProvider =
    [](QWidget* parent, const QString& title, const QString& text, QMessageBox::StandardButtons buttons) {
        return QMessageBox::warning(parent, title, text, buttons);
    };

tcleditor::tcleditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);

    QFont font;
    font.setFamily(QStringLiteral("Consolas"));
    font.setWeight(QFont::Bold);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(11);
    setFont(font);
    setTabStopDistance(4 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));

    highlighter = new Highlighter(document());
    lineNumberArea = new linenumberarea(this);
    lineNumberArea->setFont(font);

    connect(this, &QPlainTextEdit::blockCountChanged, this, &tcleditor::updateLineNumberAreaWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &tcleditor::updateLineNumberArea);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &tcleditor::highlightCurrentLine);
    // contentsChange, unlike contentsChanged, is not sent when the highlighter re-colours.
    connect(document(), &QTextDocument::contentsChange, this, &tcleditor::clearErrorMark);

    updateLineNumberAreaWidth(0);
    highlightCurrentLine();
    setWordWrapMode(QTextOption::NoWrap);

    auto* showInModel = new QAction(tr("Show in Model"), this);
    showInModel->setShortcut(showInModelShortcut());
    showInModel->setShortcutContext(Qt::WidgetShortcut);
    connect(showInModel, &QAction::triggered, this,
            [this] { emit showInModelRequested(textCursor().blockNumber() + 1); });
    addAction(showInModel);
}

QMenu* tcleditor::createContextMenuAt(const QPoint& pos)
{
    QMenu* menu = createStandardContextMenu(pos);
    menu->addSeparator();
    QAction* showInModel = menu->addAction(tr("Show in Model"));
    showInModel->setShortcut(showInModelShortcut());
    const int line = cursorForPosition(pos).blockNumber() + 1;
    connect(showInModel, &QAction::triggered, this, [this, line] { emit showInModelRequested(line); });
    return menu;
}

void tcleditor::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenuAt(event->pos());
    menu->exec(event->globalPos());
    delete menu;
}

void tcleditor::newFile()
{
    isUntitled = true;
    encoding = ScriptEncoding();
    crlf = false;
    curFile = tr("new %1").arg(untitledCounter++);
    setWindowTitle(curFile + QStringLiteral("[*]") + tr(" - Tcl Editor"));
    watchModifications();
}

bool tcleditor::loadFile(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;

    // Kept in its own encoding and line ends, so that saving an unchanged file rewrites its bytes.
    const QByteArray bytes = file.readAll();
    encoding = detectScriptEncoding(bytes);
    const int lineFeeds = bytes.count('\n');
    crlf = lineFeeds > 0 && bytes.count("\r\n") == lineFeeds;
    setPlainText(decodeScript(bytes, encoding));
    setCurrentFile(fileName);
    watchModifications();
    emit encodingChanged(encodingName());
    return true;
}

bool tcleditor::save()
{
    return isUntitled ? saveAs() : saveFile(curFile);
}

bool tcleditor::saveAs()
{
    const QString fileName = saveFileNameProvider(this, tr("Save As..."), curFile, tr("Tcl File (*.tcl)"));
    if (fileName.isEmpty())
        return false;
    return saveFile(fileName);
}

bool tcleditor::saveFile(const QString& fileName)
{
    QString target = fileName;
    if (!target.endsWith(QLatin1String(".tcl")))
        target += QLatin1String(".tcl");

    const ScriptEncoding previous = encoding;
    const QByteArray bytes = encodedText();

    // Written to a temporary file and renamed, so a failed write leaves the old file intact.
    QSaveFile file(target);
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        setCurrentFile(target);
        if (!(encoding == previous)) {
            messageBoxProvider(this, tr("Tcl Editor"),
                               tr("%1 cannot hold every character of the text: %2 is saved as UTF-8.")
                                   .arg(QString::fromLatin1(previous.codecName), userFriendlyCurrentFile()),
                               QMessageBox::Ok);
            emit encodingChanged(encodingName());
        }
        return true;
    }
    encoding = previous;
    warnSaveFailed(target, file.errorString());
    return false;
}

// The text in the file's encoding and line ends; UTF-8 (the encoding switched to it) when the
// file's encoding cannot hold every character.
QByteArray tcleditor::encodedText()
{
    // Block by block: toPlainText() would turn no-break spaces into plain ones.
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    const QString text = lines.join(crlf ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    QByteArray bytes;
    if (!encodeScript(text, encoding, &bytes)) {
        encoding = ScriptEncoding();
        encodeScript(text, encoding, &bytes);
    }
    return bytes;
}

void tcleditor::warnSaveFailed(const QString& fileName, const QString& reason)
{
    messageBoxProvider(this, tr("Tcl Editor"),
                       tr("Cannot write file %1:\n%2.").arg(QDir::toNativeSeparators(fileName), reason),
                       QMessageBox::Ok);
}

void tcleditor::setCurrentFile(const QString& fileName)
{
    curFile = QFileInfo(fileName).canonicalFilePath();
    isUntitled = false;
    document()->setModified(false);
    setWindowModified(false);
    setWindowTitle(userFriendlyCurrentFile() + QStringLiteral("[*]"));
}

QString tcleditor::userFriendlyCurrentFile() const
{
    return QFileInfo(curFile).fileName();
}

void tcleditor::watchModifications()
{
    connect(document(), &QTextDocument::contentsChanged, this, &tcleditor::documentWasModified,
            Qt::UniqueConnection);
}

void tcleditor::documentWasModified()
{
    setWindowModified(document()->isModified());
}

bool tcleditor::maybeSave()
{
    if (!document()->isModified())
        return true;
    return askToSave();
}

bool tcleditor::askToSave()
{
    const QMessageBox::StandardButton answer =
        messageBoxProvider(this, tr("Tcl Editor"),
                           tr("Save change to document <b>%1</b> before closing window?")
                               .arg(userFriendlyCurrentFile().toHtmlEscaped()),
                           QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    switch (answer) {
        case QMessageBox::Save:
            return isUntitled ? saveAs() : saveFile(curFile);
        case QMessageBox::Discard:
            return true;
        default:
            // Cancel, or the box was dismissed: keep the window and its text.
            return false;
    }
}

void tcleditor::closeEvent(QCloseEvent* event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

int tcleditor::lineNumberAreaWidth() const
{
    int n = qMax(1, blockCount());
    int digits = 2;
    while (n >= 100) {
        n /= 10;
        ++digits;
    }
    return 10 + digits * lineNumberArea->fontMetrics().horizontalAdvance(QLatin1Char('9'));
}

void tcleditor::updateLineNumberAreaWidth(int /*newBlockCount*/)
{
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
}

void tcleditor::updateLineNumberArea(const QRect& rect, int dy)
{
    if (dy)
        lineNumberArea->scroll(0, dy);
    else
        lineNumberArea->update(0, rect.y(), lineNumberArea->width(), rect.height());

    if (rect.contains(viewport()->rect()))
        updateLineNumberAreaWidth(0);
}

void tcleditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect cr = contentsRect();
    const QRect strip(cr.left(), cr.top(), lineNumberAreaWidth(), cr.height());
    lineNumberArea->setGeometry(QStyle::visualRect(layoutDirection(), cr, strip));
}

void tcleditor::highlightCurrentLine()
{
    QList<QTextEdit::ExtraSelection> selections;
    if (!isReadOnly()) {
        QTextEdit::ExtraSelection line;
        line.format.setBackground(QColor(Qt::blue).lighter(180));
        line.format.setProperty(QTextFormat::FullWidthSelection, true);
        line.cursor = textCursor();
        line.cursor.clearSelection();
        selections.append(line);
    }
    // Last, so that it shows over the current-line colour when the cursor stands on it.
    if (!errorMark.isNull()) {
        QTextEdit::ExtraSelection error;
        error.format.setBackground(errorLineColor());
        error.format.setProperty(QTextFormat::FullWidthSelection, true);
        error.cursor = errorMark;
        selections.append(error);
    }
    setExtraSelections(selections);
}

void tcleditor::markErrorLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (line < 1 || !block.isValid())
        return;
    errorMark = QTextCursor(block);
    setTextCursor(errorMark);
    ensureCursorVisible();
    highlightCurrentLine();
}

void tcleditor::goToLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (line < 1 || !block.isValid())
        return;
    setTextCursor(QTextCursor(block));
    centerCursor();
    setFocus();
}

void tcleditor::clearErrorMark()
{
    if (errorMark.isNull())
        return;
    errorMark = QTextCursor();
    highlightCurrentLine();
}

void tcleditor::lineNumberAreaPaintEvent(QPaintEvent* event)
{
    QPainter painter(lineNumberArea);
    const QTextCursor cursor = textCursor();
    const int selectionStart = cursor.selectionStart();
    const int selectionEnd = cursor.selectionEnd();
    QPalette palette = lineNumberArea->palette();
    palette.setCurrentColorGroup(QPalette::Active);

    painter.fillRect(event->rect(), palette.color(QPalette::Window));

    QTextBlock block = firstVisibleBlock();
    int blockNumber = block.blockNumber();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    qreal bottom = top + blockBoundingRect(block).height();

    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            const int start = block.position();
            const int end = start + block.length();
            const bool selected = (selectionStart < end && selectionEnd > start) ||
                                  (selectionStart == selectionEnd && selectionStart == start);
            painter.setPen(palette.color(selected ? QPalette::Highlight : QPalette::WindowText));
            painter.drawText(0, int(top), lineNumberArea->width() - 4, int(bottom - top), Qt::AlignRight,
                             QString::number(blockNumber + 1));
        }
        block = block.next();
        top = bottom;
        bottom = top + blockBoundingRect(block).height();
        ++blockNumber;
    }
}
