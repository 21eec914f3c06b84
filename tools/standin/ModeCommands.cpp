#include "ModeCommands.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "ModelCommands.h"
#include "ModelRecord.h"

using modelcommands::readDouble;
using modelcommands::readInt;

namespace {

StandinModes& modesOf(ClientData clientData)
{
    return *static_cast<StandinModes*>(clientData);
}

int error(Tcl_Interp* interp, const char* message)
{
    Tcl_SetObjResult(interp, Tcl_NewStringObj(message, -1));
    return TCL_ERROR;
}

// eigen ?options? N: the model interpreter checks the words; the answer is N synthetic eigenvalues.
int eigenCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (modelcommands::eigenCommand(nullptr, interp, objc, objv) != TCL_OK)
        return TCL_ERROR;
    int count = 0;
    readInt(objv[objc - 1], &count);
    StandinModes& m = modesOf(clientData);
    m.modes = SyntheticModes(*modelRecord(), count);
    Tcl_Obj* values = Tcl_NewListObj(0, nullptr);
    for (int k = 1; k <= count; ++k)
        Tcl_ListObjAppendElement(nullptr, values, Tcl_NewDoubleObj(SyntheticModes::eigenvalue(k)));
    Tcl_SetObjResult(interp, values);
    std::fprintf(stderr, "tolvane-standin: eigen %d synthetic mode%s\n", count, count == 1 ? "" : "s");
    return TCL_OK;
}

// nodeEigenvector tag mode ?dof?: the model interpreter's query checks the words and gives the
// node's number of values (zeros); the stand-in fills in the shape.
int nodeEigenvectorCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    StandinModes& m = modesOf(clientData);
    const Tcl_CmdInfo& query = m.zeroEigenvector;
    if (query.objProc(query.objClientData, interp, objc, objv) != TCL_OK)
        return TCL_ERROR;
    int tag = 0, mode = 0, dof = 0;
    readInt(objv[1], &tag);
    readInt(objv[2], &mode);
    if (mode < 1 || mode > m.modes.count()) {
        const std::string message = "WARNING nodeEigenvector nodeTag? mode? - mode " + std::to_string(mode) +
                                    " is not among the " + std::to_string(m.modes.count()) +
                                    " modes of the last eigen";
        return error(interp, message.c_str());
    }
    int count = 0;
    Tcl_ListObjLength(nullptr, Tcl_GetObjResult(interp), &count);
    Tcl_Obj* values = Tcl_NewListObj(0, nullptr);
    if (objc > 3 && readInt(objv[3], &dof)) {
        Tcl_ListObjAppendElement(nullptr, values, Tcl_NewDoubleObj(m.modes.value(tag, mode, dof)));
    } else {
        for (int d = 1; d <= count; ++d)
            Tcl_ListObjAppendElement(nullptr, values, Tcl_NewDoubleObj(m.modes.value(tag, mode, d)));
    }
    Tcl_SetObjResult(interp, values);
    return TCL_OK;
}

void writeSection(std::FILE* f, const char* title, const char* const* columns, int columnCount,
                  const std::function<double(int mode, int column)>& value, int modes)
{
    std::fprintf(f, "* %s:\n#%14s", title, "MODE");
    for (int c = 0; c < columnCount; ++c)
        std::fprintf(f, "%14s", columns[c]);
    std::fprintf(f, "\n# -------------");
    for (int c = 0; c < columnCount; ++c)
        std::fprintf(f, " -------------");
    std::fputc('\n', f);
    for (int k = 1; k <= modes; ++k) {
        std::fprintf(f, "%15d", k);
        for (int c = 0; c < columnCount; ++c)
            std::fprintf(f, " %13g", value(k, c));
        std::fputc('\n', f);
    }
    std::fputs("\n\n", f);
}

