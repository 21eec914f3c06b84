#include "ModelInterpreter.h"

#include <tcl.h>

#include <QByteArray>
#include <QTextCodec>
#include <cstring>

#include "InterpreterState.h"
#include "LoadCommands.h"
#include "ModelCommands.h"
#include "ModelRecord.h"
#include "SafeInterpreter.h"

namespace {

const char* const stateKey = "tolvane::state";

// Every command the solver adds to Tcl. Each is accepted; those the table of acting commands below
// does not replace build what we do not draw (materials, loads, analyses, output) and are ignored.
// None of them is one of Tcl's own commands, which all keep their meaning.
// clang-format off
const char* const solverCommands[] = {
    "Hfiber", "IGA", "InitialStateAnalysis", "PySimple1Gen", "ShallowFoundationGen", "TzSimple1Gen",
    "accelCPU", "addToParameter", "algorithm", "algorithmRecorder", "analysis", "analyze", "barrier",
    "basicDeformation", "basicForce", "basicStiffness", "beamIntegration", "block2D", "block3D", "build",
    "computeGradients", "constraints", "convertBinaryToText", "convertTextToBinary", "cyclicModel",
    "damageModel", "damping", "database", "defaultUnits", "domainChange", "eigen", "eleDynamicalForce",
    "eleForce", "eleLoad", "eleNodes", "eleResponse", "eleType", "element", "equalDOF", "equalDOF_Mixed",
    "fiber", "findNodeWithID", "fix", "fixX", "fixY", "fixZ", "frictionModel", "generateInterfacePoints",
    "geomTransf", "getConstrainedDOFs", "getConstrainedNodes", "getCrdTransfTags", "getEleClassTags",
    "getEleLoadClassTags", "getEleLoadData", "getEleLoadTags", "getEleTags", "getFixedDOFs", "getFixedNodes",
    "getLoadFactor", "getNDF", "getNDM", "getNP", "getNodeLoadData", "getNodeLoadTags", "getNodeTags",
    "getNumElements", "getPID", "getParamTags", "getParamValue", "getRetainedDOFs", "getRetainedNodes",
    "getTime", "groundMotion", "hystereticBackbone", "import", "imposedMotion", "imposedSupportMotion",
    "initialize", "integrator", "layer", "limitCurve", "loadConst", "loadPackage", "localForce", "logFile",
    "mass", "mesh", "modalDamping", "modalDampingQ", "modalProperties", "model", "mp", "nDMaterial", "node",
    "nodeAccel", "nodeBounds", "nodeCoord", "nodeDOFs", "nodeDisp", "nodeEigenvector", "nodeMass",
    "nodePressure", "nodeReaction", "nodeResponse", "nodeUnbalance", "nodeVel", "numFact", "numIter",
    "numberer", "oldputs", "parameter", "partition", "patch", "pattern", "plasticMaterial", "print", "printA",
    "printB", "printGID", "printModel", "pset", "quit", "rayleigh", "reactions", "record", "recorder",
    "recorderValue", "recv", "region", "reliability", "remesh", "remove", "reset", "responseSpectrumAnalysis",
    "rigidDiaphragm", "rigidLink", "sdfResponse", "searchPeerNGA", "section", "sectionDeformation",
    "sectionDisplacement", "sectionFlexibility", "sectionForce", "sectionLocation", "sectionStiffness",
    "sectionTag", "sectionWeight", "send", "sensLambda", "sensNodeAccel", "sensNodeDisp", "sensNodePressure",
    "sensNodeVel", "sensSectionForce", "sensitivityAlgorithm", "sensitivityIntegrator", "setCreep",
    "setElementRayleighDampingFactors", "setElementRayleighFactors", "setMaxOpenFiles", "setNodeAccel",
    "setNodeCoord", "setNodeDisp", "setNodeVel", "setParameter", "setPrecision", "setTime", "solveCPU", "sp",
    "start", "stiffnessDegradation", "stop", "strengthDegradation", "stripXML", "system", "systemSize", "test",
    "testIter", "testNorm", "testNorms", "timeSeries", "totalCPU", "uniaxialMaterial", "unloadingRule",
    "updateElementDomain", "updateMaterialStage", "updateMaterials", "updateParameter", "version", "video",
    "wipe", "wipeAnalysis", "wipeReliability", "yieldSurface_BC", "ysEvolutionModel",
};

// Names of older solver versions, and ones the solver defines only once reliability is switched
// on, that scripts still use.
const char* const olderSolverCommands[] = {
    "PFEM2D", "PFEM3D", "block2d", "block3d", "save", "restore", "Wsection", "vrp", "vpn", "vup", "prp",
    "plane", "port", "viewWindow", "projection", "fill", "display", "metaData", "neesUpload", "optimization",
    "randomVariable",
    // The solver's nodal load replaces Tcl's load (of shared libraries), which no model script needs.
    "load",
};

// What `reliability` adds to the solver: defined only once a script has called it.
const char* const reliabilityCommands[] = {
    "alphaFORM", "betaFORM", "computeHessian", "correlate", "correlateGroup", "correlationStructure", "cutset",
    "filter", "findCurvatures", "findDesignPoint", "functionEvaluator", "gammaFORM", "getCDF",
    "getCutsetComponents", "getCutsetTags", "getInverseCDF", "getLSFTags", "getMean", "getPDF", "getRVTags",
    "getStdNormalCDF", "getStdNormalInverseCDF", "getStdNormalPDF", "getStdv", "gradPerformanceFunction",
    "gradientEvaluator", "hessianEvaluator", "meritFunctionCheck", "modulatingFunction", "performanceFunction",
    "printReliability", "probabilityTransformation", "randomNumberGenerator", "randomVariable",
    "reliabilityConvergenceCheck", "rootFinding", "runDP_RSM_SimTimeInvariantAnalysis",
    "runDP_RSM_SimTimeVariantAnalysis", "runFORMAnalysis", "runFOSMAnalysis", "runGFunVizAnalysis",
    "runImportanceSamplingAnalysis", "runMonteCarloResponseAnalysis", "runMultiDimVisualPrinPlane",
    "runOrthogonalPlaneSamplingAnalysis", "runOutCrossingAnalysis", "runSORMAnalysis", "runSystemAnalysis",
    "searchDirection", "spectrum", "startPoint", "stepSizeRule", "transformUtoX", "transformXtoU",
    "updateParameterValue",
};
// clang-format on

int ignoreCommand(ClientData, Tcl_Interp*, int, Tcl_Obj* const[])
{
    return TCL_OK;
}

// Queries of the reliability domain answer 0, so that arithmetic on them runs.
int zeroCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    Tcl_SetObjResult(interp, Tcl_NewIntObj(0));
    return TCL_OK;
}

