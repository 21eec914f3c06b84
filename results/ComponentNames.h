// ComponentNames: what the values of an element's recorded block mean. A recorder writes W numbers
// per element and step; for the common responses a table names them ("Mz at end j", "σxx at Gauss
// point 3"), so that engineers pick and read components by name. Anything the table does not name
// keeps its number ("value 7 of 12").
//
//   const ComponentNames names = componentNames("localForces", 2, 3, 12);
//   names.element[11].label;                      // "Mz at end j"
//   findComponent(names.element, "Mz_j");         // 12 (1-based column)
//   names.point.isEmpty();                        // false: six values per end
#pragma once

#include <QString>
#include <QVector>

struct ComponentName {
    QString name;    // ASCII, as typed on the command line: "Mz_j", "sxx_3", "7"
    QString symbol;  // as drawn in the legend: "Mz_j", "σxx_3", "value 7"
    QString label;   // as listed in a choice: "Mz at end j", "σxx at Gauss point 3", "value 7 of 12"
};

struct ComponentNames {
    bool named = false;              // the table knows this block
    QVector<ComponentName> element;  // one per value of the element's block (W of them)
    // One per value of an element node's share of the block; empty when the block does not split
    // into one share per node (values per element, or Gauss points that are not one per node).
    QVector<ComponentName> point;
};

// The names of the WIDTH values that one element of NODECOUNT nodes writes for RESPONSE in a model
// of NDM dimensions.
ComponentNames componentNames(const QString& response, int nodeCount, int ndm, int width);

// The 1-based position of TEXT in LIST, matched against the name, the symbol or a plain number;
// 0 when nothing matches.
int findComponent(const QVector<ComponentName>& list, const QString& text);

// "Mz_j, Vy_i, ...": the names one could type, for messages.
QString componentNameList(const QVector<ComponentName>& list);
