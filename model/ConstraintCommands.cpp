// The fix, fixX/Y/Z, equalDOF and rigidLink commands: restraints and multi-point constraints.
// A command that fails appends nothing, so each group's lists stay parallel.
#include "ModelCommands.h"
#include "ModelRecord.h"
#include "SourceLocation.h"

namespace modelcommands {

namespace {

// Reads the NDF fixities from objv[first] on; the first six are kept. FAILED is the 1-based
// position of an unreadable one, 0 when all are readable.
QVector<int> readFixities(Tcl_Obj* const objv[], int first, int ndf, int* failed)
{
    QVector<int> kept(6, 0);
    *failed = 0;
    for (int i = 1; i <= ndf; ++i) {
        int fixity = 0;
        if (!readInt(objv[first + i - 1], &fixity)) {
            *failed = i;
            break;
        }
        if (i <= 6)
            kept[i - 1] = fixity;
    }
    return kept;
}

void appendFix(ModelRecord& model, int tag, const QVector<int>& fixities, const SourceLocation& at)
{
    model.fixNodeTags.append(tag);
    for (int k = 1; k <= 6; ++k)
        model.fixDofs(k).append(fixities[k - 1]);
    appendSourceLocation(at, model.fixSourceFiles, model.fixSourceLines);
}

}  // namespace

int fixCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    const int ndf = model.ndf;
    // Written so that no ndf a script can give overflows.
    if (objc < 2 || objc - 2 < ndf)
        return fail(QStringLiteral("WARNING bad command - want: fix nodeId %1 [0,1] conditions").arg(ndf));
    int tag = 0;
    if (!readInt(objv[1], &tag))
        return fail(QStringLiteral("WARNING invalid nodeId - fix nodeId %1 [0,1] conditions\n").arg(ndf));
    int failed = 0;
    const QVector<int> fixities = readFixities(objv, 2, ndf, &failed);
    if (failed)
        return fail(QStringLiteral("WARNING invalid fixity %1 - load %2 %3 fixities\n")
                        .arg(failed)
                        .arg(tag)
                        .arg(ndf));
    appendFix(model, tag, fixities, currentSourceLocation(interp, objv[0]));
    return TCL_OK;
}

namespace {

// fixX, fixY, fixZ xyz f1 ... fndf ?-tol tol?: every node already defined whose coordinate on
// AXIS (0 to 2) lies within tol of xyz gets the fixities.
int fixAtCoordinate(int axis, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    const QString command = text(objv[0]);
    const int ndf = model.ndf;
    const QString usage = QStringLiteral(" - %1 %2 %3 [0,1] conditions <-tol tol?>\n")
                              .arg(command, QLatin1Char("xyz"[axis]) + QStringLiteral("Loc"))
                              .arg(ndf);
    if (objc < 2 || objc - 2 < ndf)
        return fail(QStringLiteral("WARNING bad command") + usage);
    if (model.ndm <= axis)
        return fail(QStringLiteral("WARNING %1 - a model of ndm %2 has no %3 coordinate\n")
                        .arg(command)
                        .arg(model.ndm)
                        .arg(QLatin1Char("XYZ"[axis])));
    double location = 0.0;
    if (!readDouble(objv[1], &location))
        return fail(QStringLiteral("WARNING invalid location %1").arg(text(objv[1])) + usage);
    int failed = 0;
    const QVector<int> fixities = readFixities(objv, 2, ndf, &failed);
    if (failed)
        return fail(QStringLiteral("WARNING invalid fixity %1").arg(failed) + usage);
    double tolerance = 1e-10;
    const int options = 2 + qMax(ndf, 0);
    if (objc > options && text(objv[options]) == QLatin1String("-tol") &&
        (objc <= options + 1 || !readDouble(objv[options + 1], &tolerance)))
        return fail(QStringLiteral("WARNING invalid tol") + usage);

    const QVector<double>& coordinates = axis == 0 ? model.nodeX : axis == 1 ? model.nodeY : model.nodeZ;
    // Matched first, appended after: the loop must not see the fix lists grow under it.
    QVector<int> matched;
    for (int i = 0; i < model.nodeTags.size(); ++i)
        if (qAbs(coordinates[i] - location) <= tolerance)
            matched.append(model.nodeTags[i]);
    const SourceLocation at = currentSourceLocation(interp, objv[0]);
    for (int tag : matched)
        appendFix(model, tag, fixities, at);
    return TCL_OK;
}

}  // namespace

int fixXCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    return fixAtCoordinate(0, interp, objc, objv);
}

int fixYCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    return fixAtCoordinate(1, interp, objc, objv);
}

int fixZCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    return fixAtCoordinate(2, interp, objc, objv);
}

int equalDofCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
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
    int constrained = 0;
    if (!readInt(objv[2], &constrained))
        return fail(QStringLiteral("WARNING invalid CnodeID: %1 %2").arg(text(objv[2]), usage));
    model.equalDofRetainedNodes.append(retained);
    model.equalDofConstrainedNodes.append(constrained);
    appendSourceLocation(currentSourceLocation(interp, objv[0]), model.equalDofSourceFiles,
                         model.equalDofSourceLines);
    return TCL_OK;
}

int rigidLinkCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    const QString usage = QStringLiteral("WARNING rigidLink linkType? rNode? cNode?");
    if (objc < 4)
        return fail(usage + QLatin1Char('\n'));
    int retained = 0;
    if (!readInt(objv[2], &retained))
        return fail(usage + QStringLiteral(" - could not read rNode \n"));
    int constrained = 0;
    if (!readInt(objv[3], &constrained))
        return fail(usage + QStringLiteral(" - could not read CNode \n"));
    model.rigidLinkRetainedNodes.append(retained);
    model.rigidLinkConstrainedNodes.append(constrained);
    appendSourceLocation(currentSourceLocation(interp, objv[0]), model.rigidLinkSourceFiles,
                         model.rigidLinkSourceLines);
    return TCL_OK;
}

}  // namespace modelcommands