int reliabilityCommand(ClientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    for (const char* name : reliabilityCommands) {
        const bool query = std::strncmp(name, "get", 3) == 0 || std::strstr(name, "FORM") != nullptr;
        Tcl_CreateObjCommand(interp, name, query ? zeroCommand : ignoreCommand, nullptr, nullptr);
    }
    return TCL_OK;
}

// exit and quit stop the script where it stands, as the solver would, but never the application:
// the evaluation is unwound through every procedure, loop and catch, and the host counts it a success.
// In an interpreter the script created, SCRIPT is the script's own, which the unwinding starts from
// (Tcl cancels its children with it).
int exitCommand(ClientData script, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    Tcl_Interp* top = script ? static_cast<Tcl_Interp*>(script) : interp;
    if (InterpreterState* state = interpreterState(top))
        state->exitRequested = true;
    Tcl_CancelEval(top, Tcl_NewStringObj("script called exit", -1), nullptr, TCL_CANCEL_UNWIND);
    // Run the cancel handler now so that no enclosing catch can swallow the unwinding.
    return Tcl_AsyncInvoke(interp, TCL_ERROR);
}

void guardInterpreterCreation(Tcl_Interp* interp, Tcl_Interp* script);

struct InterpCommand {
    Tcl_CmdInfo original;
    Tcl_Interp* script;
};

bool isCreate(Tcl_Obj* word)
{
    const char* option = Tcl_GetString(word);
    const size_t length = std::strlen(option);
    return length >= 2 && std::strncmp(option, "create", length) == 0;
}

// Tcl's interp; every interpreter it creates gets the script's exit, so that an exit there too ends
// only the evaluation, not Tolvane with its unsaved edits.
int interpCommand(ClientData data, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const auto* command = static_cast<InterpCommand*>(data);
    const int code = command->original.objProc(command->original.objClientData, interp, objc, objv);
    if (code == TCL_OK && objc > 1 && isCreate(objv[1])) {
        if (Tcl_Interp* created = Tcl_GetSlave(interp, Tcl_GetStringResult(interp))) {
            for (const char* name : {"exit", "quit"})
                Tcl_CreateObjCommand(created, name, exitCommand, command->script, nullptr);
            guardInterpreterCreation(created, command->script);
        }
    }
    return code;
}

void deleteInterpCommand(ClientData data)
{
    delete static_cast<InterpCommand*>(data);
}

