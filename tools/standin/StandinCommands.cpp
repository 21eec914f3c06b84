#include "StandinCommands.h"

#include <tcl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "ModelCommands.h"
#include "ModelRecord.h"

void StandinRun::addRecorder(std::unique_ptr<Recorder> recorder)
{
    m_recorders.push_back(std::move(recorder));
}

void StandinRun::setLoadIncrement(double increment)
{
    m_loadIncrement = increment;
}

// The model interpreter only appends to the record (wipe aside), so its sizes tell whether the
// shapes still fit; a script that analyzes one step at a time keeps them.
void StandinRun::prepareRecorders()
{
    const ModelRecord& model = *modelRecord();
    const std::array<int, 5> sizes{model.ndm, model.ndf, model.nodeTags.size(), model.elementTags.size(),
                                   model.fixNodeTags.size()};
    if (!m_shapes || sizes != m_shapedModel) {
        m_shapes = std::make_unique<MotionShapes>(model);
        m_shapedModel = sizes;
        m_prepared = 0;
    }
    for (; m_prepared < m_recorders.size(); ++m_prepared)
        m_recorders[m_prepared]->prepare(*m_shapes);
}

void StandinRun::analyze(int steps, const double* dt)
{
    const double increment = dt ? *dt : m_loadIncrement;
    double last = m_time;
    for (int i = 0; i < steps; ++i)
        last += increment;
    // Said before the steps: with a step delay the run can take minutes.
    if (steps > 0)
        std::fprintf(stderr, "tolvane-standin: analyze %d step%s, time %g to %g\n", steps,
                     steps == 1 ? "" : "s", m_time + increment, last);
    else
        std::fprintf(stderr, "tolvane-standin: analyze 0 steps, time %g\n", m_time);

    prepareRecorders();
    for (int i = 0; i < steps; ++i) {
        ++m_step;
        m_time += increment;
        const double factor = stepFactor(m_step);
        for (const auto& recorder : m_recorders)
            recorder->record(m_time, factor);
        if (m_stepDelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(m_stepDelayMs));
    }
}

void StandinRun::closeRecorders()
{
    for (const auto& recorder : m_recorders)
        recorder->close();
    m_recorders.clear();
    m_prepared = 0;
}

void StandinRun::wipe()
{
    closeRecorders();
    m_shapes.reset();
    m_time = 0.0;
    m_step = 0;
    m_loadIncrement = 1.0;
    modes.clear();
}

namespace {

StandinRun& runOf(ClientData clientData)
{
    return *static_cast<StandinRun*>(clientData);
}

int error(Tcl_Interp* interp, const QString& message)
{
    Tcl_SetObjResult(interp, Tcl_NewStringObj(message.toUtf8().constData(), -1));
    return TCL_ERROR;
}

int recorderCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 2)
        return error(interp, QStringLiteral("WARNING need to specify a recorder type"));
    const char* type = Tcl_GetString(objv[1]);
    // Other recorders (Drift, Envelope..., display) are accepted and write nothing.
    if (std::strcmp(type, "Node") != 0 && std::strcmp(type, "Element") != 0)
        return TCL_OK;
    RecorderRequest request;
    const QString problem = parseRecorder(objc, objv, modelRecord()->ndf, &request);
    if (!problem.isEmpty())
        return error(interp, problem);
    auto recorder = std::make_unique<Recorder>(request);
    for (const QString& warning : recorder->open())
        std::fprintf(stderr, "%s\n", qPrintable(warning));
    StandinRun& run = runOf(clientData);
    Tcl_SetObjResult(interp, Tcl_NewIntObj(run.recorderCount()));
    run.addRecorder(std::move(recorder));
    return TCL_OK;
}

int integratorCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 2)
        return error(interp, QStringLiteral("WARNING need to specify an Integrator type"));
    if (std::strcmp(Tcl_GetString(objv[1]), "LoadControl") != 0)
        return TCL_OK;
    double increment = 0.0;
    if (objc < 3 || !modelcommands::readDouble(objv[2], &increment))
        return error(interp,
                     QStringLiteral("WARNING integrator LoadControl lambda <numIter minLambda maxLambda>"));
    runOf(clientData).setLoadIncrement(increment);
    return TCL_OK;
}

int analyzeCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int steps = 0;
    double dt = 0.0;
    if (objc < 2 || !modelcommands::readInt(objv[1], &steps) ||
        (objc > 2 && !modelcommands::readDouble(objv[2], &dt)))
        return error(interp, QStringLiteral("WARNING analyze numIncr? <dt?>"));
    modelcommands::analyzeCommand(nullptr, interp, objc, objv);
    runOf(clientData).analyze(steps, objc > 2 ? &dt : nullptr);
    Tcl_SetObjResult(interp, Tcl_NewIntObj(0));
    return TCL_OK;
}

int getTimeCommand(ClientData clientData, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    Tcl_SetObjResult(interp, Tcl_NewDoubleObj(runOf(clientData).time()));
    return TCL_OK;
}

int wipeCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    runOf(clientData).wipe();
    return modelcommands::wipeCommand(nullptr, interp, objc, objv);
}

// Ends the process as the solver does, recorders closed first; no catch in the script can stop it.
int exitCommand(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    int code = 0;
    if (objc > 2)
        return error(interp, QStringLiteral("wrong # args: should be \"exit ?returnCode?\""));
    if (objc == 2 && Tcl_GetIntFromObj(interp, objv[1], &code) != TCL_OK)
        return TCL_ERROR;
    runOf(clientData).closeRecorders();
    Tcl_Exit(code);
    return TCL_OK;
}

struct CommandEntry {
    const char* name;
    Tcl_ObjCmdProc* procedure;
};

const CommandEntry standinCommands[] = {
    {"recorder", recorderCommand}, {"integrator", integratorCommand},
    {"analyze", analyzeCommand},   {"getTime", getTimeCommand},
    {"wipe", wipeCommand},         {"exit", exitCommand},
    {"quit", exitCommand},
};

}  // namespace

void registerStandinCommands(Tcl_Interp* interp, StandinRun* run)
{
    for (const CommandEntry& entry : standinCommands)
        Tcl_CreateObjCommand(interp, entry.name, entry.procedure, run, nullptr);
    registerModeCommands(interp, &run->modes);
}
