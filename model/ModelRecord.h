// ModelRecord: the one model captured from a script. The interpreter's commands
// append to it; the scene, the run controller and the result loader read it.
//
//   resetModelRecord();
//   evaluate a script ...;
//   for (int i = 0; i < modelRecord()->nodeTags.size(); ++i) use(modelRecord()->nodeX[i]);
#pragma once

#include <QString>
#include <QVector>

struct ModelRecord {
    QString statusMessage;
    int ndf = 0;
    int ndm = 0;

    // Where each item's command stands: the *SourceFiles lists index this list of absolute file
    // paths (-1 when the command ran from no file), the *SourceLines lists give the 1-based line
    // (0 when unknown). One entry per item, parallel to the item's other lists.
    QVector<QString> sourceFiles;

    QVector<int> nodeTags;
    QVector<double> nodeX;
    QVector<double> nodeY;
    QVector<double> nodeZ;
    QVector<int> nodeSourceFiles;
    QVector<int> nodeSourceLines;

    QVector<QString> elementTypes;
    QVector<int> elementTags;
    QVector<int> elementNodeCounts;
    QVector<int> elementNodes1;
    QVector<int> elementNodes2;
    QVector<int> elementNodes3;
    QVector<int> elementNodes4;
    QVector<int> elementNodes5;
    QVector<int> elementNodes6;
    QVector<int> elementNodes7;
    QVector<int> elementNodes8;
    QVector<int> elementSourceFiles;
    QVector<int> elementSourceLines;

    QVector<int> fixNodeTags;
    QVector<int> fixDofs1;
    QVector<int> fixDofs2;
    QVector<int> fixDofs3;
    QVector<int> fixDofs4;
    QVector<int> fixDofs5;
    QVector<int> fixDofs6;
    QVector<int> fixSourceFiles;
    QVector<int> fixSourceLines;

    QVector<int> equalDofRetainedNodes;
    QVector<int> equalDofConstrainedNodes;
    QVector<int> equalDofSourceFiles;
    QVector<int> equalDofSourceLines;
    QVector<int> rigidLinkRetainedNodes;
    QVector<int> rigidLinkConstrainedNodes;
    QVector<int> rigidLinkSourceFiles;
    QVector<int> rigidLinkSourceLines;

    // Coordinate transformations (geomTransf): type as written (Linear, PDelta, Corotational), tag,
    // the vecxz vector in 3-D (0 in 2-D) and the joint offsets of ends i and j (0 when not given).
    QVector<QString> geomTransfTypes;
    QVector<int> geomTransfTags;
    QVector<double> geomTransfVecxzX;
    QVector<double> geomTransfVecxzY;
    QVector<double> geomTransfVecxzZ;
    QVector<double> geomTransfOffsetIX;
    QVector<double> geomTransfOffsetIY;
    QVector<double> geomTransfOffsetIZ;
    QVector<double> geomTransfOffsetJX;
    QVector<double> geomTransfOffsetJY;
    QVector<double> geomTransfOffsetJZ;
    // Per element, parallel to elementTags: the transformation tag its arguments name, -1 for
    // elements that take none (or an argument form the table does not know).
    QVector<int> elementTransformations;

    // Load patterns, in script order: tag and type as written (Plain, UniformExcitation, ...).
    QVector<int> patternTags;
    QVector<QString> patternTypes;
    // Nodal loads (load): node, pattern tag, and the first six of the ndf values (0 beyond ndf).
    QVector<int> nodalLoadNodes;
    QVector<int> nodalLoadPatterns;
    QVector<double> nodalLoadValues1;
    QVector<double> nodalLoadValues2;
    QVector<double> nodalLoadValues3;
    QVector<double> nodalLoadValues4;
    QVector<double> nodalLoadValues5;
    QVector<double> nodalLoadValues6;
    // Member loads (eleLoad -beamUniform / -beamPoint), one entry per element named, in the member's
    // local axes: type "beamUniform" (values per length) or "beamPoint" (forces at
    // elementLoadPositions, a fraction of the length from end i; 0 for uniform loads).
    QVector<int> elementLoadElements;
    QVector<int> elementLoadPatterns;
    QVector<QString> elementLoadTypes;
    QVector<double> elementLoadY;
    QVector<double> elementLoadZ;
    QVector<double> elementLoadX;
    QVector<double> elementLoadPositions;
    // Prescribed displacements (sp): node, dof (1-based), value, pattern tag.
    QVector<int> spNodes;
    QVector<int> spDofs;
    QVector<double> spValues;
    QVector<int> spPatterns;

    int analyzeCount = 0;

    QVector<double> seriesTimes;
    QVector<double> seriesValues;
    double seriesFactor = 1.0;
    double seriesStartTime = 0.0;
    // The -dt of the last path series given as -dt and inline values: their times are not listed.
    double seriesTimeStep = 0.0;
    bool seriesUseLast = false;
    bool seriesPrependZero = false;

    // The K-th node list (K from 1 to 8), so that callers can loop over corners.
    QVector<int>& elementNodes(int k);
    const QVector<int>& elementNodes(int k) const;
    // No node, element, restraint, equalDOF or rigid link: nothing to draw.
    bool isEmpty() const;
    // The fixity list of DOF K (K from 1 to 6).
    QVector<int>& fixDofs(int k);
    const QVector<int>& fixDofs(int k) const;
    // The value list of nodal load DOF K (K from 1 to 6).
    QVector<double>& nodalLoadValues(int k);
    const QVector<double>& nodalLoadValues(int k) const;
};

// The process-wide record; created on first use with "Everything's Okay!".
ModelRecord* modelRecord();

// Sets every field to its reset value (statusMessage becomes empty).
void resetModelRecord();
