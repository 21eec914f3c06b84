#pragma once
// Tcl syntax highlighting for the script editor: Tcl and solver commands, comments, quoted
// strings, procedure-like names and /* block comments */ carried from line to line.

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QVector>

class Highlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    struct HighlightingRule {
        QRegularExpression pattern;
        QTextCharFormat format;
    };

    explicit Highlighter(QTextDocument* parent = nullptr);

    // The rules in order of application; a later rule's format wins.
    const QVector<HighlightingRule>& rules() const { return highlightingRules; }

    static QStringList tclKeywords();
    static QStringList solverCommands();

    // Block states carried from one line to the next.
    // Bits: inside a block comment; a comment whose last line ends in a backslash goes on, as in Tcl.
    enum BlockState { OutsideComment = 0, InsideComment = 1, ContinuedComment = 2 };

protected:
    void highlightBlock(const QString& text) override;

private:
    void addWordRules(const QStringList& words, const QTextCharFormat& format);
    void addLineRule(const QString& pattern, const QTextCharFormat& format,
                     QRegularExpression::PatternOptions extra = QRegularExpression::NoPatternOption);
    int addRule(const QString& pattern, const QTextCharFormat& format,
                QRegularExpression::PatternOptions extra = QRegularExpression::NoPatternOption);
    QVector<int> rulesThatMayMatch(const QString& text) const;
    void applyRule(const HighlightingRule& rule, const QString& text);
    void applyBlockComments(const QString& text);

    QVector<HighlightingRule> highlightingRules;
    QRegularExpression commentStartExpression;
    QRegularExpression commentEndExpression;

    QTextCharFormat tclKeywordFormat;
    QTextCharFormat solverCommandFormat;
    QTextCharFormat classFormat;
    QTextCharFormat singleLineCommentFormat;
    QTextCharFormat multiLineCommentFormat;
    QTextCharFormat quotationFormat;
    QTextCharFormat functionFormat;

    // Nearly 300 word rules would each scan every line. A word rule can only match where its
    // leading ASCII word stands alone in the line, so rules are indexed by that word and only
    // the ones whose word occurs are run; the rest are tried on every line.
    QHash<QString, QVector<int>> rulesByLeadingWord;
    QVector<int> rulesForEveryLine;
};
