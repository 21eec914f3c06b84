#include "ResultTexts.h"

#include <algorithm>

#include "ComponentNames.h"
#include "ModelRecord.h"

namespace {

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

QVector<double> fields(QStringView line, int first, int count)
{
    QVector<double> out;
    readResultFields(line, first, count, &out);
    return out;
}

// The names of the recorded DOFs 1 to 3 of a node, as many as it has.
QStringList dofNames(int ndm, int ndf, bool reaction)
{
    QStringList names;
    if (ndm >= 3)
        names = QStringList{"x", "y", "z"};
    else if (ndm == 2)
        names = QStringList{"x", "y", "rz"};
    else
        names = QStringList{"x"};
    const int count = std::min<int>(names.size(), std::max(ndf, 1));
    QStringList out;
    for (int i = 0; i < count; ++i) {
        const bool rotation = names[i].startsWith(QLatin1Char('r'));
        const QString axis = rotation ? names[i].mid(1) : names[i];
        out << (reaction ? (rotation ? QStringLiteral("M") : QStringLiteral("F")) + axis
                         : (rotation ? QStringLiteral("r") : QStringLiteral("u")) + axis);
    }
    return out;
}

QString stepTitle(const QString& what, int step, QStringView line)
{
    return QStringLiteral("%1 at step %2 (time %3)")
        .arg(what)
        .arg(step)
        .arg(number(fields(line, 0, 1)[0]));
}

}  // namespace

QString legendTitle(const QString& elementType, const QString& response, const QString& attribute,
                    const QString& componentSymbol, ContourValue value, int steps)
{
    QString what = componentSymbol;
    switch (value) {
        case ContourValue::Maximum:
            what = QStringLiteral("max %1").arg(what);
            break;
        case ContourValue::Minimum:
            what = QStringLiteral("min %1").arg(what);
            break;
        case ContourValue::LargestAbsolute:
            what = QStringLiteral("largest |%1|").arg(what);
            break;
        case ContourValue::Step:
            break;
    }
    if (value != ContourValue::Step)
        what += QStringLiteral(" over %1 steps,").arg(steps);
    if (attribute == QLatin1String("Node (averaged)"))
        what += QStringLiteral(" averaged at nodes");
    else if (attribute == QLatin1String("Point Attribute"))
        what += QStringLiteral(" per element node");
    else if (value != ContourValue::Step)
        what += QStringLiteral(" per element");
    return QStringLiteral("%1 %2: %3").arg(elementType, response, what);
}

QString PickedValues::statusText() const
{
    return lines.isEmpty() ? title : title + QStringLiteral(": ") + lines.join(QStringLiteral(", "));
}

QString PickedValues::panelText() const
{
    QString html = QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped());
    if (rows.isEmpty() || columns.isEmpty())
    {
        for (const QString& line : lines)
            html += QStringLiteral("<br>") + line.toHtmlEscaped();
        return html;
    }
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr><td></td>");
    for (const QString& c : columns)
        html += QStringLiteral("<td align=\"right\"><i>%1</i></td>").arg(c.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < rows.size(); ++r) {
        html += QStringLiteral("<tr><td>%1</td>").arg(rows[r].toHtmlEscaped());
        for (int c = 0; c < columns.size(); ++c)
            html += QStringLiteral("<td align=\"right\">%1</td>").arg(number(table.value(r * columns.size() + c)));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

PickedValues nodeValues(const ModelRecord& model, int entry, QStringView dispLine, QStringView reactionLine,
                        int step)
{
    PickedValues out;
    if (entry < 0 || entry >= model.nodeTags.size())
        return out;
    const int tag = model.nodeTags[entry];
    out.title = stepTitle(QStringLiteral("Node %1").arg(tag), step, dispLine);
    const QStringList disp = dofNames(model.ndm, model.ndf, false);
    const QVector<double> u = fields(dispLine, 1 + 3 * entry, disp.size());
    for (int i = 0; i < disp.size(); ++i)
        out.lines << QStringLiteral("%1 = %2").arg(disp[i], number(u[i]));
    if (!model.fixNodeTags.contains(tag))
        return out;
    const QStringList force = dofNames(model.ndm, model.ndf, true);
    const QVector<double> r = fields(reactionLine, 1 + 3 * entry, force.size());
    for (int i = 0; i < force.size(); ++i)
        out.lines << QStringLiteral("reaction %1 = %2").arg(force[i], number(r[i]));
    return out;
}

int elementBlock(const ModelRecord& model, int entry)
{
    if (entry < 0 || entry >= model.elementTypes.size())
        return -1;
    const QString& type = model.elementTypes[entry];
    return int(std::count(model.elementTypes.cbegin(), model.elementTypes.cbegin() + entry, type));
}

PickedValues elementValues(const ModelRecord& model, int entry, int block, const QString& response, int width,
                           QStringView elementLine, int step)
{
    PickedValues out;
    if (entry < 0 || entry >= model.elementTypes.size() || entry >= model.elementTags.size() || block < 0)
        return out;
    const QString& type = model.elementTypes[entry];
    out.title = stepTitle(QStringLiteral("Element %1 %2 %3").arg(model.elementTags[entry]).arg(type, response),
                          step, elementLine);
    const int nodes = entry < model.elementNodeCounts.size() ? model.elementNodeCounts[entry] : 0;
    const ComponentNames names = componentNames(response, nodes, model.ndm, width);
    const QVector<double> v = fields(elementLine, 1 + block * width, width);
    for (int i = 0; i < width; ++i)
        out.lines << QStringLiteral("%1 = %2").arg(names.element[i].symbol, number(v[i]));
    // A share per node: its components down, the places (ends, Gauss points, nodes) across.
    const int share = names.point.size();
    if (share == 0 || nodes < 2)
        return out;
    for (const ComponentName& c : names.point)
        out.rows << c.symbol;
    for (int p = 0; p < nodes; ++p) {
        const QString& label = names.element[p * share].label;
        const QString& prefix = names.point[0].label;
        // "σxx at Gauss point 3" against "σxx": the place.
        const QString place = label.mid(prefix.size()).trimmed();
        out.columns << (names.named && label.startsWith(prefix) && place.startsWith(QLatin1String("at "))
                            ? place.mid(3)
                            : QStringLiteral("node %1").arg(p + 1));
    }
    for (int r = 0; r < share; ++r)
        for (int p = 0; p < nodes; ++p)
            out.table << v[p * share + r];
    return out;
}
