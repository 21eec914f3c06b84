// The solver's query commands, answered from the model record and the analysis clock so that a
// script's own arithmetic and loops run: tags, coordinates, dimensions, the domain time, and the
// responses of an analysis that never runs here (zeros, as many as the solver would give).
#include <cstring>

#include "InterpreterState.h"
#include "ModelCommands.h"
#include "ModelRecord.h"
#include "ResponseWidth.h"

namespace modelcommands {

namespace {

// Extends INDEX over the tags appended to LIST since it last looked; a repeated tag keeps its
// first position, as the solver keeps the first node of a tag.
int positionOf(QHash<int, int>& index, int& indexed, const QVector<int>& list, int tag)
{
    if (indexed > list.size()) {
        index.clear();
        indexed = 0;
    }
    for (; indexed < list.size(); ++indexed)
        if (!index.contains(list[indexed]))
            index.insert(list[indexed], indexed);
    return index.value(tag, -1);
}

int nodePosition(Tcl_Interp* interp, int tag)
{
    const QVector<int>& tags = modelRecord()->nodeTags;
    InterpreterState* state = interpreterState(interp);
    return state ? positionOf(state->index.nodes, state->index.nodesIndexed, tags, tag) : tags.indexOf(tag);
}

int elementPosition(Tcl_Interp* interp, int tag)
{
    const QVector<int>& tags = modelRecord()->elementTags;
    InterpreterState* state = interpreterState(interp);
    return state ? positionOf(state->index.elements, state->index.elementsIndexed, tags, tag)
                 : tags.indexOf(tag);
}

bool isLeftOutElement(Tcl_Interp* interp, int tag)
{
    const InterpreterState* state = interpreterState(interp);
    return state && state->leftOut.elementTags.contains(tag);
}

int want(const QString& usage)
{
    return fail(QStringLiteral("WARNING want - ") + usage + QLatin1Char('\n'));
}

int noSuch(Tcl_Obj* command, const char* what, int tag)
{
    return fail(
        QStringLiteral("WARNING %1 - no %2 with tag %3\n").arg(text(command), QLatin1String(what)).arg(tag));
}

int setIntList(Tcl_Interp* interp, const QVector<int>& values)
{
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int v : values)
        Tcl_ListObjAppendElement(nullptr, list, Tcl_NewIntObj(v));
    Tcl_SetObjResult(interp, list);
    return TCL_OK;
}

int setZeros(Tcl_Interp* interp, int count)
{
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int i = 0; i < count; ++i)
        Tcl_ListObjAppendElement(nullptr, list, Tcl_NewDoubleObj(0.0));
    Tcl_SetObjResult(interp, list);
    return TCL_OK;
}

// Words 1 and up name a node tag: reads it and finds the node, or fails.
int findNode(Tcl_Interp* interp, int objc, Tcl_Obj* const objv[], const QString& usage, int* position)
{
    int tag = 0;
    if (objc < 2 || !readInt(objv[1], &tag))
        return want(usage);
    *position = nodePosition(interp, tag);
    return *position < 0 ? noSuch(objv[0], "node", tag) : TCL_OK;
}

}  // namespace

// getNodeTags ?-mesh tag?, getEleTags ?-mesh tag?: every recorded tag in script order; the mesh
// option is accepted and, as no mesh is recorded, does not filter.
int getNodeTagsCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    return setIntList(interp, modelRecord()->nodeTags);
}

int getEleTagsCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    return setIntList(interp, modelRecord()->elementTags);
}

int getNumElementsCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    Tcl_SetObjResult(interp, Tcl_NewIntObj(modelRecord()->elementTags.size()));
    return TCL_OK;
}

// nodeCoord tag ?dim?: the node's ndm coordinates, or the one of 1-based dimension dim.
int nodeCoordCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const QString usage = QStringLiteral("nodeCoord nodeTag? <dim?>");
    int position = 0;
    if (findNode(interp, objc, objv, usage, &position) != TCL_OK)
        return TCL_ERROR;
    const ModelRecord& model = *modelRecord();
    const double xyz[3] = {model.nodeX[position], model.nodeY[position], model.nodeZ[position]};
    const int ndm = qBound(1, model.ndm, 3);
    if (objc > 2) {
        int dim = 0;
        if (!readInt(objv[2], &dim))
            return want(usage);
        if (dim < 1 || dim > ndm)
            return fail(QStringLiteral("WARNING nodeCoord - node %1 has no coordinate %2\n")
                            .arg(model.nodeTags[position])
                            .arg(dim));
        Tcl_SetObjResult(interp, Tcl_NewDoubleObj(xyz[dim - 1]));
        return TCL_OK;
    }
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int k = 0; k < ndm; ++k)
        Tcl_ListObjAppendElement(nullptr, list, Tcl_NewDoubleObj(xyz[k]));
    Tcl_SetObjResult(interp, list);
    return TCL_OK;
}

