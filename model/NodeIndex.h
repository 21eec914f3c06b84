// NodeIndex: where a node tag first occurs in the model's node list, found by a
// hash built once per build instead of a scan per element (models reach 50,000 nodes).
//
//   NodeIndex index(modelRecord()->nodeTags);
//   const int j = index.position(tag);  // -1 when the tag is not a node
#pragma once

#include <QHash>
#include <QSet>
#include <QVector>

class NodeIndex {
public:
    explicit NodeIndex(const QVector<int>& tags);
    // The first position of tag in the list, or -1.
    int position(int tag) const { return m_positions.value(tag, -1); }

private:
    QHash<int, int> m_positions;
};

// The set of tags in a list (restrained nodes), for membership tests.
QSet<int> tagSet(const QVector<int>& tags);
