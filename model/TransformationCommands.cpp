// geomTransf, and where each beam-column names its transformation among its own arguments.
#include <cstring>

#include "LoadCommands.h"
#include "ModelCommands.h"
#include "ModelRecord.h"

namespace modelcommands {

namespace {

// One argument form of a beam-column: after the node tags come POSITIONAL numbers up to the first
// option word (-mass, -iter, ...); the transformation tag is the one at TRANSF (0-based). Forms
// of one type differ in that count, so the count picks the form.
struct TransformationForm {
    const char* type;  // canonical name
    int ndm;           // 2 or 3; 0 for both
    int positional;
    int transf;
};

// clang-format off
const TransformationForm forms[] = {
    // A E Iz transf | A E G J Iy Iz transf | secTag transf
    {"elasticBeamColumn", 2, 4, 3}, {"elasticBeamColumn", 3, 7, 6}, {"elasticBeamColumn", 0, 2, 1},
    // A E Iz K11 K33 K44 transf
    {"ModElasticBeam2d", 2, 7, 6},
    // E G A Iz Avy transf | E G A Jx Iy Iz Avy Avz transf
    {"ElasticTimoshenkoBeam", 2, 6, 5}, {"ElasticTimoshenkoBeam", 3, 9, 8},
    // transf integrationTag | numIntgrPts secTag transf
    {"forceBeamColumn", 0, 2, 0}, {"forceBeamColumn", 0, 3, 2},
    {"dispBeamColumn", 0, 2, 0}, {"dispBeamColumn", 0, 3, 2},
    {"nonlinearBeamColumn", 0, 2, 0}, {"nonlinearBeamColumn", 0, 3, 2},
    {"elasticForceBeamColumn", 0, 2, 0}, {"elasticForceBeamColumn", 0, 3, 2},
    {"timoshenkoBeamColumn", 0, 2, 0}, {"timoshenkoBeamColumn", 0, 3, 2},
    {"forceBeamColumnCBDI", 0, 2, 0}, {"forceBeamColumnCBDI", 0, 3, 2},
    {"forceBeamColumnCSBDI", 0, 2, 0}, {"forceBeamColumnCSBDI", 0, 3, 2},
    {"dispBeamColumnNL", 0, 2, 0}, {"dispBeamColumnNL", 0, 3, 2},
    // numIntgrPts secTag transf cRot
    {"dispBeamColumnInt", 2, 4, 2},
    // secTagI Lpi secTagJ Lpj E A Iz transf | ... E A Iz Iy G J transf
    {"beamWithHinges", 2, 8, 7}, {"beamWithHinges", 3, 11, 10},
};
// clang-format on

bool isNumber(Tcl_Obj* word)
{
    double value = 0.0;
    return readDouble(word, &value);
}

// Reads COUNT numbers from objv[first] on into VALUES; false when one is missing or unreadable.
bool readNumbers(int objc, Tcl_Obj* const objv[], int first, int count, double* values)
{
    if (first + count > objc)
        return false;
    for (int k = 0; k < count; ++k)
        if (!readDouble(objv[first + k], &values[k]))
            return false;
    return true;
}

}  // namespace

int elementTransformationTag(const QString& canonical, int ndm, int nodeCount, int objc,
                             Tcl_Obj* const objv[])
{
    const int first = 3 + nodeCount;
    int positional = 0;
    while (first + positional < objc && isNumber(objv[first + positional]))
        ++positional;
    for (const TransformationForm& form : forms) {
        if (canonical != QLatin1String(form.type) || (form.ndm != 0 && form.ndm != ndm) ||
            form.positional != positional)
            continue;
        int tag = -1;
        return readInt(objv[first + form.transf], &tag) ? tag : -1;
    }
    return -1;
}

// geomTransf type tag [vecxzX vecxzY vecxzZ (3-D)] <-jntOffset dXi dYi [dZi] dXj dYj [dZj]>
int geomTransfCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (model.ndm == 0)
        return fail(QStringLiteral("WARNING builder has been destroyed\n"));
    const bool space = model.ndm == 3;
    const QString usage =
        space ? QStringLiteral("geomTransf type? tag? vecxzX? vecxzY? vecxzZ? "
                               "<-jntOffset dXi? dYi? dZi? dXj? dYj? dZj?>\n")
              : QStringLiteral("geomTransf type? tag? <-jntOffset dXi? dYi? dXj? dYj?>\n");
    if (objc < 3)
        return fail(QStringLiteral("WARNING insufficient arguments - want: ") + usage);
    int tag = 0;
    if (!readInt(objv[2], &tag))
        return fail(QStringLiteral("WARNING invalid tag %1 - want: ").arg(text(objv[2])) + usage);
    double vecxz[3] = {0.0, 0.0, 0.0};
    int next = 3;
    if (space) {
        if (!readNumbers(objc, objv, 3, 3, vecxz))
            return fail(QStringLiteral("WARNING invalid vecxz - want: ") + usage);
        next = 6;
    }
    // Offsets of ends i and j, as x, y, z each.
    double offsets[6] = {0, 0, 0, 0, 0, 0};
    for (; next < objc; ++next) {
        if (std::strcmp(Tcl_GetString(objv[next]), "-jntOffset") != 0)
            continue;
        const int per = space ? 3 : 2;
        double read[6];
        if (!readNumbers(objc, objv, next + 1, 2 * per, read))
            return fail(QStringLiteral("WARNING invalid jntOffset value - want: ") + usage);
        for (int k = 0; k < per; ++k) {
            offsets[k] = read[k];
            offsets[3 + k] = read[per + k];
        }
        next += 2 * per;
    }
    model.geomTransfTypes.append(text(objv[1]));
    model.geomTransfTags.append(tag);
    model.geomTransfVecxzX.append(vecxz[0]);
    model.geomTransfVecxzY.append(vecxz[1]);
    model.geomTransfVecxzZ.append(vecxz[2]);
    model.geomTransfOffsetIX.append(offsets[0]);
    model.geomTransfOffsetIY.append(offsets[1]);
    model.geomTransfOffsetIZ.append(offsets[2]);
    model.geomTransfOffsetJX.append(offsets[3]);
    model.geomTransfOffsetJY.append(offsets[4]);
    model.geomTransfOffsetJZ.append(offsets[5]);
    return TCL_OK;
}

}  // namespace modelcommands
