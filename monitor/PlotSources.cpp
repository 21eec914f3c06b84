#include "PlotSources.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

#include "MonitorCurves.h"

namespace {

const double kMissing = std::numeric_limits<double>::quiet_NaN();

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// The first COUNT blank-separated fields of LINE, fewer when it is shorter. Stops early: a line of
// a large model holds three values per node and only a few are wanted.
QVector<QStringRef> leadingFields(const QString& line, int count)
{
    QVector<QStringRef> fields;
    fields.reserve(count);
    const int n = line.size();
    int i = 0;
    while (fields.size() < count) {
        while (i < n && line[i] == QLatin1Char(' '))
            ++i;
        if (i == n)
            break;
        const int start = i;
        while (i < n && line[i] != QLatin1Char(' '))
            ++i;
        fields.append(line.midRef(start, i - start));
    }
    return fields;
}

// As the result files are read everywhere: what does not parse, or is not finite, is 0.
double number(const QStringRef& field)
{
    bool ok = false;
    const double v = field.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// Where a node's DOF stands in the result lines.
struct Column {
    const QStringList* lines = nullptr;
    int field = 0;
};

bool nodeColumn(const ResultTables& t, int node, int dof, bool reaction, Column* out, QString* error)
{
    const int k = t.nodeTags.indexOf(node);
    if (k < 0)
        return fail(error, QStringLiteral("Node %1 is not in the model.").arg(node));
    if (dof < 1 || dof > 6)
        return fail(error, QStringLiteral("There is no DOF %1.").arg(dof));
    const bool rotation = dof > 3;
    out->lines = rotation ? (reaction ? &t.reaction456 : &t.disp456) : (reaction ? &t.reaction : &t.disp);
    out->field = 3 * k + 1 + (dof - 1) % 3;
    if (rotation && out->lines->isEmpty())
        return fail(error, QStringLiteral("The results hold no values of DOF %1.").arg(dof));
    return true;
}

// The sum of the columns at line I; NaN when a line is too short for one of them.
double sumAt(const QVector<Column>& columns, int i)
{
    QVector<const QStringList*> files;
    for (const Column& c : columns)
        if (!files.contains(c.lines))
            files.append(c.lines);
    double sum = 0.0;
    for (const QStringList* lines : files) {
        if (i >= lines->size())
            return kMissing;
        // The columns of one file are read from one split of its line.
        int widest = 0;
        for (const Column& c : columns)
            if (c.lines == lines)
                widest = std::max(widest, c.field + 1);
        const QVector<QStringRef> fields = leadingFields((*lines)[i], widest);
        for (const Column& c : columns) {
            if (c.lines != lines)
                continue;
            if (c.field >= fields.size())
                return kMissing;
            sum += number(fields[c.field]);
        }
    }
    return sum;
}

// The columns a quantity adds up (with their signs), or false with a reason.
bool columnsOf(const Quantity& q, const ResultTables& t, QVector<Column>* plus, QVector<Column>* minus,
               QString* error)
{
    Column c;
    switch (q.kind) {
        case Quantity::NodeDisp:
        case Quantity::NodeReaction:
            if (!nodeColumn(t, q.node, q.dof, q.kind == Quantity::NodeReaction, &c, error))
                return false;
            plus->append(c);
            return true;
        case Quantity::ReactionSum:
            if (q.nodes.isEmpty())
                return fail(error, QStringLiteral("No nodes to sum the reactions of."));
            for (int node : q.nodes) {
                if (!nodeColumn(t, node, q.dof, true, &c, error))
                    return false;
                plus->append(c);
            }
            return true;
        case Quantity::Drift:
            if (!nodeColumn(t, q.node, q.dof, false, &c, error))
                return false;
            plus->append(c);
            if (!nodeColumn(t, q.lowerNode, q.dof, false, &c, error))
                return false;
            minus->append(c);
            return true;
        case Quantity::ElementValue: {
            if (t.element.isEmpty() || t.elementColumns < 1)
                return fail(error, QStringLiteral("No element results are loaded."));
            const int e = t.elementTags.indexOf(q.element);
            if (e < 0)
                return fail(error, QStringLiteral("Element %1 is not a %2 of the loaded results.")
                                       .arg(q.element)
                                       .arg(t.elementType));
            if (q.column < 1 || q.column > t.elementColumns)
                return fail(error,
                            QStringLiteral("%1 has values 1 to %2.").arg(t.response).arg(t.elementColumns));
            plus->append({&t.element, 1 + e * t.elementColumns + q.column - 1});
            return true;
        }
        case Quantity::Time:
            plus->append({&t.disp, 0});
            return true;
        case Quantity::Step:
            return true;
    }
    return false;
}

}  // namespace

QString elementValueName(const QString&, const QString&, int k)
{
    return QStringLiteral("value %1").arg(k);
}

QString quantityTitle(const Quantity& q, const ResultTables& t, bool item)
{
    const QString dof = QStringLiteral(", DOF %1").arg(q.dof);
    switch (q.kind) {
        case Quantity::Time:
            return QStringLiteral("Time");
        case Quantity::Step:
            return QStringLiteral("Step");
        case Quantity::NodeDisp:
            return (item ? QStringLiteral("Node %1 displacement").arg(q.node)
                         : QStringLiteral("Displacement")) +
                   dof;
        case Quantity::NodeReaction:
            return (item ? QStringLiteral("Node %1 reaction").arg(q.node) : QStringLiteral("Reaction")) + dof;
        case Quantity::ReactionSum:
            return QStringLiteral("Sum of reactions") + dof +
                   (item ? QStringLiteral(" (%1)").arg(q.nodeSet.isEmpty()
                                                           ? QStringLiteral("%1 nodes").arg(q.nodes.size())
                                                           : q.nodeSet)
                         : QString());
        case Quantity::ElementValue:
            return (item ? QStringLiteral("Element %1 ").arg(q.element) : QString()) + t.response +
                   QStringLiteral(", ") + elementValueName(t.elementType, t.response, q.column);
        case Quantity::Drift:
            return (q.height > 0.0 ? QStringLiteral("Drift ratio") : QStringLiteral("Drift")) +
                   (item ? QStringLiteral(" of nodes %1 and %2").arg(q.node).arg(q.lowerNode) : QString()) +
                   dof + (q.height > 0.0 ? QStringLiteral(" (height %1)").arg(q.height) : QString());
    }
    return QString();
}

NodeSet parseNodeSet(const QString& text, const ResultTables& t)
{
    NodeSet set;
    QSet<int> seen;
    const QString simple = text.simplified().toLower();
    if (simple == QLatin1String("all restrained")) {
        for (int tag : t.restrainedNodes)
            if (!seen.contains(tag)) {
                seen.insert(tag);
                set.tags.append(tag);
            }
        if (set.tags.isEmpty())
            set.error = QStringLiteral("The model has no restrained node.");
        return set;
    }
    static const QRegularExpression range(QStringLiteral("^(-?\\d+)(?:-(-?\\d+))?$"));
    const QStringList words = simple.split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        const QRegularExpressionMatch m = range.match(word);
        if (!m.hasMatch()) {
            set.error = QStringLiteral("\"%1\" is neither a node tag nor a range like 1-9.").arg(word);
            return set;
        }
        const int first = m.captured(1).toInt();
        const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
        int found = 0;
        for (int tag : t.nodeTags) {
            if (tag < first || tag > last)
                continue;
            ++found;
            if (!seen.contains(tag)) {
                seen.insert(tag);
                set.tags.append(tag);
            }
        }
        if (found == 0) {
            set.error = first == last ? QStringLiteral("Node %1 is not in the model.").arg(first)
                                      : QStringLiteral("No node of the model lies in %1.").arg(word);
            return set;
        }
    }
    if (set.tags.isEmpty())
        set.error = QStringLiteral("No nodes given.");
    return set;
}

