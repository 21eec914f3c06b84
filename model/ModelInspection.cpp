#include "ModelInspection.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "ModelRecord.h"

namespace {

struct Places {
    const QVector<int>& files;
    const QVector<int>& lines;
    int items;  // entries the kind holds; a failed script may leave a longer list in the group
};

Places placesOf(const ModelRecord& m, ItemKind kind)
{
    switch (kind) {
        case ItemKind::Node:
            return {m.nodeSourceFiles, m.nodeSourceLines, int(m.nodeTags.size())};
        case ItemKind::Element:
            return {m.elementSourceFiles, m.elementSourceLines, int(m.elementNodeCounts.size())};
        case ItemKind::Restraint:
            return {m.fixSourceFiles, m.fixSourceLines, int(m.fixNodeTags.size())};
        case ItemKind::EqualDof:
            return {m.equalDofSourceFiles, m.equalDofSourceLines,
                    int(std::min(m.equalDofRetainedNodes.size(), m.equalDofConstrainedNodes.size()))};
        case ItemKind::RigidLink:
            break;
    }
    return {m.rigidLinkSourceFiles, m.rigidLinkSourceLines,
            int(std::min(m.rigidLinkRetainedNodes.size(), m.rigidLinkConstrainedNodes.size()))};
}

int entriesWithPlaces(const Places& p)
{
    return std::min({p.files.size(), p.lines.size(), p.items});
}

QString samePathKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString placeText(const SourcePlace& at)
{
    if (at.file.isEmpty())
        return QString();
    return QStringLiteral(" \u2014 %1:%2").arg(QFileInfo(at.file).fileName()).arg(at.line);
}

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

// The fixities of every fix naming TAG, combined: a DOF is fixed when any of them fixes it.
QString fixityText(const ModelRecord& m, int tag)
{
    const int dofs = m.ndf >= 1 && m.ndf <= 6 ? m.ndf : 6;
    QVector<int> fixed(dofs, 0);
    bool restrained = false;
    for (int i = 0; i < m.fixNodeTags.size(); ++i) {
        if (m.fixNodeTags[i] != tag)
            continue;
        restrained = true;
        for (int k = 1; k <= dofs; ++k)
            if (i < m.fixDofs(k).size() && m.fixDofs(k)[i] != 0)
                fixed[k - 1] = 1;
    }
    if (!restrained)
        return QString();
    QStringList flags;
    for (int f : fixed)
        flags << QString::number(f);
    return QStringLiteral(", fixed ") + flags.join(QLatin1Char(' '));
}

QString counted(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

}  // namespace

int LineItems::count() const
{
    return int(nodes.size() + elements.size() + restraints.size() + equalDofs.size() + rigidLinks.size());
}

SourcePlace sourceOf(const ModelRecord& model, ItemKind kind, int entry)
{
    const Places p = placesOf(model, kind);
    if (entry < 0 || entry >= entriesWithPlaces(p))
        return {};
    const int file = p.files[entry];
    if (file < 0 || file >= model.sourceFiles.size())
        return {};
    return {model.sourceFiles[file], p.lines[entry]};
}

LineItems itemsMadeByLine(const ModelRecord& model, const QString& file, int line)
{
    LineItems made;
    made.line = line;
    const QString key = samePathKey(file);
    QVector<bool> matches(model.sourceFiles.size(), false);
    bool any = false;
    for (int f = 0; f < model.sourceFiles.size(); ++f)
        any |= matches[f] = samePathKey(model.sourceFiles[f]) == key;
    if (!any || line < 1)
        return made;

    const QPair<ItemKind, QVector<int>*> kinds[] = {
        {ItemKind::Node, &made.nodes},           {ItemKind::Element, &made.elements},
        {ItemKind::Restraint, &made.restraints}, {ItemKind::EqualDof, &made.equalDofs},
        {ItemKind::RigidLink, &made.rigidLinks},
    };
    for (const auto& kind : kinds) {
        const Places p = placesOf(model, kind.first);
        const int n = entriesWithPlaces(p);
        for (int e = 0; e < n; ++e) {
            const int f = p.files[e];
            if (p.lines[e] == line && f >= 0 && f < matches.size() && matches[f])
                kind.second->append(e);
        }
    }
    return made;
}

QString nodeStatusText(const ModelRecord& model, int entry)
{
    if (entry < 0 || entry >= std::min({model.nodeTags.size(), model.nodeX.size(), model.nodeY.size(),
                                        model.nodeZ.size()}))
        return QString();
    const int tag = model.nodeTags[entry];
    return QStringLiteral("Node %1 (%2, %3, %4)")
               .arg(tag)
               .arg(number(model.nodeX[entry]), number(model.nodeY[entry]), number(model.nodeZ[entry])) +
           placeText(sourceOf(model, ItemKind::Node, entry)) + fixityText(model, tag);
}

QString elementStatusText(const ModelRecord& model, int entry)
{
    if (entry < 0 || entry >= std::min({model.elementNodeCounts.size(), model.elementTags.size(),
                                        model.elementTypes.size()}))
        return QString();
    QStringList nodes;
    const int count = std::clamp(model.elementNodeCounts[entry], 0, 8);
    for (int k = 1; k <= count; ++k)
        if (entry < model.elementNodes(k).size())
            nodes << QString::number(model.elementNodes(k)[entry]);
    return QStringLiteral("Element %1 %2 nodes %3")
               .arg(model.elementTags[entry])
               .arg(model.elementTypes[entry], nodes.join(QLatin1Char(' '))) +
           placeText(sourceOf(model, ItemKind::Element, entry));
}

QString lineItemsText(const LineItems& items)
{
    if (items.count() == 0)
        return QStringLiteral("Line made nothing");
    QStringList parts;
    if (!items.nodes.isEmpty())
        parts << counted(items.nodes.size(), "node", "nodes");
    if (!items.elements.isEmpty())
        parts << counted(items.elements.size(), "element", "elements");
    if (!items.restraints.isEmpty())
        parts << counted(items.restraints.size(), "restraint", "restraints");
    if (!items.equalDofs.isEmpty())
        parts << counted(items.equalDofs.size(), "equalDOF pair", "equalDOF pairs");
    if (!items.rigidLinks.isEmpty())
        parts << counted(items.rigidLinks.size(), "rigid link", "rigid links");
    return QStringLiteral("Line %1 made %2").arg(items.line).arg(parts.join(QStringLiteral(", ")));
}
