// PlotSources: the quantities a plot shows over the result steps (a node's displacement or
// reaction, a sum of reactions, an element value, a drift, time, step), read from the stored
// recorder lines without a window, and the curve of one quantity against another.
//
//   Quantity roof{Quantity::NodeDisp}; roof.node = 305; roof.dof = 1;
//   Quantity shear{Quantity::ReactionSum}; shear.nodes = parseNodeSet("all restrained", tables).tags;
//   QString error;
//   const PlotCurve pushover = xyCurve(roof, shear, tables, &error);
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// What the plots read: the loaded recorder lines and the model's lists that give their columns.
struct ResultTables {
    QStringList disp;         // time, then DOFs 1-3 of every node
    QStringList reaction;     // the same layout, reactions
    QStringList disp456;      // time, then DOFs 4-6 of every node; empty unless recorded
    QStringList reaction456;  // the same, reactions
    QStringList element;      // the loaded element response: W values per element
    QVector<int> nodeTags;    // the node order of the node lines
    QVector<int> restrainedNodes;
    QVector<int> elementTags;  // the elements of the loaded type, in the order of their blocks
    QString elementType;
    QString response;
    int elementColumns = 0;  // W
    int ndf = 3;
};

struct Quantity {
    enum Kind { Time, Step, NodeDisp, NodeReaction, ReactionSum, ElementValue, Drift };
    Kind kind = Time;
    int node = 0;       // NodeDisp, NodeReaction; Drift: the upper node
    int lowerNode = 0;  // Drift
    int dof = 1;
    QVector<int> nodes;   // ReactionSum
    QString nodeSet;      // ReactionSum: the set as typed, for the title
    int element = 0;      // ElementValue: the element's tag
    int column = 1;       // ElementValue: value K of the element's block, from 1
    double height = 0.0;  // Drift: the difference is divided by it when above 0
};

// The name of value K of an element response. One place, so that plots name element values as
// the result display does.
QString elementValueName(const QString& elementType, const QString& response, int k);

// An axis title: "Displacement, DOF 1"; with ITEM the node, nodes or element are named too.
QString quantityTitle(const Quantity& q, const ResultTables& tables, bool item = true);

// A node set as typed: tags and ranges ("1 2 5-9", commas allowed) of model nodes, or
// "all restrained". Tags come once each, in the order given.
struct NodeSet {
    QVector<int> tags;
    QString error;
};
NodeSet parseNodeSet(const QString& text, const ResultTables& tables);

// The value of Q at each of the given result lines (0-based); NaN where a line is too short.
// An empty list with a reason when Q cannot be read from these results.
QVector<double> quantityValues(const Quantity& q, const ResultTables& tables, const QVector<int>& lines,
                               QString* error);

// One curve of a plot: a point per sampled result step that both quantities have.
struct PlotCurve {
    QString xTitle;
    QString yTitle;
    QVector<double> x;
    QVector<double> y;
    QVector<int> steps;  // the result step of each point, from 1, ascending
};

// Y against X over the steps of the results, sampled as every monitor curve is. Empty with a
// reason when either quantity cannot be read.
PlotCurve xyCurve(const Quantity& x, const Quantity& y, const ResultTables& tables, QString* error);

// Where the marker of STEP sits on the curve: its point, between the points of the sampled steps
// around it, or at the nearest end. None for a curve without points.
std::optional<QPointF> markerAt(const PlotCurve& curve, int step);
