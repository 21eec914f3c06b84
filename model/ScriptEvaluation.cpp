#include "ScriptEvaluation.h"

#include <tcl.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ErrorLocation.h"
#include "InterpreterState.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "SafeInterpreter.h"
#include "ScriptEncoding.h"

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

// The script's arguments as tclsh sets them: the interpretation passes none.
void setScriptArguments(Tcl_Interp* interp, const QString& scriptPath)
{
    Tcl_SetVar2Ex(interp, "argv0", nullptr, newPath(scriptPath), TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "argv", nullptr, Tcl_NewListObj(0, nullptr), TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "argc", nullptr, Tcl_NewIntObj(0), TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "tcl_interactive", nullptr, Tcl_NewIntObj(0), TCL_GLOBAL_ONLY);
}

// Tcl's name for ENCODING; Latin-1, which Tcl always has and which keeps every byte, when Tcl's
// encoding files are missing.
QByteArray tclEncodingName(const ScriptEncoding& detected)
{
    const QByteArray name = detected.tclName;
    Tcl_Encoding encoding = Tcl_GetEncoding(nullptr, name.constData());
    if (!encoding)
        return "iso8859-1";
    Tcl_FreeEncoding(encoding);
    return name;
}

QString leftOutSummary(const LeftOut& leftOut, const ModelRecord& record, bool restoredAfterWipe)
{
    if (leftOut.elementTypes.isEmpty()) {
        if (restoredAfterWipe)
            return QStringLiteral("The script ends with wipe: the model before it is shown");
        return leftOut.wipedModel && record.isEmpty()
                   ? QStringLiteral("The script ends with wipe: nothing left to draw")
                   : QString();
    }
    QVector<QPair<QString, int>> types;
    int total = 0;
    for (auto it = leftOut.elementTypes.cbegin(); it != leftOut.elementTypes.cend(); ++it) {
        types.append({it.key(), it.value()});
        total += it.value();
    }
    // The most frequent first; the map gives equal counts in name order.
    std::stable_sort(
        types.begin(), types.end(),
        [](const QPair<QString, int>& a, const QPair<QString, int>& b) { return a.second > b.second; });
    QStringList parts;
    for (const auto& type : types)
        parts << QStringLiteral("%1 (%2)").arg(type.first).arg(type.second);
    return QStringLiteral("%1 %2 of %3 %4 not drawn: %5")
        .arg(total)
        .arg(total == 1 ? QStringLiteral("element") : QStringLiteral("elements"))
        .arg(types.size())
        .arg(types.size() == 1 ? QStringLiteral("type") : QStringLiteral("types"))
        .arg(parts.join(QStringLiteral(", ")));
}

// A final wipe (a common clean-up) leaves nothing to draw or run: the model it dropped stands in.
bool restoreWipedModel(InterpreterState& state)
{
    if (!modelRecord()->isEmpty() || !state.wiped.held)
        return false;
    const QString status = modelRecord()->statusMessage;
    *modelRecord() = state.wiped.record;
    modelRecord()->statusMessage = status;
    state.leftOut = state.wiped.leftOut;
    return true;
}

// Asks the watch from inside a running evaluation. Tcl runs asynchronous handlers at safe points
// of any evaluation, compiled loops included, so even `while 1 {}` gets asked; a ticker thread
// marks the handler, since marking is the one call Tcl allows from another thread.
class EvaluationTicker {
public:
    EvaluationTicker(Tcl_Interp* interp, const EvaluationWatch& keepGoing)
        : m_interp(interp), m_keepGoing(keepGoing)
    {
        if (!m_keepGoing)
            return;
        m_handler = Tcl_AsyncCreate(&EvaluationTicker::ask, this);
        m_thread = std::thread([this] {
            std::unique_lock<std::mutex> lock(m_mutex);
            while (!m_done) {
                if (m_wake.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return m_done; }))
                    break;
                Tcl_AsyncMark(m_handler);
            }
        });
    }
    ~EvaluationTicker()
    {
        if (!m_keepGoing)
            return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
        Tcl_AsyncDelete(m_handler);
    }
    bool stopped() const { return m_stopped; }

