#include "ComponentNames.h"

#include <QStringList>

namespace {

// Where one block of names repeats inside the element's values.
enum class Place {
    Once,         // the names cover the whole block
    Ends,         // once per end of a two-node element: "_i", "_j"
    GaussPoints,  // once per Gauss point, as many as the width holds: "_1", "_2", ...
    Nodes,        // once per element node: "_1", "_2", ...
};

struct NameRow {
    const char* responses;  // blank-separated response names sharing the row
    int nodeCount;          // 0: any node count
    int ndm;                // 0: any model dimension
    Place place;
    // Blank-separated names, "symbol|ascii" where the drawn symbol is not ASCII.
    const char* names;
};

// The first row whose responses, node count and dimension match and whose names fill the width
// exactly is the one; rows sharing a response differ in width (a 2-D beam's six global forces, a
// 2-D truss's four).
const NameRow kRows[] = {
    {"localForces", 2, 2, Place::Ends, "N Vy Mz"},
    {"localForces", 2, 3, Place::Ends, "N Vy Vz T My Mz"},
    {"globalForces globalforces", 2, 2, Place::Ends, "Px Py Mz"},
    {"globalForces globalforces", 2, 2, Place::Ends, "Px Py"},
    {"globalForces globalforces", 2, 3, Place::Ends, "Px Py Pz Mx My Mz"},
    {"globalForces globalforces", 2, 3, Place::Ends, "Px Py Pz"},
    {"basicForces", 2, 2, Place::Once, "N Mz_i Mz_j"},
    {"basicForces", 2, 3, Place::Once, "N Mz_i Mz_j My_i My_j T"},
    {"axialForce", 2, 0, Place::Once, "N"},
    {"stresses", 3, 2, Place::GaussPoints, "σxx|sxx σyy|syy τxy|txy"},
    {"stresses", 4, 2, Place::GaussPoints, "σxx|sxx σyy|syy τxy|txy"},
    {"strains", 3, 2, Place::GaussPoints, "εxx|exx εyy|eyy γxy|gxy"},
    {"strains", 4, 2, Place::GaussPoints, "εxx|exx εyy|eyy γxy|gxy"},
    {"stresses", 8, 3, Place::GaussPoints, "σxx|sxx σyy|syy σzz|szz τxy|txy τyz|tyz τxz|txz"},
    {"strains", 8, 3, Place::GaussPoints, "εxx|exx εyy|eyy εzz|ezz γxy|gxy γyz|gyz γxz|gxz"},
    {"stresses forces", 4, 3, Place::GaussPoints, "Nxx Nyy Nxy Mxx Myy Mxy Vxz Vyz"},
    {"strains", 4, 3, Place::GaussPoints, "εxx|exx εyy|eyy γxy|gxy κxx|kxx κyy|kyy κxy|kxy γxz|gxz γyz|gyz"},
    {"globalForces force", 0, 2, Place::Nodes, "Px Py Mz"},
    {"globalForces force", 0, 2, Place::Nodes, "Px Py"},
    {"globalForces force", 0, 3, Place::Nodes, "Px Py Pz Mx My Mz"},
    {"globalForces force", 0, 3, Place::Nodes, "Px Py Pz"},
};

struct BaseName {
    QString symbol;
    QString ascii;
};

QVector<BaseName> baseNames(const char* text)
{
    QVector<BaseName> out;
    for (const QString& word : QString::fromUtf8(text).split(QLatin1Char(' '))) {
        const QStringList parts = word.split(QLatin1Char('|'));
        out.append({parts[0], parts.value(1, parts[0])});
    }
    return out;
}

bool listsResponse(const NameRow& row, const QString& response)
{
    return QString::fromLatin1(row.responses).split(QLatin1Char(' ')).contains(response);
}

// How often the block repeats for this width; 0 when it cannot fill the width.
int repeats(const NameRow& row, int block, int nodeCount, int width)
{
    if (width <= 0 || width % block != 0)
        return 0;
    const int n = width / block;
    switch (row.place) {
        case Place::Once:
            return n == 1 ? 1 : 0;
        case Place::Ends:
            return n == 2 ? 2 : 0;
        case Place::Nodes:
            return n == nodeCount && nodeCount >= 2 ? n : 0;
        case Place::GaussPoints:
            return n;
    }
    return 0;
}

QString placeSuffix(Place place, int k)
{
    return place == Place::Ends ? QString(QLatin1Char(k == 0 ? 'i' : 'j')) : QString::number(k + 1);
}

QString placeWords(Place place, int k)
{
    switch (place) {
        case Place::Ends:
            return QStringLiteral("at end %1").arg(placeSuffix(place, k));
        case Place::GaussPoints:
            return QStringLiteral("at Gauss point %1").arg(k + 1);
        case Place::Nodes:
            return QStringLiteral("at node %1").arg(k + 1);
        case Place::Once:
            break;
    }
    return QString();
}

QVector<ComponentName> numbered(int count, const QString& labelSuffix)
{
    QVector<ComponentName> out;
    for (int i = 1; i <= count; ++i)
        out.append({QString::number(i), QStringLiteral("value %1").arg(i),
                    QStringLiteral("value %1 of %2%3").arg(i).arg(count).arg(labelSuffix)});
    return out;
}

}  // namespace

ComponentNames componentNames(const QString& response, int nodeCount, int ndm, int width)
{
    ComponentNames out;
    for (const NameRow& row : kRows) {
        if ((row.nodeCount != 0 && row.nodeCount != nodeCount) || (row.ndm != 0 && row.ndm != ndm) ||
            !listsResponse(row, response))
            continue;
        const QVector<BaseName> base = baseNames(row.names);
        const int n = repeats(row, base.size(), nodeCount, width);
        if (n == 0)
            continue;
        out.named = true;
        // A single Gauss point needs no number.
        const bool suffixed = row.place != Place::Once && n > 1;
        for (int k = 0; k < n; ++k) {
            for (const BaseName& b : base) {
                if (!suffixed) {
                    out.element.append({b.ascii, b.symbol, b.symbol});
                    continue;
                }
                const QString suffix = QLatin1Char('_') + placeSuffix(row.place, k);
                out.element.append({b.ascii + suffix, b.symbol + suffix,
                                    b.symbol + QLatin1Char(' ') + placeWords(row.place, k)});
            }
        }
        // One share per element node: the ends of a beam, a node's Gauss point, the node itself.
        if (suffixed && n == nodeCount) {
            for (const BaseName& b : base)
                out.point.append({b.ascii, b.symbol, b.symbol});
        }
        return out;
    }
    out.element = numbered(width, QString());
    if (nodeCount > 0 && width > 0 && width % nodeCount == 0)
        out.point = numbered(width / nodeCount, QStringLiteral(" per node"));
    return out;
}

int findComponent(const QVector<ComponentName>& list, const QString& text)
{
    const QString wanted = text.trimmed();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].name == wanted || list[i].symbol == wanted)
            return i + 1;
    }
    // Typed names are forgiving about case when that is not ambiguous ("mz_j").
    int found = 0;
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].name.compare(wanted, Qt::CaseInsensitive) == 0) {
            if (found != 0)
                return 0;
            found = i + 1;
        }
    }
    if (found != 0)
        return found;
    bool ok = false;
    const int column = wanted.toInt(&ok);
    return ok && column >= 1 && column <= list.size() ? column : 0;
}

QString componentNameList(const QVector<ComponentName>& list)
{
    QStringList names;
    for (const ComponentName& c : list)
        names << c.name;
    return names.join(QStringLiteral(", "));
}
