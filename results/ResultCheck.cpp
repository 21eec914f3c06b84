#include "ResultCheck.h"

#include "ResultParsing.h"

namespace {

// Result files are plain ASCII numbers: anything else is another kind of file.
bool looksLikeNumbers(const QString& line)
{
    for (QChar c : line) {
        const ushort u = c.unicode();
        if (u < 0x20 && u != '\t' && u != '\r')
            return false;
        if (u > 0x7e)
            return false;
    }
    return true;
}

}  // namespace

ResultCheck checkNodeLines(const QString& fileName, const QStringList& lines, int nodeCount)
{
    ResultCheck check;
    const qint64 wanted = 1 + 3 * qint64(nodeCount);
    if (lines.isEmpty()) {
        check.problem = QStringLiteral("%1 is empty: the analysis recorded no step.").arg(fileName);
        return check;
    }
    int good = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const bool text = looksLikeNumbers(lines[i]);
        const int fields = text ? countResultFields(lines[i]) : -1;
        if (fields == wanted) {
            ++good;
            continue;
        }
        if (check.firstBadLine == 0) {
            check.firstBadLine = i + 1;
            if (!text)
                check.problem = QStringLiteral(
                                    "%1, line %2: not a result file (it holds bytes that are not "
                                    "numbers).")
                                    .arg(fileName)
                                    .arg(i + 1);
            else
                check.problem = QStringLiteral(
                                    "%1, line %2: %3 values where this model needs %4 (the time and "
                                    "3 per node).")
                                    .arg(fileName)
                                    .arg(i + 1)
                                    .arg(fields)
                                    .arg(wanted);
        }
    }
    check.usable = good > 0;
    if (check.firstBadLine == 0)
        return check;
    if (!check.usable)
        check.problem += QStringLiteral(" No step fits the model: did the script change after the run?");
    else if (check.firstBadLine == lines.size())
        check.problem += QStringLiteral(
                             " The last step was cut short, probably when the analysis stopped; "
                             "the other %1 steps are shown.")
                             .arg(good);
    else
        check.problem += QStringLiteral(" %1 of %2 steps fit the model; the others are skipped.")
                             .arg(good)
                             .arg(lines.size());
    return check;
}
