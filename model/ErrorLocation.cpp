#include "ErrorLocation.h"

#include <tcl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QVector>

#include "InterpreterState.h"

namespace {

// One level of the error's call chain, innermost first: the command text Tcl quoted and the
// "(... line N)" note that says where that command sits in its enclosing script.
struct Frame {
    QByteArray command;  // as quoted by Tcl; may be cut short and end in "..."
    QString kind;        // "file", "procedure", "relative" or empty (no line note)
    QString name;        // the file or procedure name of the note
    int line = 0;
};

QVector<Frame> parseFrames(const QString& errorInfo)
{
    static const QRegularExpression split(
        QStringLiteral("\n    (?:while executing|invoked from within|while compiling)\n\""));
    static const QRegularExpression tail(QStringLiteral("^(.*)\"((?:\n    \\([^\n]*\\))*)$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression note(QStringLiteral("^\\((.*) line (\\d+)\\)$"));
    static const QRegularExpression fileNote(QStringLiteral("^file \"(.*)\"$"));
    static const QRegularExpression procNote(QStringLiteral("^procedure \"(.*)\"$"));

    QVector<Frame> frames;
    const QStringList chunks = errorInfo.split(split);
    for (int c = 1; c < chunks.size(); ++c) {
        const QRegularExpressionMatch m = tail.match(chunks[c]);
        if (!m.hasMatch())
            break;
        Frame frame;
        frame.command = m.captured(1).toUtf8();
        const QStringList notes = m.captured(2).split(QStringLiteral("\n    "), Qt::SkipEmptyParts);
        for (const QString& text : notes) {
            const QRegularExpressionMatch n = note.match(text);
            if (!n.hasMatch())
                continue;
            frame.line = n.captured(2).toInt();
            const QString what = n.captured(1);
            if (const QRegularExpressionMatch f = fileNote.match(what); f.hasMatch()) {
                frame.kind = QStringLiteral("file");
                frame.name = f.captured(1);
            } else if (const QRegularExpressionMatch p = procNote.match(what); p.hasMatch()) {
                frame.kind = QStringLiteral("procedure");
                frame.name = p.captured(1);
            } else {
                frame.kind = QStringLiteral("relative");
            }
        }
        frames.append(frame);
    }
    return frames;
}

// A position in a source file: the start of one command.
struct Position {
    QString file;
    QByteArray text;
    int offset = -1;
};

int lineAt(const QByteArray& text, int offset)
{
    return 1 + int(std::count(text.constBegin(), text.constBegin() + offset, '\n'));
}

int lineStart(const QByteArray& text, int line)
{
    int offset = 0;
    for (int l = 1; l < line; ++l) {
        offset = text.indexOf('\n', offset);
        if (offset < 0)
            return -1;
        ++offset;
    }
    return offset;
}

// Start and size of the command that begins at or after OFFSET, skipping blanks and comments.
bool commandAt(const QByteArray& text, int offset, int end, int* start, int* size)
{
    if (offset < 0 || offset >= end)
        return false;
    Tcl_Parse parse;
    if (Tcl_ParseCommand(nullptr, text.constData() + offset, end - offset, 0, &parse) != TCL_OK)
        return false;
    *start = int(parse.commandStart - text.constData());
    *size = parse.commandSize;
    Tcl_FreeParse(&parse);
    return *size > 0;
}

// The command text Tcl quoted, without the "..." it adds when it cuts a long command short.
QByteArray quotedPrefix(const QByteArray& command)
{
    if (command.size() >= 150 && command.endsWith("...")) {
        QByteArray prefix = command.left(command.size() - 3);
        prefix.chop(4);  // a cut may have split a multi-byte character
        return prefix;
    }
    return command;
}

// Descends from the command at POS into the braced word whose relative line LINE holds the start of
// INNER. The inner command may sit in a script nested further down (an if inside a loop body is
// compiled into the loop and gets no line note of its own), so its text is searched on that line.
bool stepInto(Position* pos, int line, const QByteArray& inner)
{
    const QByteArray& text = pos->text;
    Tcl_Parse parse;
    if (Tcl_ParseCommand(nullptr, text.constData() + pos->offset, text.size() - pos->offset, 0, &parse) !=
        TCL_OK)
        return false;
    const QByteArray prefix = quotedPrefix(inner);
    bool found = false;
    for (int t = 0, word = 0; t < parse.numTokens && !found && !prefix.isEmpty(); ++word) {
        const Tcl_Token& token = parse.tokenPtr[t];
        t += 1 + token.numComponents;
        if (word == 0 || token.size < 2 || token.start[0] != '{')
            continue;
        const int contentStart = int(token.start - text.constData()) + 1;
        const int contentEnd = contentStart + token.size - 2;
        const int target = lineAt(text, contentStart) + line - 1;
        const int from = qMax(contentStart, lineStart(text, target));
        if (from < 0)
            continue;
        const int at = text.indexOf(prefix, from);
        if (at >= 0 && at + prefix.size() <= contentEnd && lineAt(text, at) == target) {
            pos->offset = at;
            found = true;
        }
    }
    Tcl_FreeParse(&parse);
    return found;
}

// The innermost command was substituted inside the current one ("set x [expr ...]").
bool stepEmbedded(Position* pos, const QByteArray& inner)
{
    int start = 0, size = 0;
    if (!commandAt(pos->text, pos->offset, pos->text.size(), &start, &size))
        return false;
    const int at = pos->text.mid(start, size).indexOf(quotedPrefix(inner));
    if (at <= 0)
        return false;
    pos->offset = start + at;
    return true;
}

class SourceFiles {
public:
    bool positionAtLine(const QString& file, int line, Position* pos)
    {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (!m_texts.contains(path)) {
            QFile f(path);
            QByteArray text;
            if (f.open(QIODevice::ReadOnly))
                text = f.readAll().replace("\r\n", "\n");
            m_texts.insert(path, text);
        }
        pos->file = path;
        pos->text = m_texts.value(path);
        int start = 0, size = 0;
        if (!commandAt(pos->text, lineStart(pos->text, line), pos->text.size(), &start, &size))
            return false;
        pos->offset = start;
        return true;
    }

private:
    QHash<QString, QByteArray> m_texts;
};

}  // namespace

ErrorLocation locateError(const QString& errorInfo, const InterpreterState& state)
{
    const QVector<Frame> frames = parseFrames(errorInfo);
    SourceFiles sources;

    // The innermost frame whose place in a file is known outright.
    for (int a = 0; a < frames.size(); ++a) {
        const Frame& anchor = frames[a];
        Position pos;
        if (anchor.kind == QLatin1String("file")) {
            if (!sources.positionAtLine(anchor.name, anchor.line, &pos))
                return {QFileInfo(anchor.name).absoluteFilePath(), anchor.line};
        } else if (anchor.kind == QLatin1String("procedure") && state.procedures.contains(anchor.name)) {
            const ProcedureDefinition definition = state.procedures.value(anchor.name);
            if (!sources.positionAtLine(definition.file, definition.line, &pos) ||
                !stepInto(&pos, anchor.line, anchor.command))
                continue;
        } else {
            continue;
        }
        // Walk inwards as far as the source allows.
        for (int f = a - 1; f >= 0; --f) {
            const Frame& frame = frames[f];
            const bool stepped = frame.kind == QLatin1String("relative")
                                     ? stepInto(&pos, frame.line, frame.command)
                                 : frame.kind.isEmpty() ? stepEmbedded(&pos, frame.command)
                                                        : false;
            if (!stepped)
                break;
        }
        return {pos.file, lineAt(pos.text, pos.offset)};
    }
    return {};
}
