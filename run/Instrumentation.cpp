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

// Every eigen call, wherever it stands, also writes its modes into TolvaneResult, call K as
// ModesKNodes.file (the node tags), ModesKMass.file (per mode the mass ratios in % along X, Y and,
// in 3-D, Z, when modalProperties gives them), ModesKProperties.txt (the solver's modal report)
// and last ModesK.file (per mode the eigenvalue, then translations 1-3 of every node, 0 beyond
// the node's dimension). Only standard Tcl and the solver's own commands: it runs in any solver
// build. A failure to write is said on standard error and never stops the user's script.
QByteArray modesWriter()
{
    return "proc ::tolvane::massRatios {report count} {\n"
           "    modalProperties -file $report\n"
           "    set in [open $report r]\n"
           "    set text [split [read $in] \\n]\n"
           "    close $in\n"
           "    set inside 0\n"
           "    set columns {}\n"
           "    set rows {}\n"
           "    foreach line $text {\n"
           "        set line [string trim $line]\n"
           "        if {!$inside} {\n"
           "            set inside [expr {[string match -nocase {*MASS RATIOS*} $line] &&\n"
           "                              ![string match -nocase {*cumul*} $line]}]\n"
           "        } elseif {[string index $line 0] eq {*} || ($line eq {} && [llength $rows])} {\n"
           "            break\n"
           "        } elseif {[string index $line 0] eq {#}} {\n"
           "            if {[lsearch -exact $line MODE] >= 0} {\n"
           "                set columns [lrange $line 1 end]\n"
           "            }\n"
           "        } elseif {$line ne {}} {\n"
           "            lappend rows $line\n"
           "        }\n"
           "    }\n"
           "    set wanted {}\n"
           "    foreach name {MX MY MZ} {\n"
           "        set at [lsearch -exact $columns $name]\n"
           "        if {$at >= 0} {\n"
           "            lappend wanted $at\n"
           "        }\n"
           "    }\n"
           "    if {[llength $rows] != $count || ![llength $wanted]} {\n"
           "        error \"no mass ratios for $count modes in $report\"\n"
           "    }\n"
           "    set lines {}\n"
           "    foreach row $rows {\n"
           "        set ratios {}\n"
           "        foreach at $wanted {\n"
           "            lappend ratios [lindex $row $at]\n"
           "        }\n"
           "        lappend lines [join $ratios { }]\n"
           "    }\n"
           "    return $lines\n"
           "}\n"
           "proc ::tolvane::writeModes {values} {\n"
           "    variable eigenCalls\n"
           "    set call [incr eigenCalls]\n"
           // A pushover that asks for the periods at every step must not fill the disk.
           "    if {$call > 100} {\n"
           "        if {$call == 101} {\n"
           "            puts stderr {Tolvane: only the modes of the first 100 eigen calls are recorded}\n"
           "        }\n"
           "        return\n"
           "    }\n"
           "    file mkdir TolvaneResult\n"
           "    set base [file join TolvaneResult Modes$call]\n"
           "    set tags [getNodeTags]\n"
           // Per node the last translation it has (a 2-D node gives X and Y), and zeros up to Z.
           "    set last {}\n"
           "    set pads {}\n"
           "    foreach tag $tags {\n"
           "        set n [llength [nodeCoord $tag]]\n"
           "        if {$n > 3} {\n"
           "            set n 3\n"
           "        }\n"
           "        lappend last [expr {$n - 1}]\n"
           "        lappend pads [lrange {0 0 0} $n end]\n"
           "    }\n"
           "    set out [open ${base}Nodes.file w]\n"
           "    puts $out [join $tags { }]\n"
           "    close $out\n"
           "    if {![catch {::tolvane::massRatios ${base}Properties.txt [llength $values]} ratios]} {\n"
           "        set out [open ${base}Mass.file w]\n"
           "        puts $out [join $ratios \\n]\n"
           "        close $out\n"
           "    }\n"
           // Written under another name first: a run killed meanwhile leaves no half file.
           "    set out [open $base.part w]\n"
           "    set failed [catch {\n"
           "        set mode 0\n"
           "        foreach lambda $values {\n"
           "            incr mode\n"
           "            set row {}\n"
           "            foreach tag $tags l $last pad $pads {\n"
           "                lappend row {*}[lrange [nodeEigenvector $tag $mode] 0 $l] {*}$pad\n"
           "            }\n"
           // A node with fewer values than translations (one dof in the plane): padded one by one.
           "            if {[llength $row] != 3 * [llength $tags]} {\n"
           "                set row {}\n"
           "                foreach tag $tags l $last {\n"
           "                    lappend row {*}[lrange [concat [lrange [nodeEigenvector $tag $mode] 0 $l] {0 0 0}] 0 2]\n"
           "                }\n"
           "            }\n"
           "            puts $out [format \"%.10g[string repeat { %g} [llength $row]]\" $lambda {*}$row]\n"
           "        }\n"
           "    } problem]\n"
           "    close $out\n"
           "    if {$failed} {\n"
           "        file delete -- $base.part\n"
           "        error $problem\n"
           "    }\n"
           "    file rename -force -- $base.part $base.file\n"
           "}\n"
           "rename eigen ::tolvane::eigen\n"
           "proc eigen {args} {\n"
           "    set values [uplevel 1 [linsert $args 0 ::tolvane::eigen]]\n"
           "    if {[catch {::tolvane::writeModes $values} problem]} {\n"
           "        puts stderr \"Tolvane: the modes of this eigen call were not recorded: $problem\"\n"
           "    }\n"
           "    return $values\n"
           "}\n";
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
    t += "namespace eval ::tolvane {\n    variable recording 0\n    variable eigenCalls 0\n}\n";
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
    t += modesWriter();
    const QStringList files = recordedFiles(block);
    if (!files.isEmpty())
        t += "file delete " + files.join(QLatin1Char(' ')).toLatin1() + '\n';
    t += "foreach stale [glob -nocomplain -directory TolvaneResult Modes*] {\n"
         "    file delete -- $stale\n"
         "}\n";
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
