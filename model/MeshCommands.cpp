// block2D and block3D: the solver's structured meshes. The nodes are placed by mapping a regular
// grid of natural coordinates through the quadratic Lagrange shape functions of the block nodes;
// each element is made by evaluating an element command, so it records (or is left out) exactly
// as if the script had written it.
#include <climits>
#include <cstring>

#include "ModelCommands.h"
#include "ModelRecord.h"
#include "SourceLocation.h"

namespace modelcommands {

namespace {

// Natural coordinates of the block nodes, by id - 1. Corners have no zero component; any other
// node lies between the corners that agree with its non-zero components.
const signed char natural2D[9][3] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0},  {-1, 1, 0}, {0, -1, 0},
                                     {1, 0, 0},   {0, 1, 0},  {-1, 0, 0}, {0, 0, 0}};
const signed char natural3D[27][3] = {
    {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},              // 1-4 bottom corners
    {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1},               // 5-8 top corners
    {-1, -1, 0},  {1, -1, 0},  {1, 1, 0},  {-1, 1, 0},               // 9-12 vertical edges
    {0, -1, -1},  {1, 0, -1},  {0, 1, -1}, {-1, 0, -1}, {0, 0, -1},  // 13-16 bottom edges, 17
    {0, -1, 1},   {1, 0, 1},   {0, 1, 1},  {-1, 0, 1},  {0, 0, 1},   // 18-21 top edges, 22
    {0, -1, 0},   {1, 0, 0},   {0, 1, 0},  {-1, 0, 0},  {0, 0, 0}};  // 23-26 side faces, 27

// No mesh may hold more nodes than this: a mistyped count must not exhaust memory.
const qint64 maxBlockNodes = 10000000;

struct Block {
    int dims = 2;              // 2 for block2D, 3 for block3D
    int cells[3] = {1, 1, 1};  // numX, numY, numZ
    int startNode = 0;
    int startElement = 0;
    int elementNodes = 4;  // 4 or 9 (block2D) or 8 (block3D)
    QByteArray elementType, elementArgs;
    double xyz[27][3] = {};  // block node coordinates by id - 1
    bool given[27] = {};
};

int blockNodeCount(const Block& b)
{
    return b.dims == 2 ? 9 : 27;
}

const signed char* naturalOf(const Block& b, int id)
{
    return b.dims == 2 ? natural2D[id] : natural3D[id];
}

// Quadratic Lagrange polynomial through -1, 0, 1 that is 1 at A.
double lagrange(int a, double xi)
{
    return a < 0 ? 0.5 * xi * (xi - 1.0) : a > 0 ? 0.5 * xi * (xi + 1.0) : 1.0 - xi * xi;
}

int blockFailure(const Block& b, const QString& what)
{
    return fail(QStringLiteral("WARNING block%1D - %2\n").arg(b.dims).arg(what));
}

// Reads "id x y [z] id x y [z] ..." with NDM coordinates per node.
int readBlockNodes(Block& b, Tcl_Obj* list, int ndm)
{
    int count = 0;
    Tcl_Obj** words = nullptr;
    if (Tcl_ListObjGetElements(nullptr, list, &count, &words) != TCL_OK || count % (ndm + 1) != 0)
        return blockFailure(b, QStringLiteral("block nodes must be given as id and %1 coordinates").arg(ndm));
    for (int w = 0; w < count; w += ndm + 1) {
        int id = 0;
        if (!readInt(words[w], &id) || id < 1 || id > blockNodeCount(b))
            return blockFailure(b, QStringLiteral("invalid block node id %1").arg(text(words[w])));
        for (int k = 0; k < ndm; ++k)
            if (!readDouble(words[w + 1 + k], &b.xyz[id - 1][k]))
                return blockFailure(b, QStringLiteral("invalid coordinate %1 of block node %2")
                                           .arg(text(words[w + 1 + k]))
                                           .arg(id));
        b.given[id - 1] = true;
    }
    return TCL_OK;
}

