#include "ModelInterpreter.h"

#include <tcl.h>

#include <QByteArray>

#include "InterpreterState.h"
#include "ModelCommands.h"
#include "ModelRecord.h"

namespace {

const char* const stateKey = "tolvane::state";

// Solver commands that only build what we do not draw (materials, loads, analyses, output).
// Tcl's own string, clock and trace are not among them: scripts rely on their Tcl meaning.
// clang-format off
const char* const ignoredCommands[] = {
    "fixX", "fixY", "fixZ", "rigidDiaphragm", "parameter", "addToParameter", "updateParameter", "PFEM2D",
    "PFEM3D", "limitCurve", "yieldSurface_BC", "plasticMaterial", "cyclicModel", "damageModel",
    "imposedSupportMotion", "equalDOF_Mixed", "mp", "PySimple1Gen", "TzSimple1Gen", "block2D", "block3D",
    "patch", "layer", "fiber", "Hfiber", "stiffnessDegradation", "unloadingRule", "strengthDegradation",
    "hystereticBackbone", "updateMaterialStage", "updateMaterials", "loadPackage",
    "setElementRayleighFactors", "section", "geomTransf", "mass", "pattern", "load", "eleLoad",
    "constraints", "loadConst", "uniaxialMaterial", "nDMaterial", "block2d", "block3d",
    "ShallowFoundationGen", "frictionModel", "imposedMotion", "groundMotion", "sp", "save", "restore",
    "Wsection", "vrp", "vpn", "vup", "prp", "plane", "port", "viewWindow", "projection", "fill", "display",
    "wipeAnalysis", "reset", "initialize", "setTime", "getTime", "getLoadFactor", "build", "print",
    "printA", "printB", "printGID", "analysis", "system", "numberer", "algorithm", "test", "testNorms",
    "testIter", "integrator", "recorder", "algorithmRecorder", "database", "video", "remove", "eleForce",
    "localForce", "eleDynamicalForce", "eleResponse", "nodeDisp", "setNodeDisp", "nodeReaction",
    "nodeUnbalance", "nodeEigenvector", "nodeVel", "setNodeVel", "nodeAccel", "setNodeAccel",
    "nodeResponse", "reactions", "nodeCoord", "setNodeCoord", "updateElementDomain", "eleNodes", "nodeMass",
    "nodePressure", "nodeBounds", "start", "stop", "rayleigh", "modalDamping", "modalDampingQ",
    "setElementRayleighDampingFactors", "region", "logFile", "setPrecision", "getNP", "getPID", "barrier",
    "send", "recv", "partition", "searchPeerNGA", "domainChange", "record", "metaData", "defaultUnits",
    "neesUpload", "stripXML", "convertBinaryToText", "convertTextToBinary", "getEleTags", "getNodeTags",
    "getParamTags", "getParamValue", "sectionForce", "sectionDeformation", "sectionStiffness",
    "sectionFlexibility", "sectionLocation", "sectionWeight", "basicDeformation", "basicForce",
    "basicStiffness", "InitialStateAnalysis", "totalCPU", "solveCPU", "accelCPU", "numFact", "numIter",
    "systemSize", "version", "setParameter", "setMaxOpenFiles", "wipeReliability", "reliability",
    "computeGradients", "sensitivityAlgorithm", "sensitivityIntegrator", "sensNodeDisp", "sensLambda",
    "sensNodeVel", "sensNodeAccel", "sensSectionForce", "sensNodePressure", "optimization",
};
// clang-format on

int ignoreCommand(ClientData, Tcl_Interp*, int, Tcl_Obj* const[])
{
    return TCL_OK;
}

// exit and quit stop the script where it stands, as the solver would, but never the application:
// the evaluation is unwound through every procedure, loop and catch, and the host counts it a success.
int exitCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    if (InterpreterState* state = interpreterState(interp))
        state->exitRequested = true;
    Tcl_CancelEval(interp, Tcl_NewStringObj("script called exit", -1), nullptr, TCL_CANCEL_UNWIND);
    // Run the cancel handler now so that no enclosing catch can swallow the unwinding.
    return Tcl_AsyncInvoke(interp, TCL_ERROR);
}

