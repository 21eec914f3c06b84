// The fix, equalDOF and rigidLink commands: restraints and multi-point constraints.
#include "ModelCommands.h"
#include "ModelRecord.h"

namespace modelcommands {

int fixCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    const int ndf = model.ndf;
    if (objc < ndf + 2)
        return fail(QStringLiteral("WARNING bad command - want: fix nodeId %1 [0,1] conditions").arg(ndf));
    int tag = 0;
    if (!readInt(objv[1], &tag))
        return fail(QStringLiteral("WARNING invalid nodeId - fix nodeId %1 [0,1] conditions\n").arg(ndf));
    model.fixNodeTags.append(tag);
    for (int i = 1; i <= ndf; ++i) {
        int fixity = 0;
        if (!readInt(objv[1 + i], &fixity))
            return fail(
                QStringLiteral("WARNING invalid fixity %1 - load %2 %3 fixities\n").arg(i).arg(tag).arg(ndf));
        if (i <= 6)
            model.fixDofs(i).append(fixity);
    }
    for (int i = qMax(ndf, 0) + 1; i <= 6; ++i)
        model.fixDofs(i).append(0);
    return TCL_OK;
}

int equalDofCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    const QString usage = QStringLiteral("equalDOF RnodeID? CnodeID? DOF1? DOF2? ...");
    if (objc < 4)
        return fail(QStringLiteral("WARNING bad command - want: ") + usage);
    int retained = 0;
    if (!readInt(objv[1], &retained))
        return fail(QStringLiteral("WARNING invalid RnodeID: %1 %2").arg(text(objv[1]), usage));
    model.equalDofRetainedNodes.append(retained);
    int constrained = 0;
    if (!readInt(objv[2], &constrained))
        return fail(QStringLiteral("WARNING invalid CnodeID: %1 %2").arg(text(objv[2]), usage));
    model.equalDofConstrainedNodes.append(constrained);
    return TCL_OK;
}

int rigidLinkCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    const QString usage = QStringLiteral("WARNING rigidLink linkType? rNode? cNode?");
    if (objc < 4)
        return fail(usage + QLatin1Char('\n'));
    int retained = 0;
    if (!readInt(objv[2], &retained))
        return fail(usage + QStringLiteral(" - could not read rNode \n"));
    model.rigidLinkRetainedNodes.append(retained);
    int constrained = 0;
    if (!readInt(objv[3], &constrained))
        return fail(usage + QStringLiteral(" - could not read CNode \n"));
    model.rigidLinkConstrainedNodes.append(constrained);
    return TCL_OK;
}

}  // namespace modelcommands
