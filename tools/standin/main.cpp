// tolvane-standin SCRIPT: evaluates a solver script with the model interpreter's commands and
// writes the recorders the solver would, filled with a synthetic motion instead of an analysis.
#include <tcl.h>

#include <QByteArray>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "StandinCommands.h"

namespace {

const char* const usage =
    "Usage: tolvane-standin SCRIPT\n"
    "\n"
    "tolvane-standin: a stand-in for the OpenSees solver, for trying Tolvane and for its tests.\n"
    "It does no structural analysis: the responses it records are a synthetic motion, and the\n"
    "modes it gives are synthetic too.\n"
    "\n"
    "It evaluates the Tcl script SCRIPT like the solver, writes the files of its `recorder Node` and\n"
    "`recorder Element` commands and the live stream of `recorder Node -tcp`, one record per step of\n"
    "`analyze`. It answers `eigen N` with N synthetic modes (mode k: frequency 2k-1 Hz, the k-th\n"
    "cantilever sine along the model's longest extent), `nodeEigenvector` with their shapes and\n"
    "`modalProperties` with their mass ratios once a node has mass (`node ... -mass`, `mass`).\n"
    "Exit status: 0 at the end of the script or `exit`, N for `exit N`, 1 when the script stops\n"
    "with an error, 2 for a bad command line or an unreadable script.\n"
    "\n"
    "Environment: TOLVANE_STANDIN_STEP_DELAY_MS=N sleeps N milliseconds after each step.\n"
    "\n"
    "Options: --help shows this text, --version the version.\n";

const char* const stepDelayVariable = "TOLVANE_STANDIN_STEP_DELAY_MS";

// As tclsh sets them for a script.
void setScriptArguments(Tcl_Interp* interp, const char* script)
{
    Tcl_SetVar(interp, "argv0", script, TCL_GLOBAL_ONLY);
    Tcl_SetVar(interp, "argv", "", TCL_GLOBAL_ONLY);
    Tcl_SetVar(interp, "argc", "0", TCL_GLOBAL_ONLY);
}

// The model commands leave their message in the model record rather than in the result.
void reportError(Tcl_Interp* interp)
{
    QByteArray message = Tcl_GetStringResult(interp);
    if (message.isEmpty())
        message = modelRecord()->statusMessage.trimmed().toUtf8();
    const char* info = Tcl_GetVar(interp, "errorInfo", TCL_GLOBAL_ONLY);
    std::fprintf(stderr, "tolvane-standin: error: %s\n%s\n", message.constData(), info ? info : "");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("tolvane-standin " TOLVANE_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    const QFileInfo script(QString::fromLocal8Bit(argv[1]));
    if (!script.isFile() || !script.isReadable()) {
        std::fprintf(stderr, "tolvane-standin: cannot read script \"%s\"\n", argv[1]);
        return 2;
    }

    // A solver runs everything the script asks for.
    ModelInterpreter interpreter(ScriptTrust::Whole);
    Tcl_Interp* interp = interpreter.interp();
    StandinRun run(qEnvironmentVariableIntValue(stepDelayVariable));
    registerStandinCommands(interp, &run);
    // Tcl holds strings as UTF-8 and turns them back into file names with the encoding Qt uses.
    const QByteArray scriptPath = QString::fromLocal8Bit(argv[1]).toUtf8();
    setScriptArguments(interp, scriptPath.constData());
    // The application shows the script's output as it comes.
    if (Tcl_Channel out = Tcl_GetStdChannel(TCL_STDOUT))
        Tcl_SetChannelOption(nullptr, out, "-buffering", "line");

    Tcl_Obj* path = Tcl_NewStringObj(scriptPath.constData(), scriptPath.size());
    Tcl_IncrRefCount(path);
    const int code = Tcl_FSEvalFileEx(interp, path, "utf-8");
    Tcl_DecrRefCount(path);
    const bool failed = code != TCL_OK && code != TCL_RETURN;
    if (failed)
        reportError(interp);
    run.closeRecorders();
    // Flushes the script's standard output on the way out.
    Tcl_Exit(failed ? 1 : 0);
}