QString dictText(Tcl_Obj* dict, const char* key)
{
    Tcl_Obj* keyObj = Tcl_NewStringObj(key, -1);
    Tcl_IncrRefCount(keyObj);
    Tcl_Obj* value = nullptr;
    const bool found = Tcl_DictObjGet(nullptr, dict, keyObj, &value) == TCL_OK && value;
    Tcl_DecrRefCount(keyObj);
    return found ? QString::fromUtf8(Tcl_GetString(value)) : QString();
}

// Wraps Tcl's proc to remember where each procedure was defined, so that an error inside a
// procedure can be placed on its line in the file. Calling the original procedure directly keeps
// Tcl's own knowledge of the body's location intact.
int procCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const auto* original = static_cast<Tcl_CmdInfo*>(clientData);
    InterpreterState* state = interpreterState(interp);
    if (state && objc == 4) {
        Tcl_Obj* saved = Tcl_GetObjResult(interp);
        Tcl_IncrRefCount(saved);
        if (Tcl_EvalEx(interp, "info frame -1", -1, 0) == TCL_OK) {
            Tcl_Obj* frame = Tcl_GetObjResult(interp);
            const QString file = dictText(frame, "file");
            bool lineOk = false;
            const int line = dictText(frame, "line").toInt(&lineOk);
            if (!file.isEmpty() && lineOk) {
                const ProcedureDefinition definition{file, line};
                QString name = QString::fromUtf8(Tcl_GetString(objv[1]));
                state->procedures.insert(name, definition);
                while (name.startsWith(QLatin1Char(':')))
                    name.remove(0, 1);
                state->procedures.insert(name, definition);
                state->procedures.insert(name.section(QStringLiteral("::"), -1), definition);
            }
        }
        Tcl_SetObjResult(interp, saved);
        Tcl_DecrRefCount(saved);
    }
    return original->objProc(original->objClientData, interp, objc, objv);
}

void deleteProcInfo(ClientData clientData)
{
    delete static_cast<Tcl_CmdInfo*>(clientData);
}

void wrapProc(Tcl_Interp* interp)
{
    auto* original = new Tcl_CmdInfo;
    if (!Tcl_GetCommandInfo(interp, "proc", original) || !original->isNativeObjectProc) {
        delete original;
        return;
    }
    Tcl_CreateObjCommand(interp, "proc", procCommand, original, deleteProcInfo);
}

struct CommandEntry {
    const char* name;
    Tcl_ObjCmdProc* procedure;
};

const CommandEntry actingCommands[] = {
    {"model", modelcommands::modelCommand},
    {"node", modelcommands::nodeCommand},
    {"element", modelcommands::elementCommand},
    {"fix", modelcommands::fixCommand},
    {"equalDOF", modelcommands::equalDofCommand},
    {"rigidLink", modelcommands::rigidLinkCommand},
    {"timeSeries", modelcommands::timeSeriesCommand},
    {"eigen", modelcommands::eigenCommand},
    {"analyze", modelcommands::analyzeCommand},
    {"wipe", modelcommands::wipeCommand},
    {"exit", exitCommand},
    {"quit", exitCommand},
};

}  // namespace

InterpreterState* interpreterState(Tcl_Interp* interp)
{
    return static_cast<InterpreterState*>(Tcl_GetAssocData(interp, stateKey, nullptr));
}

ModelInterpreter::ModelInterpreter() : m_state(std::make_unique<InterpreterState>())
{
    Tcl_FindExecutable(nullptr);
    resetModelRecord();
    m_interp = Tcl_CreateInterp();
    // Library procedures (parray, clock format, ...) as under the solver's shell; go on without them
    // when the Tcl library is missing.
    if (Tcl_Init(m_interp) != TCL_OK)
        Tcl_ResetResult(m_interp);
    Tcl_SetAssocData(m_interp, stateKey, nullptr, m_state.get());

    for (const CommandEntry& entry : actingCommands)
        Tcl_CreateObjCommand(m_interp, entry.name, entry.procedure, nullptr, nullptr);
    for (const char* name : ignoredCommands)
        Tcl_CreateObjCommand(m_interp, name, ignoreCommand, nullptr, nullptr);
    wrapProc(m_interp);
}

ModelInterpreter::~ModelInterpreter()
{
    deleteInterpreter();
}

void ModelInterpreter::deleteInterpreter()
{
    if (!m_interp)
        return;
    Tcl_DeleteAssocData(m_interp, stateKey);
    Tcl_DeleteInterp(m_interp);
    m_interp = nullptr;
}
