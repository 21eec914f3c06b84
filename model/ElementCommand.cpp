// The element command: finds the element's type in the table and stores its tag and node tags.
#include "ElementTypes.h"
#include "InterpreterState.h"
#include "LoadCommands.h"
#include "ModelCommands.h"
#include "ModelRecord.h"
#include "SourceLocation.h"

namespace modelcommands {

namespace {

// An element the solver builds but the record cannot hold: counted for the summary, and its tag
// kept so that queries about it do not stop the script.
void noteLeftOut(Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    InterpreterState* state = interpreterState(interp);
    if (!state || objc < 2)
        return;
    ++state->leftOut.elementTypes[text(objv[1])];
    int tag = 0;
    if (objc > 2 && readInt(objv[2], &tag))
        state->leftOut.elementTags.insert(tag);
}

}  // namespace

int elementCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (modelRecord()->ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    if (objc < 2)
        return fail(
            QStringLiteral("WARNING need to specify an element type\n"
                           "Want: element eleType <specific element args> .. "
                           "see manual for valid eleTypes & arguments\n"));
    const ElementType& type = lookupElementType(Tcl_GetString(objv[1]));
    if (type.canonical.isEmpty()) {
        noteLeftOut(interp, objc, objv);
        return TCL_OK;
    }
    return storeElement(type.canonical, type.nodeCount, interp, objc, objv);
}

int storeElement(const QString& canonical, int nodeCount, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (nodeCount < 2 || nodeCount > 8) {
        noteLeftOut(interp, objc, objv);
        return TCL_OK;
    }
    if (objc < nodeCount + 3)
        return fail(QStringLiteral("TclElementCommand: insufficient arguments"));
    // Every word is read before anything is appended, so the element lists stay parallel.
    int tag = 0;
    int nodes[8];
    bool readable = readInt(objv[2], &tag);
    for (int k = 0; readable && k < nodeCount; ++k)
        readable = readInt(objv[3 + k], &nodes[k]);
    if (!readable)
        return fail(QStringLiteral("TclElementCommand -- unable to create element of type : ") +
                    text(objv[1]));

    ModelRecord& model = *modelRecord();
    model.elementTypes.append(canonical);
    model.elementTags.append(tag);
    for (int k = 1; k <= 8; ++k)
        model.elementNodes(k).append(k <= nodeCount ? nodes[k - 1] : -1);
    appendSourceLocation(currentSourceLocation(interp, objv[0]), model.elementSourceFiles,
                         model.elementSourceLines);
    model.elementTransformations.append(
        elementTransformationTag(canonical, model.ndm, nodeCount, objc, objv));
    // Appended last: the scene walks this list, so it never meets a partial element.
    model.elementNodeCounts.append(nodeCount);
    return TCL_OK;
}

}  // namespace modelcommands
