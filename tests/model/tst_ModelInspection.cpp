// Source locations of recorded items and what a script line made: one script with a sourced
// file, a procedure from it, loops, evals, constraints and a mesh block, read the real way.
#include <QtTest>

#include "ModelInspection.h"
#include "ScriptRunner.h"

namespace {

const QByteArray mainScript =
    "model basic -ndm 3 -ndf 6\n"                                                   // 1
    "node 1 0 0 0\n"                                                                // 2
    "source sub/parts.tcl\n"                                                        // 3
    "foreach i {2 3} {\n"                                                           // 4
    "    node $i $i 0 0\n"                                                          // 5
    "}\n"                                                                           // 6
    "eval node 4 4 0 0\n"                                                           // 7
    "node 5 5 0 0\n"                                                                // 8
    "makeColumn 7 1 2\n"                                                            // 9
    "# node 99 0 0 0\n"                                                             // 10
    "set cmd \"node 6 6 0 0\"\n"                                                    // 11
    "eval $cmd\n"                                                                   // 12
    "fix 1 1 1 1 1 1 1\n"                                                           // 13
    "fixX 2 1 1 1 0 0 0\n"                                                          // 14
    "equalDOF 1 2 1 2\n"                                                            // 15
    "rigidLink beam 2 3\n"                                                          // 16
    "block2D 1 1 20 30 quad {1 PlaneStrain 1} {1 0 0 9 2 1 0 9 3 1 1 9 4 0 1 9}\n"  // 17
    "source a.tcl\n"                                                                // 18
    "source b.tcl\n";                                                               // 19

// Loops of the same shape at the same place in two files, run one after the other: the second
// loop's byte code may take the first one's memory.
const QByteArray lookAlikeA = "foreach i {31 32} {\n    node $i 0 0 0\n    set x $i\n}\n";
const QByteArray lookAlikeB = "foreach i {41 42} {\n    set x $i\n    node $i 0 0 0\n}\n";

const QByteArray partsScript =
    "# columns\n"                                                              // 1
    "proc makeColumn {tag i j} {\n"                                            // 2
    "    element elasticBeamColumn $tag $i $j 0.1 2e8 8e7 1e-3 1e-3 1e-3 1\n"  // 3
    "}\n"                                                                      // 4
    "node 10 0 0 3\n";                                                         // 5

int entryOfTag(const QVector<int>& tags, int tag)
{
    return int(tags.indexOf(tag));
}

}  // namespace

class ModelInspectionTest : public QObject {
    Q_OBJECT
    ScriptRunner runner;
    QString mainPath;
    QString partsPath;

private slots:
    void initTestCase()
    {
        partsPath = QFileInfo(runner.write("sub/parts.tcl", partsScript)).canonicalFilePath();
        runner.write("a.tcl", lookAlikeA);
        runner.write("b.tcl", lookAlikeB);
        const EvaluationResult r = runner.run(mainScript, "main.tcl");
        mainPath = QFileInfo(runner.dir() + "/main.tcl").canonicalFilePath();
        QCOMPARE(r.code, 0);
    }

    void locations()
    {
        struct Case {
            const char* name;
            ItemKind kind;
            int entry;
            QString file;  // "parts" for sub/parts.tcl, else the name of a file beside main.tcl
            int line;
        };
        const ModelRecord& m = runner.model();
        const auto node = [&m](int tag) { return entryOfTag(m.nodeTags, tag); };
        const auto element = [&m](int tag) { return entryOfTag(m.elementTags, tag); };
        const Case cases[] = {
            {"top level", ItemKind::Node, node(1), "main", 2},
            {"sourced file", ItemKind::Node, node(10), "parts", 5},
            {"foreach body, first round", ItemKind::Node, node(2), "main", 5},
            {"eval of a built string", ItemKind::Node, node(6), "main", 12},
            {"procedure from a sourced file", ItemKind::Element, element(7), "parts", 3},
            {"fix", ItemKind::Restraint, 0, "main", 13},
            {"equalDOF", ItemKind::EqualDof, 0, "main", 15},
            {"rigidLink", ItemKind::RigidLink, 0, "main", 16},
            {"block2D node", ItemKind::Node, node(20), "main", 17},
            {"look-alike loop, first file", ItemKind::Node, node(32), "a", 2},
            {"look-alike loop, second file", ItemKind::Node, node(42), "b", 3},
        };
        for (const Case& c : cases) {
            const RowName row{c.name};
            QVERIFY(c.entry >= 0);
            const SourcePlace at = sourceOf(m, c.kind, c.entry);
            const QString expected =
                runner.dir() + (c.file == "parts" ? "/sub/parts.tcl" : "/" + c.file + ".tcl");
            QVERIFY2(QFileInfo(at.file).isAbsolute(), qPrintable(at.file));
            QCOMPARE(QFileInfo(at.file).canonicalFilePath(), QFileInfo(expected).canonicalFilePath());
            QCOMPARE(at.line, c.line);
        }
    }

