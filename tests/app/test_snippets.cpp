// Code snippet file: the built-in default and the title/body parsing.
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include "CodeSnippets.h"

namespace {

Snippets parse(const QByteArray& bytes)
{
    QTextStream in(bytes);
    return parseSnippets(in);
}

}  // namespace

class TestSnippets : public QObject {
    Q_OBJECT
private slots:
    // The default is written once, with CR LF line ends, and reads back as one snippet.
    void defaultFileIsWrittenOnceWithCrLf()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("codeSnippet.txt");
        QVERIFY(ensureSnippetFile(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QCOMPARE(bytes, defaultSnippetContent());
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        Snippets s = readSnippetFile(path);
        QCOMPARE(s.titles, QVector<QString>({"Rayleigh Damping"}));
        QCOMPARE(s.bodies.size(), 1);
        QCOMPARE(s.bodies[0].count('\n'), 11);
        QVERIFY(!s.bodies[0].contains('\r'));

        // An existing file is never rewritten.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#>>Mine\nputs hi\n");
        f.close();
        QVERIFY(ensureSnippetFile(path));
        s = readSnippetFile(path);
        QCOMPARE(s.titles, QVector<QString>({"Mine"}));
        QCOMPARE(s.bodies, QVector<QString>({"puts hi\n"}));
    }

    void parsingRules()
    {
        const QByteArray lf = "stray line\n#>>A\nline 1\nline 2\n#>> B\n#>>A\nthird\n#>>Empty at end\n";
        QByteArray crlf = lf;
        crlf.replace("\n", "\r\n");
        for (const QByteArray& bytes : {lf, crlf}) {
            const Snippets s = parse(bytes);
            // Text before the first title belongs to nothing; a leading blank stays in the title.
            QCOMPARE(s.titles, QVector<QString>({"A", " B", "A", "Empty at end"}));
            QCOMPARE(s.bodies, QVector<QString>({"line 1\nline 2\n", "", "third\n", ""}));
        }
        QVERIFY(parse("just text\n").titles.isEmpty());
        QVERIFY(parse("").bodies.isEmpty());
        // Only "#>>" at the very start makes a title.
        QCOMPARE(parse("#>>T\n #>>not a title\n").bodies, QVector<QString>({" #>>not a title\n"}));
    }

    void unreadableFileGivesNoSnippets()
    {
        QTemporaryDir dir;
        QVERIFY(readSnippetFile(dir.filePath("missing.txt")).titles.isEmpty());
        // A folder where the file should be cannot be replaced.
        QVERIFY(QDir(dir.path()).mkdir("codeSnippet.txt"));
        QVERIFY(!ensureSnippetFile(dir.filePath("codeSnippet.txt")));
        QVERIFY(readSnippetFile(dir.filePath("codeSnippet.txt")).titles.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSnippets)
#include "test_snippets.moc"
