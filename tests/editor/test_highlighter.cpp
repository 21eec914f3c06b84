// Colours the highlighter gives to chosen positions of Tcl lines, and the block-comment state.
#include "highlighter.h"

#include <QPlainTextDocumentLayout>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

namespace {

QTextCharFormat formatAt(const QTextDocument& doc, int line, int column)
{
    const QTextBlock block = doc.findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length)
            return range.format;
    }
    return QTextCharFormat();
}

QColor colorAt(const QTextDocument& doc, int line, int column)
{
    const QTextCharFormat format = formatAt(doc, line, column);
    return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor();
}

const QColor kQuotation(153, 53, 203);

// Every character of `text` that lies in `line` at `from` has the given colour.
void expectRun(const QTextDocument& doc, int line, int from, int length, const QColor& color)
{
    for (int i = from; i < from + length; ++i)
        QVERIFY2(colorAt(doc, line, i) == color,
                 qPrintable(QStringLiteral("line %1 column %2: %3 instead of %4")
                                .arg(line)
                                .arg(i)
                                .arg(colorAt(doc, line, i).name(), color.name())));
}

// A document laid out as in the editor, highlighted as its text is set.
struct HighlightedDoc {
    QTextDocument doc;
    Highlighter* highlighter;
    explicit HighlightedDoc(const QString& text)
    {
        doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc));
        highlighter = new Highlighter(&doc);
        doc.setPlainText(text);
    }
};

}  // namespace

class TestHighlighter : public QObject {
    Q_OBJECT

private slots:
    void wordRules();
    void everyListedWordIsColoured();
    void blockCommentSpreadsAndRecedes();
    void blockCommentsWithinOneLine();
    void sameColoursAsApplyingEveryRule();
};

void TestHighlighter::wordRules()
{
    const QColor none, blue(Qt::blue), green(Qt::darkGreen), grey(Qt::darkGray), magenta(Qt::darkMagenta);
    HighlightedDoc d(
        QStringLiteral("set a 5; # the span\n"
                       "settle offset set_x node2 setä nodeΩ\n"
                       "puts [set x]; $node\n"
                       "QWidget aQb Q\n"
                       "puts \"a\" and \"b\" x\n"
                       "# say \"hi\" now\n"
                       "puts \"set x\"\n"
                       "proc frameGen {a} {\n"
                       "proc frameGen  {a} {\n"
                       "if {$a} {\n"
                       "name\t{x}"));
    expectRun(d.doc, 0, 0, 3, blue);
    QCOMPARE(formatAt(d.doc, 0, 0).fontWeight(), int(QFont::Bold));
    expectRun(d.doc, 0, 3, 6, none);
    expectRun(d.doc, 0, 9, 10, grey);
    // Whole words only; "setä": QRegExp counted letters of every script as word characters, and so do we.
    expectRun(d.doc, 1, 0, d.doc.findBlockByNumber(1).length() - 1, none);
    expectRun(d.doc, 2, 0, 4, blue);
    expectRun(d.doc, 2, 6, 3, blue);
    expectRun(d.doc, 2, 15, 4, green);
    // Class names.
    expectRun(d.doc, 3, 0, 7, magenta);
    QCOMPARE(formatAt(d.doc, 3, 0).fontWeight(), int(QFont::Bold));
    expectRun(d.doc, 3, 7, 6, none);
    // Quotations are greedy: from the first to the last quote, including what lies between.
    expectRun(d.doc, 4, 0, 4, blue);
    expectRun(d.doc, 4, 5, 11, kQuotation);
    expectRun(d.doc, 4, 16, 2, none);
    // A quotation inside a comment shows over the comment colour.
    expectRun(d.doc, 5, 0, 6, grey);
    expectRun(d.doc, 5, 6, 4, kQuotation);
    expectRun(d.doc, 5, 10, 4, grey);
    expectRun(d.doc, 6, 5, 7, kQuotation);
    // Function names: italic, not bold; the keyword before keeps its look.
    expectRun(d.doc, 7, 0, 4, blue);
    expectRun(d.doc, 7, 5, 8, blue);
    QVERIFY(formatAt(d.doc, 7, 5).fontItalic());
    QCOMPARE(formatAt(d.doc, 7, 5).fontWeight(), int(QFont::Normal));
    QVERIFY(!formatAt(d.doc, 7, 0).fontItalic());
    expectRun(d.doc, 8, 5, 8, none);  // two blanks before the brace: not a function name
    // The function rule comes after the keyword rules and wins over them.
    QVERIFY(formatAt(d.doc, 9, 0).fontItalic());
    QCOMPARE(formatAt(d.doc, 9, 0).fontWeight(), int(QFont::Normal));
    QVERIFY(formatAt(d.doc, 10, 0).fontItalic());  // a tab counts as the one white-space character
}

void TestHighlighter::everyListedWordIsColoured()
{
    const QStringList tcl = Highlighter::tclKeywords();
    const QStringList solver = Highlighter::solverCommands();
    QCOMPARE(tcl.size(), 113);
    QCOMPARE(solver.size(), 185);
    QCOMPARE(solver.count(QStringLiteral("loadConst")), 2);
    QCOMPARE(solver.count(QStringLiteral("constraints")), 2);

    HighlightedDoc d{QString()};
    QCOMPARE(d.highlighter->rules().size(), 113 + 185 + 4);

    QStringList lines;
    for (const QString& word : tcl + solver)
        lines << QStringLiteral("x ") + word + QStringLiteral(" 1");
    d.doc.setPlainText(lines.join(QLatin1Char('\n')));

    const QStringList shared = {"clock", "exit", "load", "string", "trace"};
    for (int i = 0; i < lines.size(); ++i) {
        const QString word = lines.at(i).mid(2, lines.at(i).size() - 4);
        const bool solverColour = solver.contains(word);
        QCOMPARE(solverColour, i >= tcl.size() || shared.contains(word));
        expectRun(d.doc, i, 2, word.size(), solverColour ? QColor(Qt::darkGreen) : QColor(Qt::blue));
        QCOMPARE(formatAt(d.doc, i, 2).fontWeight(), solverColour ? int(QFont::Normal) : int(QFont::Bold));
        expectRun(d.doc, i, 0, 2, QColor());
    }
}

