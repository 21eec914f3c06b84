// pattern, load, eleLoad and sp. A Plain pattern's body is evaluated where the command stands, so
// that its loads go to that pattern and the nodes and elements it defines are recorded as usual.
// Loads outside a body go to the last Plain pattern, as in the solver.
#include <cstring>

#include "LoadCommands.h"
#include "ModelCommands.h"
#include "ModelRecord.h"

namespace modelcommands {

namespace {

const QString builderDestroyed = QStringLiteral("WARNING builder has been destroyed\n");

bool is(Tcl_Obj* word, const char* name)
{
    return std::strcmp(Tcl_GetString(word), name) == 0;
}

// The pattern that loads without -pattern go to: the last Plain one; -1 when there is none.
int currentPattern(const ModelRecord& model)
{
    for (int i = model.patternTypes.size() - 1; i >= 0; --i)
        if (model.patternTypes[i] == QLatin1String("Plain"))
            return model.patternTags[i];
    return -1;
}

// Reads the trailing options -const and -pattern tag from objv[first] on; *given tells whether
// -pattern was there. False on an unreadable pattern tag.
bool readLoadOptions(int objc, Tcl_Obj* const objv[], int first, int* pattern, bool* given)
{
    *given = false;
    for (int i = first; i < objc; ++i) {
        if (!is(objv[i], "-pattern"))
            continue;
        if (i + 1 >= objc || !readInt(objv[i + 1], pattern))
            return false;
        *given = true;
        ++i;
    }
    return true;
}

}  // namespace

// pattern Plain tag series <-fact f> {body} | pattern UniformExcitation tag dir ... |
// pattern MultipleSupport tag {body}
int patternCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(builderDestroyed);
    const QString usage = QStringLiteral("pattern type? tag? <args> {body}\n");
    if (objc < 3)
        return fail(QStringLiteral("WARNING insufficient arguments - want: ") + usage);
    const QString type = text(objv[1]);
    int tag = 0;
    if (!readInt(objv[2], &tag))
        return fail(QStringLiteral("WARNING invalid patternTag %1 - want: ").arg(text(objv[2])) + usage);
    const bool plain = type == QLatin1String("Plain");
    const bool multiple = type == QLatin1String("MultipleSupport");
    if (!plain && !multiple && type != QLatin1String("UniformExcitation"))
        return fail(QStringLiteral("WARNING unknown pattern type %1 - want: ").arg(type) + usage);
    if ((plain && objc < 5) || (multiple && objc < 4))
        return fail(QStringLiteral("WARNING insufficient arguments - want: ") + usage);
    model.patternTags.append(tag);
    model.patternTypes.append(type);
    if (!plain && !multiple)
        return TCL_OK;
    // The body runs in the caller's frame, as the solver evaluates it.
    const int code = Tcl_EvalObjEx(interp, objv[objc - 1], 0);
    return code == TCL_ERROR ? TCL_ERROR : TCL_OK;
}

// load nodeTag f1 ... fndf <-const> <-pattern tag>
int loadCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(builderDestroyed);
    const int ndf = model.ndf;
    const QString usage = QStringLiteral("load nodeId? %1 forces? <-const> <-pattern tag?>\n").arg(ndf);
    if (objc < 2 || objc - 2 < ndf)
        return fail(QStringLiteral("WARNING insufficient arguments - want: ") + usage);
    int node = 0;
    if (!readInt(objv[1], &node))
        return fail(QStringLiteral("WARNING invalid nodeId: %1 - want: ").arg(text(objv[1])) + usage);
    double values[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < ndf; ++i) {
        double value = 0.0;
        if (!readDouble(objv[2 + i], &value))
            return fail(QStringLiteral("WARNING invalid force %1 - load %2 - want: ").arg(i + 1).arg(node) +
                        usage);
        if (i < 6)
            values[i] = value;
    }
    int pattern = currentPattern(model);
    bool given = false;
    if (!readLoadOptions(objc, objv, 2 + ndf, &pattern, &given))
        return fail(QStringLiteral("WARNING invalid patternTag - load %1 - want: ").arg(node) + usage);
    if (pattern < 0 && !given)
        return fail(QStringLiteral("WARNING no current load pattern - load %1\n").arg(node));
    model.nodalLoadNodes.append(node);
    model.nodalLoadPatterns.append(pattern);
    for (int k = 1; k <= 6; ++k)
        model.nodalLoadValues(k).append(values[k - 1]);
    return TCL_OK;
}

