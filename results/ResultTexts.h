// ResultTexts: what the window says about loaded results: the legend's title, and the values at a
// picked node or element for the status bar and the small panel that follows the step.
//
//   scene.setLegendTitle(legendTitle("quad", "stresses", "Node (averaged)", "σxx", ContourValue::Step, 10));
//   const PickedValues v = nodeValues(*modelRecord(), entry, dispLines[s - 1], reactionLines[s - 1], s);
//   statusBar->showMessage(v.statusText()); panel->setText(v.panelText());
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "ResultParsing.h"

struct ModelRecord;

// "quad stresses: σxx averaged at nodes", "elasticBeamColumn localForces: largest |Mz_j| over 10 steps,
// per element".
QString legendTitle(const QString& elementType, const QString& response, const QString& attribute,
                    const QString& componentSymbol, ContourValue value, int steps);

struct PickedValues {
    QString title;      // "Node 5 at step 3 (time 0.3)"
    QStringList lines;  // "ux = 0.0534", "reaction Fx = -1000", "Mz_j = 12.5"
    // Where an element's block repeats per end, Gauss point or node: a row per component and a
    // column per place, which the panel shows as a table.
    QStringList rows, columns;
    QVector<double> table;  // row by row
    QString statusText() const;  // one line
    QString panelText() const;   // rich text: the title, then a line per value or the table
};

// The displacements of node entry ENTRY (its position in the record's node lists) in a line of
// the displacement file, and its reactions when a fix restrains it; the recorders write DOFs 1 to 3.
PickedValues nodeValues(const ModelRecord& model, int entry, QStringView dispLine, QStringView reactionLine,
                        int step);

// Which block of its type's element file element entry ENTRY fills: the count of elements of its
// type before it.
int elementBlock(const ModelRecord& model, int entry);

// The WIDTH values of element entry ENTRY in a line of its type's file for RESPONSE, by name.
PickedValues elementValues(const ModelRecord& model, int entry, int block, const QString& response, int width,
                           QStringView elementLine, int step);
