// zorloadresult: reads the result files of a run into the main window's line lists behind a
// small "Progress" dialog, keeps the chosen element response, and finds the contour range
// that one colour scale serves for the whole animation.
//
//   zorloadresult loader;
//   loader.loadNodeDisp(dir + "/TolvaneResult/NodeDisp.file", dispLines);
//   loader.loadElementResult(file, elementLines, "quad", "stresses", "Point Attribute", "12", "1");
//   scene.setScalarRange(loader.contourMin(), loader.contourMax());
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

#include "ResultParsing.h"

class ContourLayoutCache;

class zorloadresult : public QObject {
    Q_OBJECT
public:
    explicit zorloadresult(QObject* parent = nullptr);
    ~zorloadresult() override;

    // Append every line of the file to the list; nothing happens when it cannot be opened.
    void loadNodeDisp(const QString& path, QStringList& lines);
    void loadNodeReaction(const QString& path, QStringList& lines);
    // The rotations (DOFs 4 to 6) of the nodes: read as displacements are, but not measured for
    // the deformation scale.
    void loadNodeRotations(const QString& path, QStringList& lines);
    // Stores the selection, reads the file (an unreadable file empties the list and keeps the
    // range) and scans the contour range over every line.
    void loadElementResult(const QString& path, QStringList& lines, const QString& elementType,
                           const QString& response, const QString& attributePosition,
                           const QString& columnsPerElement, const QString& firstColumn);

    double contourMax() const { return m_contourMax; }
    double contourMin() const { return m_contourMin; }
    QString elementType() const { return m_elementType; }
    QString response() const { return m_response; }
    QString attributePosition() const { return m_attributePosition; }
    QString columnsPerElement() const { return m_columnsPerElement; }
    QString firstColumn() const { return m_firstColumn; }
    // The stored selection and range in the form the parsers take.
    ContourSelection selection() const;
    // Node count of the chosen type's elements in the model (0 when none), and their layout in
    // the scene's group of that count, built once per model.
    int nodeCount() const { return m_nodeCount; }
    const ContourLayout& layout() const;
    // Per chosen value, its extremes over every line of the element file.
    const ContourEnvelope& envelope() const { return m_envelope; }
    // The largest node displacement over every line of the last displacement file read.
    double largestDisplacement() const { return m_largestDisplacement; }
    // The attribute position text of node-averaged values.
    static QString nodeAveragedText();

    // Step `step` (from 1) of the lists: time, then one value per node by the model's ndm.
    static void parseNodeDispLine(const QStringList& lines, int step, double& time, QVector<double>& x,
                                  QVector<double>& y, QVector<double>& z);
    // The same with all three fields of every node, whatever the ndm.
    static void parseNodeReactionLine(const QStringList& lines, int step, double& time, QVector<double>& x,
                                      QVector<double>& y, QVector<double>& z);
    // Normalised contour values of one step for the elements with nodeCount (2, 3, 4 or 8)
    // nodes, in the scene's point order; empty when the chosen type has another node count.
    void elementContourScalars(int nodeCount, const QStringList& lines, int step, QVector<double>& out) const;

private:
    bool loadLines(const QString& path, QStringList& lines, const QString& word);
    ContourSelection makeSelection() const;

    double m_contourMax = 0.0;
    double m_contourMin = 0.0;
    QString m_elementType;
    QString m_response;
    QString m_attributePosition;
    QString m_columnsPerElement;
    QString m_firstColumn;
    int m_nodeCount = 0;
    ContourSelection m_selection;
    ContourEnvelope m_envelope;
    double m_largestDisplacement = 0.0;
    // Contour layouts depend only on the model and the type: built once, not per step.
    std::unique_ptr<ContourLayoutCache> m_layouts;
};
