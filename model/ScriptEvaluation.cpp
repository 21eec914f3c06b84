#include "ScriptEvaluation.h"

#include <tcl.h>

#include <QFile>
#include <QFileInfo>

#include "ErrorLocation.h"
#include "InterpreterState.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"

namespace {

Tcl_Obj* newPath(const QString& path)
{
    const QByteArray utf8 = path.toUtf8();
    return Tcl_NewStringObj(utf8.constData(), utf8.size());
}

// Changes directory without any Tcl substitution: a folder may be named "[exec ...]" or "$HOME".
bool changeDirectory(const QString& dir)
{
    Tcl_Obj* path = newPath(dir);
    Tcl_IncrRefCount(path);
    const bool ok = Tcl_FSChdir(path) == 0;
    Tcl_DecrRefCount(path);
    return ok;
}

// The script's standard output for one evaluation.
struct OutputRedirection {
    Tcl_Channel previous = nullptr;  // the process's standard output channel, put back afterwards
    Tcl_Channel log = nullptr;
};

// Makes "Tolvane.log" in the current directory the script's standard output. The log is registered
// with the interpreter only, so deleting the interpreter flushes and closes it. When the log cannot
// be written, the script's output is discarded rather than mixed into the application's own.
OutputRedirection redirectStandardOutput(Tcl_Interp* interp)
{
    OutputRedirection r;
    r.previous = Tcl_GetStdChannel(TCL_STDOUT);
    r.log = Tcl_OpenFileChannel(interp, "Tolvane.log", "w", 0644);
    if (!r.log) {
#ifdef _WIN32
        r.log = Tcl_OpenFileChannel(interp, "NUL", "w", 0644);
#else
        r.log = Tcl_OpenFileChannel(interp, "/dev/null", "w", 0644);
#endif
    }
    Tcl_ResetResult(interp);
    if (!r.log)
        return r;
    Tcl_SetStdChannel(r.log, TCL_STDOUT);
    Tcl_RegisterChannel(interp, r.log);
    if (r.previous)
        Tcl_UnregisterChannel(interp, r.previous);
    return r;
}

// Puts the process's standard output back before the interpreter goes. Left empty, Tcl would make
// the next opened file the standard output for good and never close it.
void restoreStandardOutput(const OutputRedirection& r)
{
    if (r.log && Tcl_GetStdChannel(TCL_STDOUT) == r.log)
        Tcl_Flush(r.log);
    if (r.previous)
        Tcl_SetStdChannel(r.previous, TCL_STDOUT);
}

QString errorInfoOf(Tcl_Interp* interp, int code)
{
    Tcl_Obj* options = Tcl_GetReturnOptions(interp, code);
    Tcl_IncrRefCount(options);
    Tcl_Obj* key = Tcl_NewStringObj("-errorinfo", -1);
    Tcl_IncrRefCount(key);
    Tcl_Obj* value = nullptr;
    QString info;
    if (Tcl_DictObjGet(nullptr, options, key, &value) == TCL_OK && value)
        info = QString::fromUtf8(Tcl_GetString(value));
    Tcl_DecrRefCount(key);
    Tcl_DecrRefCount(options);
    return info;
}

}  // namespace

EvaluationResult evaluateScriptFile(ModelInterpreter& interpreter, const QString& scriptPath)
{
    EvaluationResult r;
    Tcl_Interp* interp = interpreter.interp();
    const QFileInfo script(scriptPath);
    QFile probe(script.absoluteFilePath());
    if (!interp || !script.isFile() || !probe.open(QIODevice::ReadOnly) ||
        !changeDirectory(script.absolutePath())) {
        r.readable = false;
        r.code = TCL_ERROR;
        r.result = QStringLiteral("couldn't read file \"%1\"").arg(scriptPath);
        modelRecord()->statusMessage = r.result;
        interpreter.deleteInterpreter();
        return r;
    }
    probe.close();

    const OutputRedirection output = redirectStandardOutput(interp);

    // Scripts are saved as UTF-8, whatever the process's locale says.
    Tcl_Obj* name = newPath(script.fileName());
    Tcl_IncrRefCount(name);
    r.code = Tcl_FSEvalFileEx(interp, name, "utf-8");
    Tcl_DecrRefCount(name);

    if (interpreter.state().exitRequested) {
        r.code = TCL_OK;
        Tcl_ResetResult(interp);
    }
    r.result = QString::fromUtf8(Tcl_GetStringResult(interp));
    if (r.code != TCL_OK) {
        r.errorInfo = errorInfoOf(interp, r.code);
        const ErrorLocation where = locateError(r.errorInfo, interpreter.state());
        r.errorFile = where.file;
        r.errorLine = where.line;
        if (!r.result.isEmpty())
            modelRecord()->statusMessage = r.result;
    }
    restoreStandardOutput(output);
    interpreter.deleteInterpreter();
    return r;
}

QString evaluationErrorText(const EvaluationResult& result)
{
    const QString message = modelRecord()->statusMessage.trimmed();
    if (result.errorFile.isEmpty())
        return message;
    return QStringLiteral("%1:%2: %3").arg(result.errorFile).arg(result.errorLine).arg(message);
}
