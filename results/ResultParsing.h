// ResultParsing: the solver's recorder lines turned into numbers, without widgets. One line
// holds the time, then values separated by single blanks; fields are counted at every blank
// (two blanks make an empty field), a trailing "\r" is not part of the last field, and a field
// that is not a finite decimal number ("nan", "inf", "", "1.#INF") reads as 0 - where that matters
// (a diverged analysis writes such fields), the readers say which fields they were.
//
//   QVector<double> x, y, z; double time = 0;
//   appendNodeValues(line, modelRecord()->ndm, &time, &x, &y, &z);
//   const ContourLayout layout = contourLayout(*modelRecord(), NodeIndex(tags), "quad", 4);
//   contourScalars(elementLine, layout, selection, &s4);
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

#include <functional>
#include <memory>

struct ModelRecord;
class NodeIndex;

// The number in one field; 0 when it is empty, not a number, or not finite, and then *isNumber
// is false.
double readResultNumber(QStringView field, bool* isNumber = nullptr);

// The fields of a node line that are not numbers.
struct NotNumbers {
    int values = 0;      // non-empty fields of the whole line, the time included
    QVector<int> nodes;  // positions of the nodes whose drawn values (ndm of the three) hold one
};

// Appends one value per complete group of three fields after the time: ndm 1 takes the
// first of the three into x (0 into y and z), ndm 2 the first two, ndm 3 all three; any other
// ndm appends nothing. Returns the number of non-empty fields of the line. NOTNUMBERS, when
// given, is filled for this line.
int appendNodeValues(QStringView line, int ndm, double* time, QVector<double>* x, QVector<double>* y,
                     QVector<double>* z, NotNumbers* notNumbers = nullptr);

// Fields FIRST to FIRST + COUNT - 1 of the line (the time is field 0), 0 for those past its end.
void readResultFields(QStringView line, int first, int count, QVector<double>* out);

// The number of non-empty fields of the line, and its first field read as a number.
int countResultFields(QStringView line, double* firstField = nullptr);

// The node count of the first element of this type (walking only complete element entries),
// or 0 when the model holds none.
int firstNodeCount(const ModelRecord& model, const QString& elementType);

// Which element value a contour shows: the loader's selection and range.
struct ContourSelection {
    QString elementType;
    bool pointAttribute = false;  // "Point Attribute": one value per element node
    int columns = 0;              // values one element writes per step (W)
    int firstColumn = 0;          // the selection's first column, 1-based (f)
    double min = 0.0;
    double max = 0.0;
    bool averaged = false;  // "Node (averaged)": element-node values averaged at each node
};

// The drawn elements of one node count, as a contour step walks them: one entry per element
// that the scene's group of that count holds, the block index of the element in the result
// file, or -1 for an element of another type.
struct ContourLayout {
    int nodeCount = 0;
    bool applies = false;  // the chosen type's first element has nodeCount nodes
    int chosenCount = 0;   // entries that are not -1
    QVector<int> blocks;
    // For node averaging: the node position (in nodeTags) of every corner of the chosen elements,
    // nodeCount per chosen entry, and per node position how many such corners meet there.
    QVector<int> corners;
    QVector<int> cornersAtNode;
};

// The layout of node count P for the chosen type; the walk ends at the first element naming
// a node the model does not define, where the scene's build stopped too.
ContourLayout contourLayout(const ModelRecord& model, const NodeIndex& index, const QString& elementType,
                            int nodeCount);

// The layouts of the model record for one type, rebuilt only when the record's node or element
// lists changed: a step of a 150,000-element model must not look every corner up again.
class ContourLayoutCache {
public:
    ContourLayoutCache();
    ~ContourLayoutCache();
    const ContourLayout& layout(const ModelRecord& model, const QString& elementType, int nodeCount);

private:
    bool matches(const ModelRecord& model, const QString& elementType) const;

    QString m_type;
    bool m_filled = false;
    // Shared copies of the lists the layouts were built from: unchanged while still shared.
    QVector<int> m_nodeTags;
    QVector<QString> m_types;
    QVector<int> m_counts;
    QVector<int> m_nodes[8];
    std::unique_ptr<NodeIndex> m_index;
    ContourLayout m_layouts[9];
    bool m_built[9] = {};
};

// The values the selection shows in one line, for the first BLOCKS elements of the chosen type in
// file order: nodeCount per element (the element's value repeated for "Element Attribute"), a field
// beyond the end of the line read as 0. Returns how many of those elements the line holds whole.
int readContourSlots(QStringView line, const ContourSelection& selection, int nodeCount, int blocks,
                     QVector<double>* chosen);

// Replaces every corner value of SLOTS (laid out as readContourSlots gives them for the layout's
// chosen elements) by the mean of the corner values at its node.
void averageAtNodes(const ContourLayout& layout, QVector<double>* chosen, QVector<double>* scratch);

// The group's point values from SLOTS: P normalised values per chosen entry, P values 0.5 for an
// element of another type; empty unless the layout applies. A missing slot reads as 0.
void contourPoints(const ContourLayout& layout, const QVector<double>& chosen, double min, double max,
                   QVector<double>* out);

// What a contour shows: the values of the step on display, or their envelope over all steps.
enum class ContourValue { Step, Maximum, Minimum, LargestAbsolute };

// The extremes of each slot over many lines: the envelopes a contour can show instead of a step.
struct ContourEnvelope {
    QVector<double> max, min, absMax;  // absMax: the largest absolute value, never negative
    int lines = 0;
    int seen = 0;  // chosen that some line held whole; the others read as 0
    const QVector<double>& values(ContourValue value) const;
    // Slots of one line, of which the first WHOLE elements (nodeCount chosen each) count.
    void add(const QVector<double>& chosen, int wholeValues);
    void merge(const ContourEnvelope& other);
};

// Normalised values of one step for one group: empty unless the layout applies, otherwise P
// values per layout entry, 0.5 for other types, (v - min) / (max - min) for the chosen one
// (0.5 when max equals min). A field beyond the end of the line reads as 0.
void contourScalars(QStringView line, const ContourLayout& layout, const ContourSelection& selection,
                    QVector<double>* out);

// Widens [min, max] (which the caller starts at 0, 0) by every value the selection would show
// over all lines; a block cut short by the end of its line is not read. Nothing is read when the
// type is not in the model. progress(i) runs for every line index i that is a multiple of 100.
void scanContourRange(const QStringList& lines, const ModelRecord& model, const ContourSelection& selection,
                      double* min, double* max, const std::function<void(int)>& progress = {},
                      ContourEnvelope* envelope = nullptr);

// Elements of the type among the model's complete elements.
int elementCountOfType(const ModelRecord& model, const QString& elementType);

// The largest displacement over the lines: the length of each node's vector of its first NDM
// values (at most three).
double largestDisplacement(const QStringList& lines, int ndm);