// eleLoad -ele t1 t2 ... | -range first last, then -type -beamUniform Wy <Wz> <Wx> (Wz in 3-D only)
// or -type -beamPoint Py <Pz> xL <Px>. Other load types are accepted and not recorded.
int eleLoadCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(builderDestroyed);
    const bool space = model.ndm == 3;
    const QString usage =
        space ? QStringLiteral("eleLoad -ele eleTag1? .. -type -beamUniform Wy? Wz? <Wx?> | "
                               "-beamPoint Py? Pz? xL? <Px?>\n")
              : QStringLiteral("eleLoad -ele eleTag1? .. -type -beamUniform Wy? <Wx?> | -beamPoint Py? xL? <Px?>\n");
    QVector<int> elements;
    int i = 1;
    while (i < objc) {
        if (is(objv[i], "-ele")) {
            int tag = 0;
            for (++i; i < objc && readInt(objv[i], &tag); ++i)
                elements.append(tag);
        } else if (is(objv[i], "-range")) {
            int first = 0, last = 0;
            if (i + 2 >= objc || !readInt(objv[i + 1], &first) || !readInt(objv[i + 2], &last))
                return fail(QStringLiteral("WARNING eleLoad - invalid -range - want: ") + usage);
            for (qint64 tag = first; tag <= last; ++tag)
                elements.append(int(tag));
            i += 3;
        } else {
            break;
        }
    }
    if (i + 1 >= objc || !is(objv[i], "-type"))
        return fail(QStringLiteral("WARNING eleLoad - want: ") + usage);
    const int pattern = currentPattern(model);
    if (pattern < 0)
        return fail(QStringLiteral("WARNING no current load pattern - eleLoad\n"));
    const char* kind = Tcl_GetString(objv[i + 1]);
    if (*kind == '-')
        ++kind;
    const bool uniform = std::strcmp(kind, "beamUniform") == 0;
    const bool point = std::strcmp(kind, "beamPoint") == 0;
    if (!uniform && !point)
        return TCL_OK;
    // Required and optional numbers after the type word, in the command's order.
    const int first = i + 2;
    int available = 0;
    double numbers[4] = {0, 0, 0, 0};
    while (available < 4 && first + available < objc && readDouble(objv[first + available], &numbers[available]))
        ++available;
    const int required = (space ? 2 : 1) + (point ? 1 : 0);
    if (available < required)
        return fail(QStringLiteral("WARNING eleLoad - invalid %1 values - want: ").arg(QLatin1String(kind)) +
                    usage);
    const double y = numbers[0], z = space ? numbers[1] : 0.0;
    const double position = point ? numbers[required - 1] : 0.0;
    const double x = available > required ? numbers[required] : 0.0;
    for (int tag : elements) {
        model.elementLoadElements.append(tag);
        model.elementLoadPatterns.append(pattern);
        model.elementLoadTypes.append(QLatin1String(kind));
        model.elementLoadY.append(y);
        model.elementLoadZ.append(z);
        model.elementLoadX.append(x);
        model.elementLoadPositions.append(position);
    }
    return TCL_OK;
}

// sp nodeTag dof value <-const> <-pattern tag>; outside a pattern it belongs to none (-1).
int spCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(builderDestroyed);
    const QString usage = QStringLiteral("sp nodeTag? dofTag? dofValue? <-const> <-pattern tag?>\n");
    int node = 0, dof = 0;
    double value = 0.0;
    if (objc < 4)
        return fail(QStringLiteral("WARNING insufficient arguments - want: ") + usage);
    if (!readInt(objv[1], &node) || !readInt(objv[2], &dof) || !readDouble(objv[3], &value))
        return fail(QStringLiteral("WARNING invalid nodeTag, dof or value - want: ") + usage);
    int pattern = currentPattern(model);
    bool given = false;
    if (!readLoadOptions(objc, objv, 4, &pattern, &given))
        return fail(QStringLiteral("WARNING invalid patternTag - want: ") + usage);
    model.spNodes.append(node);
    model.spDofs.append(dof);
    model.spValues.append(value);
    model.spPatterns.append(pattern);
    return TCL_OK;
}

}  // namespace modelcommands