// eleNodes tag: the element's node tags; empty for an element the record leaves out.
int eleNodesCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int tag = 0;
    if (objc < 2 || !readInt(objv[1], &tag))
        return want(QStringLiteral("eleNodes eleTag?"));
    const int position = elementPosition(interp, tag);
    if (position < 0)
        return isLeftOutElement(interp, tag) ? TCL_OK : noSuch(objv[0], "element", tag);
    const ModelRecord& model = *modelRecord();
    QVector<int> nodes;
    for (int k = 1; k <= model.elementNodeCounts[position]; ++k)
        nodes.append(model.elementNodes(k)[position]);
    return setIntList(interp, nodes);
}

// getNDM ?nodeTag?, getNDF ?nodeTag?: the model's dimensions; every node has the model's.
int getNdmCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int position = 0;
    if (objc > 1 && findNode(interp, objc, objv, QStringLiteral("getNDM <nodeTag?>"), &position) != TCL_OK)
        return TCL_ERROR;
    Tcl_SetObjResult(interp, Tcl_NewIntObj(modelRecord()->ndm));
    return TCL_OK;
}

int getNdfCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int position = 0;
    if (objc > 1 && findNode(interp, objc, objv, QStringLiteral("getNDF <nodeTag?>"), &position) != TCL_OK)
        return TCL_ERROR;
    Tcl_SetObjResult(interp, Tcl_NewIntObj(modelRecord()->ndf));
    return TCL_OK;
}

// nodeDOFs tag: the node's ndf equation numbers. No numberer runs here, so they are the plain
// numbering of the nodes in script order: the node at position p has p*ndf to p*ndf + ndf - 1.
int nodeDofsCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int position = 0;
    if (findNode(interp, objc, objv, QStringLiteral("nodeDOFs nodeTag?"), &position) != TCL_OK)
        return TCL_ERROR;
    const int ndf = qBound(0, modelRecord()->ndf, 1000);
    QVector<int> dofs;
    for (int i = 0; i < ndf; ++i)
        dofs.append(int(qint64(position) * ndf + i));
    return setIntList(interp, dofs);
}

// One process of the sequential solver.
int getNpCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    Tcl_SetObjResult(interp, Tcl_NewIntObj(1));
    return TCL_OK;
}

int getPidCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    Tcl_SetObjResult(interp, Tcl_NewIntObj(0));
    return TCL_OK;
}

int getTimeCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    const InterpreterState* state = interpreterState(interp);
    Tcl_SetObjResult(interp, Tcl_NewDoubleObj(state ? state->clock.time : 0.0));
    return TCL_OK;
}

int setTimeCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    double time = 0.0;
    if (objc < 2 || !readDouble(objv[1], &time))
        return want(QStringLiteral("setTime pseudoTime?"));
    if (InterpreterState* state = interpreterState(interp))
        state->clock.time = time;
    return TCL_OK;
}

// loadConst ?-time pseudoTime?: the loads are held; the option also sets the domain time.
int loadConstCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    InterpreterState* state = interpreterState(interp);
    for (int i = 1; i + 1 < objc; ++i) {
        double time = 0.0;
        if (text(objv[i]) != QLatin1String("-time"))
            continue;
        if (!readDouble(objv[i + 1], &time))
            return want(QStringLiteral("loadConst <-time pseudoTime?>"));
        if (state)
            state->clock.time = time;
    }
    return TCL_OK;
}

// integrator LoadControl dLambda ...: the increment that an analyze step without dt adds to the
// time; any other integrator replaces it.
int integratorCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    InterpreterState* state = interpreterState(interp);
    if (!state)
        return TCL_OK;
    double increment = 0.0;
    state->clock.hasLoadIncrement =
        objc > 2 && text(objv[1]) == QLatin1String("LoadControl") && readDouble(objv[2], &increment);
    state->clock.loadIncrement = increment;
    return TCL_OK;
}

// wipeAnalysis removes the integrator, and with it the load increment; the time stays.
int wipeAnalysisCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    if (InterpreterState* state = interpreterState(interp))
        state->clock.hasLoadIncrement = false;
    return TCL_OK;
}