// Fills the block nodes not given with the average of the corners they lie between.
int completeBlockNodes(Block& b)
{
    const int total = blockNodeCount(b);
    for (int id = 0; id < total; ++id) {
        const signed char* at = naturalOf(b, id);
        const bool corner = at[0] && at[1] && (b.dims == 2 || at[2]);
        if (corner && !b.given[id])
            return blockFailure(b, QStringLiteral("corner block node %1 is missing").arg(id + 1));
    }
    for (int id = 0; id < total; ++id) {
        if (b.given[id])
            continue;
        const signed char* at = naturalOf(b, id);
        int corners = 0;
        for (int c = 0; c < total; ++c) {
            const signed char* other = naturalOf(b, c);
            bool between = true;
            for (int k = 0; k < b.dims; ++k)
                between = between && other[k] != 0 && (at[k] == 0 || at[k] == other[k]);
            if (!between)
                continue;
            for (int k = 0; k < 3; ++k)
                b.xyz[id][k] += b.xyz[c][k];
            ++corners;
        }
        for (int k = 0; k < 3; ++k)
            b.xyz[id][k] /= corners;
    }
    return TCL_OK;
}

// Appends the (nx+1)(ny+1)(nz+1) mesh nodes, x fastest, then y, then z.
void appendMeshNodes(const Block& b, const SourceLocation& at)
{
    ModelRecord& model = *modelRecord();
    const int total = blockNodeCount(b);
    const int n[3] = {b.cells[0] + 1, b.cells[1] + 1, b.dims == 3 ? b.cells[2] + 1 : 1};
    int tag = b.startNode;
    for (int k = 0; k < n[2]; ++k) {
        for (int j = 0; j < n[1]; ++j) {
            for (int i = 0; i < n[0]; ++i) {
                const double xi[3] = {-1.0 + 2.0 * i / b.cells[0], -1.0 + 2.0 * j / b.cells[1],
                                      b.dims == 3 ? -1.0 + 2.0 * k / b.cells[2] : 0.0};
                double xyz[3] = {0.0, 0.0, 0.0};
                for (int id = 0; id < total; ++id) {
                    const signed char* at = naturalOf(b, id);
                    double shape = 1.0;
                    for (int d = 0; d < b.dims; ++d)
                        shape *= lagrange(at[d], xi[d]);
                    for (int d = 0; d < 3; ++d)
                        xyz[d] += shape * b.xyz[id][d];
                }
                model.nodeTags.append(tag++);
                model.nodeX.append(xyz[0]);
                model.nodeY.append(model.ndm >= 2 ? xyz[1] : 0.0);
                model.nodeZ.append(model.ndm >= 3 ? xyz[2] : 0.0);
                appendSourceLocation(at, model.nodeSourceFiles, model.nodeSourceLines);
            }
        }
    }
}

// The node tags of each element, in the solver's order.
QVector<QVector<int>> elementNodeLists(const Block& b)
{
    const int row = b.cells[0] + 1;
    const int layer = row * (b.cells[1] + 1);
    QVector<QVector<int>> lists;
    if (b.dims == 3) {
        for (int k = 0; k < b.cells[2]; ++k)
            for (int j = 0; j < b.cells[1]; ++j)
                for (int i = 0; i < b.cells[0]; ++i) {
                    const int n1 = b.startNode + i + j * row + k * layer;
                    const int n2 = n1 + 1, n3 = n2 + row, n4 = n1 + row;
                    lists.append({n1, n2, n3, n4, n1 + layer, n2 + layer, n3 + layer, n4 + layer});
                }
    } else if (b.elementNodes == 9) {
        // Corners counter-clockwise, then the mid-sides 1-2, 2-3, 3-4, 4-1, then the centre.
        for (int j = 0; j < b.cells[1]; j += 2)
            for (int i = 0; i < b.cells[0]; i += 2) {
                const int n1 = b.startNode + i + j * row;
                lists.append({n1, n1 + 2, n1 + 2 + 2 * row, n1 + 2 * row, n1 + 1, n1 + 2 + row,
                              n1 + 1 + 2 * row, n1 + row, n1 + 1 + row});
            }
    } else {
        for (int j = 0; j < b.cells[1]; ++j)
            for (int i = 0; i < b.cells[0]; ++i) {
                const int n1 = b.startNode + i + j * row;
                lists.append({n1, n1 + 1, n1 + 1 + row, n1 + row});
            }
    }
    return lists;
}