void TestHighlighter::blockCommentSpreadsAndRecedes()
{
    HighlightedDoc d(
        QStringLiteral("node 1 0 0\n"
                       "set a 1 /* xyzab\n"
                       "node 2 0 0 \"q\" # c\n"
                       "still */ node 3\n"
                       "node 4"));
    const QColor red(Qt::red);
    expectRun(d.doc, 0, 0, 4, QColor(Qt::darkGreen));
    expectRun(d.doc, 1, 0, 3, QColor(Qt::blue));
    expectRun(d.doc, 1, 8, 8, red);
    QCOMPARE(d.doc.findBlockByNumber(1).userState(), int(Highlighter::InsideComment));
    expectRun(d.doc, 2, 0, 18, red);
    expectRun(d.doc, 3, 0, 8, red);
    expectRun(d.doc, 3, 9, 4, QColor(Qt::darkGreen));
    QCOMPARE(d.doc.findBlockByNumber(3).userState(), int(Highlighter::OutsideComment));
    expectRun(d.doc, 4, 0, 4, QColor(Qt::darkGreen));

    // Deleting the closer lets the comment run on to the end of the script.
    QTextCursor cursor(d.doc.findBlockByNumber(3));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 6);
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 2);
    cursor.removeSelectedText();
    expectRun(d.doc, 3, 0, 13, red);
    expectRun(d.doc, 4, 0, 6, red);
    QCOMPARE(d.doc.findBlockByNumber(4).userState(), int(Highlighter::InsideComment));

    // Removing the opener recolours everything after it.
    cursor = QTextCursor(d.doc.findBlockByNumber(1));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 8);
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 2);
    cursor.removeSelectedText();
    expectRun(d.doc, 1, 8, 6, QColor());
    expectRun(d.doc, 2, 0, 4, QColor(Qt::darkGreen));
    expectRun(d.doc, 2, 11, 3, kQuotation);
    expectRun(d.doc, 2, 15, 3, QColor(Qt::darkGray));
    expectRun(d.doc, 4, 0, 4, QColor(Qt::darkGreen));
    QCOMPARE(d.doc.findBlockByNumber(4).userState(), int(Highlighter::OutsideComment));
}

void TestHighlighter::blockCommentsWithinOneLine()
{
    HighlightedDoc d(QStringLiteral("a /* b */ node /* \"d\" */ e\n# x /* y\nnode"));
    expectRun(d.doc, 0, 0, 2, QColor());
    expectRun(d.doc, 0, 2, 7, QColor(Qt::red));
    expectRun(d.doc, 0, 10, 4, QColor(Qt::darkGreen));
    expectRun(d.doc, 0, 15, 9, QColor(Qt::red));
    expectRun(d.doc, 0, 25, 1, QColor());
    // Block comments are applied last: an opener inside a hash comment still opens one.
    expectRun(d.doc, 1, 0, 4, QColor(Qt::darkGray));
    expectRun(d.doc, 1, 4, 4, QColor(Qt::red));
    expectRun(d.doc, 2, 0, 4, QColor(Qt::red));
}

void TestHighlighter::sameColoursAsApplyingEveryRule()
{
    // The highlighter skips the word rules whose words are absent from a line; on random lines
    // it must colour exactly as running every rule in order does.
    const QStringList pieces = {"set",      "string", "node", "Safe Base", "Safe",      "platform::shell",
                                "platform", "fix",    "fixX", "QLabel",    "Qx",        "ä",
                                "Ω",        "_",      "1",    " ",         "  ",        "\t",
                                "{",        "}",      "\"",   "#",         "$",         "[",
                                "]",        ";",      ":",    "x",         "loadConst", "settle",
                                "\u00a0",   "\u3000", "é"};
    QRandomGenerator random(20240611);
    QStringList lines;
    for (int i = 0; i < 3000; ++i) {
        QString line;
        const int count = random.bounded(1, 12);
        for (int k = 0; k < count; ++k)
            line += pieces.at(random.bounded(pieces.size()));
        lines << line;
    }
    HighlightedDoc d(lines.join(QLatin1Char('\n')));
    const QVector<Highlighter::HighlightingRule>& rules = d.highlighter->rules();

    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        QVector<QTextCharFormat> expected(line.size());
        for (const Highlighter::HighlightingRule& rule : rules) {
            auto it = rule.pattern.globalMatch(line);
            while (it.hasNext()) {
                const QRegularExpressionMatch m = it.next();
                for (int c = m.capturedStart(); c < m.capturedEnd(); ++c)
                    expected[c] = rule.format;
            }
        }
        for (int c = 0; c < line.size(); ++c) {
            if (formatAt(d.doc, i, c) != expected.at(c))
                QFAIL(qPrintable(QStringLiteral("line \"%1\" column %2").arg(line).arg(c)));
        }
    }
}

QTEST_MAIN(TestHighlighter)
#include "test_highlighter.moc"
