// The result-line parsers on arbitrary lines against a small fixed model of every node count.
#include <QString>

#include "FuzzInput.h"
#include "ModelRecord.h"
#include "NodeIndex.h"
#include "ResultParsing.h"

namespace {

void addElement(const char* type, int tag, QVector<int> nodes)
{
    ModelRecord* m = modelRecord();
    m->elementTypes.append(QString::fromLatin1(type));
    m->elementTags.append(tag);
    m->elementNodeCounts.append(nodes.size());
    for (int k = 1; k <= 8; ++k)
        m->elementNodes(k).append(k <= nodes.size() ? nodes[k - 1] : -1);
}

// Nodes 1-8 of a unit cube, one element per node count, two of the 2-node type, and a frame
// that names a node the model lacks (the drawing stops there).
void buildModel()
{
    static bool built = false;
    if (built)
        return;
    built = true;
    resetModelRecord();
    ModelRecord* m = modelRecord();
    m->ndm = 3;
    m->ndf = 6;
    for (int i = 0; i < 8; ++i) {
        m->nodeTags << i + 1;
        m->nodeX << (i & 1);
        m->nodeY << ((i >> 1) & 1);
        m->nodeZ << ((i >> 2) & 1);
    }
    addElement("elasticBeamColumn", 1, {1, 2});
    addElement("truss", 2, {2, 3});
    addElement("Tri31", 3, {1, 2, 3});
    addElement("quad", 4, {1, 2, 4, 3});
    addElement("stdBrick", 5, {1, 2, 4, 3, 5, 6, 8, 7});
    addElement("elasticBeamColumn", 6, {3, 4});
    addElement("elasticBeamColumn", 7, {4, 99});
}

const char* const types[] = {"elasticBeamColumn", "truss", "Tri31", "quad", "stdBrick", "absentType"};
const int nodeCounts[] = {2, 3, 4, 8};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    buildModel();
    FuzzInput in(data, size);
    ContourSelection selection;
    selection.elementType = QString::fromLatin1(types[in.choose(6)]);
    selection.pointAttribute = in.choose(2) == 1;
    selection.columns = in.choose(50) - 2;
    selection.firstColumn = in.choose(50) - 2;
    selection.min = in.choose(3) - 1;
    selection.max = in.choose(3) - 1;
    const QString line = QString::fromLatin1(in.rest());

    double time = 0.0;
    QVector<double> x, y, z;
    for (int ndm = 0; ndm <= 4; ++ndm)
        appendNodeValues(line, ndm, &time, &x, &y, &z);
    countResultFields(line, &time);
    readResultNumber(line);

    const NodeIndex index(modelRecord()->nodeTags);
    QVector<double> out;
    for (int p : nodeCounts) {
        const ContourLayout layout = contourLayout(*modelRecord(), index, selection.elementType, p);
        contourScalars(line, layout, selection, &out);
        if (!out.isEmpty() && out.size() % p != 0)
            __builtin_trap();
    }
    double low = 0.0, high = 0.0;
    scanContourRange(QStringList{line, line.left(line.size() / 2)}, *modelRecord(), selection, &low, &high);
    if (low > 0.0 || high < 0.0)
        __builtin_trap();
    return 0;
}
