// Inspection of the model record: which command made an item, and which items a script line
// made, with the status texts the main window shows for them. Plain functions, no widgets.
//
//   const SourcePlace at = sourceOf(*modelRecord(), ItemKind::Element, 12);
//   const LineItems made = itemsMadeByLine(*modelRecord(), "/models/frame.tcl", 40);
//   statusBar->showMessage(lineItemsText(made));
#pragma once

#include <QString>
#include <QVector>

struct ModelRecord;

enum class ItemKind { Node, Element, Restraint, EqualDof, RigidLink };

struct SourcePlace {
    QString file;  // absolute path; empty when unknown
    int line = 0;  // 1-based; 0 when unknown
};

// Where the command that made entry ENTRY of the kind's lists stands.
SourcePlace sourceOf(const ModelRecord& model, ItemKind kind, int entry);

// Everything the commands on one line of one file made: entries, that is positions in the
// record's node, element, fix, equalDOF and rigid-link lists. A loop body line made every item
// of every round.
struct LineItems {
    int line = 0;
    QVector<int> nodes;
    QVector<int> elements;
    QVector<int> restraints;
    QVector<int> equalDofs;
    QVector<int> rigidLinks;
    int count() const;
};

// FILE is compared as a canonical path, so any spelling of the script's path finds its items.
LineItems itemsMadeByLine(const ModelRecord& model, const QString& file, int line);

// "Node 3 (0, 0, 3) — frame.tcl:12", followed by ", fixed 1 1 1 0 0 0" for a restrained node
// (the DOFs that any fix of its tag restrains, ndf of them).
QString nodeStatusText(const ModelRecord& model, int entry);
// "Element 7 elasticBeamColumn nodes 3 4 — frame.tcl:40".
QString elementStatusText(const ModelRecord& model, int entry);
// "Line 40 made 12 elements", "Line 9 made 51 nodes, 51 restraints", or "Line made nothing".
QString lineItemsText(const LineItems& items);
