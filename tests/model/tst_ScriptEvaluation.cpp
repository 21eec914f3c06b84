// Evaluation of a script file: directory change, "Tolvane.log", result text, status message and
// the place of an error in the script or in the files it sources.
#include <QtTest>

#include "ScriptRunner.h"

class ScriptEvaluationTest : public QObject {
    Q_OBJECT

private slots:
    void changesIntoTheScriptDirectoryWithoutSubstitution();
    void logHoldsTheLastEvaluationOnly();
    void resultAndStatusMessage();
    void unreadableScript();
    void errorLocation();
    void leftOutSummary();
    void scriptsAreReadInTheirOwnEncoding();
    void watchStopsEndlessScripts();
};

// A script that never ends stops where it stands once the watch says so, catch or no catch, and
// keeps what it recorded; a watch that lets it go changes nothing.
void ScriptEvaluationTest::watchStopsEndlessScripts()
{
    struct Case {
        QByteArray script;
        bool endless;
        int line;  // the top-level command running when it stopped
        int nodes, firstTag;
    };
    const Case cases[] = {
        {"model basic -ndm 1\nnode 1 0\nwhile 1 {}\n", true, 3, 1, 1},
        {"model basic -ndm 1\nnode 1 0\nproc spin {} { while 1 { incr x } }\ncatch { spin }\nnode 2 1\n",
         true, 4, 1, 1},
        {"model basic -ndm 1\nfor {set i 0} {$i < 200000} {incr i} { node $i 0 }\n", false, 0, 200000, 0},
    };
    for (const Case& c : cases) {
        ScriptRunner runner(c.script);
        int asked = 0;
        const EvaluationResult r =
            runner.run(c.script, "model.tcl", [&] { return ++asked < 3 || !c.endless; });
        QCOMPARE(r.stopped, c.endless);
        QCOMPARE(r.code, c.endless ? 1 : 0);
        QVERIFY(!c.endless || asked == 3);
        QCOMPARE(runner.status(), c.endless ? QStringLiteral("Interpretation stopped") : QString());
        QCOMPARE(r.errorLine, c.line);
        QCOMPARE(runner.model().nodeTags.size(), c.nodes);
        QCOMPARE(runner.model().nodeTags.first(), c.firstTag);
    }
}

void ScriptEvaluationTest::changesIntoTheScriptDirectoryWithoutSubstitution()
{
    ScriptRunner runner;
    const QString odd = QStringLiteral("frame $HOME [exec touch pwned] \"quoted\" \\x");
    const QByteArray script = "model basic -ndm 1\nnode 1 0\nputs [pwd]\nputs [file exists gm.txt]\n";
    const EvaluationResult r = runner.run(script, odd + "/model.tcl");
    runner.write(odd + "/gm.txt", "1");
    QCOMPARE(r.code, 0);
    const QString dir = QDir(runner.dir()).filePath(odd);
    QCOMPARE(QDir::currentPath(), dir);
    QCOMPARE(QString::fromUtf8(readFile(dir + "/Tolvane.log")), dir + "\n0\n");
    QVERIFY(!QFile::exists(dir + "/pwned"));
    QVERIFY(!QFile::exists(runner.dir() + "/pwned"));
    QCOMPARE(runner.model().nodeTags.size(), 1);
}

void ScriptEvaluationTest::logHoldsTheLastEvaluationOnly()
{
    ScriptRunner runner;
    runner.run("puts first\nputs -nonewline second\n");
    QCOMPARE(runner.log(), QByteArray("first\nsecond"));
    runner.run("puts stderr not-in-log\nputs stdout third\nflush stdout\nputs fourth\nerror x\nputs never\n");
    QCOMPARE(runner.log(), QByteArray("third\nfourth\n"));
    // A script that closes its standard output does not disturb the next evaluation.
    runner.run("puts gone\nclose stdout\n");
    runner.run("puts back\n");
    QCOMPARE(runner.log(), QByteArray("back\n"));

    // A log that cannot be opened discards the output; the script still runs.
    ScriptRunner blocked;
    QVERIFY(QDir(blocked.dir()).mkdir("Tolvane.log"));
    QCOMPARE(blocked.run("model basic -ndm 1\nputs hello\nnode 1 0\n").code, 0);
    QCOMPARE(blocked.model().nodeTags.size(), 1);
}

