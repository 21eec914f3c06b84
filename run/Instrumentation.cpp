#include "Instrumentation.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include "ModelRecord.h"
#include "ScriptEncoding.h"

QString instrumentedScriptName(const QString& scriptFileName)
{
    const int dot = scriptFileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? QString() : scriptFileName.left(dot);
    return base + QStringLiteral("Temp.tcl");
}

QString nodeListText(const QVector<int>& nodeTags)
{
    QString list;
    list.reserve(nodeTags.size() * 7);
    for (int tag : nodeTags) {
        list += QString::number(tag);
        list += QLatin1Char(' ');
    }
    return list;
}

namespace {

QStringList elementTagsOf(const ModelRecord& model, const QString& type)
{
    QStringList tags;
    const int n = qMin(model.elementTypes.size(), model.elementTags.size());
    for (int i = 0; i < n; ++i)
        if (model.elementTypes[i] == type)
            tags << QString::number(model.elementTags[i]);
    return tags;
}

QString elementRecorder(const QString& file, const QString& tags, const QString& response)
{
    return QStringLiteral("recorder Element -file TolvaneResult/") + file +
           QStringLiteral(".file -time -ele ") + tags + QLatin1Char(' ') + response;
}

// TEXT as one Tcl word in ASCII: Tcl's special characters escaped, everything beyond ASCII as
// \uXXXX, so that the solver reads the name right whatever its system encoding.
QByteArray tclWord(const QString& text)
{
    QByteArray word;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x7f || u < 0x20)
            word += QByteArray("\\u") + QByteArray::number(u, 16).rightJustified(4, '0');
        else if (QByteArray(" \t;$[]{}\"\\").contains(char(u)))
            word += '\\' + QByteArray(1, char(u));
        else
            word += char(u);
    }
    return word;
}

QByteArray asciiComment(const QString& text)
{
    QByteArray line = text.toLatin1();
    for (char& c : line)
        if (uchar(c) >= 0x7f || uchar(c) < 0x20)
            c = '?';
    return line;
}

// A UTF-8 script with anything beyond ASCII is read as UTF-8; a pure ASCII one in whatever the
// solver's system encoding is, as the solver would read it itself.
bool needsUtf8(const QByteArray& bytes)
{
    if (!detectScriptEncoding(bytes).isUtf8())
        return false;
    for (const char c : bytes)
        if (uchar(c) >= 0x80)
            return true;
    return false;
}

}  // namespace

QStringList recorderBlock(const ModelRecord& model, const QVector<QStringList>& settings, int monitorScale,
                          int livePort)
{
    const QString nodes = nodeListText(model.nodeTags);
    QStringList block;
    block << QStringLiteral("file mkdir TolvaneResult;");
    block << QStringLiteral("recorder Node -file TolvaneResult/NodeDisp.file -time -node ") + nodes +
                 QStringLiteral(" -dof 1 2 3 disp");
    if (monitorScale > 0)
        block << QStringLiteral("recorder Node -tcp 127.0.0.1 %1 -time -node ").arg(livePort) + nodes +
                     QStringLiteral(" -dof 1 2 3 disp");
    block << QStringLiteral("recorder Node -file TolvaneResult/NodeReaction.file -time -node ") + nodes +
                 QStringLiteral(" -dof 1 2 3 reaction");
    // Rotations and moments of 6-DOF nodes go to files of their own: the three-column files keep
    // the layout that readers of them rely on.
    if (model.ndf > 3)
        for (const char* kind : {"Disp456.file -time -node %1 -dof 4 5 6 disp",
                                 "Reaction456.file -time -node %1 -dof 4 5 6 reaction"})
            block << QStringLiteral("recorder Node -file TolvaneResult/Node") +
                         QString::fromLatin1(kind).arg(nodes);
    for (const QStringList& setting : settings) {
        if (setting.isEmpty())
            continue;
        const QStringList tags = elementTagsOf(model, setting.first());
        // Without an element there is no sample to name: the solver would refuse the recorder.
        if (tags.isEmpty())
            continue;
        const QString all = tags.join(QLatin1Char(' '));
        for (int r = 1; r < setting.size(); ++r) {
            const QString file = setting.first() + QLatin1Char('_') + setting[r];
            block << elementRecorder(file, all, setting[r]);
            block << elementRecorder(file + QLatin1Char('S'), tags.first(), setting[r]);
        }
    }
    return block;
}

QStringList recordedFiles(const QStringList& block)
{
    static const QRegularExpression file(QStringLiteral(" -file (\\S+)"));
    QStringList files;
    for (const QString& line : block) {
        const QRegularExpressionMatch m = file.match(line);
        if (m.hasMatch())
            files << m.captured(1);
    }
    return files;
}

QByteArray instrumentedScriptMarker()
{
    return "# Tolvane run script";
}

QByteArray instrumentedScriptText(const QString& scriptFileName, const QStringList& block, bool utf8)
{
    const QByteArray name = asciiComment(scriptFileName);
    QByteArray t;
    t += instrumentedScriptMarker() + " for " + name + ". Tolvane writes it anew on every run: edit " + name +
         " instead.\n";
    t += "# Every model command adds the recorders below (once until the next wipe); then " + name +
         " runs unchanged.\n";
    t += "namespace eval ::tolvane {\n    variable recording 0\n}\n";
    t += "proc ::tolvane::recorders {} {\n";
    for (const QString& line : block)
        t += "    " + line.toLatin1() + '\n';
    t += "}\n";
    t += "rename model ::tolvane::model\n"
         "proc model {args} {\n"
         "    set built [uplevel 1 [linsert $args 0 ::tolvane::model]]\n"
         "    if {!$::tolvane::recording} {\n"
         "        set ::tolvane::recording 1\n"
         "        ::tolvane::recorders\n"
         "    }\n"
         "    return $built\n"
         "}\n"
         "rename wipe ::tolvane::wipe\n"
         "proc wipe {args} {\n"
         "    set ::tolvane::recording 0\n"
         "    uplevel 1 [linsert $args 0 ::tolvane::wipe]\n"
         "}\n";
    const QStringList files = recordedFiles(block);
    if (!files.isEmpty())
        t += "file delete " + files.join(QLatin1Char(' ')).toLatin1() + '\n';
    t += "set argv0 [file join [file dirname [info script]] " + tclWord(scriptFileName) + "]\n";
    t += QByteArray("source ") + (utf8 ? "-encoding utf-8 " : "") + "$argv0\n";
    return t;
}

bool writeInstrumentedScript(const QString& scriptPath, const QStringList& block, QString* error)
{
    const QFileInfo script(scriptPath);
    const QString target =
        script.absolutePath() + QLatin1Char('/') + instrumentedScriptName(script.fileName());
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    QFile in(scriptPath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(scriptPath, in.errorString()));
    const QByteArray bytes = in.readAll();
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && !existing.readLine().startsWith(instrumentedScriptMarker()))
        return fail(QStringLiteral("%1 was not written by Tolvane, and a run would overwrite it. Rename it "
                                   "(or the script), then run again.")
                        .arg(target));
    existing.close();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
    out.write(instrumentedScriptText(script.fileName(), block, needsUtf8(bytes)));
    if (!out.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
    return true;
}
