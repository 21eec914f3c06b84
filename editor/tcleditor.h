#pragma once
// One script in an MDI child window: a plain-text editor with a line-number gutter, the current
// line highlighted, Tcl highlighting, and the new/open/save/close protocol with a "[*]" title.

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <functional>

#include "ScriptEncoding.h"

class Highlighter;
class QMenu;
class linenumberarea;

class tcleditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit tcleditor(QWidget* parent = nullptr);

    void newFile();
    bool loadFile(const QString& fileName);
    bool save();
    bool saveAs();
    bool saveFile(const QString& fileName);
    QString userFriendlyCurrentFile() const;
    QString currentFile() const { return curFile; }
    bool isUntitledFile() const { return isUntitled; }
    // The encoding the file is kept in: "UTF-8" for new documents, otherwise what loadFile found
    // ("GBK", "windows-1252", "ISO-8859-1", ...) until a save needs characters it cannot hold.
    QString encodingName() const { return QString::fromLatin1(encoding.codecName); }

    // Asks whether to save unsaved changes; false means the user wants to keep the window.
    bool maybeSave();

    // Puts the cursor on 1-based `line`, scrolls to it and tints it until the text is next edited.
    void markErrorLine(int line);
    // Puts the cursor at the start of 1-based `line`, scrolls to it and takes the focus; no mark.
    void goToLine(int line);
    bool hasErrorMark() const { return !errorMark.isNull(); }
    void clearErrorMark();

    void lineNumberAreaPaintEvent(QPaintEvent* event);
    int lineNumberAreaWidth() const;

    // Seams for the dialogs, so that tests can answer them. Default to the real dialogs.
    using SaveFileNameProvider = std::function<QString(QWidget* parent, const QString& caption,
                                                       const QString& dir, const QString& filter)>;
    using MessageBoxProvider = std::function<QMessageBox::StandardButton(
        QWidget* parent, const QString& title, const QString& text, QMessageBox::StandardButtons buttons)>;
    static SaveFileNameProvider saveFileNameProvider;
    static MessageBoxProvider messageBoxProvider;

signals:
    // After a load, and when a save had to switch to UTF-8.
    void encodingChanged(const QString& name);
    // "Show in Model" for 1-based `line`: the line under the pointer from the context menu, the
    // cursor's line from Ctrl+Shift+M.
    void showInModelRequested(int line);

public:
    // The context menu for a right click at viewport position `pos`: the standard entries and
    // "Show in Model" for the line there. The caller owns it.
    QMenu* createContextMenuAt(const QPoint& pos);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void documentWasModified();
    void updateLineNumberAreaWidth(int newBlockCount);
    void highlightCurrentLine();
    void updateLineNumberArea(const QRect& rect, int dy);

private:
    void setCurrentFile(const QString& fileName);
    void watchModifications();
    bool askToSave();
    void warnSaveFailed(const QString& fileName, const QString& reason);
    QByteArray encodedText();

    QString curFile;
    bool isUntitled = true;
    Highlighter* highlighter = nullptr;
    linenumberarea* lineNumberArea = nullptr;
    QTextCursor errorMark;
    ScriptEncoding encoding;
    bool crlf = false;  // the file ends its lines with CR LF, and is saved so again
};