void guardInterpreterCreation(Tcl_Interp* interp, Tcl_Interp* script)
{
    auto* command = new InterpCommand{{}, script};
    if (!Tcl_GetCommandInfo(interp, "interp", &command->original) || !command->original.isNativeObjectProc) {
        delete command;
        return;
    }
    Tcl_CreateObjCommand(interp, "interp", interpCommand, command, deleteInterpCommand);
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

using namespace modelcommands;

const CommandEntry actingCommands[] = {
    {"model", modelCommand},
    {"node", nodeCommand},
    {"element", elementCommand},
    {"fix", fixCommand},
    {"fixX", fixXCommand},
    {"fixY", fixYCommand},
    {"fixZ", fixZCommand},
    {"equalDOF", equalDofCommand},
    {"rigidLink", rigidLinkCommand},
    {"block2D", block2DCommand},
    {"block3D", block3DCommand},
    {"timeSeries", timeSeriesCommand},
    {"eigen", eigenCommand},
    {"analyze", analyzeCommand},
    {"wipe", wipeCommand},
    {"wipeAnalysis", wipeAnalysisCommand},
    {"integrator", integratorCommand},
    {"loadConst", loadConstCommand},
    {"getTime", getTimeCommand},
    {"setTime", setTimeCommand},
    {"getNodeTags", getNodeTagsCommand},
    {"getEleTags", getEleTagsCommand},
    {"getNumElements", getNumElementsCommand},
    {"nodeCoord", nodeCoordCommand},
    {"eleNodes", eleNodesCommand},
    {"getNDM", getNdmCommand},
    {"getNDF", getNdfCommand},
    {"nodeDOFs", nodeDofsCommand},
    {"getNP", getNpCommand},
    {"getPID", getPidCommand},
    {"reliability", reliabilityCommand},
    {"exit", exitCommand},
    {"quit", exitCommand},
    {"geomTransf", geomTransfCommand},
    {"pattern", patternCommand},
    {"load", loadCommand},
    {"eleLoad", eleLoadCommand},
    {"sp", spCommand},
};

}  // namespace

// Paths reach Tcl from Qt, which encodes file names with the locale's codec. In the C locale Tcl
// would take them as Latin-1 while Qt uses UTF-8, and a folder named "Stütze" could not be opened.
void useQtFileNameEncoding()
{
    const QByteArray codec = QTextCodec::codecForLocale()->name().toLower();
    const char* tclName = codec == "utf-8" ? "utf-8" : codec == "iso-8859-1" ? "iso8859-1" : nullptr;
    if (tclName && std::strcmp(Tcl_GetEncodingName(nullptr), tclName) != 0)
        Tcl_SetSystemEncoding(nullptr, tclName);
}

InterpreterState* interpreterState(Tcl_Interp* interp)
{
    return static_cast<InterpreterState*>(Tcl_GetAssocData(interp, stateKey, nullptr));
}

ModelInterpreter::ModelInterpreter(ScriptTrust trust) : m_state(std::make_unique<InterpreterState>())
{
    Tcl_FindExecutable(nullptr);
    useQtFileNameEncoding();
    resetModelRecord();
    m_host = Tcl_CreateInterp();
    // Library procedures (parray, clock format, ...) as under the solver's shell; go on without them
    // when the Tcl library is missing.
    if (Tcl_Init(m_host) != TCL_OK)
        Tcl_ResetResult(m_host);
    m_interp = trust == ScriptTrust::Whole ? m_host : createSafeInterpreter(m_host, &m_state->undone);
    if (!m_interp) {
        deleteInterpreter();
        return;
    }
    Tcl_SetAssocData(m_interp, stateKey, nullptr, m_state.get());

    for (const char* name : solverCommands)
        Tcl_CreateObjCommand(m_interp, name, ignoreCommand, nullptr, nullptr);
    for (const char* name : olderSolverCommands)
        Tcl_CreateObjCommand(m_interp, name, ignoreCommand, nullptr, nullptr);
    // Registered last, so that they replace the ignoring procedure of the same name.
    modelcommands::registerResponseQueries(m_interp);
    for (const CommandEntry& entry : actingCommands)
        Tcl_CreateObjCommand(m_interp, entry.name, entry.procedure, nullptr, nullptr);
    // The solver keeps Tcl's own puts under this name.
    Tcl_CreateAlias(m_interp, "oldputs", m_interp, "puts", 0, nullptr);
    wrapProc(m_interp);
    guardInterpreterCreation(m_interp, m_interp);
}

ModelInterpreter::~ModelInterpreter()
{
    deleteInterpreter();
}

void ModelInterpreter::deleteInterpreter()
{
    if (!m_host)
        return;
    if (m_interp)
        Tcl_DeleteAssocData(m_interp, stateKey);
    Tcl_DeleteInterp(m_host);
    m_host = nullptr;
    m_interp = nullptr;
}