int makeElements(const Block& b, Tcl_Interp* interp)
{
    const QVector<QVector<int>> lists = elementNodeLists(b);
    for (int e = 0; e < lists.size(); ++e) {
        QByteArray command = "element " + b.elementType + ' ' + QByteArray::number(b.startElement + e);
        for (int node : lists[e])
            command += ' ' + QByteArray::number(node);
        command += ' ' + b.elementArgs;
        if (Tcl_EvalEx(interp, command.constData(), command.size(), 0) != TCL_OK)
            return TCL_ERROR;
    }
    return TCL_OK;
}

// block2D numX numY startNode startEle eleType eleArgs ?-numEleNodes n? blockNodes, and
// block3D numX numY numZ startNode startEle eleType eleArgs blockNodes.
int blockCommand(int dims, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    Block b;
    b.dims = dims;
    const int first = 1 + dims;  // startNode's word
    const bool option = dims == 2 && objc == 10 && std::strcmp(Tcl_GetString(objv[7]), "-numEleNodes") == 0;
    const QString usage = dims == 2 ? QStringLiteral(
                                          "numX? numY? startNode? startEle? eleType? eleArgs? "
                                          "<-numEleNodes 9?> blockNodes?")
                                    : QStringLiteral(
                                          "numX? numY? numZ? startNode? startEle? eleType? eleArgs? "
                                          "blockNodes?");
    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    if (objc != first + 5 && !option)
        return blockFailure(b, QStringLiteral("want: block%1D ").arg(dims) + usage);
    if (model.ndm < dims || model.ndm > 3)
        return blockFailure(b, QStringLiteral("a model of ndm %1 cannot hold it").arg(model.ndm));
    for (int d = 0; d < dims; ++d)
        if (!readInt(objv[1 + d], &b.cells[d]) || b.cells[d] < 1)
            return blockFailure(b, QStringLiteral("invalid number of elements %1").arg(text(objv[1 + d])));
    if (!readInt(objv[first], &b.startNode) || !readInt(objv[first + 1], &b.startElement))
        return blockFailure(b, QStringLiteral("want: block%1D ").arg(dims) + usage);
    b.elementType = Tcl_GetString(objv[first + 2]);
    b.elementArgs = Tcl_GetString(objv[first + 3]);
    b.elementNodes = dims == 3 ? 8 : 4;
    if (option && (!readInt(objv[8], &b.elementNodes) || (b.elementNodes != 4 && b.elementNodes != 9)))
        return blockFailure(b, QStringLiteral("-numEleNodes must be 4 or 9"));
    if (b.elementNodes == 9 && (b.cells[0] % 2 || b.cells[1] % 2))
        return blockFailure(b, QStringLiteral("nine-node elements need even numX and numY"));

    const qint64 nodes = qint64(b.cells[0] + 1) * (b.cells[1] + 1) * (dims == 3 ? b.cells[2] + 1 : 1);
    const qint64 elements = qint64(b.cells[0]) * b.cells[1] * (dims == 3 ? b.cells[2] : 1);
    if (nodes > maxBlockNodes || b.startNode + nodes - 1 > INT_MAX || b.startElement + elements - 1 > INT_MAX)
        return blockFailure(b, QStringLiteral("%1 nodes are too many").arg(nodes));

    if (readBlockNodes(b, objv[objc - 1], model.ndm) != TCL_OK || completeBlockNodes(b) != TCL_OK)
        return TCL_ERROR;
    appendMeshNodes(b, currentSourceLocation(interp, objv[0]));
    return makeElements(b, interp);
}

}  // namespace

int block2DCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    return blockCommand(2, interp, objc, objv);
}

int block3DCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    return blockCommand(3, interp, objc, objv);
}

}  // namespace modelcommands