void ScriptEvaluationTest::resultAndStatusMessage()
{
    ScriptRunner runner;
    const QString text = QStringLiteral("Stütze über Achse Ø3 – 柱");
    EvaluationResult r = runner.run("# Rahmen für Hörsaal\nerror \"" + text.toUtf8() + "\"\n");
    QCOMPARE(r.code, 1);
    QCOMPARE(r.result, text);
    QCOMPARE(runner.status(), text);

    // A caught model failure followed by a Tcl error: the Tcl text wins.
    r = runner.run("model basic -ndm 2\ncatch {node 1 x 0}\nexpr {1 +}\n");
    QCOMPARE(r.code, 1);
    QVERIFY(r.result.startsWith("missing operand"));
    QCOMPARE(runner.status(), r.result);

    // Success leaves no error behind (its empty status and line are checked with the commands).
    r = runner.run("model basic -ndm 2\n");
    QCOMPARE(r.code, 0);
    QVERIFY(r.errorInfo.isEmpty());
}

void ScriptEvaluationTest::unreadableScript()
{
    ScriptRunner runner;
    QDir::setCurrent(runner.dir());
    runner.write("other/keep.txt", "x");
    ModelInterpreter interpreter;
    const EvaluationResult r = evaluateScriptFile(interpreter, runner.dir() + "/other/missing.tcl");
    QVERIFY(!r.readable);
    QVERIFY(r.code != 0);
    QVERIFY(runner.status().contains("missing.tcl"));
    QCOMPARE(QDir::currentPath(), runner.dir());
    QVERIFY(!interpreter.interp());
    QVERIFY(!QFile::exists(runner.dir() + "/other/Tolvane.log"));
}

void ScriptEvaluationTest::errorLocation()
{
    struct Case {
        QByteArray script;
        QString file;
        int line;
    };
    const Case cases[] = {
        {"model basic -ndm 2\n\nnode 1 0 0\nnode 2 x 0\n", "model.tcl", 4},
        {"model basic -ndm 2\nfor {set i 0} {$i < 3} {incr i} {\n  foreach j {0 1} {\n"
         "    if {$i == 2 && $j == 1} {\n      node 1 $i bad\n    } else { node 2 $i 0 }\n  }\n}\n",
         "model.tcl", 5},
        {"model basic -ndm 2\nproc column {tag x} {\n  node $tag $x 0.0\n  node 100 $x\n}\n"
         "foreach k {1 2} {\n  column $k 6.0\n}\n",
         "model.tcl", 4},
        {"model basic -ndm 2\nsource parts/nodes.tcl\nnode 9 0 0\n", "parts/nodes.tcl", 3},
        {"model basic -ndm 2\nsource parts/procs.tcl\nforeach i {1 2} {\n    beam $i\n}\n", "parts/procs.tcl",
         5},
        // Tcl cuts long bodies short in errorInfo; the line must still be found.
        {"model basic -ndm 3\n"
         "# storeys\n"
         "foreach storey {1 2 3 4} {\n"
         "    set z [expr {$storey * 3.5}]   ;# storey height in metres, a long comment to make it long\n"
         "    foreach line {1 2 3} {\n"
         "        set y [expr {($line - 1) * 6.0}] ;# another long comment so that Tcl cuts the quoted text\n"
         "        node [expr {100*$storey + $line}] 0.0 $y $z\n"
         "        if {$storey == 3} { element elasticBeamColumn 1 1 2 3 4 5 6 7 8 nope }\n"
         "        element elasticBeamColumn [expr {100*$storey + $line}] $storey x 1\n"
         "    }\n"
         "}\n",
         "model.tcl", 9},
        // A procedure built from a computed string has no place in the file: its caller is marked.
        {"set body \"error boom\"\neval \"proc made {} {$body}\"\nset a 1\nmade\n", "model.tcl", 4},
    };
    for (const Case& c : cases) {
        ScriptRunner runner(c.script);
        runner.write("parts/nodes.tcl", "node 1 0 0\nnode 2 1 0\nnode 3 y 0\n");
        runner.write("parts/procs.tcl",
                     "# beams\nproc beam {i} {\n    node $i 0 0\n    if {$i == 2} {\n"
                     "        element truss $i 1\n    }\n}\n");
        const EvaluationResult r = runner.run(c.script);
        QCOMPARE(r.code, 1);
        QCOMPARE(r.errorFile, QDir(runner.dir()).filePath(c.file));
        QCOMPARE(r.errorLine, c.line);
    }
}