QVector<double> quantityValues(const Quantity& q, const ResultTables& t, const QVector<int>& lines,
                               QString* error)
{
    QVector<Column> plus, minus;
    if (!columnsOf(q, t, &plus, &minus, error))
        return {};
    QVector<double> values;
    values.reserve(lines.size());
    const double divisor = q.kind == Quantity::Drift && q.height > 0.0 ? q.height : 1.0;
    for (int i : lines) {
        if (q.kind == Quantity::Step) {
            values.append(i + 1);
            continue;
        }
        double v = sumAt(plus, i);
        if (!minus.isEmpty())
            v -= sumAt(minus, i);
        values.append(v / divisor);
    }
    return values;
}

PlotCurve xyCurve(const Quantity& x, const Quantity& y, const ResultTables& t, QString* error)
{
    PlotCurve curve;
    curve.xTitle = quantityTitle(x, t);
    curve.yTitle = quantityTitle(y, t);
    const QVector<int> lines = sampledIndices(t.disp.size());
    const QVector<double> xs = quantityValues(x, t, lines, error);
    if (xs.isEmpty() && !lines.isEmpty())
        return curve;
    const QVector<double> ys = quantityValues(y, t, lines, error);
    if (ys.isEmpty() && !lines.isEmpty())
        return curve;
    for (int j = 0; j < lines.size(); ++j) {
        // A line written for another model has no value here: the point is left out.
        if (std::isnan(xs[j]) || std::isnan(ys[j]))
            continue;
        curve.x.append(xs[j]);
        curve.y.append(ys[j]);
        curve.steps.append(lines[j] + 1);
    }
    return curve;
}

std::optional<QPointF> markerAt(const PlotCurve& curve, int step)
{
    if (curve.steps.isEmpty())
        return std::nullopt;
    const auto after = std::lower_bound(curve.steps.begin(), curve.steps.end(), step);
    const int j = int(after - curve.steps.begin());
    if (j == curve.steps.size())
        return QPointF(curve.x.last(), curve.y.last());
    if (curve.steps[j] == step || j == 0)
        return QPointF(curve.x[j], curve.y[j]);
    const double f = double(step - curve.steps[j - 1]) / (curve.steps[j] - curve.steps[j - 1]);
    return QPointF(curve.x[j - 1] + f * (curve.x[j] - curve.x[j - 1]),
                   curve.y[j - 1] + f * (curve.y[j] - curve.y[j - 1]));
}