namespace {

// How many values a response query gives. A dof word, where the query takes one, always makes
// it a single value.
enum class Answer {
    NodeValues,     // tag ?dof?: the node's ndf values
    ModeValues,     // tag mode ?dof?: the node's ndf values of one mode
    ElementValues,  // tag ?dof?: node count times ndf values of the element
    NodeValue,      // tag ...: one value about a node
    ElementValue,   // tag ...: one value about an element (its length is not known here)
    Value,          // one number
    Count,          // one integer (iterations, factorisations, equations)
};

struct ResponseQuery {
    const char* name;
    Answer answer;
};

// clang-format off
const ResponseQuery responseQueries[] = {
    {"nodeDisp", Answer::NodeValues}, {"nodeVel", Answer::NodeValues}, {"nodeAccel", Answer::NodeValues},
    {"nodeReaction", Answer::NodeValues}, {"nodeUnbalance", Answer::NodeValues},
    {"nodeMass", Answer::NodeValues}, {"nodeEigenvector", Answer::ModeValues},
    {"nodeResponse", Answer::NodeValue}, {"nodePressure", Answer::NodeValue},
    {"sensNodeDisp", Answer::NodeValue}, {"sensNodeVel", Answer::NodeValue},
    {"sensNodeAccel", Answer::NodeValue}, {"sensNodePressure", Answer::NodeValue},
    {"eleForce", Answer::ElementValues}, {"eleDynamicalForce", Answer::ElementValues},
    {"eleResponse", Answer::ElementValue}, {"localForce", Answer::ElementValue},
    {"basicForce", Answer::ElementValue}, {"basicDeformation", Answer::ElementValue},
    {"basicStiffness", Answer::ElementValue}, {"sectionForce", Answer::ElementValue},
    {"sectionDeformation", Answer::ElementValue}, {"sectionStiffness", Answer::ElementValue},
    {"sectionFlexibility", Answer::ElementValue}, {"sectionLocation", Answer::ElementValue},
    {"sectionWeight", Answer::ElementValue}, {"sectionDisplacement", Answer::ElementValue},
    {"sensSectionForce", Answer::ElementValue},
    {"getLoadFactor", Answer::Value}, {"getParamValue", Answer::Value}, {"sensLambda", Answer::Value},
    {"recorderValue", Answer::Value}, {"totalCPU", Answer::Value}, {"solveCPU", Answer::Value},
    {"accelCPU", Answer::Value},
    {"numIter", Answer::Count}, {"numFact", Answer::Count}, {"testIter", Answer::Count},
    {"systemSize", Answer::Count},
};
// clang-format on

QString usageOf(const ResponseQuery& q)
{
    const QString name = QLatin1String(q.name);
    switch (q.answer) {
        case Answer::NodeValues:
            return name + QStringLiteral(" nodeTag? <dof?>");
        case Answer::ModeValues:
            return name + QStringLiteral(" nodeTag? mode? <dof?>");
        case Answer::NodeValue:
            return name + QStringLiteral(" nodeTag? ...");
        case Answer::ElementValues:
            return name + QStringLiteral(" eleTag? <dof?>");
        default:
            return name + QStringLiteral(" eleTag? ...");
    }
}

// The DOFs of the node at POSITION: the ndf of the builder it was made with.
int nodeDofCount(Tcl_Interp* interp, int position)
{
    const InterpreterState* state = interpreterState(interp);
    const int ndf =
        state && position < state->nodeDofs.size() ? state->nodeDofs[position] : modelRecord()->ndf;
    return qBound(0, ndf, 1000);
}

int nodeQuery(const ResponseQuery& q, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int position = 0;
    if (findNode(interp, objc, objv, usageOf(q), &position) != TCL_OK)
        return TCL_ERROR;
    const int dofWord = q.answer == Answer::ModeValues ? 3 : 2;
    int number = 0;
    if (q.answer == Answer::ModeValues && (objc < 3 || !readInt(objv[2], &number)))
        return want(usageOf(q));
    if (q.answer == Answer::NodeValue)
        return setZeros(interp, 1);
    if (objc > dofWord)
        return readInt(objv[dofWord], &number) ? setZeros(interp, 1) : want(usageOf(q));
    return setZeros(interp, nodeDofCount(interp, position));
}

int elementQuery(const ResponseQuery& q, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int tag = 0;
    if (objc < 2 || !readInt(objv[1], &tag))
        return want(usageOf(q));
    const int position = elementPosition(interp, tag);
    if (position < 0 && !isLeftOutElement(interp, tag))
        return noSuch(objv[0], "element", tag);
    if (position < 0)
        return setZeros(interp, 1);
    const ModelRecord& model = *modelRecord();
    const int ndf = qBound(0, model.ndf, 1000);
    if (q.answer == Answer::ElementValue) {
        // eleResponse names its response in its next word; localForce, basicForce ... are their own.
        const bool named = std::strcmp(q.name, "eleResponse") == 0;
        const QString response = !named ? QLatin1String(q.name) : objc > 2 ? text(objv[2]) : QString();
        const int width = knownElementResponseWidth(model.elementTypes[position],
                                                    model.elementNodeCounts[position], response, ndf);
        return setZeros(interp, width > 0 ? width : 1);
    }
    int dof = 0;
    if (objc > 2)
        return readInt(objv[2], &dof) ? setZeros(interp, 1) : want(usageOf(q));
    return setZeros(interp, model.elementNodeCounts[position] * ndf);
}

int responseQueryCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const auto& q = *static_cast<const ResponseQuery*>(clientData);
    switch (q.answer) {
        case Answer::NodeValues:
        case Answer::ModeValues:
        case Answer::NodeValue:
            return nodeQuery(q, interp, objc, objv);
        case Answer::ElementValues:
        case Answer::ElementValue:
            return elementQuery(q, interp, objc, objv);
        case Answer::Value:
            return setZeros(interp, 1);
        case Answer::Count:
            Tcl_SetObjResult(interp, Tcl_NewIntObj(0));
            return TCL_OK;
    }
    return TCL_OK;
}

}  // namespace

void registerResponseQueries(Tcl_Interp* interp)
{
    for (const ResponseQuery& q : responseQueries)
        Tcl_CreateObjCommand(interp, q.name, responseQueryCommand, const_cast<ResponseQuery*>(&q), nullptr);
}

}  // namespace modelcommands
