#include "Instrumentation.h"

#include <tcl.h>

#include <QFile>
#include <QSaveFile>

#include "ModelRecord.h"

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

// Drops the line end ("\n" or "\r\n") that readLine keeps.
QByteArray chopLineEnd(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

}  // namespace

QStringList recorderBlock(const ModelRecord& model, const QVector<QStringList>& settings, int monitorScale)
{
    const QString nodes = nodeListText(model.nodeTags);
    QStringList block;
    block << QStringLiteral("file mkdir TolvaneResult;");
    block << QStringLiteral("recorder Node -file TolvaneResult/NodeDisp.file -time -node ") + nodes +
                 QStringLiteral(" -dof 1 2 3 disp");
    if (monitorScale > 0)
        block << QStringLiteral("recorder Node -tcp 127.0.0.1 %1 -time -node ").arg(liveStreamPort) + nodes +
                     QStringLiteral(" -dof 1 2 3 disp");
    block << QStringLiteral("recorder Node -file TolvaneResult/NodeReaction.file -time -node ") + nodes +
                 QStringLiteral(" -dof 1 2 3 reaction");
    // Rotations and moments of 6-DOF nodes go to files of their own: the three-column files keep
    // the layout that readers of them rely on.
    if (model.ndf > 3)
        for (const char* kind : {"Disp456.file -time -node %1 -dof 4 5 6 disp",
                                 "Reaction456.file -time -node %1 -dof 4 5 6 reaction"})
            block << QStringLiteral("recorder Node -file TolvaneResult/Node") + QString::fromLatin1(kind).arg(nodes);
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

bool writeInstrumentedCopy(const QString& source, const QString& target, const QStringList& block,
                           QString* error)
{
    auto fail = [error](const QString& path, const QString& reason) {
        if (error)
            *error = QStringLiteral("Cannot %1: %2").arg(path, reason);
        return false;
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("read ") + source, in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("write ") + target, out.errorString());

    QByteArray blockText;
    for (const QString& line : block)
        blockText += line.toUtf8() + '\n';

    // The block goes after the whole model command: a line continued with a backslash or an open
    // brace is only complete once Tcl says so.
    QByteArray command;
    bool insertPending = false;
    while (!in.atEnd()) {
        const QByteArray line = chopLineEnd(in.readLine());
        const QByteArray collapsed = line.simplified();
        if (collapsed.startsWith('#'))
            continue;
        out.write(line);
        out.write("\n");
        if (!insertPending && collapsed.startsWith("model")) {
            insertPending = true;
            command.clear();
        }
        if (!insertPending)
            continue;
        command += line + '\n';
        if (Tcl_CommandComplete(command.constData())) {
            out.write(blockText);
            insertPending = false;
        }
    }
    if (in.error() != QFile::NoError)
        return fail(QStringLiteral("read ") + source, in.errorString());
    if (!out.commit())
        return fail(QStringLiteral("write ") + target, out.errorString());
    return true;
}
