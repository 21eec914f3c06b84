// The model, node, analyze and wipe commands and the helpers every command procedure shares.
#include "ModelCommands.h"

#include <cstring>

#include "InterpreterState.h"
#include "ModelRecord.h"
#include "SourceLocation.h"

namespace modelcommands {

int fail(const QString& message)
{
    modelRecord()->statusMessage = message;
    return TCL_ERROR;
}

bool readInt(Tcl_Obj* word, int* value)
{
    return Tcl_GetIntFromObj(nullptr, word, value) == TCL_OK;
}

bool readDouble(Tcl_Obj* word, double* value)
{
    return Tcl_GetDoubleFromObj(nullptr, word, value) == TCL_OK;
}

QString text(Tcl_Obj* word)
{
    return QString::fromUtf8(Tcl_GetString(word));
}

namespace {

const QString builderDestroyed = QStringLiteral("WARNING builder has been destroyed\n");

bool isBasicBuilder(const QString& type)
{
    return type == QLatin1String("basic") || type == QLatin1String("BasicBuilder") ||
           type == QLatin1String("Basic") || type == QLatin1String("basicBuilder");
}

}  // namespace

int modelCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (objc < 2)
        return fail(QStringLiteral("WARNING need to specify a model type, valid types:\n\tBasicBuilder\n"));
    if (!isBasicBuilder(text(objv[1])))
        return TCL_OK;

    model.ndm = 0;
    model.ndf = 0;
    const QString usage = QStringLiteral("model modelBuilderType -ndm ndm? <-ndf ndf?>");
    if (objc < 4)
        return fail(QStringLiteral("WARNING incorrect number of command arguments\n") + usage +
                    QStringLiteral(" \n"));

    for (int i = 2; i < objc; ++i) {
        const QString option = text(objv[i]);
        const bool isNdm = option == QLatin1String("-ndm") || option == QLatin1String("-NDM");
        const bool isNdf = option == QLatin1String("-ndf") || option == QLatin1String("-NDF");
        if ((!isNdm && !isNdf) || i + 1 >= objc)
            continue;
        int* target = isNdm ? &model.ndm : &model.ndf;
        if (!readInt(objv[i + 1], target)) {
            return fail(
                QStringLiteral("WARNING error reading %1: %2\n%3\n")
                    .arg(isNdm ? QStringLiteral("ndm") : QStringLiteral("ndf"), text(objv[i + 1]), usage));
        }
        ++i;
    }

    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING need to specify ndm\n") + usage + QLatin1Char('\n'));
    if (model.ndf == 0) {
        switch (model.ndm) {
            case 1:
                model.ndf = 1;
                break;
            case 2:
                model.ndf = 3;
                break;
            case 3:
                model.ndf = 6;
                break;
            default:
                return fail(QStringLiteral("WARNING specified ndm, %1, will not work\n"
                                           "with any elements in BasicBuilder\n")
                                .arg(model.ndm));
        }
    }
    return TCL_OK;
}

int nodeCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(builderDestroyed);
    const QString usage = QStringLiteral("Want: node nodeTag? [ndm coordinates?] <-mass [ndf values?]>\n");
    const int ndm = model.ndm;
    // Written so that no ndm a script can give (2147483647 among them) overflows.
    if (objc < 2 || objc - 2 < ndm)
        return fail(QStringLiteral("WARNING insufficient arguments\n") + usage);
    int tag = 0;
    if (!readInt(objv[1], &tag))
        return fail(QStringLiteral("WARNING invalid nodeTag\n") + usage);

    double xyz[3] = {0.0, 0.0, 0.0};
    static const char* const axisNames[3] = {"X", "Y", "Z"};
    for (int k = 0; k < qMin(ndm, 3); ++k) {
        if (!readDouble(objv[2 + k], &xyz[k]))
            return fail(QStringLiteral("WARNING invalid %1Coordinate\nnode: %2")
                            .arg(QLatin1String(axisNames[k]))
                            .arg(tag));
    }
    if (ndm < 1 || ndm > 3)
        return fail(QStringLiteral("WARNING invalid ndm\nnode: %1").arg(tag));
    int ndf = model.ndf;
    if (objc > ndm + 2 && std::strcmp(Tcl_GetString(objv[ndm + 2]), "-ndf") == 0) {
        if (objc <= ndm + 3 || !readInt(objv[ndm + 3], &ndf))
            return fail(QStringLiteral("WARNING invalid nodal ndf given for node %1").arg(tag));
    }

    // Builders of other ndf in one model (frame and soil nodes) give nodes of other sizes.
    if (InterpreterState* state = interpreterState(interp)) {
        state->nodeDofs.resize(qMin(state->nodeDofs.size(), model.nodeTags.size()));
        while (state->nodeDofs.size() < model.nodeTags.size())
            state->nodeDofs.append(model.ndf);
        state->nodeDofs.append(ndf);
    }
    model.nodeTags.append(tag);
    model.nodeX.append(xyz[0]);
    model.nodeY.append(xyz[1]);
    model.nodeZ.append(xyz[2]);
    appendSourceLocation(currentSourceLocation(interp, objv[0]), model.nodeSourceFiles,
                         model.nodeSourceLines);
    return TCL_OK;
}

// analyze N ?dt?: N steps, each advancing the domain time by dt, else by the LoadControl increment,
// else by 1, so that loops on getTime end where the solver's do.
int analyzeCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ++modelRecord()->analyzeCount;
    InterpreterState* state = interpreterState(interp);
    if (state)
        state->analyzed = true;
    int steps = 0;
    if (state && objc > 1 && readInt(objv[1], &steps)) {
        AnalysisClock& clock = state->clock;
        double dt = 0.0;
        const bool hasDt = objc > 2 && readDouble(objv[2], &dt);
        const double increment = hasDt ? dt : clock.hasLoadIncrement ? clock.loadIncrement : 1.0;
        // One addition per step as in the solver: ten steps of 0.1 end just below 1.0.
        for (int i = 0; i < steps; ++i)
            clock.time += increment;
    }
    Tcl_SetObjResult(interp, Tcl_NewIntObj(0));
    return TCL_OK;
}

int wipeCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    if (InterpreterState* state = interpreterState(interp)) {
        // Left-out elements count too: the script did define a model.
        const bool wiped =
            state->leftOut.wipedModel || !modelRecord()->isEmpty() || !state->leftOut.elementTypes.isEmpty();
        if (!modelRecord()->isEmpty())
            state->wiped = WipedModel{true, *modelRecord(), state->leftOut};
        state->nodeDofs.clear();
        state->clock = AnalysisClock();
        state->leftOut = LeftOut();
        state->leftOut.wipedModel = wiped;
        state->index = RecordIndex();
    }
    resetModelRecord();
    return TCL_OK;
}

}  // namespace modelcommands
