// Colours the highlighter gives to Tcl lines, and block comments carried from line to line.
#include "highlighter.h"

#include <QPlainTextDocumentLayout>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <tuple>

namespace {

// . none, k Tcl keyword, s solver command, c class, # comment, q quotation, f function name,
// r block comment, ? any other look.
QChar letter(const QTextCharFormat& f)
{
    const std::tuple<QColor, int, bool, char> looks[] = {{Qt::blue, QFont::Bold, false, 'k'},
                                                         {Qt::darkGreen, QFont::Normal, false, 's'},
                                                         {Qt::darkMagenta, QFont::Bold, false, 'c'},
                                                         {Qt::darkGray, QFont::Normal, false, '#'},
                                                         {QColor(153, 53, 203), QFont::Normal, false, 'q'},
                                                         {Qt::blue, QFont::Normal, true, 'f'},
                                                         {Qt::red, QFont::Normal, false, 'r'}};
    if (!f.hasProperty(QTextFormat::ForegroundBrush))
        return QLatin1Char('.');
    for (const auto& [color, weight, italic, look] : looks) {
        if (f.foreground().color() == color && f.fontWeight() == weight && f.fontItalic() == italic)
            return QLatin1Char(look);
    }
    return QLatin1Char('?');
}

// TEXT highlighted as in the editor, then REMOVED deleted (its first occurrence): one letter per
// character, lines as in the document; a line left inside a block comment ends in '>'.
QStringList paint(const QString& text, const QString& removed = QString())
{
    QTextDocument doc;
    doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc));
    new Highlighter(&doc);
    doc.setPlainText(text);
    QTextCursor cursor(&doc);
    cursor.setPosition(text.indexOf(removed));
    cursor.setPosition(text.indexOf(removed) + removed.size(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line(block.length() - 1, QLatin1Char('.'));
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            line.replace(range.start, range.length, QString(range.length, letter(range.format)));
        lines << line + (block.userState() > 0 && (block.userState() & Highlighter::InsideComment) ? ">" : "");
    }
    return lines;
}

}  // namespace

class TestHighlighter : public QObject {
    Q_OBJECT

private slots:
    void colours_data()
    {
        // Lines are joined by '|' in the text and in what is painted.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("painted");
        QTest::addColumn<QString>("removed");  // deleted after highlighting, first occurrence
        const auto row = [](const char* name, const QString& text, const QString& painted,
                            const QString& removed = QString()) {
            QTest::newRow(name) << text << painted << removed;
        };
        row("keyword, comment", "set a 5; # the span", "kkk......##########");
        // "setä": QRegExp counted letters of every script as word characters, and so do we.
        row("whole words only", "settle offset set_x node2 setä nodeΩ",
            "....................................");
        row("in brackets, after $", "puts [set x]; $node", "kkkk..kkk......ssss");
        row("class names", "QWidget aQb Q", "ccccccc......");
        row("quotation is greedy", "puts \"a\" and \"b\" x", "kkkk.qqqqqqqqqqq..");
        row("quotation over comment", "# say \"hi\" now", "######qqqq####");
        row("function name", "proc frameGen {a} {", "kkkk.ffffffff......");
        row("two blanks: no function", "proc frameGen  {a} {", "kkkk................");
        const QString spread = "node 1 0 0|set a 1 /* xyzab|node 2 0 0 \"q\" # c|still */ node 3|node 4";
        row("block comment over lines", spread,
            "ssss......|kkk.....rrrrrrrr>|rrrrrrrrrrrrrrrrrr>|rrrrrrrr.ssss..|ssss..");
        row("deleting the closer: to the end", spread,
            "ssss......|kkk.....rrrrrrrr>|rrrrrrrrrrrrrrrrrr>|rrrrrrrrrrrrr>|rrrrrr>", "*/");
        row("deleting the opener recolours what follows",
            "set a 1 /* xyzab|node 2 0 0 \"q\" # c|still  node 3|node 4",
            "kkk...........|ssss.......qqq.###|.......ssss..|ssss..", "/*");
        row("comment continued by a backslash", "# off \\|file delete x \\\\|node 1",
            "#######|################|ssss..");
        // Block comments are applied last.
        row("opener in a hash comment", "# x /* y|node", "####rrrr>|rrrr>");
    }

    void colours()
    {
        QFETCH(QString, text);
        QFETCH(QString, painted);
        QFETCH(QString, removed);
        QCOMPARE(paint(text.replace(QLatin1Char('|'), QLatin1Char('\n')), removed).join(QLatin1Char('|')),
                 painted);
    }

    void sameColoursAsApplyingEveryRule()
    {
        // The highlighter skips the word rules whose words are absent from a line; on random lines
        // it must colour exactly as running every rule in order does.
        const QStringList pieces = {"set",    "string", "node", "Safe Base", "platform::shell",
                                    "fixX",   "QLabel", "ä",    "_",         "1",
                                    " ",      "\t",     "{",    "}",         "\"",
                                    "#",      "$",      "[",    ";",         "x",
                                    "settle", "\u00a0", "é"};
        QRandomGenerator random(20240611);
        QStringList lines;
        for (int i = 0; i < 2000; ++i) {
            QString line;
            for (int k = random.bounded(1, 12); k > 0; --k)
                line += pieces.at(random.bounded(pieces.size()));
            lines << line;
        }
        const QStringList painted = paint(lines.join(QLatin1Char('\n')));
        const Highlighter highlighter;
        for (int i = 0; i < lines.size(); ++i) {
            QString expected(lines.at(i).size(), QLatin1Char('.'));
            for (const Highlighter::HighlightingRule& rule : highlighter.rules()) {
                for (auto it = rule.pattern.globalMatch(lines.at(i)); it.hasNext();) {
                    const QRegularExpressionMatch m = it.next();
                    expected.replace(m.capturedStart(), m.capturedLength(),
                                     QString(m.capturedLength(), letter(rule.format)));
                }
            }
            QCOMPARE(painted.at(i), expected);
        }
    }
};

QTEST_MAIN(TestHighlighter)
#include "test_highlighter.moc"
