// Opening a script is safe: what would change the world outside Tolvane is refused or answered as
// done and left undone, what model scripts need keeps working, and an exit or a wait anywhere ends
// only the evaluation.
#include <tcl.h>

#include <QtTest>

#include "ScriptRunner.h"

namespace {

constexpr ScriptTrust Safe = ScriptTrust::Safe;
constexpr ScriptTrust Whole = ScriptTrust::Whole;

const QString refusal = QStringLiteral(
    "` is not run when a script is opened; Run hands the script to the solver, which runs everything");

// Runs SCRIPT on line 3, after a model with one node.
EvaluationResult runAfterOneNode(const ScriptRunner& runner, const QByteArray& script, ScriptTrust trust,
                                 const EvaluationWatch& watch = {})
{
    return runner.run("model basic -ndm 1\nnode 1 0\n" + script + "\nnode 2 1\n", "model.tcl", watch, trust);
}

}  // namespace

class SafeInterpreterTest : public QObject {
    Q_OBJECT

private slots:
    void worldOutsideIsLeftAlone();
    void modelScriptsKeepWorking();
    void exitAndWaitsEndOnlyTheEvaluation();
};

void SafeInterpreterTest::worldOutsideIsLeftAlone()
{
    struct Case {
        ScriptTrust trust;
        QByteArray script;
        QString said;         // the status text of an error (on line 3), or the success text
        QStringList created;  // in the script's folder, besides the script, its log and victim.txt
    };
    const QString safely = QStringLiteral("Success! Opened safely: ");
    const Case cases[] = {
        {Safe, "exec touch PWNED", "`exec" + refusal, {}},
        {Safe, "open \"|touch PWNED\" w", "`open \"|...\"" + refusal, {}},
        {Safe, "socket localhost 80", "`socket" + refusal, {}},
        {Safe, "file delete -force victim.txt", safely + "1 file not deleted", {}},
        {Safe,
         "set f [open out.txt w]; puts $f x; close $f; set f [open victim.txt {WRONLY TRUNC}]; close $f",
         safely + "2 file writes discarded",
         {}},
        {Safe, "file mkdir a b/c", safely + "2 folders not created", {}},
        {Safe,
         "file rename victim.txt x; file copy -force -- victim.txt y; file link -symbolic l victim.txt; "
         "file attributes victim.txt -permissions 0777; file mtime victim.txt 0; close [file tempfile]",
         safely + "1 file write discarded, 1 file not renamed, 1 file not copied, 1 link not made, "
                  "2 file times or attributes not set",
         {}},
        {Safe, "interp create c; c eval {exec touch PWNED}", "invalid command name \"exec\"", {}},
        {Safe,
         "interp invokehidden {} exec touch PWNED",
         "not allowed to invoke hidden commands from safe interpreter",
         {}},
        {Safe,
         "rename exec {}; interp expose {} exec",
         "permission denied: safe interpreter cannot expose commands",
         {}},
        {Safe,
         "rename file f; rename open o; f delete victim.txt; close [o PWNED w]",
         safely + "1 file write discarded, 1 file not deleted",
         {}},
        // load stays the solver's nodal load; the system encoding is the script's for its evaluation.
        {Safe, "pattern Plain 1 Linear { load 1 1.0 }; encoding system iso8859-1", "Success!", {}},
        {Whole, "exec touch PWNED", "Success!", {"PWNED"}},
    };
    ModelInterpreter().deleteInterpreter();  // Tcl set up, its encoding chosen, as for every script
    const QByteArray systemEncoding = Tcl_GetEncodingName(nullptr);
    for (const Case& c : cases) {
        ScriptRunner runner(c.script);
        runner.write("victim.txt", "keep");
        const EvaluationResult r = runAfterOneNode(runner, c.script, c.trust);
        QCOMPARE(r.code == 0 ? evaluationSuccessText(r) : runner.status(), c.said);
        QCOMPARE(r.errorLine, r.code == 0 ? 0 : 3);
        QCOMPARE(runner.model().nodeTags.size(), r.code == 0 ? 2 : 1);
        QCOMPARE(readFile(runner.dir() + "/victim.txt"), QByteArray("keep"));
        QStringList entries =
            QDir(runner.dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        QStringList expected = QStringList({"Tolvane.log", "model.tcl", "victim.txt"}) + c.created;
        entries.sort();
        expected.sort();
        QCOMPARE(entries, expected);
        QCOMPARE(QByteArray(Tcl_GetEncodingName(nullptr)), systemEncoding);
    }
}

void SafeInterpreterTest::modelScriptsKeepWorking()
{
    const QPair<QByteArray, QByteArray> cases[] = {
        {"source parts/a.tcl; puts [file tail [info script]]", "a.tcl\nb.tcl\na.tcl\nmodel.tcl\n"},
        {"set f [open gm.txt]; fconfigure $f -translation auto; set v [read $f]; close $f; "
         "timeSeries Path 1 -dt 0.1 -values $v; puts [llength $v]",
         "3\n"},
        {"puts [glob -tails -directory parts *.tcl]", "a.tcl\n"},
        {"puts [clock format 0 -format %Y -gmt 1]; puts [package vsatisfies [package require msgcat] 1]",
         "1970\n1\n"},
        {"cd parts; puts [file tail [pwd]]; cd ..; puts [file isfile model.tcl]", "parts\n1\n"},
        {"array set a {x 1}; parray a; puts [info exists env(PATH)]", "a(x) = 1\n1\n"},
    };
    for (const auto& c : cases) {
        ScriptRunner runner(c.first);
        runner.write("parts/a.tcl",
                     "puts [file tail [info script]]\n"
                     "source [file join [file dirname [info script]] deeper b.tcl]\n"
                     "puts [file tail [info script]]\n");
        runner.write("parts/deeper/b.tcl", "puts [file tail [info script]]\n");
        runner.write("gm.txt", "0.0\n0.5\n1.0\n");
        QCOMPARE(runAfterOneNode(runner, c.first, Safe).code, 0);
        QCOMPARE(runner.status(), QString());
        QCOMPARE(runner.log(), c.second);
    }
}

// The evaluation goes on to "node 2" only when nothing ended it.
void SafeInterpreterTest::exitAndWaitsEndOnlyTheEvaluation()
{
    struct Case {
        ScriptTrust trust;
        QByteArray script;
        bool stopped;  // by the watch; otherwise by an exit, which counts as success
    };
    const Case cases[] = {
        {Safe, "interp create c; c eval {catch {exit 7}}", false},
        {Whole, "interp create c; c eval {interp create d; d eval {exit 7}}", false},
        {Safe, "vwait forever", true},
        {Safe, "after 600000", true},
        {Whole, "interp create c; c eval {vwait forever}", true},
    };
    for (const Case& c : cases) {
        ScriptRunner runner(c.script);
        int asked = 0;
        const EvaluationResult r = runAfterOneNode(runner, c.script, c.trust, [&] { return ++asked < 3; });
        QCOMPARE(r.stopped, c.stopped);
        QCOMPARE(r.code, c.stopped ? 1 : 0);
        QCOMPARE(runner.model().nodeTags.size(), 1);
    }
}

QTEST_GUILESS_MAIN(SafeInterpreterTest)
#include "tst_SafeInterpreter.moc"
