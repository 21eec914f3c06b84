#include "NodeIndex.h"

NodeIndex::NodeIndex(const QVector<int>& tags)
{
    m_positions.reserve(tags.size());
    for (int i = 0; i < tags.size(); ++i) {
        // A repeated tag keeps its first position.
        if (!m_positions.contains(tags[i]))
            m_positions.insert(tags[i], i);
    }
}

QSet<int> tagSet(const QVector<int>& tags)
{
    QSet<int> set;
    set.reserve(tags.size());
    for (int tag : tags)
        set.insert(tag);
    return set;
}