// The report of the solver's modalProperties, in its layout: numbered sections of a title line,
// comment lines that name the columns, and one row per mode.
void writeReport(std::FILE* f, const SyntheticModes& modes)
{
    static const char* const frequencyColumns[] = {"LAMBDA", "OMEGA", "FREQUENCY", "PERIOD"};
    static const char* const columns1[] = {"MX"};
    static const char* const columns2[] = {"MX", "MY", "RMZ"};
    static const char* const columns3[] = {"MX", "MY", "MZ", "RMX", "RMY", "RMZ"};
    const int ndm = modes.ndm() >= 1 && modes.ndm() <= 3 ? modes.ndm() : 3;
    const char* const* massColumns = ndm == 1 ? columns1 : ndm == 2 ? columns2 : columns3;
    const int massCount = ndm == 1 ? 1 : ndm == 2 ? 3 : 6;
    const int d = modes.direction();
    std::fprintf(f, "MODAL ANALYSIS REPORT\n\n* 1. DOMAIN SIZE:\n# This is the size of the problem: 2 for 2D "
                    "problems, 3 for 3D problems.\n%d\n\n\n",
                 ndm);
    writeSection(
        f, "2. EIGENVALUE ANALYSIS", frequencyColumns, 4,
        [](int k, int c) {
            const double lambda = SyntheticModes::eigenvalue(k), omega = std::sqrt(lambda);
            const double values[4] = {lambda, omega, omega / (2.0 * M_PI), 2.0 * M_PI / omega};
            return values[c];
        },
        modes.count());
    writeSection(
        f, "3. MODAL PARTICIPATION MASS RATIOS (%)", massColumns, massCount,
        [d](int k, int c) { return c == d ? SyntheticModes::massRatio(k) : 0.0; }, modes.count());
    writeSection(
        f, "4. MODAL PARTICIPATION MASS RATIOS (%) (Cumulative)", massColumns, massCount,
        [d](int k, int c) {
            double sum = 0.0;
            for (int j = 1; j <= k && c == d; ++j)
                sum += SyntheticModes::massRatio(j);
            return sum;
        },
        modes.count());
}

// modalProperties ?-print? ?-file F? ?-unorm?: the report of the last eigen; it fails, as the
// solver's does, before any eigen and without mass.
int modalPropertiesCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const StandinModes& m = modesOf(clientData);
    bool print = false;
    const char* file = nullptr;
    for (int i = 1; i < objc; ++i) {
        const char* word = Tcl_GetString(objv[i]);
        if (std::strcmp(word, "-print") == 0)
            print = true;
        else if (std::strcmp(word, "-file") == 0 && i + 1 < objc)
            file = Tcl_GetString(objv[++i]);
        else if (std::strcmp(word, "-unorm") != 0)
            return error(interp, "WARNING modalProperties <-print> <-file $fileName> <-unorm>");
    }
    if (m.modes.count() == 0)
        return error(interp, "WARNING modalProperties: no eigenvalues: call eigen first");
    if (!m.hasMass)
        return error(interp, "WARNING modalProperties: the model has no mass");
    if (print)
        writeReport(stdout, m.modes);
    if (file) {
        std::FILE* f = std::fopen(file, "w");
        if (!f)
            return error(interp, "WARNING modalProperties: cannot open the report file");
        writeReport(f, m.modes);
        std::fclose(f);
    }
    return TCL_OK;
}

bool givesMass(int from, int objc, Tcl_Obj* const objv[])
{
    for (int i = from; i < objc; ++i) {
        double v = 0.0;
        if (readDouble(objv[i], &v) && v != 0.0)
            return true;
    }
    return false;
}

int nodeCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    StandinModes& m = modesOf(clientData);
    if (m.recordNode.objProc(m.recordNode.objClientData, interp, objc, objv) != TCL_OK)
        return TCL_ERROR;
    for (int i = 2; i < objc; ++i)
        if (std::strcmp(Tcl_GetString(objv[i]), "-mass") == 0 && givesMass(i + 1, objc, objv))
            m.hasMass = true;
    return TCL_OK;
}

// mass tag m1 m2 ...
int massCommand(ClientData clientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    if (givesMass(2, objc, objv))
        modesOf(clientData).hasMass = true;
    return TCL_OK;
}

}  // namespace

void registerModeCommands(Tcl_Interp* interp, StandinModes* modes)
{
    Tcl_GetCommandInfo(interp, "node", &modes->recordNode);
    Tcl_GetCommandInfo(interp, "nodeEigenvector", &modes->zeroEigenvector);
    Tcl_CreateObjCommand(interp, "eigen", eigenCommand, modes, nullptr);
    Tcl_CreateObjCommand(interp, "nodeEigenvector", nodeEigenvectorCommand, modes, nullptr);
    Tcl_CreateObjCommand(interp, "modalProperties", modalPropertiesCommand, modes, nullptr);
    Tcl_CreateObjCommand(interp, "node", nodeCommand, modes, nullptr);
    Tcl_CreateObjCommand(interp, "mass", massCommand, modes, nullptr);
}
