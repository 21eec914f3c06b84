// The element command: finds the element's type in the table and stores its tag and node tags.
#include "ElementTypes.h"
#include "ModelCommands.h"
#include "ModelRecord.h"

namespace modelcommands {

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
    if (type.canonical.isEmpty())
        return TCL_OK;
    return storeElement(type.canonical, type.nodeCount, interp, objc, objv);
}

int storeElement(const QString& canonical, int nodeCount, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    model.elementTypes.append(canonical);
    if (nodeCount < 2 || nodeCount > 8) {
        int tag = 0;
        if (objc > 2 && readInt(objv[2], &tag))
            model.elementTags.append(tag);
        return TCL_OK;
    }
    if (objc < nodeCount + 3)
        return fail(QStringLiteral("TclElementCommand: insufficient arguments"));
    // Built only on failure: this runs once per element of models with 100,000s of them.
    const auto cannotCreate = [&] {
        return fail(QStringLiteral("TclElementCommand -- unable to create element of type : ") +
                    text(objv[1]));
    };
    int tag = 0;
    if (!readInt(objv[2], &tag))
        return cannotCreate();
    model.elementTags.append(tag);
    for (int k = 1; k <= nodeCount; ++k) {
        int node = 0;
        if (!readInt(objv[2 + k], &node))
            return cannotCreate();
        model.elementNodes(k).append(node);
    }
    model.elementNodeCounts.append(nodeCount);
    for (int k = nodeCount + 1; k <= 8; ++k)
        model.elementNodes(k).append(-1);
    return TCL_OK;
}

}  // namespace modelcommands