    void locationListsStayParallel()
    {
        const ModelRecord& m = runner.model();
        QCOMPARE(m.nodeSourceLines.size(), m.nodeTags.size());
        QCOMPARE(m.nodeSourceFiles.size(), m.nodeTags.size());
        QCOMPARE(m.elementSourceLines.size(), m.elementTags.size());
        QCOMPARE(m.fixSourceFiles.size(), m.fixNodeTags.size());
        QCOMPARE(m.sourceFiles.size(), 4);  // each file once, however many items it made
    }

    void itemsOfALine()
    {
        const struct {
            const char* name;
            bool inMain;  // else in sub/parts.tcl
            int line;
            QString text;
        } cases[] = {
            {"loop body", true, 5, "Line 5 made 2 nodes"},
            {"comment", true, 10, "Line made nothing"},
            {"procedure body", false, 3, "Line 3 made 1 element"},
            {"mesh block", true, 17, "Line 17 made 4 nodes, 1 element"},
            {"same line number, other file", false, 5, "Line 5 made 1 node"},
        };
        for (const auto& c : cases) {
            const RowName row{c.name};
            const LineItems made = itemsMadeByLine(runner.model(), c.inMain ? mainPath : partsPath, c.line);
            QCOMPARE(lineItemsText(made), c.text);
        }
        // Entries in the order they were made, found under an uncleaned path too.
        const ModelRecord& m = runner.model();
        const LineItems made = itemsMadeByLine(m, runner.dir() + "/./main.tcl", 5);
        QCOMPARE(made.nodes, QVector<int>({entryOfTag(m.nodeTags, 2), entryOfTag(m.nodeTags, 3)}));
    }

    void statusTexts()
    {
        const ModelRecord& m = runner.model();
        const auto node = [&m](int tag) { return nodeStatusText(m, entryOfTag(m.nodeTags, tag)); };
        const auto element = [&m](int tag) { return elementStatusText(m, entryOfTag(m.elementTags, tag)); };
        // A free node, a fixed one, an element and one of a mesh block.
        QCOMPARE(node(5), QStringLiteral("Node 5 (5, 0, 0) \u2014 main.tcl:8"));
        QCOMPARE(node(1), QStringLiteral("Node 1 (0, 0, 0) \u2014 main.tcl:2, fixed 1 1 1 1 1 1"));
        QCOMPARE(element(7), QStringLiteral("Element 7 elasticBeamColumn nodes 1 2 \u2014 parts.tcl:3"));
        QCOMPARE(element(30), QStringLiteral("Element 30 quad nodes 20 21 23 22 \u2014 main.tcl:17"));
        // Without a known place the text leaves it out.
        ModelRecord bare;
        bare.nodeTags = {4};
        bare.nodeX = {1.5};
        bare.nodeY = {-2};
        bare.nodeZ = {0};
        QCOMPARE(nodeStatusText(bare, 0), QStringLiteral("Node 4 (1.5, -2, 0)"));
    }
};

QTEST_GUILESS_MAIN(ModelInspectionTest)
#include "tst_ModelInspection.moc"