void ScriptEvaluationTest::leftOutSummary()
{
    const QByteArray shells = "foreach e {1 2 3 4 5 6 7 8} { element ASDShellQ4 $e 1 2 3 4 1 }\n";
    const QByteArray beams = "foreach e {11 12 13 14} { element mixedBeamColumn $e 1 2 1 1 }\n";
    const QPair<QByteArray, QString> cases[] = {
        {"node 1 0 0 0\nelement truss 1 1 1 1 1\n", "Success!"},
        {beams + shells + "element truss 1 1 2 1 1\n",
         "Success! 12 elements of 2 types not drawn: ASDShellQ4 (8), mixedBeamColumn (4)"},
        {"element noSuchType 1 1 2\nelement ASDShellQ4 2 1 2 3 4 1\n",
         "Success! 2 elements of 2 types not drawn: ASDShellQ4 (1), noSuchType (1)"},
        {"node 1 0 0 0\nwipe\n", "Success! The script ends with wipe: the model before it is shown"},
        {shells + "wipe\nmodel basic -ndm 3\nnode 1 0 0 0\n", "Success!"},
        {"wipe\n", "Success!"},
    };
    for (const auto& c : cases) {
        ScriptRunner runner(c.first);
        const EvaluationResult r = runner.run("model basic -ndm 3\n" + c.first);
        QCOMPARE(r.code, 0);
        QCOMPARE(evaluationSuccessText(r), c.second);
        if (c.second.contains("before it"))
            QCOMPARE(runner.model().nodeTags, IntList({1}));
    }
}

void ScriptEvaluationTest::scriptsAreReadInTheirOwnEncoding()
{
    struct Case {
        QByteArray script;  // bytes as saved
        QString encoding;
        QString output;
    };
    const Case cases[] = {
        {"puts \"St\xc3\xbctze \xe6\x9f\xb1\"\n", "UTF-8", "Stütze 柱"},
        // "St\xfctze" is also valid GBK, but a letter after an accent is no Chinese text.
        {"# St\xfctze f\xfcr Ger\xe4t\nputs \"\xb0"
         "C \xa0\xd8\"\n",
         "ISO-8859-1", "°C \u00a0Ø"},
        {"# Tr\xe4ger\r\nputs \"\x80 \x96 \xe9\"\r\n", "windows-1252", "€ – é"},
        {"# \xd6\xf9\xd7\xd3\r\nputs \"\xd6\xd0\xce\xc4\"\r\n", "GBK", "中文"},
    };
    for (const Case& c : cases) {
        ScriptRunner runner(c.script);
        const EvaluationResult r = runner.run(c.script + "model basic -ndm 2\nnode 1 0 0\n");
        QCOMPARE(r.code, 0);
        QCOMPARE(r.encoding, c.encoding);
        QCOMPARE(QString::fromUtf8(runner.log()), c.output + '\n');
        QCOMPARE(runner.model().nodeTags, IntList({1}));
    }
}

QTEST_GUILESS_MAIN(ScriptEvaluationTest)
#include "tst_ScriptEvaluation.moc"
