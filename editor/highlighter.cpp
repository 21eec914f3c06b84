#include "highlighter.h"

#include <QColor>
#include <QFont>

#include <algorithm>
#include <iterator>

namespace {

// Tcl's own commands and manual pages.
// clang-format off
const char *const kTclKeywords[] = {
    "encoding", "switch", "pid", "info", "dict", "subst", "parray", "incr", "dde", "string",
    "package", "if", "continue", "while", "split", "open", "http", "concat", "vwait", "source",
    "namespace", "history", "close", "variable", "socket", "msgcat", "global", "clock", "upvar",
    "set", "memory", "glob", "chan", "uplevel", "seek", "mathop", "gets", "cd", "update", "scan",
    "mathfunc", "format", "catch", "unset", "Safe Base", "lsort", "foreach", "break", "unload",
    "return", "lset", "for", "binary", "unknown", "rename", "lsearch", "flush", "bgerror",
    "trace", "regsub", "lreverse", "filename", "auto_reset", "tm", "registry", "lreplace",
    "fileevent", "auto_qualify", "time", "regexp", "lrepeat", "file", "auto_mkindex_old", "tell",
    "refchan", "lrange", "fcopy", "auto_mkindex", "tclvars", "read", "load", "fconfigure",
    "auto_load", "tcltest", "re_syntax", "llength", "fblocked", "auto_import",
    "tcl_wordBreakBefore", "pwd", "list", "expr", "auto_execok", "tcl_wordBreakAfter", "puts",
    "linsert", "exit", "array", "tcl_startOfPreviousWord", "proc", "lindex", "exec", "apply",
    "tcl_startOfNextWord", "platform::shell", "lassign", "eval", "append", "tcl_findLibrary",
    "platform", "lappend", "error", "after",
};
// clang-format on

// One entry per registration in the solver interpreter's command table; loadConst and
// constraints are registered twice there and so appear twice here (a repeat changes no colour).
// clang-format off
const char *const kSolverCommands[] = {
    "optimization", "sensNodePressure", "sensSectionForce", "sensNodeAccel", "sensNodeVel",
    "sensLambda", "sensNodeDisp", "sensitivityIntegrator", "sensitivityAlgorithm",
    "computeGradients", "reliability", "wipeReliability", "setMaxOpenFiles", "setParameter",
    "version", "systemSize", "numIter", "numFact", "accelCPU", "solveCPU", "totalCPU",
    "InitialStateAnalysis", "basicStiffness", "basicForce", "basicDeformation", "sectionWeight",
    "sectionLocation", "sectionFlexibility", "sectionStiffness", "sectionDeformation",
    "sectionForce", "getParamValue", "getParamTags", "getNodeTags", "getEleTags",
    "convertTextToBinary", "convertBinaryToText", "stripXML", "neesUpload", "defaultUnits",
    "metaData", "record", "domainChange", "searchPeerNGA", "partition", "recv", "send", "barrier",
    "getPID", "getNP", "quit", "exit", "setPrecision", "logFile", "region",
    "setElementRayleighDampingFactors", "modalDampingQ", "modalDamping", "rayleigh", "stop",
    "start", "nodeBounds", "nodePressure", "nodeMass", "eleNodes", "updateElementDomain",
    "setNodeCoord", "nodeCoord", "reactions", "nodeResponse", "setNodeAccel", "nodeAccel",
    "setNodeVel", "nodeVel", "nodeEigenvector", "nodeUnbalance", "nodeReaction", "setNodeDisp",
    "nodeDisp", "eleResponse", "eleDynamicalForce", "localForce", "eleForce", "remove", "video",
    "eigen", "database", "algorithmRecorder", "recorder", "integrator", "testIter", "testNorms",
    "test", "algorithm", "constraints", "constraints", "numberer", "system", "analysis", "printGID", "printB",
    "printA", "print", "analyze", "build", "getLoadFactor", "getTime", "setTime", "loadConst", "loadConst",
    "initialize", "reset", "wipeAnalysis", "wipe", "trace", "display", "fill", "projection",
    "viewWindow", "port", "plane", "prp", "vup", "vpn", "vrp", "string", "Wsection", "restore",
    "save", "sp", "groundMotion", "imposedMotion", "frictionModel", "ShallowFoundationGen",
    "block3d", "block2d", "timeSeries", "nDMaterial", "uniaxialMaterial", "eleLoad", "load",
    "pattern", "mass", "geomTransf", "section", "setElementRayleighFactors", "loadPackage",
    "updateMaterials", "updateMaterialStage", "hystereticBackbone", "strengthDegradation",
    "unloadingRule", "stiffnessDegradation", "Hfiber", "fiber", "layer", "patch", "block3D",
    "block2D", "TzSimple1Gen", "PySimple1Gen", "mp", "equalDOF_Mixed", "imposedSupportMotion",
    "damageModel", "cyclicModel", "plasticMaterial", "yieldSurface_BC", "limitCurve", "PFEM3D",
    "PFEM2D", "updateParameter", "addToParameter", "parameter", "clock", "rigidLink",
    "rigidDiaphragm", "equalDOF", "element", "fixZ", "fixY", "fixX", "fix", "node", "model",
};
// clang-format on

template <size_t N>
QStringList toList(const char* const (&words)[N])
{
    QStringList list;
    list.reserve(int(N));
    for (const char* word : words)
        list << QString::fromLatin1(word);
    return list;
}

bool isAsciiWordChar(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

// The leading run of ASCII word characters, empty when the text starts otherwise.
QString leadingAsciiWord(const QString& text)
{
    int n = 0;
    while (n < text.size() && isAsciiWordChar(text.at(n)))
        ++n;
    return text.left(n);
}

QTextCharFormat makeFormat(const QColor& color, int weight = QFont::Normal, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontWeight(weight);
    if (italic)
        format.setFontItalic(true);
    return format;
}

}  // namespace

QStringList Highlighter::tclKeywords()
{
    return toList(kTclKeywords);
}

QStringList Highlighter::solverCommands()
{
    return toList(kSolverCommands);
}

Highlighter::Highlighter(QTextDocument* parent) : QSyntaxHighlighter(parent)
{
    tclKeywordFormat = makeFormat(Qt::blue, QFont::Bold);
    solverCommandFormat = makeFormat(Qt::darkGreen, QFont::Normal);
    classFormat = makeFormat(Qt::darkMagenta, QFont::Bold);
    singleLineCommentFormat.setForeground(Qt::darkGray);
    multiLineCommentFormat.setForeground(Qt::red);
    quotationFormat.setForeground(QColor(153, 53, 203, 255));
    functionFormat.setFontItalic(true);
    functionFormat.setForeground(Qt::blue);

    // Solver commands come after Tcl's so that words in both lists end in the solver colour.
    addWordRules(tclKeywords(), tclKeywordFormat);
    addWordRules(solverCommands(), solverCommandFormat);
    addLineRule(QStringLiteral("\\bQ[A-Za-z]+\\b"), classFormat);
    addLineRule(QStringLiteral("#[^\n]*"), singleLineCommentFormat);
    // Greedy: from the first to the last double quote of the line.
    addLineRule(QStringLiteral("\".*\""), quotationFormat, QRegularExpression::DotMatchesEverythingOption);
    addLineRule(QStringLiteral("\\b[A-Za-z0-9_]+(?=\\s\\{)"), functionFormat);

    commentStartExpression = QRegularExpression(QStringLiteral("/\\*"));
    commentEndExpression = QRegularExpression(QStringLiteral("\\*/"));
}

void Highlighter::addWordRules(const QStringList& words, const QTextCharFormat& format)
{
    // "\b<word>\b" can only match where the word's leading ASCII run stands alone in the
    // line: its neighbours there are non-word characters, and every non-ASCII character
    // splits the line into runs as well. So the rule is indexed under that run.
    for (const QString& word : words) {
        const int index = addRule(QStringLiteral("\\b") + word + QStringLiteral("\\b"), format);
        const QString leading = leadingAsciiWord(word);
        if (leading.isEmpty())
            rulesForEveryLine.append(index);
        else
            rulesByLeadingWord[leading].append(index);
    }
}

void Highlighter::addLineRule(const QString& pattern, const QTextCharFormat& format,
                              QRegularExpression::PatternOptions extra)
{
    rulesForEveryLine.append(addRule(pattern, format, extra));
}

int Highlighter::addRule(const QString& pattern, const QTextCharFormat& format,
                         QRegularExpression::PatternOptions extra)
{
    // Unicode properties keep \b and \s as they were in QRegExp: letters and digits of any
    // script are word characters.
    HighlightingRule rule;
    rule.pattern = QRegularExpression(pattern, QRegularExpression::UseUnicodePropertiesOption | extra);
    rule.format = format;
    highlightingRules.append(rule);
    return highlightingRules.size() - 1;
}

QVector<int> Highlighter::rulesThatMayMatch(const QString& text) const
{
    QVector<int> indices = rulesForEveryLine;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        if (!isAsciiWordChar(text.at(i))) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < n && isAsciiWordChar(text.at(i)))
            ++i;
        const auto found = rulesByLeadingWord.constFind(text.mid(start, i - start));
        if (found != rulesByLeadingWord.constEnd())
            indices += found.value();
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

void Highlighter::applyRule(const HighlightingRule& rule, const QString& text)
{
    QRegularExpressionMatch match = rule.pattern.match(text);
    while (match.hasMatch()) {
        const int start = match.capturedStart();
        const int length = match.capturedLength();
        setFormat(start, length, rule.format);
        // None of the patterns matches empty text; guard anyway against looping forever.
        match = rule.pattern.match(text, start + std::max(length, 1));
    }
}

namespace {

// A comment line whose last backslash is not itself escaped carries the comment to the next line.
bool continuesComment(const QString& text, bool inComment)
{
    if (!inComment && !text.trimmed().startsWith(QLatin1Char('#')))
        return false;
    int backslashes = 0;
    for (int i = text.size() - 1; i >= 0 && text.at(i) == QLatin1Char('\\'); --i)
        ++backslashes;
    return backslashes % 2 == 1;
}

}  // namespace

void Highlighter::highlightBlock(const QString& text)
{
    const bool inComment = previousBlockState() > 0 && (previousBlockState() & ContinuedComment);
    if (inComment) {
        setFormat(0, text.size(), singleLineCommentFormat);
    } else {
        for (int index : rulesThatMayMatch(text))
            applyRule(highlightingRules.at(index), text);
    }
    applyBlockComments(text);
    if (continuesComment(text, inComment))
        setCurrentBlockState(currentBlockState() | ContinuedComment);
}

void Highlighter::applyBlockComments(const QString& text)
{
    setCurrentBlockState(OutsideComment);

    int startIndex = 0;
    if (previousBlockState() <= 0 || !(previousBlockState() & InsideComment))
        startIndex = text.indexOf(commentStartExpression);

    while (startIndex >= 0) {
        const QRegularExpressionMatch end = commentEndExpression.match(text, startIndex);
        int commentLength;
        if (!end.hasMatch()) {
            setCurrentBlockState(InsideComment);
            commentLength = text.length() - startIndex;
        } else {
            commentLength = end.capturedEnd() - startIndex;
        }
        setFormat(startIndex, commentLength, multiLineCommentFormat);
        startIndex = text.indexOf(commentStartExpression, startIndex + commentLength);
    }
}