private:
    static constexpr int intervalMs = 50;

    // INTERP is null when Tcl asks from its event loop (vwait, update), where the marking also
    // wakes it, and an interpreter the script created when that one is running.
    static int ask(ClientData data, Tcl_Interp* interp, int code)
    {
        auto* self = static_cast<EvaluationTicker*>(data);
        if ((interp && !self->isScriptOrChild(interp)) || self->m_stopped || self->m_keepGoing())
            return code;
        self->m_stopped = true;
        // Unwound like exit: no catch in the script can hold the stop up. Tcl cancels the
        // interpreters the script created with it, and vwait looks at the cancel when it wakes.
        Tcl_CancelEval(self->m_interp, Tcl_NewStringObj("Interpretation stopped", -1), nullptr,
                       TCL_CANCEL_UNWIND);
        return interp ? TCL_ERROR : code;
    }

    bool isScriptOrChild(Tcl_Interp* interp) const
    {
        for (; interp; interp = Tcl_GetMaster(interp))
            if (interp == m_interp)
                return true;
        return false;
    }

    Tcl_Interp* m_interp;
    EvaluationWatch m_keepGoing;
    Tcl_AsyncHandler m_handler = nullptr;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_stopped = false;
};

}  // namespace

EvaluationResult evaluateScriptFile(ModelInterpreter& interpreter, const QString& scriptPath,
                                    const EvaluationWatch& keepGoing)
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
    // Read in the encoding the editor shows it in, whatever the process's locale says.
    const QByteArray bytes = probe.readAll();
    probe.close();
    const ScriptEncoding detected = detectScriptEncoding(bytes);
    const QByteArray encoding = tclEncodingName(detected);
    r.encoding = QString::fromLatin1(detected.codecName);

    const OutputRedirection output = redirectStandardOutput(interp);
    setScriptArguments(interp, script.absoluteFilePath());

    Tcl_Obj* name = newPath(script.fileName());
    Tcl_IncrRefCount(name);
    // A script may set Tcl's system encoding for itself; file names need it back afterwards.
    const QByteArray systemEncoding = Tcl_GetEncodingName(nullptr);
    {
        const EvaluationTicker ticker(interp, keepGoing);
        r.code = Tcl_FSEvalFileEx(interp, name, encoding.constData());
        r.stopped = ticker.stopped();
    }
    Tcl_DecrRefCount(name);
    if (systemEncoding != Tcl_GetEncodingName(nullptr))
        Tcl_SetSystemEncoding(nullptr, systemEncoding.constData());

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
        if (r.stopped)
            modelRecord()->statusMessage = QStringLiteral("Interpretation stopped");
        else if (!r.result.isEmpty())
            modelRecord()->statusMessage = r.result;
    }
    r.afterAnalysis = r.code != TCL_OK && !r.stopped && interpreter.state().analyzed;
    const bool restored = restoreWipedModel(interpreter.state());
    r.leftOut = leftOutSummary(interpreter.state().leftOut, *modelRecord(), restored);
    r.leftUndone = leftUndoneSummary(interpreter.state().undone);
    restoreStandardOutput(output);
    interpreter.deleteInterpreter();
    return r;
}

QString evaluationSuccessText(const EvaluationResult& result)
{
    QStringList parts{QStringLiteral("Success!")};
    for (const QString& summary : {result.leftOut, result.leftUndone})
        if (!summary.isEmpty())
            parts << summary;
    return parts.join(QLatin1Char(' '));
}

QString evaluationStoppedAfterAnalysisText(const EvaluationResult& result)
{
    const QString message = modelRecord()->statusMessage.trimmed();
    const QString place = result.errorFile.isEmpty()
                              ? QString()
                              : QStringLiteral(" at %1:%2").arg(result.errorFile).arg(result.errorLine);
    return QStringLiteral(
               "Stopped%1 after the first analysis: %2 \u2014 the model is complete; Run hands the "
               "script to the solver")
        .arg(place, message);
}

QString evaluationErrorText(const EvaluationResult& result)
{
    const QString message = modelRecord()->statusMessage.trimmed();
    if (result.errorFile.isEmpty())
        return message;
    return QStringLiteral("%1:%2: %3").arg(result.errorFile).arg(result.errorLine).arg(message);
}
